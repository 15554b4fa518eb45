// The real game started on damaged settings files of each kind: a folder where a file should
// be, a file it may not read, nesting deeper than any reader takes, values of the wrong type.
// Each time it reaches the main menu and ends with End, exit status 0, and the files are left
// as the player would want: one it cannot read untouched, a damaged one kept as ".bak" beside a
// fresh one, one with values it could not use copied to ".bak" before it is written over.
#include "tests/common/GameHarness.h"
#include "tests/common/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <nlohmann/json.hpp>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace
{
// Makes the file one this process cannot open: no permissions, or, where permissions do not
// stop it (it runs as root), a link to itself. Returns what the log then says.
std::string MakeUnreadable(const std::string& path)
{
    fs::permissions(path, fs::perms::none);
    if (!std::ifstream(path).is_open())
        return "cannot be read (Permission denied)";
    std::cout << "(permissions do not stop this process: the unreadable file is a link loop)\n";
    fs::remove(path);
    fs::create_symlink(fs::path(path).filename(), path);
    return "cannot be read (Too many levels of symbolic links)";
}
}   // namespace

TEST(SettingsFilesE2E, DamagedSettingsFilesNeitherStopTheGameNorLoseWhatWasSaved)
{
    GameSession game;
    const std::string folder = game.SettingsFolder();
    const std::string volumes = folder + "/AudioVolume.json";
    const std::string levels = folder + "/LevelCompleted.json";
    const auto runToMenuAndEnd = [&] {
        ASSERT_EQ(game.StartToMenu(), "");
        PressKey(game.Display(), "End");
        const auto status = game.WaitForExit(20s);
        ASSERT_TRUE(status) << "the game did not end\n" << game.log.Tail();
        EXPECT_EQ(*status, 0) << game.Output();
    };
    const auto logSays = [&](const std::string& text) {
        return TempFolder::ReadFile(folder + "/Zoverav.log").find(text) != std::string::npos;
    };

    // A folder for the volumes, nesting a hundred thousand deep for the levels.
    fs::create_directories(volumes);
    const std::string deep =
        R"({"LevelCompleted": )" + std::string(100000, '[') + std::string(100000, ']') + "}";
    game.WriteSetting("LevelCompleted.json", deep);
    runToMenuAndEnd();
    EXPECT_TRUE(fs::is_directory(volumes)) << "left as it is";
    EXPECT_TRUE(logSays("AudioVolume.json] cannot be read (is a folder, not a file)"));
    EXPECT_EQ(TempFolder::ReadFile(levels + ".bak"), deep);
    EXPECT_EQ(nlohmann::json::parse(TempFolder::ReadFile(levels)),
              nlohmann::json::parse(R"({"LevelCompleted": [1]})"));
    EXPECT_TRUE(logSays("LevelCompleted.json] is not JSON this game reads: nested deeper than 64 levels"));

    // Values of the wrong type for the volumes, a file it cannot open for the levels.
    fs::remove_all(volumes);
    fs::remove(levels + ".bak");
    const std::string wrong = R"({"MasterVolume": "loud", "MusicVolume": 0.5})";
    game.WriteSetting("AudioVolume.json", wrong);
    const std::string progress = R"({"LevelCompleted": [1, 2, 3]})";
    game.WriteSetting("LevelCompleted.json", progress);
    const std::string unreadable = MakeUnreadable(levels);
    runToMenuAndEnd();
    EXPECT_TRUE(logSays("AudioVolume.json] \"MasterVolume\" is \"loud\", not a volume; ignored"));
    EXPECT_EQ(TempFolder::ReadFile(volumes + ".bak"), wrong);
    const nlohmann::json saved = nlohmann::json::parse(TempFolder::ReadFile(volumes));
    EXPECT_NEAR(saved.value("MusicVolume", -1.0), 0.5, 1e-6) << saved.dump();
    EXPECT_TRUE(logSays("LevelCompleted.json] " + unreadable));
    EXPECT_FALSE(fs::exists(levels + ".bak"));
    if (fs::is_symlink(levels))
    {
        EXPECT_EQ(fs::read_symlink(levels), "LevelCompleted.json");
    }
    else
    {
        fs::permissions(levels, fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(TempFolder::ReadFile(levels), progress) << "the player's progress is kept";
    }
}
