// The game's own menu scenes: every road between them that a player can click, walked with the
// buttons of the real scene files.
#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"
#include "tests/common/SceneFlowFixture.h"

#include <gtest/gtest.h>

namespace
{
SceneSystem& Scenes() { return SceneSystem::GetInstance(); }

std::string Overlay()
{
    const SceneSystem& scenes = Scenes();
    if (scenes.confirmActive && scenes.ConfirmOverlay())
        return scenes.ConfirmOverlay()->SceneFile;
    return scenes.PauseOverlay() ? scenes.PauseOverlay()->SceneFile : "none";
}

class MenuFlowDataTest : public testing::Test
{
protected:
    // Clicks the named button and expects the scene and overlay reached.
    void Step(const std::string& button, const std::string& scene, const std::string& overlay)
    {
        ASSERT_TRUE(flow.Click(button)) << "no " << button << " in " << flow.Current() << " / " << Overlay();
        EXPECT_EQ(flow.Current(), scene) << "after " << button;
        EXPECT_EQ(Overlay(), overlay) << "after " << button;
    }

    SceneFlowFixture flow{SceneFlowFixture::GameData};
    std::vector<std::string>& windowCommands = flow.windowCommands;
};

const std::string Menu = "Data/Scenes/MainMenuScene.json";
const std::string Level1 = "Data/Scenes/LevelScene1.json";
const std::string Pause = "Data/Scenes/PauseMenuScene.json";
const std::string Confirm = "Data/Scenes/ConfirmScene.json";

TEST_F(MenuFlowDataTest, TheSplashLeadsToTheMainMenuWhenSkipped)
{
    Scenes().Init();
    EXPECT_EQ(flow.Current(), "Data/Scenes/SplashScreen.json");
    flow.Frame();
    flow.Tap(Key::Space);
    EXPECT_EQ(flow.Current(), Menu);
}

TEST_F(MenuFlowDataTest, FromTheMainMenuIntoALevelThroughItsOverlaysAndOut)
{
    ASSERT_TRUE(Scenes().LoadScene(Menu));
    flow.Frame();
    Step("LoadLevelScene1Button", Level1, "none");
    flow.Tap(Key::Escape);
    EXPECT_EQ(Overlay(), Pause);
    Step("ResumeButton", Level1, "none");
    Step("PauseButton", Level1, "Data/Scenes/PauseNoMenuScene.json");
    Step("PauseButton", Level1, "none");

    flow.Tap(Key::Escape);
    Step("SettingButton", Level1, "Data/Scenes/SettingMenuScene.json");
    Step("ResumeButton", Level1, Pause);
    Step("HowToPlayButton", Level1, "Data/Scenes/HowToPlayScene.json");
    Step("ResumeButton", Level1, Pause);
    Step("QuitButton", Level1, Confirm);
    Step("ConfirmNoButton", Level1, Pause);
    Step("RestartButton", Level1, "none");
    flow.Tap(Key::Escape);
    Step("QuitButton", Level1, Confirm);
    Step("ConfirmYesButton", Menu, "none");

    Step("LoadButton", "Data/Scenes/LevelLoaderScene.json", "none");
    Step("LoadLevelScene2Button", "Data/Scenes/LevelLoaderScene.json", "none");   // locked
    Step("BackButton", Menu, "none");
    Step("SettingButton", Menu, "Data/Scenes/SettingMenuScene.json");
    Step("ResumeButton", Menu, "none");
    Step("CreditsButton", Menu, "Data/Scenes/CreditsScene.json");
    Step("ResumeButton", Menu, "none");
    Step("HowToPlayButton", Menu, "Data/Scenes/HowToPlayScene.json");
    Step("ResumeButton", Menu, "none");
    EXPECT_TRUE(windowCommands.empty());
    Step("QuitButton", Menu, Confirm);
    Step("ConfirmYesButton", Menu, Confirm);
    EXPECT_EQ(windowCommands, std::vector<std::string>{"shutdown"});
}

TEST_F(MenuFlowDataTest, WinningAndLosingLeadOnThroughEveryLevelToTheEnd)
{
    ASSERT_TRUE(Scenes().LoadScene(Level1));
    flow.Frame();
    Scenes().TogglePause(SceneSystem::LosePause);
    flow.Frame();
    EXPECT_EQ(Overlay(), "Data/Scenes/LoseScene.json");
    Step("RetryButton", Level1, "none");

    for (int level = 1; level <= 5; ++level)
    {
        EXPECT_EQ(flow.Current(), "Data/Scenes/LevelScene" + std::to_string(level) + ".json");
        UnlockNextLevel();
        flow.Frame();
        EXPECT_EQ(Overlay(), "Data/Scenes/WinScene.json");
        const std::string next = level < 5 ? "Data/Scenes/LevelScene" + std::to_string(level + 1) + ".json"
                                           : "Data/Scenes/GameEndScene.json";
        Step("NextSceneButton", next, "none");
    }
    EXPECT_EQ(LevelCompleted, (std::vector<int>{1, 2, 3, 4, 5})) << "the last level unlocks nothing";
    EXPECT_TRUE(IsLevelCompleted(5)) << "but it shows as won";
    Step("BackButton", Menu, "none");

    // Every level is now open from the level selection.
    Step("LoadButton", "Data/Scenes/LevelLoaderScene.json", "none");
    Step("LoadLevelScene4Button", "Data/Scenes/LevelScene4.json", "none");
}
}   // namespace
