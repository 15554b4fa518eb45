#include "engine/TraceSystem.h"

#include "engine/Platform.h"

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <random>
#include <sys/stat.h>

namespace
{
constexpr size_t MaxPendingLines = 2000;

std::string FormatV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (size <= 0)
        return {};
    std::string text(static_cast<size_t>(size), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    return text;
}

// Trace texts often carry their own line end; the log adds one per line.
void WriteTrimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    TraceSystem::GetInstance().Write(text);
}
}   // namespace

TraceSystem& TraceSystem::GetInstance()
{
    // Never destroyed: the log may be written and closed from any point of shutdown, the
    // destructors of other static objects included. Init arranges the footer at exit.
    static TraceSystem* const instance = new TraceSystem;
    return *instance;
}

const char* TraceSystem::BuildStamp()
{
    // Kept in a plain array, which no static destruction takes away before a late Close.
    struct Stamp
    {
        char text[64];
    };
    static const Stamp stamp = [] {
        // __DATE__ is "Mmm dd yyyy" and __TIME__ "hh:mm:ss"; the weekday comes from mktime.
        static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
        const char* date = __DATE__;
        std::tm tm{};
        tm.tm_mon = static_cast<int>((std::strstr(months, std::string(date, 3).c_str()) - months) / 3);
        tm.tm_mday = std::atoi(date + 4);
        tm.tm_year = std::atoi(date + 7) - 1900;
        std::sscanf(__TIME__, "%d:%d:%d", &tm.tm_hour, &tm.tm_min, &tm.tm_sec);
        tm.tm_isdst = -1;
        std::mktime(&tm);
        Stamp made{};
        std::strftime(made.text, sizeof made.text, "%a %b %e %H:%M:%S %Y", &tm);
        return made;
    }();
    return stamp.text;
}

std::string TraceSystem::EnsureLogFolder()
{
    const std::string folder = Platform::UserFolder();
    std::error_code error;
    if (std::filesystem::create_directories(folder, error))
        std::cout << "Created directory: " << folder << std::endl;
    else if (error)
        std::cout << "Failed to create directory " << folder << ". Error code: " << error.value()
                  << std::endl;
    return folder + "/Zoverav.log";
}

bool TraceSystem::Init()
{
    const std::string logPath = EnsureLogFolder();
    std::cout << "Log file location: " << logPath << std::endl;

    const std::string second = Platform::KnownFolderPath() + "/Zoverav";
    if (::mkdir(second.c_str(), 0755) != 0 && errno != EEXIST)
    {
        std::cout << "Failed to open log file: " << logPath << std::endl;
        return false;
    }

    logFile = std::fopen(logPath.c_str(), "w");
    if (!logFile)
    {
        std::cout << "Failed to open log file: " << logPath << " Error: " << errno << std::endl;
        return false;
    }
    std::setvbuf(logFile, nullptr, _IOLBF, 0);
    // A process that ends without closing the log still gets its footer.
    static const bool closeAtExit = (std::atexit([] { GetInstance().Close(); }), true);
    (void)closeAtExit;
    std::fputs("=== Brisklet Log ===\n", logFile);
    std::fprintf(logFile, "Log started at: %s\n", BuildStamp());
    std::fputs("=======================\n\n", logFile);
    for (const std::string& line : pending)
        std::fprintf(logFile, "%s\n", line.c_str());
    pending.clear();
    std::fflush(logFile);
    return true;
}

void TraceSystem::Close()
{
    if (!logFile)
        return;
    std::fputs("\n=======================\n", logFile);
    std::fprintf(logFile, "Log ended at: %s\n", BuildStamp());
    std::fputs("=== End of Log ===\n", logFile);
    std::fclose(logFile);
    logFile = nullptr;
}

void TraceSystem::Write(std::string_view line)
{
    if (sink)
        sink(line);
    static const bool mirror = std::getenv("ZOVERAV_LOG_STDERR") != nullptr;
    if (mirror)
        std::cerr << line << '\n';
    if (logFile)
        std::fprintf(logFile, "%.*s\n", static_cast<int>(line.size()), line.data());
    else if (pending.size() < MaxPendingLines)
        pending.emplace_back(line);
}

void TraceMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteTrimmed(FormatV(format, args));
    va_end(args);
}

void TraceLevelMessage(int level, const char* format, ...)
{
    (void)level;
    va_list args;
    va_start(args, format);
    WriteTrimmed(FormatV(format, args));
    va_end(args);
}

float RandomFloat(float min, float max)
{
    // Seeded once per thread: seeding costs far more than a draw, and one stream gives the
    // same distribution as fresh seeds would.
    thread_local std::mt19937 generator(std::random_device{}());
    const unsigned u = static_cast<unsigned>(generator());
    return static_cast<float>(u >> 8) * (1.0f / 16777216.0f) * (max - min) + min;
}
