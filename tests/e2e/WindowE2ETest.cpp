// The real game in its own X server: full screen at start, F11 to a window and back, End to quit.
#include "tests/common/GameHarness.h"
#include "tests/common/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

TEST(WindowE2E, StartsFullScreenTogglesWithF11AndQuitsWithEnd)
{
    XvfbServer x(1920, 1080);
    ASSERT_TRUE(x.IsRunning()) << "Xvfb did not start";
    TempFolder home;
    // Started where there is no data folder: no scene covers the cleared frame.
    ChildProcess game(ZOVERAV_GAME_BINARY, home.Path(),
                      {{"DISPLAY", x.Display()}, {"XDG_DATA_HOME", home.Path()}}, home / "game-output.txt");

    const std::string id = WaitForWindow(x.Display(), "ZOVERAV", 20s);
    ASSERT_FALSE(id.empty()) << TempFolder::ReadFile(home / "game-output.txt");
    std::this_thread::sleep_for(500ms);
    auto g = GetWindowGeometry(x.Display(), id);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->width, 1920);
    EXPECT_EQ(g->height, 1080);

    Xdotool(x.Display(), "mousemove 960 540");
    PressKey(x.Display(), "F11");
    std::optional<WindowGeometry> windowed;
    for (int tries = 0; tries < 50; ++tries)
    {
        std::this_thread::sleep_for(100ms);
        windowed = GetWindowGeometry(x.Display(), id);
        if (windowed && windowed->width == 1440)
            break;
    }
    ASSERT_TRUE(windowed);
    EXPECT_EQ(windowed->width, 1440);
    EXPECT_EQ(windowed->height, 810);
    EXPECT_EQ(windowed->x, 360);
    EXPECT_EQ(windowed->y, 202);

    // The cleared frame shows the engine's clear colour in the middle of the window.
    std::this_thread::sleep_for(300ms);
    auto shot = Screenshot::Take(x.Display());
    ASSERT_TRUE(shot);
    const auto pixel = shot->At(360 + 720, 202 + 405);
    EXPECT_EQ(pixel.r, 18);
    EXPECT_EQ(pixel.g, 129);
    EXPECT_EQ(pixel.b, 61);

    PressKey(x.Display(), "F11");
    for (int tries = 0; tries < 50; ++tries)
    {
        std::this_thread::sleep_for(100ms);
        g = GetWindowGeometry(x.Display(), id);
        if (g && g->width == 1920)
            break;
    }
    ASSERT_TRUE(g);
    EXPECT_EQ(g->width, 1920);
    EXPECT_EQ(g->height, 1080);

    Xdotool(x.Display(), "mousemove 960 540");
    Xdotool(x.Display(), "key End");
    const auto status = game.WaitForExit(20s);
    ASSERT_TRUE(status) << "the game did not exit after End";
    EXPECT_EQ(*status, 0) << TempFolder::ReadFile(home / "game-output.txt");

    const std::string log = TempFolder::ReadFile(home / "Vostrel/Zoverav/Zoverav.log");
    EXPECT_EQ(log.rfind("=== Brisklet Log ===\n", 0), 0u) << log;
    EXPECT_NE(log.find("Window System: Init Done"), std::string::npos) << log;
    EXPECT_NE(log.find("Editor System: Shutdown Done"), std::string::npos) << log;
    EXPECT_NE(log.find("=== End of Log ===\n"), std::string::npos) << log;
}

TEST(WindowE2E, WithoutADisplayTheGameSaysWhyAndExitsNonZero)
{
    TempFolder home;
    ChildProcess game(ZOVERAV_GAME_BINARY, ZOVERAV_SOURCE_DIR,
                      {{"DISPLAY", ":997"}, {"XDG_DATA_HOME", home.Path()}}, home / "game-output.txt");
    const auto status = game.WaitForExit(20s);
    ASSERT_TRUE(status);
    EXPECT_NE(*status, 0);
    const std::string output = TempFolder::ReadFile(home / "game-output.txt");
    EXPECT_NE(output.find("cannot open a window: "), std::string::npos) << output;
    const std::string log = TempFolder::ReadFile(home / "Vostrel/Zoverav/Zoverav.log");
    EXPECT_NE(log.find("=== End of Log ===\n"), std::string::npos) << log;
}
