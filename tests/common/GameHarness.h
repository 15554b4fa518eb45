#pragma once
// End-to-end helpers: a private Xvfb server, the real game started in it, real input events
// through xdotool, and the screen read back pixel by pixel.
#include "tests/common/TempFolder.h"

#include <chrono>
#include <map>
#include <memory>
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

// Follows the game's log file: each wait looks only at what was written after the last line it
// found, so a test can wait for a sequence of events.
class GameLog
{
public:
    explicit GameLog(std::string path) : path(std::move(path)) {}

    bool WaitFor(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(15));
    void Restart() { seen = 0; }   // the game starts a new log
    std::string Tail() const;      // the end of what was read, for a failure message

private:
    std::string path;
    size_t seen = 0;
};

// The real game in an Xvfb server of its own at 1920 x 1080, on a private copy of the data
// folder and a private per-user folder; its log is followed from the start.
class GameSession
{
public:
    GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Writes a file of the per-user folder ("LevelCompleted.json") for the game to read at start.
    void WriteSetting(const std::string& name, const std::string& content) const;
    // Starts the game and brings it to the main menu, the opening sequence skipped; what went
    // wrong, or empty. Once the game has ended it may be started again.
    std::string StartToMenu();
    // From a level back to the main menu: the pause menu, its "Main Menu" and the confirm screen.
    std::string LevelToMenu();
    // From the main menu out of the game: "Quit", "Yes" on the confirm screen, and the game ended
    // with status 0; what went wrong, or empty.
    std::string QuitFromMenu();
    // A click at a world point (or a key press), repeated a few times until the log shows the
    // line: on a loaded machine a frame can be slower than a click. Only for clicks that do no
    // harm when they land twice.
    bool ClickFor(double worldX, double worldY, const std::string& line);
    bool PressFor(const std::string& key, const std::string& line);
    // The exit status once the game ended within the timeout.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout) { return game->WaitForExit(timeout); }

    const std::string& Display() const { return x.Display(); }
    std::string SettingsFolder() const { return (home.Path() / "Vostrel/Zoverav").string(); }
    std::string Output() const;   // what the game printed

    XvfbServer x;
    TempFolder work, home;
    GameLog log;

private:
    std::unique_ptr<ChildProcess> game;
};

// Where a world point at z = 0 appears on a 1920 x 1080 full screen through the camera at
// (0, 0, 15): its 45 degree field of view shows y from -6.2132 to 6.2132, so one unit is 86.92
// pixels.
struct ScreenPoint
{
    int x, y;
};
ScreenPoint WorldOnScreen(double worldX, double worldY);
// A click at a world point of that screen; the cursor is then parked off every button, so the
// next screen starts with nothing hovered.
void ClickWorld(const std::string& display, double worldX, double worldY);
// The left button pressed at one world point, the cursor moved to another in small steps a few
// frames apart, and the button let go there; then the cursor is parked as after a click.
void DragWorld(const std::string& display, double fromX, double fromY, double toX, double toY);

struct WindowGeometry
{
    int x = 0, y = 0, width = 0, height = 0;
};
// Waits up to the timeout for a window of that exact title; its id, or empty.
std::string WaitForWindow(const std::string& display, const std::string& title,
                          std::chrono::milliseconds timeout);
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
