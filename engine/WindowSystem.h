#pragma once
// Owns the one GLFW window and its OpenGL context: measures, caps and scales the frame time,
// limits the frame rate, switches between full screen and a window, and obeys the window
// commands posted as type-9 messages ("framerate: N", "forceDT: N", "shutdown", "fullscreen").
// The clock and the monitor's video mode can be replaced, so the timing and sizing rules run
// without a window.
#include "engine/BaseSystem.h"

#include <functional>
#include <memory>
#include <string>

struct GLFWwindow;
struct GLFWmonitor;
class Image;

class WindowSystem : public BaseSystem
{
public:
    static WindowSystem& GetInstance();

    bool Init() override;
    void BeginFrame() override;       // frame time, then buffer swap and event polling
    void Update(float dt) override;   // F11 toggles full screen
    void EndFrame() override;         // the frame limiter
    void Shutdown() override;         // nothing: the window outlives every system's Shutdown

    void DestroyWindow();   // after the last system has shut down
    void ToggleFullscreen();
    bool OnWindowMessage(const std::string& text);
    static void OnFocus(GLFWwindow* window, int focused);

    // Frame timing against the clock; BeginFrame and EndFrame call these.
    void MeasureFrameTime();
    void LimitFrame();

    bool ShouldClose() const;   // a missing window counts as closed
    void RequestClose();

    // The size rule: full screen takes the mode's size; a window is 3/4 of the mode's height
    // tall and 16:9 wide, at a quarter of its own size from the corner.
    void ApplySize(bool toFullscreen);

    std::function<double()> clock;             // seconds; glfwGetTime unless replaced
    int modeWidth = 1920, modeHeight = 1080;   // the monitor's video mode (this fallback without one)

    GLFWmonitor* monitor = nullptr;
    GLFWwindow* window = nullptr;
    std::unique_ptr<Image> iconImage;
    int width = 0, height = 0;
    float dt = 0;
    float lastTime = 0;
    int frameCounter = 0;
    float totalTime = 0;
    bool fullscreen = true;
    float framePeriod = 0.008333334f;
    float forceDT = 1.0f;
    bool closeRequested = false;
    bool everOpened = false;   // a window was created this run
    std::string lastError;     // the last GLFW error text

private:
    WindowSystem();
    ~WindowSystem() override;
    float Now() const;
};
