#include "tests/common/GameHarness.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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
                           const std::map<std::string, std::string>& environment, const std::string& outputFile)
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
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
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

std::string WaitForWindow(const std::string& display, const std::string& title, std::chrono::milliseconds timeout)
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
