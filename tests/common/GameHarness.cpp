#include "tests/common/GameHarness.h"

#include "tests/common/TempFolder.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sstream>
#include <stb_image_write.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

XvfbServer::XvfbServer(int width, int height)
{
    int fds[2];
    if (pipe(fds) != 0)
        return;
    pid = fork();
    if (pid == 0)
    {
        close(fds[0]);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
        const std::string fd = std::to_string(fds[1]);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 10000) > 0)
    {
        char c;
        if (read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    close(fds[0]);
    if (!number.empty())
        display = ":" + number;
}

XvfbServer::~XvfbServer()
{
    if (pid > 0)
    {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

ChildProcess::ChildProcess(const std::string& binary, const std::string& workingFolder,
                           const std::map<std::string, std::string>& environment,
                           const std::string& outputFile)
{
    pid = fork();
    if (pid == 0)
    {
        if (chdir(workingFolder.c_str()) != 0)
            _exit(126);
        const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0)
        {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        for (const auto& [name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
        execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

ChildProcess::~ChildProcess()
{
    if (IsRunning())
    {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

bool ChildProcess::IsRunning()
{
    if (pid <= 0 || status)
        return false;
    int raw = 0;
    if (waitpid(pid, &raw, WNOHANG) == pid)
    {
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return false;
    }
    return true;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (IsRunning() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return status;
}

std::string Xdotool(const std::string& display, const std::string& arguments)
{
    const std::string command = "DISPLAY=" + display + " xdotool " + arguments + " 2>/dev/null";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        std::array<char, 256> buffer;
        while (fgets(buffer.data(), buffer.size(), pipe))
            output += buffer.data();
        pclose(pipe);
    }
    return output;
}

void PressKey(const std::string& display, const std::string& key)
{
    Xdotool(display, "keydown " + key);
    // Long enough to be seen in a frame of a level, however slowly the software renderer draws.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Xdotool(display, "keyup " + key);
}

void ClickAt(const std::string& display, int x, int y, int button)
{
    Xdotool(display, "mousemove " + std::to_string(x) + " " + std::to_string(y));
    // A button must see the cursor over it (hover) for a frame before the press counts, and a
    // loaded machine draws slow frames: rest before pressing and hold the press.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Xdotool(display, "mousedown " + std::to_string(button));
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    Xdotool(display, "mouseup " + std::to_string(button));
}

std::string WaitForWindow(const std::string& display, const std::string& title,
                          std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end)
    {
        std::istringstream ids(Xdotool(display, "search --onlyvisible --name '^" + title + "$'"));
        std::string id;
        if (ids >> id)
            return id;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}

std::optional<WindowGeometry> GetWindowGeometry(const std::string& display, const std::string& windowId)
{
    // "xdotool getwindowgeometry --shell" prints WINDOW=, X=, Y=, WIDTH=, HEIGHT= lines.
    std::istringstream lines(Xdotool(display, "getwindowgeometry --shell " + windowId));
    WindowGeometry g;
    int found = 0;
    std::string line;
    while (std::getline(lines, line))
    {
        if (std::sscanf(line.c_str(), "X=%d", &g.x) == 1 || std::sscanf(line.c_str(), "Y=%d", &g.y) == 1 ||
            std::sscanf(line.c_str(), "WIDTH=%d", &g.width) == 1 ||
            std::sscanf(line.c_str(), "HEIGHT=%d", &g.height) == 1)
            ++found;
    }
    if (found < 4)
        return std::nullopt;
    return g;
}

GameSession::GameSession() : x(1920, 1080), log((home.Path() / "Vostrel/Zoverav/Zoverav.log").string())
{
    std::filesystem::copy(std::string(ZOVERAV_SOURCE_DIR) + "/Data", work.Path() / "Data",
                          std::filesystem::copy_options::recursive);
}

void GameSession::WriteSetting(const std::string& name, const std::string& content) const
{
    TempFolder::WriteFile(SettingsFolder() + "/" + name, content);
}

std::string GameSession::Output() const { return TempFolder::ReadFile(work / "game-output.txt"); }

std::string GameSession::StartToMenu()
{
    using namespace std::chrono_literals;
    if (!x.IsRunning())
        return "Xvfb did not start";
    log.Restart();
    game = std::make_unique<ChildProcess>(
        ZOVERAV_GAME_BINARY, work.Path().string(),
        std::map<std::string, std::string>{{"DISPLAY", x.Display()}, {"XDG_DATA_HOME", home.Path().string()}},
        work / "game-output.txt");
    if (WaitForWindow(x.Display(), "ZOVERAV", 20s).empty())
        return "no game window:\n" + Output();
    Xdotool(x.Display(), "mousemove 1900 20");
    if (!log.WaitFor("SCENE: [Data/Scenes/SplashScreen.json] loaded"))
        return "no opening sequence:\n" + log.Tail();
    if (!PressFor("Escape", "SCENE: [Data/Scenes/MainMenuScene.json] loaded"))   // skips it
        return "no main menu:\n" + log.Tail();
    return "";
}

std::string GameSession::LevelToMenu()
{
    if (!PressFor("Escape", "SCENE: [Data/Scenes/PauseMenuScene.json] loaded as the pause overlay"))
        return "no pause menu:\n" + log.Tail();
    if (!ClickFor(0, -2.6,
                  "SCENE: [Data/Scenes/ConfirmScene.json] loaded as the confirm overlay"))   // "Main Menu"
        return "no confirm screen:\n" + log.Tail();
    if (!ClickFor(-2.4, -1.0, "SCENE: [Data/Scenes/MainMenuScene.json] loaded"))   // "Yes"
        return "no main menu:\n" + log.Tail();
    return "";
}

std::string GameSession::QuitFromMenu()
{
    using namespace std::chrono_literals;
    if (!ClickFor(0, -4.8,
                  "SCENE: [Data/Scenes/ConfirmScene.json] loaded as the confirm overlay"))   // "Quit"
        return "no confirm screen:\n" + log.Tail();
    ClickWorld(x.Display(), -2.4, -1.0);   // "Yes": the game ends, so it is not repeated
    const std::optional<int> status = WaitForExit(20s);
    if (!status)
        return "the game did not quit from the confirm screen:\n" + log.Tail();
    if (*status != 0)
        return "the game quit with status " + std::to_string(*status) + ":\n" + Output();
    return "";
}

namespace
{
template <typename Act> bool RepeatFor(GameLog& log, const std::string& line, Act act)
{
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        act();
        if (log.WaitFor(line, std::chrono::seconds(5)))
            return true;
    }
    return false;
}
}   // namespace

bool GameSession::ClickFor(double worldX, double worldY, const std::string& line)
{
    return RepeatFor(log, line, [&] { ClickWorld(x.Display(), worldX, worldY); });
}

bool GameSession::PressFor(const std::string& key, const std::string& line)
{
    return RepeatFor(log, line, [&] { PressKey(x.Display(), key); });
}

ScreenPoint WorldOnScreen(double worldX, double worldY)
{
    const double pixelsPerUnit = 540.0 / (15.0 * std::tan(22.5 * M_PI / 180.0));
    return {static_cast<int>(std::lround(960 + worldX * pixelsPerUnit)),
            static_cast<int>(std::lround(540 - worldY * pixelsPerUnit))};
}

void ClickWorld(const std::string& display, double worldX, double worldY)
{
    const ScreenPoint at = WorldOnScreen(worldX, worldY);
    ClickAt(display, at.x, at.y);
    // A slow frame takes in every event since the last one and reads the cursor where it ends:
    // parked at once, it would be off the button the click was for.
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    Xdotool(display, "mousemove 1900 20");
}

void DragWorld(const std::string& display, double fromX, double fromY, double toX, double toY)
{
    const auto move = [&](double t) {
        const ScreenPoint at = WorldOnScreen(fromX + (toX - fromX) * t, fromY + (toY - fromY) * t);
        Xdotool(display, "mousemove " + std::to_string(at.x) + " " + std::to_string(at.y));
    };
    // Slow enough for a loaded machine: the press must be seen over the start before the cursor
    // moves on, and every step in a frame of its own.
    move(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Xdotool(display, "mousedown 1");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    constexpr int Steps = 8;
    for (int step = 1; step <= Steps; ++step)
    {
        move(static_cast<double>(step) / Steps);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Xdotool(display, "mouseup 1");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Xdotool(display, "mousemove 1900 20");
}

bool GameLog::WaitFor(const std::string& text, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    do
    {
        const std::string log = TempFolder::ReadFile(path);
        if (const size_t at = log.find(text, seen); at != std::string::npos)
        {
            seen = at + text.size();
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

std::string GameLog::Tail() const
{
    const std::string log = TempFolder::ReadFile(path);
    return log.substr(seen > 2000 ? seen - 2000 : 0);
}

std::optional<Screenshot> Screenshot::Take(const std::string& display)
{
    Display* x = XOpenDisplay(display.c_str());
    if (!x)
        return std::nullopt;
    const Window root = DefaultRootWindow(x);
    XWindowAttributes attributes;
    XGetWindowAttributes(x, root, &attributes);
    XImage* image = XGetImage(x, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    std::optional<Screenshot> shot;
    if (image)
    {
        shot.emplace();
        shot->width = attributes.width;
        shot->height = attributes.height;
        shot->rgb.resize(static_cast<size_t>(shot->width) * shot->height * 3);
        for (int yy = 0; yy < shot->height; ++yy)
            for (int xx = 0; xx < shot->width; ++xx)
            {
                const unsigned long pixel = XGetPixel(image, xx, yy);
                unsigned char* out = &shot->rgb[(static_cast<size_t>(yy) * shot->width + xx) * 3];
                out[0] = static_cast<unsigned char>((pixel & image->red_mask) >> 16);
                out[1] = static_cast<unsigned char>((pixel & image->green_mask) >> 8);
                out[2] = static_cast<unsigned char>(pixel & image->blue_mask);
            }
        XDestroyImage(image);
    }
    XCloseDisplay(x);
    return shot;
}

Screenshot::Rgb Screenshot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return {};
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
}

bool Screenshot::SavePng(const std::string& path) const
{
    return stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3) != 0;
}
