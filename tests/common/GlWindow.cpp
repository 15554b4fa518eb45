#include "tests/common/GlWindow.h"

#include "engine/WindowSystem.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsSystem.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <cstdlib>
#include <ostream>

namespace
{
std::string& LastGlfwError()
{
    static std::string text;
    return text;
}
}   // namespace

GlWindow::GlWindow(int w, int h) : width(w), height(h)
{
    glfwSetErrorCallback(
        [](int, const char* description) { LastGlfwError() = description ? description : ""; });
    if (!glfwInit())
    {
        error = "glfwInit failed: " + LastGlfwError();
        return;
    }
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    // As the game's window: the graphics system draws frames off screen with a depth of their own.
    glfwWindowHint(GLFW_DEPTH_BITS, 0);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    window = glfwCreateWindow(width, height, "test", nullptr, nullptr);
    if (!window)
    {
        error = "no 4.3 core window: " + LastGlfwError();
        return;
    }
    glfwMakeContextCurrent(window);
    WindowSystem& windows = WindowSystem::GetInstance();
    windows.window = window;
    windows.width = width;
    windows.height = height;
    windows.totalTime = 0;
    windows.picture.Reset();   // every frame is drawn, whatever frames ran before
    windows.FindPartialPresent();
    GraphicsSystem::GetInstance().Init();
}

GlWindow::~GlWindow()
{
    if (!window)
        return;
    GraphicsSystem::GetInstance().Shutdown();
    WindowSystem& windows = WindowSystem::GetInstance();
    windows.window = nullptr;
    windows.width = windows.height = 0;
    glfwMakeContextCurrent(nullptr);
    glfwDestroyWindow(window);
}

GlWindow::Rgba GlWindow::PixelAt(int x, int y) const
{
    GraphicsSystem::GetInstance().Flush();
    unsigned char p[4] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

void GlWindow::Finish() const
{
    GraphicsSystem::GetInstance().Flush();
    glFinish();
}

std::ostream& operator<<(std::ostream& out, const GlWindow::Rgba& p)
{
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

void GlWindowTest::SetUp()
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no X display";
    // Entries from earlier tests of this process would shift the indices this test sees.
    GraphicsSystem::GetInstance().Shutdown();
    Camera::GetInstance().SetTarget(nullptr);
    gl = std::make_unique<GlWindow>(width, height);
    ASSERT_TRUE(gl->IsOpen()) << gl->Error();
}

void GlWindowTest::TearDown() { gl.reset(); }
