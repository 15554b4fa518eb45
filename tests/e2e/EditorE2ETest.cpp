// The real game with the editor overlay, driven by real key and mouse events: F1 draws the main
// menu bar over a running level, a click on the bar does not reach the game button beneath it,
// and the bar's pause item holds the level still.
#include "tests/common/GameHarness.h"

#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

namespace
{
// Pixels that differ between two pictures inside a band of rows.
int Differences(const Screenshot& a, const Screenshot& b, int fromRow, int toRow)
{
    int count = 0;
    for (int y = fromRow; y < toRow; ++y)
        for (int x = 0; x < a.width; ++x)
        {
            const Screenshot::Rgb p = a.At(x, y), q = b.At(x, y);
            count += p.r != q.r || p.g != q.g || p.b != q.b;
        }
    return count;
}
}   // namespace

TEST(EditorE2E, F1ShowsTheMenuBarAndItsPauseItemHoldsTheLevel)
{
    GameSession game;
    ASSERT_EQ(game.StartToMenu(), "");
    const std::string& display = game.Display();
    ClickWorld(display, 0, 1.2);   // "Play"
    ASSERT_TRUE(game.log.WaitFor("SCENE: [Data/Scenes/LevelScene1.json] loaded")) << game.log.Tail();
    // The level's pause button, where the menu bar will stand, pauses the level and resumes it.
    constexpr int PauseButtonX = 1840, UnderTheBarY = 38;
    ClickAt(display, PauseButtonX, UnderTheBarY);
    ASSERT_TRUE(game.log.WaitFor("SCENE: [Data/Scenes/PauseNoMenuScene.json] loaded")) << game.log.Tail();
    ClickAt(display, PauseButtonX, UnderTheBarY);
    ASSERT_TRUE(game.log.WaitFor("SCENE: [Data/Scenes/PauseNoMenuScene.json] closed")) << game.log.Tail();
    PressKey(display, "space");   // the hatch opens and bots walk out
    std::this_thread::sleep_for(2s);

    // The bar is drawn over the top of the level, which goes on moving beneath it.
    constexpr int BarRows = 40, WholeWidth = 1920;
    Xdotool(display, "mousemove 1500 20");
    const auto before = Screenshot::Take(display);
    PressKey(display, "F1");
    std::this_thread::sleep_for(500ms);
    const auto withBar = Screenshot::Take(display);
    ASSERT_TRUE(before && withBar);
    EXPECT_GT(Differences(*before, *withBar, 0, BarRows), BarRows * WholeWidth / 2);
    std::this_thread::sleep_for(500ms);
    const auto stillRunning = Screenshot::Take(display);
    ASSERT_TRUE(stillRunning);
    EXPECT_GT(Differences(*withBar, *stillRunning, BarRows, 1080), 0) << "the bots walk";
    ClickAt(display, PauseButtonX, UnderTheBarY);   // now on the bar: the editor's, not the game's
    EXPECT_FALSE(game.log.WaitFor("SCENE: [Data/Scenes/PauseNoMenuScene.json] loaded", 1500ms));

    // "||", the bar's first item: game time stops, and with it every bot. A menu item acts when
    // the button is let go over it, so the pointer stays there for a few frames of this level on
    // a software renderer before it moves on.
    Xdotool(display, "mousemove 49 20");
    std::this_thread::sleep_for(300ms);
    ClickAt(display, 49, 20);
    std::this_thread::sleep_for(500ms);
    Xdotool(display, "mousemove 1500 20");
    std::this_thread::sleep_for(500ms);
    const auto paused = Screenshot::Take(display);
    ASSERT_TRUE(paused);
    // The item turned into a green ">".
    bool resumeShown = false;
    for (int y = 5; y < 35; ++y)
        for (int x = 30; x < 70; ++x)
            if (const Screenshot::Rgb p = paused->At(x, y); p.g > 200 && p.r < 100 && p.b < 100)
                resumeShown = true;
    EXPECT_TRUE(resumeShown);
    std::this_thread::sleep_for(700ms);
    const auto later = Screenshot::Take(display);
    ASSERT_TRUE(later);
    EXPECT_EQ(Differences(*paused, *later, BarRows, 1080), 0) << "nothing moves while paused";

    Xdotool(display, "key End");
    const auto status = game.WaitForExit(20s);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 0);
}
