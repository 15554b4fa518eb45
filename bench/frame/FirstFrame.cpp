#include "bench/frame/FirstFrame.h"

#include "tests/common/GameHarness.h"
#include "tests/common/TempFolder.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <thread>

namespace
{
// Rows of the screen looked at, as fractions of its height: enough to cross any picture that
// fills a part of the screen, few enough to read in well under a millisecond.
constexpr double ProbeRows[] = {0.1, 0.2, 0.3, 0.4, 0.45, 0.5, 0.55, 0.6, 0.7, 0.8, 0.9};

bool AnythingShown(Display* x)
{
    const Window root = DefaultRootWindow(x);
    const int width = DisplayWidth(x, DefaultScreen(x)), height = DisplayHeight(x, DefaultScreen(x));
    for (double row : ProbeRows)
    {
        XImage* image = XGetImage(x, root, 0, static_cast<int>(row * height), width, 1, AllPlanes, ZPixmap);
        if (!image)
            continue;
        bool lit = false;
        for (int i = 0; i < width && !lit; ++i)
            lit = (XGetPixel(image, i, 0) & 0xffffff) != 0;
        XDestroyImage(image);
        if (lit)
            return true;
    }
    return false;
}
}   // namespace

std::optional<double> LaunchToFirstFrame(const std::string& gameBinary, const std::string& workingFolder,
                                         const std::string& display, std::string& error)
{
    Display* x = XOpenDisplay(display.c_str());
    if (!x)
    {
        error = "cannot open the display " + display;
        return std::nullopt;
    }
    // A game launched before may still be leaving the screen.
    for (int wait = 0; wait < 150 && AnythingShown(x); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (AnythingShown(x))
    {
        XCloseDisplay(x);
        error = "the screen was not black before the launch";
        return std::nullopt;
    }
    TempFolder home;
    const auto start = std::chrono::steady_clock::now();
    ChildProcess game(gameBinary, workingFolder,
                      {{"DISPLAY", display}, {"XDG_DATA_HOME", home.Path().string()}},
                      home / "game-output.txt");
    std::optional<double> seconds;
    while (!seconds)
    {
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (AnythingShown(x))
            seconds = elapsed;
        else if (elapsed > 20 || !game.IsRunning())
            break;
        else
            std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    XCloseDisplay(x);
    if (!seconds)
        error = "no picture within 20 s:\n" + TempFolder::ReadFile(home / "game-output.txt");
    return seconds;
}
