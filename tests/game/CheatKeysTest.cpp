// The developer keys, run as the scene system runs them: once per unpaused frame.
#include "game/CheatKeys.h"

#include "engine/InputSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorMonkey.h"
#include "game/BehaviorSpawner.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/LevelFixture.h"

#include <gtest/gtest.h>

namespace
{
using Board = BehaviorCountBoard;

// Key states as the input reports them: 1 went down this frame, 2 held.
void SetKeys(const std::vector<std::pair<int, int>>& keys)
{
    for (const auto& [code, state] : keys)
        InputSystem::GetInstance().state[code] = state;
}

void SceneFrame() { SceneSystem::GetInstance().Update(1.0f / 60); }

// A level with a spawner (3 bots to go) whose bots are plain walkers, the counts and limits at
// known values and levels 1 and 2 unlocked.
struct CheatLevel
{
    CheatLevel()
    {
        level.WriteArchetype(
            {{"Name", "Monkey"}, {"Components", {{{"Type", "Transform"}}, {{"Type", "BehaviorMonkey"}}}}});
        spawner = level
                      .Add({{"Name", "Spawner"},
                            {"Components",
                             {{{"Type", "BehaviorSpawner"}, {"MonkeySpawnCountMax", 3}},
                              {{"Type", "Transform"}, {"Translation", {3, 4, 0.5}}}}}})
                      ->GetComponent<BehaviorSpawner>();
        Board::ExitedCount = 0;
        Board::ExitMax = 5;
        Board::DeadCount = 0;
        Board::DeadMax = 5;
        Board::AlwaysEvaluate = false;
        LevelCompleted = {1, 2};
    }

    LevelFixture level;
    BehaviorSpawner* spawner = nullptr;
};

class CheatKeysTest : public testing::Test
{
protected:
    CheatLevel cheat;
    LevelFixture& level = cheat.level;
};

constexpr int Ctrl = Key::LeftControl;
}   // namespace

TEST(CheatKeys, EachKeyDoesItsOneThingOnlyWithLeftCtrlHeld)
{
    struct Case
    {
        const char* what;
        std::vector<std::pair<int, int>> keys;
        int exited, exitMax, dead, deadMax;
        bool always;
        std::vector<int> levels;
        size_t bots;
    };
    const std::vector<int> start{1, 2};
    const Case cases[] = {
        {"F3 wins", {{Ctrl, 2}, {Key::F3, 1}}, 1, 1, 0, 5, true, start, 0},
        {"F4 loses", {{Ctrl, 2}, {Key::F4, 1}}, 0, 5, 1, 1, true, start, 0},
        {"F3 and F4 together", {{Ctrl, 2}, {Key::F3, 1}, {Key::F4, 1}}, 1, 1, 1, 1, true, start, 0},
        {"F5 spawns", {{Ctrl, 2}, {Key::F5, 1}}, 0, 5, 0, 5, false, start, 1},
        {"F5 before F7", {{Ctrl, 2}, {Key::F5, 1}, {Key::F7, 1}}, 0, 5, 0, 5, false, start, 1},
        {"F7 unlocks all", {{Ctrl, 2}, {Key::F7, 1}}, 0, 5, 0, 5, false, {1, 2, 3, 4, 5}, 0},
        {"F7 before F8", {{Ctrl, 2}, {Key::F7, 1}, {Key::F8, 1}}, 0, 5, 0, 5, false, {1, 2, 3, 4, 5}, 0},
        {"F8 locks", {{Ctrl, 2}, {Key::F8, 1}}, 0, 5, 0, 5, false, {1}, 0},
        {"F3 with F5", {{Ctrl, 2}, {Key::F3, 1}, {Key::F5, 1}}, 1, 1, 0, 5, true, start, 1},
        {"no Ctrl",
         {{Key::F3, 1}, {Key::F4, 1}, {Key::F5, 1}, {Key::F7, 1}, {Key::F8, 1}},
         0,
         5,
         0,
         5,
         false,
         start,
         0},
        {"keys held, not pressed",
         {{Ctrl, 2}, {Key::F3, 2}, {Key::F4, 2}, {Key::F5, 2}, {Key::F7, 2}, {Key::F8, 2}},
         0,
         5,
         0,
         5,
         false,
         start,
         0},
    };
    for (const Case& c : cases)
    {
        CheatLevel cheat;
        LevelFixture& level = cheat.level;
        SetKeys(c.keys);
        SceneFrame();
        EXPECT_EQ(Board::ExitedCount, c.exited) << c.what;
        EXPECT_EQ(Board::ExitMax, c.exitMax) << c.what;
        EXPECT_EQ(Board::DeadCount, c.dead) << c.what;
        EXPECT_EQ(Board::DeadMax, c.deadMax) << c.what;
        EXPECT_EQ(Board::AlwaysEvaluate, c.always) << c.what;
        EXPECT_EQ(LevelCompleted, c.levels) << c.what;
        EXPECT_EQ(level.Count("Monkey"), c.bots) << c.what;
    }
}

TEST_F(CheatKeysTest, F5BringsOneMoreWalkingBotFromTheSpawnerOnThePressOnly)
{
    SetKeys({{Ctrl, 2}, {Key::F5, 1}});
    SceneFrame();
    const std::vector<Entity*> bots = level.Named("Monkey");
    ASSERT_EQ(bots.size(), 1u);
    EXPECT_TRUE(bots[0]->IsSpawned) << "never written into the scene file";
    EXPECT_EQ(bots[0]->GetComponent<BehaviorMonkey>()->Direction, 1);
    const Vec3 at = bots[0]->GetComponent<Transform>()->Translation;
    EXPECT_EQ(at.x, 3);
    EXPECT_EQ(at.y, 4);
    EXPECT_EQ(cheat.spawner->SpawnCount, 1);
    EXPECT_EQ(cheat.spawner->MonkeySpawnCountMax, 4)
        << "the extra bot leaves the spawner's own three to come";
    EXPECT_EQ(BehaviorSpawner::GetSpawnTotal(), 4);

    SetKeys({{Key::F5, 2}});
    SceneFrame();
    EXPECT_EQ(level.Count("Monkey"), 1u) << "holding F5 spawns one bot";
}

TEST_F(CheatKeysTest, F5WithoutTheLevelSpawnerDoesNothing)
{
    cheat.spawner->GetParent()->Name = "Spawner2";   // a spawner, but not the level's
    level.Add({{"Name", "Spawner"}, {"Components", {{{"Type", "Transform"}}}}});
    SetKeys({{Ctrl, 2}, {Key::F5, 1}});
    SceneFrame();
    EXPECT_EQ(level.Count("Monkey"), 0u);
    EXPECT_EQ(cheat.spawner->SpawnCount, 0);

    SceneSystem::GetInstance().currentScene.reset();
    CheatKeys::Update();   // no scene at all
    EXPECT_EQ(LevelCompleted, (std::vector<int>{1, 2}));
}

TEST_F(CheatKeysTest, NothingHappensBehindAPauseOrConfirmOverlay)
{
    SceneSystem& scenes = SceneSystem::GetInstance();
    SetKeys({{Ctrl, 2}, {Key::F3, 1}, {Key::F5, 1}});
    scenes.pauseKind = SceneSystem::MenuPause;
    SceneFrame();
    scenes.pauseKind = SceneSystem::NotPaused;
    scenes.confirmActive = true;
    SceneFrame();
    scenes.confirmActive = false;
    EXPECT_FALSE(Board::AlwaysEvaluate);
    EXPECT_EQ(Board::ExitedCount, 0);
    EXPECT_EQ(level.Count("Monkey"), 0u);
    SceneFrame();
    EXPECT_TRUE(Board::AlwaysEvaluate) << "the same keys in an unpaused frame";
    EXPECT_EQ(level.Count("Monkey"), 1u);
}
