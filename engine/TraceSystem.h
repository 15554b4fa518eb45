#pragma once
// The trace system finds and creates the per-user folder, opens one log file per run and
// writes a header at Init and a footer when it closes. Shutdown leaves the log open for the
// other systems' shutdown lines; the engine closes it after the last one (or the process exit).
// The system itself is never destroyed, so a line or a Close from any point of shutdown, static
// destruction included, is safe (a line after the close waits for a next Init). Every diagnostic
// of the program is a line of that log, between header and footer:
//  - TraceMessage / TraceLevelMessage: printf-style traces;
//  - Log(parts...): a message composed like a stream ("ERROR: ", name, " NOT FOUND").
// Lines written before the log opens are kept and written right after the header.
#include "engine/BaseSystem.h"

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

class TraceSystem : public BaseSystem
{
public:
    static TraceSystem& GetInstance();

    bool Init() override;
    void Close();   // writes the footer and closes the log file

    // Creates the per-user folder (with missing parents) and returns the log file's path in it.
    static std::string EnsureLogFolder();
    static const char* BuildStamp();   // the build's own time, as "Fri May  1 21:40:47 2026"

    void Write(std::string_view line);   // one diagnostic line
    bool IsOpen() const { return logFile != nullptr; }

    // Tests watch the diagnostics through a sink; it sees every line, log file or not.
    using Sink = std::function<void(std::string_view)>;
    void SetSink(Sink sink) { this->sink = std::move(sink); }

private:
    TraceSystem() : BaseSystem("Trace System") {}
    ~TraceSystem() override = default;

    std::FILE* logFile = nullptr;
    std::vector<std::string> pending;   // lines written before the log file opened
    Sink sink;
};

void TraceMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
void TraceLevelMessage(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));

template <typename... Parts> void Log(const Parts&... parts)
{
    // A JSON value streams whole, through a printer that recurses: a value from a file could be
    // any size or depth.
    static_assert(!(requires { typename Parts::object_t; } || ...),
                  "Log takes no JSON value: pass JsonSummary(value) (engine/JsonFile.h)");
    std::ostringstream line;
    (line << ... << parts);
    TraceSystem::GetInstance().Write(line.str());
}

// A float in [min, max) with 24 random bits; RandomFloat(a, a) is a.
float RandomFloat(float min, float max);
