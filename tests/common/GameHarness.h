#pragma once
// End-to-end helpers: a private Xvfb server, the real game started in it, real input events
// through xdotool, and the screen read back pixel by pixel.
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// An Xvfb server of its own on a free display number, stopped at the end.
class XvfbServer
{
public:
    explicit XvfbServer(int width = 1920, int height = 1080);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool IsRunning() const { return pid > 0 && !display.empty(); }
    const std::string& Display() const { return display; }   // ":N"

private:
    pid_t pid = -1;
    std::string display;
};

// A child process with its own working folder and environment; killed if still running at the end.
class ChildProcess
{
public:
    ChildProcess(const std::string& binary, const std::string& workingFolder,
                 const std::map<std::string, std::string>& environment, const std::string& outputFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit status once the process ended within the timeout; nothing otherwise.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    bool IsRunning();

private:
    pid_t pid = -1;
    std::optional<int> status;
};

// Runs xdotool on the display and returns what it printed (standard output).
std::string Xdotool(const std::string& display, const std::string& arguments);

// A key held for a few frames, as a person presses it: the game polls key states once a frame,
// so a tap shorter than a frame would only reach it as a message.
void PressKey(const std::string& display, const std::string& key);
// A mouse button pressed and released at a screen position, held for a few frames.
void ClickAt(const std::string& display, int x, int y, int button = 1);

struct WindowGeometry
{
    int x = 0, y = 0, width = 0, height = 0;
};
// Waits up to the timeout for a window of that exact title; its id, or empty.
std::string WaitForWindow(const std::string& display, const std::string& title, std::chrono::milliseconds timeout);
std::optional<WindowGeometry> GetWindowGeometry(const std::string& display, const std::string& windowId);

// The whole screen read back as 8-bit RGB.
class Screenshot
{
public:
    static std::optional<Screenshot> Take(const std::string& display);

    struct Rgb
    {
        int r = 0, g = 0, b = 0;
    };
    Rgb At(int x, int y) const;
    bool SavePng(const std::string& path) const;

    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
};
