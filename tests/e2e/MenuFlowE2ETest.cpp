// The real game on a copy of its data, clicked through with the real mouse: from the main menu
// into level 1, paused with Escape, resumed from the pause menu, back to the menu and out of the
// game through the confirm screen. Each step is checked by the scene it reaches in the log, and
// the pause screen also on the screen.
#include "tests/common/GameHarness.h"
#include "tests/common/TempFolder.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

namespace
{
// Follows the game's log: each wait looks only at what was written after the last line found.
class LogWatcher
{
public:
    explicit LogWatcher(std::string path) : path(std::move(path)) {}

    bool WaitFor(const std::string& text, std::chrono::milliseconds timeout = 15s)
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        do
        {
            const std::string log = TempFolder::ReadFile(path);
            if (const size_t at = log.find(text, seen); at != std::string::npos)
            {
                seen = at + text.size();
                return true;
            }
            std::this_thread::sleep_for(50ms);
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }
    std::string Tail() const
    {
        const std::string log = TempFolder::ReadFile(path);
        return log.substr(seen > 2000 ? seen - 2000 : 0);
    }

private:
    std::string path;
    size_t seen = 0;
};

// A world point of a menu (z = 0) on a 1920 x 1080 full screen: the camera at (0, 0, 15) with a
// 45 degree field of view shows y from -6.2132 to 6.2132, so one unit is 86.92 pixels.
struct Screen
{
    int x, y;
};
Screen OnScreen(double worldX, double worldY)
{
    const double pixelsPerUnit = 540.0 / (15.0 * std::tan(22.5 * M_PI / 180.0));
    return {static_cast<int>(std::lround(960 + worldX * pixelsPerUnit)),
            static_cast<int>(std::lround(540 - worldY * pixelsPerUnit))};
}

void Click(const std::string& display, double worldX, double worldY)
{
    const Screen at = OnScreen(worldX, worldY);
    ClickAt(display, at.x, at.y);
    // Away from every button, so the next screen starts with nothing hovered.
    Xdotool(display, "mousemove 1900 20");
}
} // namespace

TEST(MenuFlowE2E, ClicksFromTheMainMenuIntoALevelAndOutThroughTheConfirmScreen)
{
    XvfbServer x(1920, 1080);
    ASSERT_TRUE(x.IsRunning()) << "Xvfb did not start";
    TempFolder work, home;
    std::filesystem::copy(std::string(ZOVERAV_SOURCE_DIR) + "/Data", work.Path() / "Data",
                          std::filesystem::copy_options::recursive);
    ChildProcess game(ZOVERAV_GAME_BINARY, work.Path().string(),
                      {{"DISPLAY", x.Display()}, {"XDG_DATA_HOME", home.Path().string()}}, work / "game-output.txt");
    ASSERT_FALSE(WaitForWindow(x.Display(), "ZOVERAV", 20s).empty()) << TempFolder::ReadFile(work / "game-output.txt");
    Xdotool(x.Display(), "mousemove 1900 20");

    LogWatcher log(home / "Vostrel/Zoverav/Zoverav.log");
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/SplashScreen.json] loaded")) << log.Tail();
    PressKey(x.Display(), "Escape");   // skips the opening sequence
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/MainMenuScene.json] loaded")) << log.Tail();

    Click(x.Display(), 0, 1.2);   // "Play"
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/LevelScene1.json] loaded")) << log.Tail();

    // The pause screen's panel darkens the level around its buttons.
    const Screen probe = OnScreen(-5, 3.0);   // sky of the level, inside the panel
    std::this_thread::sleep_for(300ms);
    const auto playing = Screenshot::Take(x.Display());
    PressKey(x.Display(), "Escape");
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/PauseMenuScene.json] loaded as the pause overlay")) << log.Tail();
    std::this_thread::sleep_for(300ms);
    const auto paused = Screenshot::Take(x.Display());
    ASSERT_TRUE(playing && paused);
    const auto brightness = [&](const Screenshot& shot) {
        const Screenshot::Rgb p = shot.At(probe.x, probe.y);
        return p.r + p.g + p.b;
    };
    EXPECT_LT(brightness(*paused) * 2, brightness(*playing)) << "at " << probe.x << ", " << probe.y;
    Click(x.Display(), 0, 2.2);   // "Resume"
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/PauseMenuScene.json] closed")) << log.Tail();

    PressKey(x.Display(), "Escape");
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/PauseMenuScene.json] loaded as the pause overlay")) << log.Tail();
    Click(x.Display(), 0, -2.6);   // "Main Menu", asked to confirm
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/ConfirmScene.json] loaded as the confirm overlay")) << log.Tail();
    Click(x.Display(), -2.4, -1.0);   // "Yes"
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/MainMenuScene.json] loaded")) << log.Tail();

    Click(x.Display(), 0, -4.8);   // "Quit"
    ASSERT_TRUE(log.WaitFor("SCENE: [Data/Scenes/ConfirmScene.json] loaded as the confirm overlay")) << log.Tail();
    Click(x.Display(), -2.4, -1.0);   // "Yes"
    const auto status = game.WaitForExit(20s);
    ASSERT_TRUE(status) << "the game did not quit from the confirm screen\n" << log.Tail();
    EXPECT_EQ(*status, 0) << TempFolder::ReadFile(work / "game-output.txt");

    // The progress was saved on the way out.
    const std::string levels = TempFolder::ReadFile(home / "Vostrel/Zoverav/LevelCompleted.json");
    EXPECT_NE(levels.find("\"LevelCompleted\""), std::string::npos) << levels;
}
