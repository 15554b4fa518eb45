// The two settings files (bus volumes, completed levels), level unlocking and the level numbers
// and labels read from scene file names.
#include "audio/AudioPlayer.h"
#include "engine/InputSystem.h"
#include "game/CheatKeys.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"
#include "tests/audio/OfflineAudioTest.h"
#include "tests/common/FileSizeLimit.h"
#include "tests/common/SceneFlowFixture.h"
#include "tests/common/TraceCapture.h"

#include <climits>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

namespace fs = std::filesystem;

namespace
{
SceneSystem& Scenes() { return SceneSystem::GetInstance(); }

class SceneSettingsTest : public testing::Test
{
protected:
    std::string File(const std::string& name) const { return flow.SettingsFolder() + "/" + name; }
    void Write(const std::string& name, const std::string& content)
    {
        TempFolder::WriteFile(File(name), content);
    }
    std::string Read(const std::string& name) const { return TempFolder::ReadFile(File(name)); }
    json ReadJson(const std::string& name) const { return json::parse(Read(name)); }
    // Every file of the settings folder but the log, for spotting leftovers.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(flow.SettingsFolder()))
            if (entry.path().filename() != "Zoverav.log")
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    SceneFlowFixture flow;
};

TEST_F(SceneSettingsTest, VolumesRoundTripAndBadValuesAreSkipped)
{
    const std::string original =
        R"({"MasterVolume": 0.8, "MusicVolume": 0.25, "SfxVolume": -1, "UiVolume": "loud"})";
    Write("AudioVolume.json", original);
    TraceCapture trace;
    Scenes().LoadAudioVolume();
    EXPECT_EQ(Scenes().loadedVolumes[0], 0.8f);
    EXPECT_EQ(Scenes().loadedVolumes[1], 0.25f);
    EXPECT_FALSE(Scenes().loadedVolumes[2]);
    EXPECT_FALSE(Scenes().loadedVolumes[3]);
    EXPECT_TRUE(trace.Contains("\"SfxVolume\" is -1, not a volume; ignored")) << trace.All();
    EXPECT_TRUE(trace.Contains("\"UiVolume\" is \"loud\", not a volume; ignored")) << trace.All();

    // No group can say its volume here: what the file held is what is saved.
    Scenes().SaveAudioVolume();
    const json saved = ReadJson("AudioVolume.json");
    EXPECT_EQ(saved.size(), 2u) << saved.dump();
    EXPECT_FLOAT_EQ(saved.at("MasterVolume").get<float>(), 0.8f);
    EXPECT_FLOAT_EQ(saved.at("MusicVolume").get<float>(), 0.25f);
    // The values that were not used are not lost: the file as it was is kept beside it.
    EXPECT_EQ(Files(), (std::vector<std::string>{"AudioVolume.json", "AudioVolume.json.bak"}));
    EXPECT_EQ(Read("AudioVolume.json.bak"), original);
}

TEST_F(SceneSettingsTest, SavingWithNothingKnownLeavesTheVolumeFileAlone)
{
    const std::string original = R"({"MasterVolume": 0.5})";
    Write("AudioVolume.json", original);
    Scenes().SaveAudioVolume();   // nothing was loaded and no group answers
    EXPECT_EQ(Read("AudioVolume.json"), original);
}

TEST_F(SceneSettingsTest, LevelFileAddsToTheStartingLevelsInFileOrder)
{
    struct Case
    {
        const char* file;
        std::vector<int> levels;
        bool lastWon = false;
    };
    const Case cases[] = {
        // Older files kept a win of the last level as the number after it.
        {R"({"LevelCompleted": [1, 2, 3, 4, 5, 6]})", {1, 2, 3, 4, 5}, true},
        {R"({"LevelCompleted": [1, 2], "LastLevelWon": true})", {1, 2}, true},
        {R"({"LevelCompleted": [1, 2], "LastLevelWon": "yes"})", {1, 2}, false},
        {R"({"LevelCompleted": [3, 1, 3, 2]})", {1, 3, 2}},
        {R"({"LevelCompleted": [2, "x", 0, -1, 4.5, 99999999999, null, 4]})", {1, 2, 4}},
        {R"({"LevelCompleted": "all"})", {1}},
        {R"({"Other": [5]})", {1}},
        {R"({"LevelCompleted": []})", {1}},
    };
    for (const Case& c : cases)
    {
        LevelCompleted = {1};
        LastLevelWon = false;
        Write("LevelCompleted.json", c.file);
        Scenes().LoadLevelCompleted();
        EXPECT_EQ(LevelCompleted, c.levels) << c.file;
        EXPECT_EQ(LastLevelWon, c.lastWon) << c.file;
    }
}

TEST_F(SceneSettingsTest, AWonLastLevelIsSavedApartFromTheLevelList)
{
    LevelCompleted = {1, 2, 3, 4, 5};
    LastLevelWon = true;
    Scenes().SaveLevelCompleted();
    EXPECT_EQ(ReadJson("LevelCompleted.json"),
              json::parse(R"({"LevelCompleted": [1, 2, 3, 4, 5], "LastLevelWon": true})"));
    LevelCompleted = {1};
    LastLevelWon = false;
    Scenes().LoadLevelCompleted();
    EXPECT_TRUE(IsLevelCompleted(5));
    EXPECT_TRUE(IsLevelCompleted(4));
    LastLevelWon = false;
}

TEST_F(SceneSettingsTest, DamagedFilesAreKeptAsideAndDefaultsUsed)
{
    const char* const damaged[] = {
        "{", "", "[1, 2]", "null", "\x89PNG\r\n", R"({"LevelCompleted": [2]} trailing)"};
    for (const char* name : {"AudioVolume.json", "LevelCompleted.json"})
    {
        int backups = 0;
        for (const char* content : damaged)
        {
            LevelCompleted = {1};
            Scenes().loadedVolumes = {};
            Write(name, content);
            TraceCapture trace;
            Scenes().LoadAudioVolume();
            Scenes().LoadLevelCompleted();
            EXPECT_EQ(LevelCompleted, std::vector<int>{1}) << name << ": " << content;
            EXPECT_FALSE(Scenes().loadedVolumes[0]) << name << ": " << content;
            const std::string backup = File(name) + (backups ? ".bak" + std::to_string(backups + 1) : ".bak");
            ++backups;
            EXPECT_EQ(TempFolder::ReadFile(backup), content) << name;
            EXPECT_FALSE(fs::exists(File(name))) << name << ": " << content;
            EXPECT_TRUE(trace.Contains("is damaged; kept as " + backup)) << trace.All();
        }
    }
    // The saves then write fresh files beside the backups.
    Scenes().loadedVolumes[0] = 0.5f;
    Scenes().SaveAudioVolume();
    Scenes().SaveLevelCompleted();
    EXPECT_EQ(ReadJson("AudioVolume.json"), json::parse(R"({"MasterVolume": 0.5})"));
    EXPECT_EQ(ReadJson("LevelCompleted.json"), json::parse(R"({"LevelCompleted": [1]})"));
}

// Every kind of damage a player's settings file may come with, through a whole run (load, then
// the saves at exit): the line the log gives, what the run uses, and what is on disk after.
TEST_F(SceneSettingsTest, EveryKindOfDamageIsSaidAndNothingThePlayerSavedIsLost)
{
    enum class Make
    {
        Text,         // a file holding content
        Folder,       // a folder where the file should be
        Unreadable,   // a file holding content that this process may not read
        LinkLoop,     // a link to itself: nothing can open it, whoever asks
    };
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    std::string wide = "[0";
    for (int i = 1; i < 100000; ++i)
        wide += ",0";
    wide += "]";
    struct Case
    {
        const char* name;
        Make make;
        std::string content;
        std::vector<std::string> said;   // parts of log lines, each found in some line
        std::vector<int> levels;         // in use after the load
        std::optional<float> master;     // the master volume in use after the load
        std::optional<json> after;       // the file after the saves; none: left exactly as it was
        bool backedUp;                   // the file as it was is kept in name + ".bak"
        bool diskFull = false;           // the saves cannot write
    };
    const std::string levels = R"({"LevelCompleted": [1, 2, 3]})";
    const Case cases[] = {
        {"LevelCompleted.json",
         Make::Folder,
         "",
         {"LevelCompleted.json] cannot be read (is a folder, not a file); defaults used, and the file is "
          "left as it is and not written this run"},
         {1},
         {},
         {},
         false},
        {"LevelCompleted.json",
         Make::Unreadable,
         levels,
         {"LevelCompleted.json] cannot be read (Permission denied)"},
         {1},
         {},
         {},
         false},
        {"AudioVolume.json",
         Make::LinkLoop,
         "",
         {"AudioVolume.json] cannot be read (Too many levels of symbolic links)"},
         {1},
         {},
         {},
         false},
        {"LevelCompleted.json",
         Make::Text,
         R"({"LevelCompleted": )" + deep + "}",
         {"LevelCompleted.json] is not JSON this game reads: nested deeper than 64 levels",
          "LevelCompleted.json] is damaged; kept as "},
         {1},
         {},
         json{{"LevelCompleted", {1}}},
         true},
        {"AudioVolume.json",
         Make::Text,
         deep,
         {"AudioVolume.json] is not JSON this game reads: nested deeper"},
         {1},
         {},
         {},
         true},
        {"LevelCompleted.json",
         Make::Text,
         R"({"LevelCompleted": ["1", "2", "3"]})",
         {R"("LevelCompleted" holds "1", not a level of the game; skipped)",
          "LevelCompleted.json] held values that were not used; kept as "},
         {1},
         {},
         json{{"LevelCompleted", {1}}},
         true},
        {"LevelCompleted.json",
         Make::Text,
         R"({"LevelCompleted": [2, 7, 22222222222222222222, [[[3]]]]})",
         {R"("LevelCompleted" holds 7, not a level of the game)",
          R"("LevelCompleted" holds 2.222222222222222e+19, not a level of the game)",
          R"("LevelCompleted" holds an array of 1 value, not a level of the game)"},
         {1, 2},
         {},
         json{{"LevelCompleted", {1, 2}}},
         true},
        {"LevelCompleted.json",
         Make::Text,
         R"({"LevelCompleted": )" + wide + "}",
         {R"("LevelCompleted" holds 0, not a level of the game)"},
         {1},
         {},
         json{{"LevelCompleted", {1}}},
         true},
        {"AudioVolume.json",
         Make::Text,
         R"({"MasterVolume": 1000, "MusicVolume": 1e300, "SfxVolume": )" + wide + "}",
         {R"("MasterVolume" is 1000, above full volume; 1 used)",
          R"("MusicVolume" is 1e+300, not a volume; ignored)",
          R"("SfxVolume" is an array of 100000 values, not a volume; ignored)"},
         {1},
         1.0f,
         json{{"MasterVolume", 1.0}},
         true},
        {"AudioVolume.json",
         Make::Text,
         R"({"MasterVolume": 0.5})",
         {"AudioVolume.json] could not be saved (File too large); the file is left as it was"},
         {1},
         0.5f,
         {},
         false,
         true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name + (" " + c.content.substr(0, 60)));
        LevelCompleted = {1};
        LastLevelWon = false;
        Scenes().loadedVolumes = {};
        Scenes().volumeFile = Scenes().levelFile = {};
        const std::string path = File(c.name);
        if (c.make == Make::Folder)
            fs::create_directory(path);
        else if (c.make == Make::LinkLoop)
            fs::create_symlink(c.name, path);
        else
            Write(c.name, c.content);
        if (c.make == Make::Unreadable)
        {
            fs::permissions(path, fs::perms::none);
            if (std::ifstream(path).is_open())
            {
                // Permissions do not stop this process (it runs as root): the case cannot be made.
                std::cout << "(an unreadable file cannot be made: this process reads any file)\n";
                fs::remove(path);
                continue;
            }
        }

        TraceCapture trace;
        Scenes().LoadAudioVolume();
        Scenes().LoadLevelCompleted();
        EXPECT_EQ(LevelCompleted, c.levels);
        EXPECT_EQ(Scenes().loadedVolumes[0], c.master);
        {
            std::optional<FileSizeLimit> full;
            if (c.diskFull)
                full.emplace(8);
            Scenes().SaveSettings();
        }
        for (const std::string& part : c.said)
            EXPECT_TRUE(trace.Contains(part)) << part << "\n" << trace.All();

        const fs::file_status after = fs::symlink_status(path);
        if (c.after)
            EXPECT_EQ(ReadJson(c.name), *c.after);
        else if (c.make == Make::Folder)
            EXPECT_TRUE(fs::is_directory(after));
        else if (c.make == Make::LinkLoop)
            EXPECT_EQ(fs::read_symlink(path), c.name);
        else if (!c.backedUp)
        {
            EXPECT_TRUE(fs::is_regular_file(after));
            if (c.make == Make::Unreadable)
            {
                EXPECT_EQ(fs::perms::none, after.permissions() & fs::perms::all) << "permissions kept";
                fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
            }
            EXPECT_EQ(Read(c.name), c.content);
        }
        if (c.backedUp)
            EXPECT_EQ(Read(std::string(c.name) + ".bak"), c.content);
        else
            EXPECT_FALSE(fs::exists(path + ".bak"));
        fs::remove_all(path);
        fs::remove(path + ".bak");
        fs::remove(File("LevelCompleted.json"));
    }
}

TEST_F(SceneSettingsTest, ADamagedFileFoundOnlyAtSaveIsNotOverwritten)
{
    Write("LevelCompleted.json", "{\"LevelCompleted\": [1, 2");
    LevelCompleted = {1, 3};
    Scenes().SaveLevelCompleted();
    EXPECT_EQ(Read("LevelCompleted.json.bak"), "{\"LevelCompleted\": [1, 2");
    EXPECT_EQ(ReadJson("LevelCompleted.json"), json::parse(R"({"LevelCompleted": [1, 3]})"));
}

// The list in memory is what is saved: it started from the file, so nothing of the file is lost
// unless this run took it away, as Left Ctrl + F8 does; that reset outlives a restart.
TEST_F(SceneSettingsTest, TheLevelsInMemoryAreWhatIsSavedSoAResetToTheFirstLevelLasts)
{
    Write("LevelCompleted.json", R"({"LevelCompleted": [1, 2, 4]})");
    LevelCompleted = {1};
    Scenes().LoadLevelCompleted();
    AddUnlockedLevel(3);
    Scenes().SaveLevelCompleted();
    EXPECT_EQ(ReadJson("LevelCompleted.json"), json::parse(R"({"LevelCompleted": [1, 2, 4, 3]})"));

    InputSystem& input = InputSystem::GetInstance();
    input.state[Key::LeftControl] = 2;
    input.state[Key::F8] = 1;
    CheatKeys::Update();
    input.Reset();
    EXPECT_EQ(LevelCompleted, std::vector<int>{1});
    Scenes().SaveLevelCompleted();
    EXPECT_EQ(ReadJson("LevelCompleted.json"), json::parse(R"({"LevelCompleted": [1]})"));
    EXPECT_EQ(Files(), (std::vector<std::string>{"LevelCompleted.json"}));

    LevelCompleted = {1};   // the next run starts
    Scenes().LoadLevelCompleted();
    EXPECT_EQ(LevelCompleted, std::vector<int>{1});
    EXPECT_FALSE(IsLevelUnlocked(2));
}

TEST_F(SceneSettingsTest, WinningALevelUnlocksTheNextAndSavesAtOnce)
{
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelScene1.json"));
    struct Case
    {
        const char* sceneFile;
        std::vector<int> levels;   // after the win
    };
    const Case cases[] = {
        {"Data/Scenes/LevelScene3.json", {1, 4}},     {"Data/Scenes/LevelScene3.json", {1, 4}},
        {"Data/Scenes/MainMenuScene.json", {1, 4}},   {"Data/Scenes/LevelScene99999999999.json", {1, 4}},
        {"Data2/Scenes/LevelScene1.json", {1, 4, 2}},
    };
    for (const Case& c : cases)
    {
        Scenes().CurrentScene()->SceneFile = c.sceneFile;
        Scenes().pauseKind = SceneSystem::NotPaused;
        UnlockNextLevel();
        EXPECT_EQ(Scenes().pauseKind, SceneSystem::WinPause) << c.sceneFile;
        EXPECT_EQ(LevelCompleted, c.levels) << c.sceneFile;
        EXPECT_EQ(ReadJson("LevelCompleted.json").at("LevelCompleted").get<std::vector<int>>(), c.levels)
            << c.sceneFile;
    }
    EXPECT_TRUE(IsLevelUnlocked(4));
    EXPECT_FALSE(IsLevelUnlocked(3));
}

TEST(LevelProgress, NumbersAndLabelsFromSceneNamesNeverThrow)
{
    struct Case
    {
        const char* text;
        std::optional<int> number;
        const char* label;   // of a scene with that file
    };
    const Case cases[] = {
        {"Data/Scenes/LevelScene3.json", 3, "Level 3"},
        {"Data\\Scenes\\LevelScene12.json", 12, "Level 12"},
        {"Data/Scenes/MainMenuScene.json", std::nullopt, "error"},
        {"LevelScene3.json", 3, "error"},
        {"Data/Scenes/LevelScene4", 4, "error"},
        {"Data/Scenes/LevelScene.json", std::nullopt, "Level "},
        {"Data/Scenes/LevelScene99999999999.json", std::nullopt, "Level 99999999999"},
        {"Data/Scenes/LevelScene2147483647.json", INT_MAX, "Level 2147483647"},
        {"L1x2", 1, "error"},
        {"", std::nullopt, "error"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(FirstNumberIn(c.text), c.number) << c.text;
        MainScene scene;
        scene.SceneFile = c.text;
        EXPECT_EQ(LevelNumberFromScene(&scene), c.label) << c.text;
    }
    EXPECT_EQ(LevelNumberFromScene(nullptr), "error");
}
}   // namespace

namespace
{
// With the sound system up, the volume file sets the groups and saving reads them back.
class SceneSettingsWithSoundTest : public AudioTestKit::OfflineAudioTest
{
protected:
    SceneFlowFixture flow;
};

TEST_F(SceneSettingsWithSoundTest, VolumesReachTheGroupsAndAreSavedFromThem)
{
    TempFolder::WriteFile(flow.SettingsFolder() + "/AudioVolume.json",
                          R"({"MusicVolume": 0.25, "UiVolume": "x"})");
    AudioPlayer* player = AudioPlayer::GetInstance();
    ASSERT_TRUE(player->SetVolume(player->UiGroup, 0.75f));
    Scenes().LoadAudioVolume();
    float music = -1, ui = -1;
    ASSERT_TRUE(player->GetVolume(player->MusicGroup, music));
    ASSERT_TRUE(player->GetVolume(player->UiGroup, ui));
    EXPECT_FLOAT_EQ(music, 0.25f);
    EXPECT_FLOAT_EQ(ui, 0.75f) << "a bad value leaves the group as it was";

    ASSERT_TRUE(player->SetVolume(player->SfxGroup, 0.5f));
    Scenes().SaveAudioVolume();
    const json saved = json::parse(TempFolder::ReadFile(flow.SettingsFolder() + "/AudioVolume.json"));
    EXPECT_FLOAT_EQ(saved.at("MusicVolume").get<float>(), 0.25f);
    EXPECT_FLOAT_EQ(saved.at("SfxVolume").get<float>(), 0.5f);
    EXPECT_FLOAT_EQ(saved.at("UiVolume").get<float>(), 0.75f);
    EXPECT_TRUE(saved.contains("MasterVolume"));
}
}   // namespace

namespace
{
TEST_F(SceneSettingsWithSoundTest, FocusLossPausesAllSoundAndFocusBackResumesIt)
{
    TempFolder::WriteFile(folder / "Scenes/Empty.json", R"({"Entities": []})");
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/Empty.json"));
    Sound::ChannelGroup* master = AudioPlayer::GetInstance()->MasterGroup;
    bool paused = false;
    Scenes().windowFocused = false;
    flow.Frame();
    ASSERT_EQ(master->GetPaused(&paused), Sound::Result::Ok);
    EXPECT_TRUE(paused);
    Scenes().windowFocused = true;
    flow.Frame();
    master->GetPaused(&paused);
    EXPECT_FALSE(paused);
}
}   // namespace
