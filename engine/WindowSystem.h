#pragma once
// Owns the one GLFW window and its OpenGL context: measures, caps and scales the frame time,
// presents each frame as soon as it is drawn (and only a frame that changed the picture, see
// FrameChange), limits the frame rate, switches between full screen and a window, and obeys
// the window commands posted as type-9 messages ("framerate: N", "forceDT: N", "shutdown",
// "fullscreen"). The clock, the sleep, the present and the monitor's video mode can be
// replaced, so the timing, presenting and sizing rules run without a window. The engine knows neither
// pictures, drawing nor scenes: the icon, the size and the focus reach the layers above through hooks that
// the game sets before Init.
#include "engine/BaseSystem.h"
#include "engine/FrameChange.h"

#include <functional>
#include <string>
#include <vector>

struct GLFWwindow;
struct GLFWmonitor;

// A window icon as GLFW takes it: 8-bit RGBA, top row first. No pixels: no icon.
struct WindowIcon
{
    int width = 0;
    int height = 0;
    std::string rgba;
};

class WindowSystem : public BaseSystem
{
public:
    static WindowSystem& GetInstance();

    // The longest frame time handed out (1/15 s): a longer frame counts as this long.
    static constexpr float FrameTimeCap = 0.06666667f;

    bool Init() override;
    void BeginFrame() override;       // frame time, event polling, then the frame's notes start
    void Update(float dt) override;   // F11 toggles full screen
    // Every other system has drawn by now (only the trace system ends later): a drawn frame is
    // presented, then the limiter waits out the frame period.
    void EndFrame() override;
    void Shutdown() override;   // nothing: the window outlives every system's Shutdown

    void DestroyWindow();   // after the last system has shut down
    void ToggleFullscreen();
    bool OnWindowMessage(const std::string& text);
    static void OnFocus(GLFWwindow* window, int focused);   // hands focused == 1 to onFocus

    // Frame timing against the clock; BeginFrame and EndFrame call these. The limiter sleeps
    // until framePeriod has passed since the frame began; it never spins.
    void MeasureFrameTime();
    void LimitFrame();

    // A missing window counts as closed. A close that confirmClose refuses is called off.
    bool ShouldClose();
    void RequestClose();
    // Asked each time the window is about to close; false keeps it open (whoever set it asks
    // the player first). Unset, every close goes through.
    std::function<bool()> confirmClose;

    // The size rule: full screen takes the mode's size; a window is 3/4 of the mode's height
    // tall and 16:9 wide, at a quarter of its own size from the corner.
    void ApplySize(bool toFullscreen);

    // Hooks, each optional: the icon loaded at Init, GLFW's size callback, the focus change.
    std::function<WindowIcon()> loadIcon;
    void (*onResize)(GLFWwindow* window, int width, int height) = nullptr;
    std::function<void(bool focused)> onFocus;

    // A window whose context can copy parts of its back buffer to the screen
    // (GLX_MESA_copy_sub_buffer) is never swapped: its back buffer keeps the last frame, and a
    // present copies only the parts that changed, when the drawing side names them, else all
    // of it. Any other window swaps its buffers and shows each frame whole.
    struct Area
    {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;   // pixels from the bottom left, the ends excluded
    };
    // With the window's context current: whether its presents can show parts (PresentsParts).
    void FindPartialPresent();
    bool PresentsParts() const { return copySubBuffer != nullptr; }
    // The next present shows these parts (besides any named before it); without a call, or
    // after PresentWhole, it shows the whole window.
    void PresentOnly(const std::vector<Area>& areas);
    void PresentWhole() { wholeDue = true; }

    std::function<double()> clock;             // seconds; glfwGetTime unless replaced
    std::function<void(double)> sleep;         // seconds; the thread's sleep unless replaced
    std::function<void()> present;             // Present unless replaced
    FrameChange picture;                       // whether this frame draws and is presented
    int modeWidth = 1920, modeHeight = 1080;   // the monitor's video mode (this fallback without one)

    GLFWmonitor* monitor = nullptr;
    GLFWwindow* window = nullptr;
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
    void Present();   // the window's frame to the screen, whole or in the parts named

    using CopySubBuffer = void (*)(void* display, unsigned long drawable, int x, int y, int width,
                                   int height);
    CopySubBuffer copySubBuffer = nullptr;
    void* display = nullptr;   // the X display and drawable of the window, for copySubBuffer
    unsigned long drawable = 0;
    std::vector<Area> presentAreas;
    bool partsNamed = false;   // PresentOnly was called since the last present
    bool wholeDue = false;     // PresentWhole was
};
