// The real game on a copy of its data, clicked through with the real mouse: from the main menu
// into level 1, paused with Escape, resumed from the pause menu, back to the menu and out of the
// game through the confirm screen. Each step is checked by the scene it reaches in the log, and
// the pause screen also on the screen.
#include "tests/common/GameHarness.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

TEST(MenuFlowE2E, ClicksFromTheMainMenuIntoALevelAndOutThroughTheConfirmScreen)
{
    GameSession game;
    const std::string started = game.StartToMenu();
    ASSERT_EQ(started, "");
    const std::string& display = game.Display();
    GameLog& log = game.log;

    ClickWorld(display, 0, 1.2);   // "Play"
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/LevelScene1.json] loaded")) << log.Tail();

    // The pause screen's panel darkens the level around its buttons.
    const ScreenPoint probe = WorldOnScreen(-5, 3.0);   // sky of the level, inside the panel
    std::this_thread::sleep_for(300ms);
    const auto playing = Screenshot::Take(display);
    PressKey(display, "Escape");
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/PauseMenuScene.json] loaded as the pause overlay"))
        << log.Tail();
    std::this_thread::sleep_for(300ms);
    const auto paused = Screenshot::Take(display);
    ASSERT_TRUE(playing && paused);
    const auto brightness = [&](const Screenshot& shot) {
        const Screenshot::Rgb p = shot.At(probe.x, probe.y);
        return p.r + p.g + p.b;
    };
    EXPECT_LT(brightness(*paused) * 2, brightness(*playing)) << "at " << probe.x << ", " << probe.y;
    // "Resume", clicked again should a loaded machine draw a frame slower than the click.
    ASSERT_TRUE(game.ClickFor(0, 2.2, "SCENE: [Data/Scenes/PauseMenuScene.json] closed")) << log.Tail();

    const std::string back = game.LevelToMenu();
    ASSERT_EQ(back, "");

    ASSERT_EQ(game.QuitFromMenu(), "");

    // The progress was saved on the way out.
    const std::string levels = TempFolder::ReadFile(game.SettingsFolder() + "/LevelCompleted.json");
    EXPECT_NE(levels.find("\"LevelCompleted\""), std::string::npos) << levels;
}
