#include "engine/TraceSystem.h"

#include "tests/common/TempFolder.h"
#include "tests/common/TraceCapture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
// Made before the trace system is first asked for, so destroyed after it would be: its
// destructor writes to the log and closes it from the last moments of static destruction.
struct LateShutdownLine
{
    ~LateShutdownLine()
    {
        if (!armed)
            return;
        Log("a line from static destruction");
        TraceSystem::GetInstance().Close();
    }
    bool armed = false;
} lateShutdownLine;
}   // namespace

TEST(TraceSystem, LogFileHoldsHeaderTracesAndFooter)
{
    TempFolder home;
    ScopedEnv xdg("XDG_DATA_HOME", home.Path().c_str());
    TraceSystem& trace = TraceSystem::GetInstance();
    testing::internal::CaptureStdout();
    TraceMessage("%s: Init", "Window System");   // before the log opens: kept for it
    ASSERT_TRUE(trace.Init());
    Log("SCENE: [", "Data/Scenes/X.json", "] failed to load");
    trace.Close();
    const std::string out = testing::internal::GetCapturedStdout();

    const std::string folder = home / "Vostrel/Zoverav";
    EXPECT_NE(out.find("Created directory: " + folder), std::string::npos) << out;
    EXPECT_NE(out.find("Log file location: " + folder + "/Zoverav.log"), std::string::npos) << out;
    EXPECT_TRUE(fs::is_directory(home / "Zoverav"));

    const std::string log = TempFolder::ReadFile(folder + "/Zoverav.log");
    const std::string stamp = TraceSystem::BuildStamp();
    const std::string header =
        "=== Brisklet Log ===\nLog started at: " + stamp + "\n=======================\n\n";
    const std::string footer = "\n=======================\nLog ended at: " + stamp + "\n=== End of Log ===\n";
    ASSERT_GE(log.size(), header.size() + footer.size());
    EXPECT_EQ(log.substr(0, header.size()), header);
    EXPECT_EQ(log.substr(log.size() - footer.size()), footer);
    EXPECT_NE(log.find("Window System: Init\n"), std::string::npos);
    EXPECT_NE(log.find("SCENE: [Data/Scenes/X.json] failed to load\n"), std::string::npos);
}

// A process that ends without closing the log, with lines and a Close from static destruction:
// no destroyed object is touched (the sanitizer build sees any) and the footer is whole.
TEST(TraceSystem, TheLogMayBeWrittenAndClosedFromAnyPointOfShutdown)
{
    TempFolder home;
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0)
    {
        setenv("XDG_DATA_HOME", home.Path().c_str(), 1);
        TraceSystem::GetInstance().SetSink(nullptr);
        std::fclose(stdout);   // the child's folder messages are not the test's output
        if (!TraceSystem::GetInstance().Init())
            _exit(3);
        Log("the last line of the run");
        lateShutdownLine.armed = true;
        std::exit(0);   // static destruction and exit handlers run here
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string log = TempFolder::ReadFile(home / "Vostrel/Zoverav/Zoverav.log");
    const std::string footer = "the last line of the run\n\n=======================\nLog ended at: " +
                               std::string(TraceSystem::BuildStamp()) + "\n=== End of Log ===\n";
    ASSERT_GE(log.size(), footer.size()) << log;
    EXPECT_EQ(log.substr(log.size() - footer.size()), footer);
}

TEST(TraceSystem, SecondRunIsQuietAboutTheFolderAndRewritesTheLog)
{
    TempFolder home;
    ScopedEnv xdg("XDG_DATA_HOME", home.Path().c_str());
    TraceSystem& trace = TraceSystem::GetInstance();
    testing::internal::CaptureStdout();
    ASSERT_TRUE(trace.Init());
    Log("first run");
    trace.Close();
    ASSERT_TRUE(trace.Init());
    trace.Close();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("Created directory: "), out.rfind("Created directory: ")) << "printed twice:\n" << out;
    const std::string log = TempFolder::ReadFile(home / "Vostrel/Zoverav/Zoverav.log");
    EXPECT_EQ(log.find("first run"), std::string::npos);
}

TEST(TraceSystem, WithoutAKnownFolderTheWorkingDirectoryIsTheBase)
{
    TempFolder work;
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    ScopedEnv home("HOME", nullptr);
    const fs::path previous = fs::current_path();
    fs::current_path(work.Path());
    testing::internal::CaptureStdout();
    const std::string logPath = TraceSystem::EnsureLogFolder();
    testing::internal::GetCapturedStdout();
    fs::current_path(previous);
    EXPECT_EQ(logPath, "./Vostrel/Zoverav/Zoverav.log");
    EXPECT_TRUE(fs::is_directory(work.Path() / "Vostrel/Zoverav"));
}

TEST(TraceSystem, UnwritableFolderFailsInitWithTheMessageAndTheGameGoesOn)
{
    TempFolder home;
    TempFolder::WriteFile(home / "Vostrel", "a file where the folder should be");
    ScopedEnv xdg("XDG_DATA_HOME", home.Path().c_str());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(TraceSystem::GetInstance().Init());
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Failed to create directory " + home / "Vostrel/Zoverav" + ". Error code: "),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Failed to open log file: "), std::string::npos) << out;
    TraceCapture capture;
    Log("still fine");
    EXPECT_TRUE(capture.Contains("still fine"));
}

TEST(RandomFloat, StaysInsideItsHalfOpenRangeAndFillsIt)
{
    int tenths[10] = {};
    for (int i = 0; i < 2000; ++i)
    {
        const float v = RandomFloat(0.0f, 2.99f);
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, 2.99f);
        ++tenths[std::min(9, static_cast<int>(v / 0.299f))];
    }
    // Draws that repeat (a generator seeded alike for every call) would fill one tenth only.
    for (int tenth = 0; tenth < 10; ++tenth)
        EXPECT_GT(tenths[tenth], 100) << "tenth " << tenth;
    EXPECT_EQ(RandomFloat(4.5f, 4.5f), 4.5f);
}
