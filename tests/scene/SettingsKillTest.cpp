// The settings files survive the game being killed at any moment of saving them: after each
// kill every file is whole and holds what one save or the other wrote (never a mix, never
// nothing), and the temporary file a killed save leaves behind is gone after the next save.
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"
#include "tests/common/SceneFlowFixture.h"
#include "tests/common/TempFolder.h"

#include <array>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
struct Settings
{
    std::array<std::optional<float>, 4> volumes;
    std::vector<int> levels;
};
const Settings First = {{0.25f, 0.5f, 0.75f, 1.0f}, {1, 2}};
const Settings Second = {{1.0f, 0.0f, 0.5f, 0.125f}, {1, 2, 3, 4, 5}};
const char* const Files[] = {"AudioVolume.json", "LevelCompleted.json"};

// Through the game's own save at exit; no sound group answers here, so the volumes saved are the
// ones held as read from the file.
void Save(const Settings& settings)
{
    SceneSystem::GetInstance().loadedVolumes = settings.volumes;
    LevelCompleted = settings.levels;
    SceneSystem::GetInstance().SaveSettings();
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename() != "Zoverav.log")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
}   // namespace

TEST(SettingsKillTest, AKilledSaveLeavesEachFileWholeAndTheNextSaveLeavesNoTemporaryFile)
{
    // A process killed loses nothing of what it handed the system, on any file system: on one in
    // memory, where flushing to the disk costs nothing, the kills take a second rather than ten.
    const bool inMemory = std::filesystem::is_directory("/dev/shm") && ::access("/dev/shm", W_OK) == 0;
    const ScopedEnv temporaryFolder("TMPDIR", inMemory ? "/dev/shm" : std::getenv("TMPDIR"));
    SceneFlowFixture flow;
    const std::string folder = flow.SettingsFolder();
    const std::vector<std::string> settled = {Files[0], Files[1]};
    // What each file holds after each save.
    std::array<std::array<std::string, 2>, 2> saved;
    for (int s = 0; s < 2; ++s)
    {
        Save(s == 0 ? First : Second);
        for (int f = 0; f < 2; ++f)
            saved[f][s] = TempFolder::ReadFile(folder + "/" + Files[f]);
    }
    ASSERT_NE(saved[0][0], saved[0][1]);
    ASSERT_NE(saved[1][0], saved[1][1]);

    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, 4000);   // microseconds after the first save ended
    int killedMidWrite = 0;
    constexpr int Kills = 200;
    for (int kill = 0; kill < Kills && !HasFailure(); ++kill)
    {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            ::close(ready[0]);
            // Saves one state then the other, for as long as it lives (at most a few seconds).
            for (int n = 0; n < 2000; ++n)
            {
                Save(n % 2 ? First : Second);
                if (n == 0 && ::write(ready[1], "s", 1) != 1)
                    ::_exit(1);
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        char signal = 0;
        const bool started = ::read(ready[0], &signal, 1) == 1;
        ::close(ready[0]);
        if (started)
            ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(started) << "the saving child ended before its first save";
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended before it was killed";

        for (int f = 0; f < 2; ++f)
        {
            const std::string text = TempFolder::ReadFile(folder + "/" + Files[f]);
            EXPECT_TRUE(text == saved[f][0] || text == saved[f][1])
                << Files[f] << " after kill " << kill << " (seed " << seed << "):\n"
                << text;
        }
        if (FolderEntries(folder) != settled)
            ++killedMidWrite;
        Save(kill % 2 ? First : Second);
        EXPECT_EQ(FolderEntries(folder), settled) << "after the save that followed kill " << kill;
    }
    // The kills must land inside saves, not only between them, for the test to mean anything.
    EXPECT_GT(killedMidWrite, 0) << "no kill of " << Kills << " landed while a file was being written";
    std::cout << killedMidWrite << " of " << Kills << " kills landed while a file was being written\n";
}
