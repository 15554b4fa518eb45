#include "engine/WindowSystem.h"

#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/TraceSystem.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <thread>

// GLFW's own accessors of an X11 window's display and GLX drawable, declared here rather than
// through its native header, which would pull in X extension headers besides.
struct _XDisplay;
extern "C" _XDisplay* glfwGetX11Display(void);
extern "C" unsigned long glfwGetGLXWindow(GLFWwindow* window);

namespace
{

void OnGlfwError(int code, const char* description)
{
    WindowSystem::GetInstance().lastError =
        description ? description : ("GLFW error " + std::to_string(code));
}

void CannotOpen(const std::string& reason)
{
    std::cerr << "cannot open a window: " << (reason.empty() ? "unknown reason" : reason) << std::endl;
    Log("WINDOW: cannot open a window: ", reason);
}
}   // namespace

WindowSystem& WindowSystem::GetInstance()
{
    static WindowSystem instance;
    return instance;
}

WindowSystem::WindowSystem()
    : BaseSystem("Window System"), clock([] { return glfwGetTime(); }),
      sleep([](double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }),
      present([this] { Present(); })
{
}

WindowSystem::~WindowSystem() = default;

float WindowSystem::Now() const { return static_cast<float>(clock()); }

void WindowSystem::ApplySize(bool toFullscreen)
{
    if (toFullscreen)
    {
        width = modeWidth;
        height = modeHeight;
    }
    else
    {
        height = static_cast<int>(modeHeight * 0.75f);
        width = static_cast<int>(height * 1.7777778f);
    }
}

bool WindowSystem::Init()
{
    glfwSetErrorCallback(OnGlfwError);
    if (!glfwInit())
    {
        CannotOpen(lastError);
        return false;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_DOUBLEBUFFER, GLFW_TRUE);
    // Nothing draws with a stencil. The frame is drawn off screen with a depth buffer of its
    // own (the graphics system's kept frame): the window only shows finished pictures, and the
    // editor overlay over them, which needs no depth.
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    glfwWindowHint(GLFW_DEPTH_BITS, 0);
    // A software rasteriser (Mesa's llvmpipe) shares every frame among as many threads as there
    // are cores. A frame here mostly draws again a few small parts: past two threads, handing
    // out the work costs more CPU than it saves time (the busy level runs as many frames a
    // second on two as on eight, for a fifth less CPU). A count the player chose stays.
    setenv("LP_NUM_THREADS", "2", 0);

    monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (mode && mode->width > 0 && mode->height > 0)
    {
        modeWidth = mode->width;
        modeHeight = mode->height;
    }
    ApplySize(fullscreen);

    const WindowIcon iconPixels = loadIcon ? loadIcon() : WindowIcon{};

    window = glfwCreateWindow(width, height, "ZOVERAV", nullptr, nullptr);
    if (!window)
    {
        CannotOpen(lastError);
        return false;
    }
    everOpened = true;
    glfwSetWindowFocusCallback(window, OnFocus);
    // Uncovered or restored, the window shows nothing until a frame is presented again, whole.
    glfwSetWindowRefreshCallback(window, [](GLFWwindow*) {
        WindowSystem& windows = GetInstance();
        windows.picture.Invalidate();
        windows.PresentWhole();
    });
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_FALSE);
    glfwSetWindowSizeCallback(window, onResize);
    glfwMakeContextCurrent(window);
    FindPartialPresent();

    // GLFW copies the icon's pixels, so they may go right after the calls.
    const bool hasIcon = !iconPixels.rgba.empty();
    GLFWimage icon{iconPixels.width, iconPixels.height,
                   reinterpret_cast<unsigned char*>(const_cast<char*>(iconPixels.rgba.data()))};
    if (hasIcon)
        glfwSetWindowIcon(window, 1, &icon);
    glfwShowWindow(window);
    if (hasIcon)
        glfwSetWindowIcon(window, 1, &icon);

    glfwSwapInterval(0);
    glfwSetWindowMonitor(window, fullscreen ? monitor : nullptr, width / 4, height / 4, width, height, 0);

    MessagingSystem::GetInstance().Subscribe(
        MessageType::Window, "Window System", [this](std::string text) { return OnWindowMessage(text); },
        this);
    return true;
}

void WindowSystem::MeasureFrameTime()
{
    const float now = Now();
    dt = std::min(now - lastTime, FrameTimeCap) * forceDT;
    totalTime += dt;
    lastTime = Now();
}

void WindowSystem::LimitFrame()
{
    // A sleep may end a little early: then what is left is slept again. It ends late more
    // often, by the system's timer slack, which a frame can spare; a spin to catch that up
    // would cost a core.
    for (;;)
    {
        dt = Now() - lastTime;
        if (dt >= framePeriod)
            break;
        sleep(framePeriod - dt);
    }
    frameCounter += 1;
}

void WindowSystem::BeginFrame()
{
    MeasureFrameTime();
    if (window)
        glfwPollEvents();
    // After the events, so a window uncovered by them is drawn in this frame.
    picture.BeginFrame();
    picture.Note(width);
    picture.Note(height);
}

void WindowSystem::Update(float)
{
    if (InputSystem::GetInstance().GetState(Key::F11) == 1)
        ToggleFullscreen();
}

void WindowSystem::EndFrame()
{
    if (picture.EndFrame())
    {
        present();
        presentAreas.clear();
        partsNamed = wholeDue = false;
    }
    LimitFrame();
}

void WindowSystem::FindPartialPresent()
{
    copySubBuffer = nullptr;
    presentAreas.clear();
    partsNamed = wholeDue = false;
    if (!window || !glfwExtensionSupported("GLX_MESA_copy_sub_buffer"))
        return;
    display = glfwGetX11Display();
    drawable = glfwGetGLXWindow(window);
    if (display && drawable)
        copySubBuffer = reinterpret_cast<CopySubBuffer>(glfwGetProcAddress("glXCopySubBufferMESA"));
}

void WindowSystem::PresentOnly(const std::vector<Area>& areas)
{
    presentAreas.insert(presentAreas.end(), areas.begin(), areas.end());
    partsNamed = true;
}

void WindowSystem::Present()
{
    if (!window)
        return;
    if (!copySubBuffer)
        glfwSwapBuffers(window);
    else if (wholeDue || !partsNamed)
        copySubBuffer(display, drawable, 0, 0, width, height);
    else
        for (const Area& a : presentAreas)
            copySubBuffer(display, drawable, a.x0, a.y0, a.x1 - a.x0, a.y1 - a.y0);
}

void WindowSystem::Shutdown() {}

void WindowSystem::DestroyWindow()
{
    if (window)
        glfwDestroyWindow(window);
    window = nullptr;
}

void WindowSystem::ToggleFullscreen()
{
    if (monitor)
        if (const GLFWvidmode* mode = glfwGetVideoMode(monitor); mode && mode->width > 0 && mode->height > 0)
        {
            modeWidth = mode->width;
            modeHeight = mode->height;
        }
    const bool toFullscreen = !fullscreen;
    ApplySize(toFullscreen);
    if (window)
        glfwSetWindowMonitor(window, toFullscreen ? monitor : nullptr, width / 4, height / 4, width, height,
                             0);
    fullscreen = toFullscreen;
}

bool WindowSystem::OnWindowMessage(const std::string& text)
{
    char word[32] = {};
    int n = 0;
    if (std::sscanf(text.c_str(), "%31s %d", word, &n) < 1)
        return false;
    const std::string command = word;
    if (command == "framerate:")
    {
        if (n <= 0)
            return false;   // a period the limiter could never reach
        framePeriod = 1.0f / static_cast<float>(n);
        return true;
    }
    if (command == "forceDT:")
    {
        forceDT = static_cast<float>(n);
        return true;
    }
    if (command == "shutdown")
    {
        RequestClose();
        return true;
    }
    if (command == "fullscreen")
        ToggleFullscreen();
    return false;
}

void WindowSystem::RequestClose()
{
    closeRequested = true;
    if (window)
        glfwSetWindowShouldClose(window, GLFW_TRUE);
}

bool WindowSystem::ShouldClose()
{
    const bool asked = closeRequested || (window && glfwWindowShouldClose(window));
    if (asked && confirmClose && !confirmClose())
    {
        closeRequested = false;
        if (window)
            glfwSetWindowShouldClose(window, GLFW_FALSE);
        return false;
    }
    return asked || !window;
}

void WindowSystem::OnFocus(GLFWwindow*, int focused)
{
    if (const auto& hook = GetInstance().onFocus)
        hook(focused == 1);
}
