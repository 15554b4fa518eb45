// The real game on a copy of its data with every level unlocked, clicked through with the real
// mouse: from the main menu into each level by the level selection, the hatch opened with Space,
// a job armed with its hotkey, and back to the menu through the pause and confirm screens. In
// each level the terrain is on the screen in its materials' own colours where the level has solid
// ground. With ZOVERAV_SCREENSHOTS set to a folder, the menu and every level in play are saved
// there as PNG pictures to look at.
#include "tests/common/GameHarness.h"
#include "tests/common/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

using namespace std::chrono_literals;

namespace
{
// The colours of a level's materials file, as the terrain draws them.
std::set<uint32_t> MaterialColours(const std::filesystem::path& file)
{
    std::set<uint32_t> colours;
    std::ifstream in(file);
    const nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
    if (doc.is_object() && doc.contains("Materials"))
        for (const nlohmann::json& material : doc["Materials"])
            colours.insert(material.value("color", 0u) >> 8);   // red, green, blue
    return colours;
}

uint32_t Packed(const Screenshot::Rgb& p) { return uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | uint32_t(p.b); }

// Ground deep in each level, away from its props: world points that show solid terrain.
struct LevelView
{
    int level;
    double groundX, groundY;
    const char* hotkey;   // of the level's first job
};
const LevelView Levels[] = {
    {1, -6.0, -4.0, "1"}, {2, -8.0, -3.0, "2"}, {3, -6.0, -4.5, "4"},
    {4, 2.0, -5.0, "3"},  {5, -4.0, -4.0, "1"},
};
}   // namespace

TEST(LevelScreensE2E, EveryLevelIsReachedFromTheMenuAndDrawsItsTerrain)
{
    GameSession game;
    game.WriteSetting("LevelCompleted.json", R"({"LevelCompleted": [1, 2, 3, 4, 5]})");
    const std::string started = game.StartToMenu();
    ASSERT_EQ(started, "");
    const std::string& display = game.Display();
    GameLog& log = game.log;

    const char* shots = std::getenv("ZOVERAV_SCREENSHOTS");
    const auto save = [&](const Screenshot& shot, const std::string& name) {
        if (shots)
        {
            EXPECT_TRUE(shot.SavePng(std::string(shots) + "/" + name + ".png"));
        }
    };
    std::this_thread::sleep_for(500ms);
    if (const auto menu = Screenshot::Take(display))
        save(*menu, "MainMenu");

    for (const LevelView& view : Levels)
    {
        const std::string level = std::to_string(view.level);
        SCOPED_TRACE("level " + level);
        ASSERT_TRUE(game.ClickFor(0, 0.0, "SCENE: [Data/Scenes/LevelLoaderScene.json] loaded"))
            << log.Tail();   // "Levels"
        ASSERT_TRUE(game.ClickFor(0, 3.6 - view.level * 1.2,
                                  "SCENE: [Data/Scenes/LevelScene" + level + ".json] loaded"))
            << log.Tail();   // "Level N"

        PressKey(display, "space");   // the hatch opens
        std::this_thread::sleep_for(3s);
        PressKey(display, view.hotkey);   // a job armed: its button shows pressed
        const auto playing = Screenshot::Take(display);
        ASSERT_TRUE(playing);
        save(*playing, "Level" + level);

        const std::set<uint32_t> colours =
            MaterialColours(game.work.Path() / ("Data/Levels/Level" + level + ".json"));
        const ScreenPoint ground = WorldOnScreen(view.groundX, view.groundY);
        const uint32_t seen = Packed(playing->At(ground.x, ground.y));
        EXPECT_TRUE(colours.count(seen))
            << "at " << ground.x << ", " << ground.y << " the colour " << std::hex << seen;

        const std::string back = game.LevelToMenu();
        ASSERT_EQ(back, "");
    }
    PressKey(display, "End");
    EXPECT_TRUE(game.WaitForExit(20s)) << "the game did not close on End";
}
