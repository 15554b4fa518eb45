// Scene buttons: the next level, the end of the game after the last level, retry, a named target
// and the reload request, through the game system as in play.
#include "ui/BehaviorSceneButton.h"

#include "scene/Entity.h"
#include "scene/GameSystem.h"
#include "scene/SceneSystem.h"
#include "tests/common/SceneFlowFixture.h"

#include <gtest/gtest.h>

namespace
{
SceneSystem& Scenes() { return SceneSystem::GetInstance(); }

class BehaviorSceneButtonTest : public testing::Test
{
protected:
    // A click on a scene button of that name in the current scene.
    BehaviorSceneButton* Click(const std::string& name, const std::string& target = "", bool reload = false)
    {
        Entity* entity = new Entity();
        entity->Name = name;
        auto* button = new BehaviorSceneButton();
        button->TargetScene = target;
        button->ReloadCurrent = reload;
        entity->AddComponent(button);
        button->PostCreate();
        Scenes().CurrentScene()->AddEntity(entity);
        button->OnReleased();
        return button;
    }
    SceneFlowFixture flow;
};

TEST_F(BehaviorSceneButtonTest, TheNextSceneButtonChoosesTheNextLevelOrTheGameEnd)
{
    struct Case
    {
        const char* scene;
        const char* next;
    };
    const Case cases[] = {
        {"Data/Scenes/LevelScene2.json", "Data/Scenes/LevelScene3.json"},
        {"Data/Scenes/LevelScene5.json", "Data/Scenes/GameEndScene.json"},
        {"Data/Scenes/MainMenuScene.json", "Data/Scenes/MainMenuScene.jsonTheVoid.json"},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(Scenes().LoadScene(c.scene));
        Click("NextSceneButton");
        EXPECT_EQ(Scenes().CurrentScene()->NextScene, c.next) << c.scene;
        EXPECT_TRUE(Scenes().CurrentScene()->IsComplete) << c.scene;
        EXPECT_FALSE(Scenes().loadRequested);
    }
}

TEST_F(BehaviorSceneButtonTest, FromTheWinScreenTheNextLevelLoadsAndTheScreenCloses)
{
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelScene1.json"));
    Scenes().TogglePause(SceneSystem::WinPause);
    flow.Frame();
    ASSERT_NE(Scenes().PauseOverlay(), nullptr);
    auto* next = flow.Find("NextSceneButton")->GetComponent<BehaviorSceneButton>();
    next->OnReleased();
    flow.Frame();
    EXPECT_EQ(flow.Current(), "Data/Scenes/LevelScene2.json");
    EXPECT_EQ(Scenes().PauseOverlay(), nullptr);
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NotPaused);

    // With no file for the next level the level stays, playable.
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelScene2.json"));
    Click("NextSceneButton");
    flow.Frame();
    EXPECT_EQ(flow.Current(), "Data/Scenes/LevelScene2.json");
    EXPECT_FALSE(Scenes().CurrentScene()->IsComplete);
}

TEST_F(BehaviorSceneButtonTest, OtherNamesRetryOrGoToTheirTarget)
{
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelScene1.json"));
    MainScene* before = Scenes().CurrentScene();
    SceneFlowFixture::Marker(before)->updates = 50;
    Click("RetryButton");
    flow.Frame();
    EXPECT_EQ(flow.Current(), "Data/Scenes/LevelScene1.json");
    EXPECT_EQ(SceneFlowFixture::Marker(Scenes().CurrentScene())->updates, 1) << "the level starts afresh";

    Click("BackButton", "Data/Scenes/MainMenuScene.json");
    flow.Frame();
    EXPECT_EQ(flow.Current(), "Data/Scenes/MainMenuScene.json");

    Click("RetryButton", "", true);
    EXPECT_TRUE(Scenes().loadRequested);
    EXPECT_TRUE(Scenes().CurrentScene()->IsComplete);
    EXPECT_EQ(Scenes().CurrentScene()->NextScene, "Data/Scenes/MainMenuScene.json");
}

TEST_F(BehaviorSceneButtonTest, ADisabledButtonStillActsAndTheSavedFormKeepsItsKeys)
{
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelScene1.json"));
    Entity* entity = new Entity();
    entity->Name = "RetryButton";
    auto* button = new BehaviorSceneButton();
    button->Enabled = false;
    entity->AddComponent(button);
    Scenes().CurrentScene()->AddEntity(entity);
    button->OnReleased();
    EXPECT_TRUE(Scenes().CurrentScene()->IsComplete);

    json saved;
    button->Write(saved);
    EXPECT_EQ(saved.at("Type"), "BehaviorSceneButton");
    EXPECT_FALSE(saved.contains("TargetScene"));
    EXPECT_EQ(saved.at("ReloadCurrent"), false);
    button->TargetScene = "Data/Scenes/MainMenuScene.json";
    button->ReloadCurrent = true;
    button->Write(saved);
    BehaviorSceneButton read;
    read.Read(saved);
    EXPECT_EQ(read.TargetScene, "Data/Scenes/MainMenuScene.json");
    EXPECT_TRUE(read.ReloadCurrent);
    EXPECT_FALSE(read.Enabled);
    EXPECT_EQ(read.GetName(), "SceneChangeButton");
}

TEST(BehaviorSceneButton, NextLevelFileRaisesTheFileNamesFirstNumber)
{
    struct Case
    {
        const char* file;
        const char* next;
    };
    const Case cases[] = {
        {"Data/Scenes/LevelScene3.json", "Data/Scenes/LevelScene4.json"},
        {"Data/Scenes/LevelScene9.json", "Data/Scenes/LevelScene10.json"},
        {"Data2/Scenes/LevelScene1.json", "Data2/Scenes/LevelScene2.json"},
        {"Data/Scenes/Level2Part5.json", "Data/Scenes/Level3.json"},
        {"Data/Scenes/MainMenuScene.json", "Data/Scenes/MainMenuScene.jsonTheVoid.json"},
        {"Data/Scenes/LevelScene99999999999.json", "Data/Scenes/LevelScene99999999999.jsonTheVoid.json"},
        {"", "TheVoid.json"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BehaviorSceneButton::NextLevelFile(c.file), c.next) << c.file;
}
}   // namespace
