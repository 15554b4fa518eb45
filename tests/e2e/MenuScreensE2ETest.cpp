// The menu screens of the real game, driven with the real mouse on a copy of its data: a volume
// slider dragged to its end and back to the middle keeps its place and its volume across a
// restart; How to Play turns through every page of every action; the credits scroll to their end
// and leave. With ZOVERAV_SCREENSHOTS set to a folder, each screen is saved there as a PNG.
#include "tests/common/GameHarness.h"
#include "tests/common/TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <thread>

using namespace std::chrono_literals;

namespace
{
void Save(const Screenshot& shot, const std::string& name)
{
    if (const char* folder = std::getenv("ZOVERAV_SCREENSHOTS"))
    {
        EXPECT_TRUE(shot.SavePng(std::string(folder) + "/" + name + ".png"));
    }
}

Screenshot Shot(const std::string& display, const std::string& name)
{
    std::this_thread::sleep_for(400ms);   // a few frames to draw what just changed
    std::optional<Screenshot> shot = Screenshot::Take(display);
    if (!shot)
    {
        ADD_FAILURE() << "no screenshot of " << name;
        return {};
    }
    Save(*shot, name);
    return *shot;
}

// Screenshots until one shows what `expected` looks for, or the time is up (a loaded machine may
// take a while to draw the next frame); the last screenshot.
template <typename Expected> Screenshot ShotShowing(const std::string& display, const std::string& name,
                                                    Expected expected, std::chrono::milliseconds limit = 6s)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    Screenshot shot = Shot(display, name);
    while (!expected(shot) && std::chrono::steady_clock::now() < until)
        shot = Shot(display, name);
    return shot;
}

// Some pixel within a few of the point has the predicate.
template <typename Test>
bool Near(const Screenshot& shot, double worldX, double worldY, int radius, Test test)
{
    const ScreenPoint at = WorldOnScreen(worldX, worldY);
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (shot.width && test(shot.At(at.x + dx, at.y + dy)))
                return true;
    return false;
}

// The slider thumb's knob: gold.
bool GoldNear(const Screenshot& shot, double worldX, double worldY)
{
    return Near(shot, worldX, worldY, 6,
                [](const Screenshot::Rgb& p) { return p.r > 170 && p.g > 100 && p.b < 90; });
}

// The music slider of the settings screen: its track from x -2 to 5.6 at y 1.9.
constexpr double MusicY = 1.9, TrackLeft = -2.0, TrackRight = 5.6, TrackMiddle = 1.8;

// Drags along the music track until the thumb shows at the target (a loaded machine may draw a
// frame slower than the drag); the last screenshot.
Screenshot DragMusic(const std::string& display, double fromX, double toX, double thumbAt,
                     const std::string& name)
{
    const auto thumbShown = [thumbAt](const Screenshot& shot) { return GoldNear(shot, thumbAt, MusicY); };
    Screenshot shot;
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        DragWorld(display, fromX, MusicY, toX, MusicY);
        shot = ShotShowing(display, name, thumbShown, 3s);
        if (thumbShown(shot))
            break;
    }
    return shot;
}
}   // namespace

TEST(MenuScreensE2E, AVolumeSliderDraggedKeepsItsPlaceAndVolumeAcrossARestart)
{
    GameSession game;
    ASSERT_EQ(game.StartToMenu(), "");
    const std::string& display = game.Display();
    GameLog& log = game.log;
    ASSERT_TRUE(
        game.ClickFor(0, -1.2, "SCENE: [Data/Scenes/SettingMenuScene.json] loaded as the pause overlay"))
        << log.Tail();   // "Settings"
    Screenshot shot =
        ShotShowing(display, "Settings", [](const Screenshot& s) { return GoldNear(s, TrackRight, MusicY); });
    EXPECT_TRUE(GoldNear(shot, TrackRight, MusicY)) << "full volume at the start";

    shot = DragMusic(display, TrackRight - 0.1, TrackLeft - 0.2, TrackLeft, "SettingsMusicOff");
    EXPECT_TRUE(GoldNear(shot, TrackLeft, MusicY)) << "dragged to the left end";
    EXPECT_FALSE(GoldNear(shot, TrackRight, MusicY));

    shot = DragMusic(display, TrackLeft + 0.05, TrackMiddle, TrackMiddle, "SettingsMusicHalf");
    EXPECT_TRUE(GoldNear(shot, TrackMiddle, MusicY)) << "and back to the middle";
    EXPECT_FALSE(GoldNear(shot, TrackLeft, MusicY));

    ClickWorld(display, 0, -4.3);   // "Back"
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/SettingMenuScene.json] closed")) << log.Tail();
    ASSERT_EQ(game.QuitFromMenu(), "");

    const nlohmann::json volumes = nlohmann::json::parse(
        TempFolder::ReadFile(game.SettingsFolder() + "/AudioVolume.json"), nullptr, false);
    ASSERT_TRUE(volumes.is_object()) << volumes.dump();
    EXPECT_NEAR(volumes.value("MusicVolume", -1.0), 0.5, 0.05) << volumes.dump();
    EXPECT_NEAR(volumes.value("MasterVolume", -1.0), 1.0, 1e-6) << volumes.dump();

    // Started again, the screen shows the thumb where it was left.
    ASSERT_EQ(game.StartToMenu(), "");
    ASSERT_TRUE(
        game.ClickFor(0, -1.2, "SCENE: [Data/Scenes/SettingMenuScene.json] loaded as the pause overlay"))
        << log.Tail();
    shot = ShotShowing(display, "SettingsAfterRestart",
                       [](const Screenshot& s) { return GoldNear(s, TrackMiddle, MusicY); });
    EXPECT_TRUE(GoldNear(shot, TrackMiddle, MusicY));
    EXPECT_FALSE(GoldNear(shot, TrackLeft, MusicY));
    EXPECT_FALSE(GoldNear(shot, TrackRight, MusicY));
    EXPECT_TRUE(GoldNear(shot, TrackRight, MusicY + 1.1)) << "the master volume was not touched";
    PressKey(display, "End");
    EXPECT_TRUE(game.WaitForExit(20s));
}

TEST(MenuScreensE2E, HowToPlayTurnsThroughEveryPageOfEveryAction)
{
    GameSession game;
    ASSERT_EQ(game.StartToMenu(), "");
    const std::string& display = game.Display();
    GameLog& log = game.log;
    ASSERT_TRUE(
        game.ClickFor(0, -2.4, "SCENE: [Data/Scenes/HowToPlayScene.json] loaded as the pause overlay"))
        << log.Tail();   // "How To Play"
    ASSERT_TRUE(log.WaitFor("page 1 of 2 of \"HowToPlayBasics\"")) << log.Tail();

    const struct
    {
        const char* action;
        int pages;
    } actions[] = {{"Basics", 2},    {"Blocker", 1}, {"Digger", 1},
                   {"Tunneller", 1}, {"Bridge", 1},  {"Umbrella", 1}};
    for (size_t i = 0; i < std::size(actions); ++i)
    {
        const std::string action = std::string("\"HowToPlay") + actions[i].action + "\"";
        const std::string of = " of " + std::to_string(actions[i].pages) + " of " + action;
        ASSERT_TRUE(game.ClickFor(-5.7, 3.1 - 0.95 * static_cast<double>(i), "page 1" + of)) << log.Tail();
        // The page turned is said before a click is tried again, and none turns past the last.
        for (int page = 2; page <= actions[i].pages; ++page)
            ASSERT_TRUE(game.ClickFor(4.8, -2.95, "page " + std::to_string(page) + of)) << log.Tail();
        Shot(display, std::string("HowToPlay") + actions[i].action);
    }
    EXPECT_TRUE(game.ClickFor(0, -4.2, "SCENE: [Data/Scenes/HowToPlayScene.json] closed")) << log.Tail();
    PressKey(display, "End");
    EXPECT_TRUE(game.WaitForExit(20s));
}

TEST(MenuScreensE2E, TheCreditsScrollToTheirEndAndLeave)
{
    GameSession game;
    ASSERT_EQ(game.StartToMenu(), "");
    const std::string& display = game.Display();
    GameLog& log = game.log;
    ASSERT_TRUE(game.ClickFor(0, -3.6, "SCENE: [Data/Scenes/CreditsScene.json] loaded as the pause overlay"))
        << log.Tail();   // "Credits"
    Shot(display, "CreditsStart");

    // Space held scrolls ten times faster: the end comes in about five seconds.
    Xdotool(display, "keydown space");
    const bool reached = log.WaitFor("reached their end", 20s);
    Xdotool(display, "keyup space");
    ASSERT_TRUE(reached) << log.Tail();
    const Screenshot end = Shot(display, "CreditsEnd");
    // The last line stands in the middle of the screen (a slow frame may carry it a little past):
    // light text across it.
    int bright = 0;
    for (double x = -4; x <= 4; x += 0.05)
        for (double y = -1; y <= 1; y += 0.1)
            bright += Near(end, x, y, 1, [](const Screenshot::Rgb& p) { return p.r + p.g + p.b > 600; });
    EXPECT_GT(bright, 20) << "no text in the middle at the end";

    EXPECT_TRUE(log.WaitFor("SCENE: [Data/Scenes/CreditsScene.json] closed", 10s)) << log.Tail();
    EXPECT_TRUE(log.WaitFor("SCENE: [Data/Scenes/MainMenuScene.json] loaded")) << log.Tail();
    PressKey(display, "End");
    EXPECT_TRUE(game.WaitForExit(20s));
}
