#pragma once
// A hidden GLFW window with an OpenGL 4.3 core context, made current and handed to the window
// and graphics systems as the game's own (GraphicsSystem::Init runs on it), so draws, the
// libraries and pixel reads work as in the game. The end shuts the graphics system down (every
// GL object and library entry goes) and destroys the window. Needs an X display.
#include <gtest/gtest.h>
#include <memory>
#include <string>

struct GLFWwindow;

class GlWindow
{
public:
    GlWindow(int width, int height);
    ~GlWindow();
    GlWindow(const GlWindow&) = delete;
    GlWindow& operator=(const GlWindow&) = delete;

    bool IsOpen() const { return window != nullptr; }
    const std::string& Error() const { return error; }

    struct Rgba
    {
        int r = 0, g = 0, b = 0, a = 0;
        bool operator==(const Rgba&) const = default;
    };
    // One pixel of the frame being drawn (the back buffer), x from the left, y from the bottom;
    // queued draws are issued first.
    Rgba PixelAt(int x, int y) const;
    void Finish() const;   // issues queued draws and waits for the GPU to complete every command

    int width, height;

private:
    GLFWwindow* window = nullptr;
    std::string error;
};

std::ostream& operator<<(std::ostream& out, const GlWindow::Rgba& p);

// A test with a fresh GlWindow of the given size and empty mesh, shader and texture libraries;
// skipped when there is no X display at all.
class GlWindowTest : public testing::Test
{
protected:
    explicit GlWindowTest(int w = 160, int h = 90) : width(w), height(h) {}
    void SetUp() override;
    void TearDown() override;

    int width, height;
    std::unique_ptr<GlWindow> gl;
};
