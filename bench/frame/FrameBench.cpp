// The frame benchmark, and the one table of `make bench`. In a private X server of 1440 x 810
// (the game's window fills it), each figure from a process of its own:
//  - the busy level (level 1, hatch open, 200 bots out, ten digging) run by the engine's loop
//    with the frame limiter off: CPU per frame over every thread (getrusage), frames per
//    second, and the process's peak memory;
//  - the idle main menu at the frame cap: CPU time as a share of one core;
//  - the time from launching the game's binary to its first drawn frame on the screen (the
//    middle of five launches).
// Given the path of the Google Benchmark executable, it runs that too (in the same X server)
// and puts its level simulation and sprite submission figures into the table. Each figure is
// printed with its goal and whether it is met.
#include "bench/frame/FirstFrame.h"
#include "bench/frame/GameRun.h"
#include "tests/common/GameHarness.h"
#include "tests/common/TempFolder.h"

#include <X11/Xlib.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <unistd.h>
#include <vector>

using json = nlohmann::json;
using namespace std::chrono_literals;

namespace
{
const char* const RunVariable = "ZOVERAV_FRAME_RUN";         // "busy" or "menu": one run, then exit
const char* const ResultVariable = "ZOVERAV_FRAME_RESULT";   // where that run writes its figures

int RunOne(const std::string& which, const std::string& resultFile)
{
    const RunFigures f = which == "busy" ? RunBusyLevel() : which == "menu" ? RunIdleMenu() : RunFigures{};
    json out{{"frames", f.frames},
             {"cpuSeconds", f.cpuSeconds},
             {"wallSeconds", f.wallSeconds},
             {"peakKilobytes", f.peakKilobytes},
             {"botsAtStart", f.botsAtStart},
             {"botsAtEnd", f.botsAtEnd},
             {"error", which == "busy" || which == "menu" ? f.error : "no run named " + which}};
    std::ofstream(resultFile) << out.dump() << "\n";
    return out["error"].get<std::string>().empty() ? 0 : 1;
}

std::string OwnPath()
{
    std::vector<char> path(4096);
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    return n > 0 ? std::string(path.data(), static_cast<size_t>(n)) : std::string();
}

// One run in a child process of this executable; its figures, or a json with "error" set.
json ChildRun(const std::string& which, const std::string& display, const TempFolder& work)
{
    TempFolder home;
    const std::string result = work / (which + ".json"), output = work / (which + "-output.txt");
    ChildProcess child(OwnPath(), ZOVERAV_SOURCE_DIR,
                       {{"DISPLAY", display},
                        {"XDG_DATA_HOME", home.Path().string()},
                        {RunVariable, which},
                        {ResultVariable, result}},
                       output);
    if (!child.WaitForExit(180s))
        return {{"error", "the " + which + " run took longer than 3 minutes"}};
    try
    {
        return json::parse(TempFolder::ReadFile(result));
    }
    catch (const std::exception&)
    {
        return {{"error", "the " + which + " run left no figures:\n" + TempFolder::ReadFile(output)}};
    }
}

// The Google Benchmark executable's results by name ("BM_SpriteSubmit/5000"), in milliseconds.
json GoogleBenchmarks(const std::string& executable, const std::string& display, const TempFolder& work)
{
    const std::string result = work / "google.json", output = work / "google-output.txt";
    ChildProcess child(executable, ZOVERAV_SOURCE_DIR,
                       {{"DISPLAY", display}, {"BENCHMARK_OUT", result}, {"BENCHMARK_OUT_FORMAT", "json"}},
                       output);
    if (!child.WaitForExit(30min))
        return {{"error", "the Google benchmarks took longer than 30 minutes"}};
    json figures = json::object();
    try
    {
        const json results = json::parse(TempFolder::ReadFile(result));
        for (const json& b : results.at("benchmarks"))
        {
            std::string name = b.at("name").get<std::string>();
            const size_t second = name.find('/', name.find('/') + 1);
            name = name.substr(0, second);
            if (figures.contains(name))
                continue;   // the first entry: the run itself, before any aggregate
            if (b.contains("error_occurred") && b["error_occurred"].get<bool>())
            {
                figures[name] = {{"error", b.value("error_message", "failed")}};
                continue;
            }
            const bool manual = b.at("name").get<std::string>().find("manual_time") != std::string::npos;
            const double time = b.at(manual ? "real_time" : "cpu_time").get<double>();
            const std::string unit = b.value("time_unit", "ns");
            const double perMs = unit == "s" ? 1e-3 : unit == "ms" ? 1 : unit == "us" ? 1e3 : 1e6;
            figures[name] = {{"ms", time / perMs}};
        }
    }
    catch (const std::exception&)
    {
        figures["error"] = "the Google benchmarks left no results:\n" + TempFolder::ReadFile(output);
    }
    return figures;
}

// The cursor stays in a corner, over no button, for every run.
void ParkCursor(const std::string& display)
{
    if (Display* x = XOpenDisplay(display.c_str()))
    {
        XWarpPointer(x, None, DefaultRootWindow(x), 0, 0, 0, 0, 4, 4);
        XCloseDisplay(x);
    }
}

struct Row
{
    std::string figure, measured, goal, verdict;
};

Row Figure(const std::string& figure, bool ok, double value, const char* format, const char* goal,
           double limit)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    if (!ok)
        return {figure, "failed", goal, limit <= 0 ? "" : "not met"};
    return {figure, text, goal, limit <= 0 ? "" : value <= limit ? "met" : "not met"};
}

void PrintTable(const std::vector<Row>& rows, const std::vector<std::string>& notes)
{
    size_t widths[3] = {6, 8, 4};
    for (const Row& r : rows)
    {
        widths[0] = std::max(widths[0], r.figure.size());
        widths[1] = std::max(widths[1], r.measured.size());
        widths[2] = std::max(widths[2], r.goal.size());
    }
    const auto line = [&](const Row& r) {
        std::printf("%-*s  %*s  %-*s  %s\n", static_cast<int>(widths[0]), r.figure.c_str(),
                    static_cast<int>(widths[1]), r.measured.c_str(), static_cast<int>(widths[2]),
                    r.goal.c_str(), r.verdict.c_str());
    };
    std::printf("\n");
    line({"figure", "measured", "goal", ""});
    for (const Row& r : rows)
        line(r);
    for (const std::string& note : notes)
        std::printf("%s\n", note.c_str());
}

std::string LoadAverage()
{
    std::string load = TempFolder::ReadFile("/proc/loadavg");
    return load.substr(0, load.find(' ', load.find(' ', load.find(' ') + 1) + 1));
}
}   // namespace

int main(int argc, char** argv)
{
    if (const char* which = std::getenv(RunVariable))
        return RunOne(which, std::getenv(ResultVariable) ? std::getenv(ResultVariable) : "/dev/null");

    const std::string loadBefore = LoadAverage();
    XvfbServer x(1440, 810);
    if (!x.IsRunning())
    {
        std::fprintf(stderr, "frame benchmark: Xvfb did not start\n");
        return 1;
    }
    ParkCursor(x.Display());
    TempFolder work;
    std::vector<Row> rows;
    std::vector<std::string> notes;
    const auto note = [&](const std::string& what, const json& run) {
        if (run.contains("error") && !run["error"].get<std::string>().empty())
            notes.push_back(what + ": " + run["error"].get<std::string>());
    };

    json google = json::object();
    if (argc > 1)
    {
        std::fprintf(stderr, "running %s ...\n", argv[1]);
        google = GoogleBenchmarks(argv[1], x.Display(), work);
        note("Google benchmarks", google);
    }

    std::fprintf(stderr, "running the busy level ...\n");
    const json busy = ChildRun("busy", x.Display(), work);
    note("busy level", busy);
    if (busy.contains("botsAtStart"))
        notes.push_back("busy level: " + std::to_string(busy.value("frames", 0)) +
                        " frames measured, bots out " + std::to_string(busy.value("botsAtStart", 0)) +
                        " at the start, " + std::to_string(busy.value("botsAtEnd", 0)) + " at the end");
    const bool busyOk = busy.value("error", "x").empty() && busy.value("frames", 0) > 0;
    const int frames = std::max(1, busy.value("frames", 1));
    rows.push_back(Figure("busy level: CPU per frame, all threads", busyOk,
                          1000 * busy.value("cpuSeconds", 0.0) / frames, "%.2f ms", "<= 5 ms", 5));
    rows.push_back(Figure("busy level: frames per second, no limiter", busyOk,
                          frames / std::max(1e-9, busy.value("wallSeconds", 0.0)), "%.1f", "", 0));
    rows.push_back(Figure("busy level: peak memory", busyOk, busy.value("peakKilobytes", 0L) * 1024.0 / 1e6,
                          "%.1f MB", "<= 150 MB", 150));

    std::fprintf(stderr, "running the idle main menu ...\n");
    const json menu = ChildRun("menu", x.Display(), work);
    note("idle main menu", menu);
    rows.push_back(
        Figure("idle main menu: CPU of one core", menu.value("error", "x").empty(),
               100 * menu.value("cpuSeconds", 0.0) / std::max(1e-9, menu.value("wallSeconds", 0.0)),
               "%.1f %%", "<= 15 %", 15));

    std::fprintf(stderr, "launching the game five times ...\n");
    std::vector<double> launches;
    for (int i = 0; i < 5; ++i)
    {
        std::string error;
        if (const auto seconds =
                LaunchToFirstFrame(ZOVERAV_GAME_BINARY, ZOVERAV_SOURCE_DIR, x.Display(), error))
            launches.push_back(*seconds);
        else
            notes.push_back("launch " + std::to_string(i + 1) + ": " + error);
    }
    std::sort(launches.begin(), launches.end());
    rows.push_back(Figure("launch to first drawn frame (middle of " + std::to_string(launches.size()) + ")",
                          !launches.empty(), launches.empty() ? 0 : launches[launches.size() / 2], "%.3f s",
                          "<= 0.25 s", 0.25));

    if (argc > 1)
    {
        const struct
        {
            const char *name, *goal;
            double limit;
        } wanted[] = {{"BM_LevelSimulation/100", "", 0},
                      {"BM_LevelSimulation/1000", "<= 0.8 ms", 0.8},
                      {"BM_LevelSimulation/5000", "<= 4 ms", 4},
                      {"BM_SpriteSubmit/1000", "", 0},
                      {"BM_SpriteSubmit/5000", "<= 2 ms", 2}};
        for (const auto& w : wanted)
        {
            const json entry = google.value(w.name, json::object());
            if (entry.empty())
                notes.push_back(std::string(w.name) + ": not in the Google benchmarks");
            note(w.name, entry);
            rows.push_back(Figure(std::string(w.name) + " per frame", entry.contains("ms"),
                                  entry.value("ms", 0.0), "%.3f ms", w.goal, w.limit));
        }
    }
    notes.push_back("load average (1, 5 min) before: " + loadBefore + ", after: " + LoadAverage());
    PrintTable(rows, notes);
    return 0;
}
