#include "game/BehaviorCountBoard.h"
#include "game/BehaviorSpawner.h"
#include "game/CountBoardDisplay.h"
#include "game/ExitDisplay.h"
#include "graphics/Font.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "tests/common/LevelFixture.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
// A level of ten bots, of which ExitMax must get out before DeadMax die.
class CountBoardLevelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        level.Add({{"Name", "Spawner"},
                   {"Components", {{{"Type", "BehaviorSpawner"}, {"MonkeySpawnCountMax", 10}}}}});
        board =
            level
                .Add({{"Name", "CountBoard"},
                      {"Components", {{{"Type", "BehaviorCountBoard"}, {"DeadMax", 10}, {"ExitMax", 5}}}}})
                ->GetComponent<BehaviorCountBoard>();
        level.Frame();   // the board starts: counters reset, spawn total taken
    }

    void Counts(int dead, int exited)
    {
        BehaviorCountBoard::DeadCount = dead;
        BehaviorCountBoard::ExitedCount = exited;
    }

    int PauseKind() const { return SceneSystem::GetInstance().pauseKind; }

    LevelFixture level;
    BehaviorCountBoard* board = nullptr;
};
}   // namespace

TEST_F(CountBoardLevelTest, StartsFromZeroWithTheSpawnersTotal)
{
    EXPECT_EQ(BehaviorCountBoard::SpawnTotal, 10);
    EXPECT_EQ(BehaviorCountBoard::DeadMax, 10);
    EXPECT_EQ(BehaviorCountBoard::ExitMax, 5);
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 0);
}

TEST_F(CountBoardLevelTest, DecidesNothingUntilAsked)
{
    Counts(10, 0);
    for (int i = 0; i < 5; ++i)
        level.Frame();
    EXPECT_FALSE(board->Decided);
    EXPECT_EQ(PauseKind(), 0);
    EXPECT_TRUE(level.sounds.empty());
}

TEST_F(CountBoardLevelTest, ALossPlaysTheTromboneAndLaysTheLoseScreenOverTheLevelOnce)
{
    Counts(5, 0);   // five left, and five must get out: not more than ExitMax
    BehaviorCountBoard::EvaluateRequested = true;
    TraceCapture trace;
    level.Frame();
    EXPECT_TRUE(board->Decided);
    EXPECT_FALSE(BehaviorCountBoard::EvaluateRequested) << "the request is used up";
    EXPECT_EQ(PauseKind(), SceneSystem::LosePause);
    EXPECT_TRUE(SceneSystem::GetInstance().openPauseRequested);
    ASSERT_EQ(level.sounds.size(), 1u);
    EXPECT_EQ(level.sounds[0].name, "Trombone");
    EXPECT_TRUE(trace.Contains("Scene marked as lost"));

    BehaviorCountBoard::EvaluateRequested = true;
    BehaviorCountBoard::ExitedCount = 5;
    level.Frame();
    EXPECT_EQ(level.sounds.size(), 1u) << "a decided board never decides again";
    EXPECT_EQ(LevelCompleted, (std::vector<int>{1}));
}

TEST_F(CountBoardLevelTest, AWinCheersUnlocksTheNextLevelAndShowsTheWinScreen)
{
    Counts(4, 5);
    BehaviorCountBoard::EvaluateRequested = true;
    TraceCapture trace;
    level.Frame();
    EXPECT_TRUE(board->Decided);
    ASSERT_EQ(level.sounds.size(), 1u);
    EXPECT_EQ(level.sounds[0].name, "Cheer");
    EXPECT_EQ(PauseKind(), SceneSystem::WinPause);
    EXPECT_EQ(LevelCompleted, (std::vector<int>{1, 2})) << "winning level 1 unlocks level 2";
    EXPECT_TRUE(trace.Contains("WIN CONDITION: Exit monkeys (5) reached max (5)")) << trace.All();
    EXPECT_TRUE(trace.Contains("Scene marked as won"));
}

TEST_F(CountBoardLevelTest, TheLastNeededExitIsStillALossWithoutMargin)
{
    Counts(5, 5);
    BehaviorCountBoard::AlwaysEvaluate = true;
    level.Frame();
    ASSERT_TRUE(board->Decided);
    EXPECT_EQ(PauseKind(), SceneSystem::LosePause);
    EXPECT_EQ(level.sounds.at(0).name, "Trombone");
}

TEST_F(CountBoardLevelTest, KeepsEvaluatingUntilDecidedButNotOnALeavingScene)
{
    BehaviorCountBoard::AlwaysEvaluate = true;
    Counts(1, 2);
    level.Frame();
    EXPECT_FALSE(board->Decided) << "undecided counts: the board waits";

    Counts(1, 5);
    level.Scene().IsComplete = true;
    level.Frame();
    EXPECT_FALSE(board->Decided) << "a scene about to be left is not decided";

    level.Scene().IsComplete = false;
    level.Frame();
    EXPECT_TRUE(board->Decided);
}

TEST_F(CountBoardLevelTest, TheDisplaysShowBotsWalkingExitsNeededAndBotsLostNeverBelowZero)
{
    Entity* walking = level.Add(
        {{"Name", "Walking"}, {"Components", {{{"Type", "CountBoardDisplay"}}, {{"Type", "Font"}}}}});
    Entity* exits =
        level.Add({{"Name", "Exits"}, {"Components", {{{"Type", "ExitDisplay"}}, {{"Type", "Font"}}}}});
    Entity* lost =
        level.Add({{"Name", "Lost"}, {"Components", {{{"Type", "LostDisplay"}}, {{"Type", "Font"}}}}});
    level.Scene().Name = "Level 1";
    level.Named("Spawner")[0]->GetComponent<BehaviorSpawner>()->SpawnCount = 6;

    struct Case
    {
        int dead, exited;
        const char* walking;
        const char* exits;
        const char* lost;   // of the 10 dead allowed, or the 5 that leave more than 5 to save
    };
    const Case cases[] = {
        {0, 0, ": 6\n\nLevel 1\n", "5", "0/5"},
        {1, 2, ": 3\n\nLevel 1\n", "3", "1/5"},
        {4, 2, ": 0\n\nLevel 1\n", "3", "4/5"},
        {9, 7, ": 0\n\nLevel 1\n", "0", "9/5"},   // more lost than released: still 0
    };
    for (const Case& c : cases)
    {
        Counts(c.dead, c.exited);
        level.Frame();
        EXPECT_EQ(walking->GetComponent<Font>()->Text, c.walking)
            << c.dead << " dead, " << c.exited << " out";
        EXPECT_EQ(exits->GetComponent<Font>()->Text, c.exits) << c.dead << " dead, " << c.exited << " out";
        EXPECT_EQ(lost->GetComponent<Font>()->Text, c.lost) << c.dead << " dead, " << c.exited << " out";
    }
    // The dead limit when it comes first.
    BehaviorCountBoard::DeadMax = 3;
    level.Frame();
    EXPECT_EQ(lost->GetComponent<Font>()->Text, "9/3");
}

TEST(CountDisplays, AreSavedByTypeAndDoNothingWithoutAFont)
{
    LevelFixture level;
    const char* names[] = {"CountBoardDisplay", "ExitDisplay", "LostDisplay", "SpawnerDisplay"};
    for (const char* name : names)
    {
        Entity* bare = level.Add({{"Name", name}, {"Components", {{{"Type", name}}}}});
        level.Frame();   // no font to write to: nothing happens
        json saved;
        bare->Write(saved);
        EXPECT_EQ(saved["Components"], json::array({{{"Type", name}}})) << name;

        // Written and read back, the display is still there.
        Entity copy;
        copy.Read(saved);
        ASSERT_EQ(copy.components.size(), 1u) << name;
        EXPECT_EQ(copy.components[0]->TypeId, ComponentType::Behavior);
        json again;
        copy.Write(again);
        EXPECT_EQ(again, saved) << name;
    }
}
