// The game system moves a complete scene on to its next scene, at once and only once.
#include "scene/GameSystem.h"

#include "scene/SceneSystem.h"
#include "tests/common/SceneFlowFixture.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
SceneSystem& Scenes() { return SceneSystem::GetInstance(); }

class GameSystemTest : public testing::Test
{
protected:
    void Complete(const std::string& next)
    {
        Scenes().CurrentScene()->NextScene = next;
        Scenes().CurrentScene()->IsComplete = true;
    }
    SceneFlowFixture flow;
};

TEST_F(GameSystemTest, ACompleteSceneIsReplacedByItsNextSceneWithinTheSameUpdate)
{
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelScene1.json"));
    Complete("Data/Scenes/MainMenuScene.json");
    GameSystem::GetInstance().Update(0.016f);
    EXPECT_EQ(flow.Current(), "Data/Scenes/MainMenuScene.json");
    EXPECT_FALSE(Scenes().CurrentScene()->IsComplete);
    EXPECT_TRUE(Scenes().CurrentScene()->NextScene.empty());

    // The new scene is the one updated in that frame.
    flow.Frame();
    EXPECT_EQ(SceneFlowFixture::Marker(Scenes().CurrentScene())->updates, 1);
}

TEST_F(GameSystemTest, ACompleteSceneWithoutAUsableNextSceneStaysAndIsNoLongerComplete)
{
    for (const char* next : {"", "Data/Scenes/Missing.json", "Data/Scenes/Broken.json"})
    {
        ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelScene1.json"));
        MainScene* level = Scenes().CurrentScene();
        Complete(next);
        GameSystem::GetInstance().Update(0.016f);
        EXPECT_EQ(Scenes().CurrentScene(), level) << next;
        EXPECT_FALSE(level->IsComplete) << next;
        EXPECT_TRUE(level->NextScene.empty()) << next;

        // Nothing is tried again in later frames.
        TraceCapture trace;
        GameSystem::GetInstance().Update(0.016f);
        EXPECT_FALSE(trace.Contains("progressing to next scene")) << trace.All();
    }
}

TEST_F(GameSystemTest, WithoutASceneNothingHappens)
{
    TraceCapture trace;
    GameSystem::GetInstance().Update(0.016f);
    GameSystem::GetInstance().ProgressToNextScene();
    EXPECT_FALSE(Scenes().HasCurrentScene());
    EXPECT_TRUE(trace.Contains("Game System: No active scene"));
}
}   // namespace
