// The sound registry: what a registry file loads, and what a bad one reports and leaves out.
#include "audio/AudioRegistry.h"
#include "tests/audio/AudioTestKit.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

using namespace AudioTestKit;

namespace
{
struct Loaded
{
    std::string name;
    int bus;
    int oneShot;
    int stream;
    bool operator==(const Loaded&) const = default;
};

std::vector<Loaded> Table()
{
    std::vector<Loaded> loaded;
    for (const SoundEntry& entry : AudioRegistry::GetInstance())
    {
        EXPECT_NE(entry.Sound, nullptr) << entry.Name;
        loaded.push_back({entry.Name, entry.Bus, entry.OneShot, entry.Stream});
    }
    return loaded;
}

std::string Describe(const std::vector<Loaded>& table)
{
    std::string text;
    for (const Loaded& l : table)
        text += l.name + "(" + std::to_string(l.bus) + "," + std::to_string(l.oneShot) + "," +
                std::to_string(l.stream) + ") ";
    return text;
}

class AudioRegistryTest : public testing::Test
{
protected:
    void TearDown() override { AudioRegistry::Clear(); }   // while the system is open
    TempFolder folder;
    OfflineSystem system;
};

// Every registry below plays from the real data folder; "Click" is a short effect there.
constexpr const char* Click = R"("FileName": "Data/Audio/Click.wav")";
}   // namespace

TEST_F(AudioRegistryTest, RegistryFilesLoadWhatIsGoodAndReportWhatIsLeftOut)
{
    const std::string click = Click;
    struct Case
    {
        const char* label;
        std::string text;
        std::vector<Loaded> expected;
        std::vector<std::string> messages;   // fragments of the lines it must log
    };
    const Case cases[] = {
        {"every key",
         R"({"Sounds": [{"Name": "Song", )" + click +
             R"(, "SoundBus": "Music", "LoopType": "Loop", "ModeType": "Stream"},
                          {"Name": "Tap", )" +
             click + R"(, "SoundBus": "UI", "LoopType": "Oneshot", "ModeType": "Sample"}]})",
         {{"Song", 0, 0, 1}, {"Tap", 2, 1, 0}},
         {}},
        {"defaults", R"({"Sounds": [{"Name": "Plain", )" + click + "}]}", {{"Plain", 1, 1, 0}}, {}},
        {"object of sounds",
         R"({"Sounds": {"b": {"Name": "B", )" + click + R"(}, "a": {"Name": "A", )" + click + "}}}",
         {{"A", 1, 1, 0}, {"B", 1, 1, 0}},
         {}},
        {"any spelling of the data folder",
         R"({"Sounds": [{"Name": "Odd", "FileName": "./data/Audio/Click.wav"}]})",
         {{"Odd", 1, 1, 0}},
         {}},
        {"duplicate",
         R"({"Sounds": [{"Name": "Twice", )" + click + R"(, "SoundBus": "UI"},
                         {"Name": "Twice", "FileName": "Data/Audio/Missing.wav"}]})",
         {{"Twice", 2, 1, 0}},
         {"Duplicate sound name 'Twice'.", "[Data/Audio/Missing.wav] left out"}},
        {"entries without name or file",
         R"({"Sounds": [7, {"FileName": "x.wav"}, {"Name": "NoFile"},
                         {"Name": 3, "FileName": "x.wav"}, {"Name": "", "FileName": "x.wav"}, {"Name": "Kept", )" +
             click + "}]}",
         {{"Kept", 1, 1, 0}},
         {"sound #1 is not an object", "sound #2 has no \"Name\"", "sound \"NoFile\" has no \"FileName\"",
          "sound #4 has no \"Name\"", "sound #5 has no \"Name\""}},
        {"bad values",
         R"({"Sounds": [{"Name": "Lower", )" + click + R"(, "SoundBus": "music"},
                         {"Name": "LowerLoop", )" +
             click + R"(, "LoopType": "loop"},
                         {"Name": "Number", )" +
             click + R"(, "ModeType": 1},
                         {"Name": "Fine", )" +
             click + R"(, "SoundBus": "SFX"}]})",
         {{"Fine", 1, 1, 0}},
         {"\"Lower\" \"SoundBus\" is not one of \"Music\" \"SFX\" \"UI\"; left out",
          "\"LowerLoop\" \"LoopType\" is not one of", "\"Number\" \"ModeType\" is not one of"}},
        {"files that do not decode",
         R"({"Sounds": [{"Name": "Gone", "FileName": "Data/Audio/Missing.wav"},
                         {"Name": "Text", "FileName": "Data/Audio/AudioRegistry.json"}, {"Name": "Here", )" +
             click + "}]}",
         {{"Here", 1, 1, 0}},
         {"Failed to load Data/Audio/Missing.wav", "sound \"Gone\" left out: the sound file does not exist",
          "Failed to load Data/Audio/AudioRegistry.json",
          "sound \"Text\" left out: the sound file does not decode"}},
        {"no sounds key", R"({"Sound": []})", {}, {"has no \"Sounds\""}},
        {"sounds not a list", R"({"Sounds": "Click"})", {}, {"\"Sounds\" is neither a list nor an object"}},
        {"not an object", R"([{"Name": "A"}])", {}, {"has no \"Sounds\""}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.label);
        // Something loaded before: every registry replaces the whole table.
        AudioRegistry::CreateSound(system.Get(), "Before", "Data/Audio/Click.wav", 1, true, false);
        const std::string path = folder / "registry.json";
        TempFolder::WriteFile(path, c.text);
        TraceCapture trace;
        EXPECT_TRUE(AudioRegistry::LoadFile(path, system.Get()));
        EXPECT_EQ(Table(), c.expected) << "loaded: " << Describe(Table());
        for (const std::string& message : c.messages)
            EXPECT_TRUE(trace.Contains(message)) << "missing \"" << message << "\" in:\n" << trace.All();
        if (c.messages.empty())
        {
            EXPECT_TRUE(trace.lines.empty()) << trace.All();
        }
    }
}

TEST_F(AudioRegistryTest, UnreadableRegistryFileLeavesTheTableAsItWas)
{
    ASSERT_NE(AudioRegistry::CreateSound(system.Get(), "Kept", "Data/Audio/Click.wav", 2, true, false),
              nullptr);
    const std::string truncated = folder / "truncated.json";
    TempFolder::WriteFile(truncated, R"({"Sounds": [{"Name": "A", )");
    struct Case
    {
        std::string path;
        const char* message;
    };
    for (const Case& c : {Case{truncated, "sound registry is not valid JSON"},
                          Case{folder / "absent.json", "sound registry not found"}})
    {
        TraceCapture trace;
        EXPECT_FALSE(AudioRegistry::LoadFile(c.path, system.Get()));
        EXPECT_TRUE(trace.Contains("[" + c.path + "] " + c.message)) << trace.All();
        EXPECT_EQ(Table(), (std::vector<Loaded>{{"Kept", 2, 1, 0}}));
    }
}

TEST_F(AudioRegistryTest, FindAndCreateSound)
{
    EXPECT_EQ(AudioRegistry::CreateSound(nullptr, "NoSystem", "Data/Audio/Click.wav", 1, true, false),
              nullptr);
    SoundEntry* first =
        AudioRegistry::CreateSound(system.Get(), "Click", "Data/Audio/Click.wav", 2, true, false);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->FileName, "Data/Audio/Click.wav");
    AudioRegistry::CreateSound(system.Get(), "click", "Data/Audio/Click.wav", 1, false, true);
    EXPECT_EQ(AudioRegistry::Find("Click")->Bus, 2);
    EXPECT_EQ(AudioRegistry::Find("click")->Stream, 1) << "names are case-sensitive";
    EXPECT_EQ(AudioRegistry::Find("CLICK"), nullptr);
    EXPECT_EQ(AudioRegistry::Find(""), nullptr);
}

// The game's own registry: every sound the game asks for by name is there and decodes.
TEST_F(AudioRegistryTest, GameRegistryHoldsEverySoundTheGamePlays)
{
    TraceCapture trace;
    AudioRegistry::Load(system.Get());
    EXPECT_TRUE(trace.lines.empty()) << trace.All();
    for (const char* name : {"Select", "Click", "Pause", "Cheer", "Trombone", "FinishLine", "Explode",
                             "Jetpack", "Block", "Dig", "LayBridge", "Tunnel", "Spawn"})
    {
        const SoundEntry* entry = AudioRegistry::Find(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->OneShot, 1) << name << " is an effect: it plays once";
        EXPECT_NE(entry->Bus, SoundBus::Music) << name;
        EXPECT_LT(entry->Sound->GetLength(), 2.0) << name;
    }
    for (const char* name : {"MenuSong", "LevelSong1", "LevelSong2", "LevelSong3"})
    {
        const SoundEntry* entry = AudioRegistry::Find(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->Bus, SoundBus::Music) << name;
        EXPECT_EQ(entry->OneShot, 0) << name << " is a song: it loops";
        EXPECT_GT(entry->Sound->GetLength(), 2.0) << name;
    }
}
