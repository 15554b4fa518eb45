#include "game/BehaviorSpawner.h"

#include "engine/InputSystem.h"
#include "game/BehaviorMonkey.h"
#include "game/SpawnerDisplay.h"
#include "graphics/Font.h"
#include "graphics/Sprite.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/LevelFixture.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
// Exact in binary, so timer sums carry no rounding.
constexpr float Dt = 0.125f;

json SpawnerEntity(json settings, const std::string& name = "Spawner")
{
    settings["Type"] = "BehaviorSpawner";
    return {{"Name", name},
            {"Components",
             {settings,
              {{"Type", "Transform"}, {"Translation", {3, 4, 0.5}}},
              {{"Type", "SpawnerDisplay"}},
              {{"Type", "Font"}, {"InputText", ""}}}}};
}

class SpawnerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        level.WriteArchetype(
            {{"Name", "Monkey"}, {"Components", {{{"Type", "Transform"}}, {{"Type", "BehaviorMonkey"}}}}});
    }

    BehaviorSpawner& Spawner(Entity* entity) { return *entity->GetComponent<BehaviorSpawner>(); }

    // Runs frames and lists the frame numbers on which the number of bots grew.
    std::vector<int> SpawnFrames(int frames)
    {
        std::vector<int> at;
        for (int frame = 0; frame < frames; ++frame)
        {
            const size_t before = level.Count("Monkey");
            level.Frame(Dt);
            if (level.Count("Monkey") > before)
                at.push_back(frame);
        }
        return at;
    }

    LevelFixture level;
};
}   // namespace

TEST_F(SpawnerTest, SpaceStartsItAndBotsLeaveAtTheIntervalUpToTheCount)
{
    Entity* home = level.Add(SpawnerEntity({{"SpawnDuration", 0.5}, {"MonkeySpawnCountMax", 3}}));
    EXPECT_TRUE(SpawnFrames(8).empty()) << "nothing leaves before Space";

    level.Tap(Key::Space);
    EXPECT_EQ(SpawnFrames(20), (std::vector<int>{0, 4, 8}))
        << "the first bot on the frame of Space, then 0.5 s apart";
    EXPECT_EQ(Spawner(home).SpawnCount, 3);
    EXPECT_EQ(BehaviorSpawner::GetSpawnedCount(), 3);
    EXPECT_EQ(BehaviorSpawner::GetSpawnTotal(), 3);
    EXPECT_EQ(level.SoundsNamed("Spawn"), 3u);
    EXPECT_FLOAT_EQ(level.sounds.front().volume, 0.05f);
    EXPECT_EQ(home->GetComponent<Font>()->Text, "0\n");
}

TEST_F(SpawnerTest, SpaceAgainChangesNothing)
{
    level.Add(SpawnerEntity({{"SpawnDuration", 0.5}, {"MonkeySpawnCountMax", 10}}));
    level.Tap(Key::Space);
    EXPECT_EQ(SpawnFrames(7), (std::vector<int>{0, 4}));
    level.Tap(Key::Space);
    EXPECT_EQ(SpawnFrames(3), (std::vector<int>{1}))
        << "frame 8 as planned: a second Space does not restart the timer";
}

TEST(SpawnerEdges, CountsAndDurations)
{
    struct Case
    {
        const char* what;
        json settings;
        int frames;
        std::vector<int> expected;
        const char* display;
    };
    const Case cases[] = {
        {"no bots at all", {{"MonkeySpawnCountMax", 0}}, 5, {}, "0\n"},
        {"a zero duration spawns every frame",
         {{"SpawnDuration", 0}, {"MonkeySpawnCountMax", 4}},
         6,
         {0, 1, 2, 3},
         "0\n"},
        {"a negative total reads as none", {{"MonkeySpawnCountMax", -3}}, 5, {}, "0\n"},
        {"the default: one a second of 100", json::object(), 17, {0, 8, 16}, "97\n"},
    };
    for (const Case& c : cases)
    {
        LevelFixture fresh;
        fresh.WriteArchetype({{"Name", "Monkey"}, {"Components", {{{"Type", "BehaviorMonkey"}}}}});
        Entity* home = fresh.Add(SpawnerEntity(c.settings));
        fresh.Tap(Key::Space);
        std::vector<int> at;
        for (int frame = 0; frame < c.frames; ++frame)
        {
            const size_t before = fresh.Count("Monkey");
            fresh.Frame(Dt);
            if (fresh.Count("Monkey") > before)
                at.push_back(frame);
        }
        EXPECT_EQ(at, c.expected) << c.what;
        EXPECT_EQ(home->GetComponent<Font>()->Text, c.display) << c.what;
    }
}

TEST_F(SpawnerTest, BotsAreSpawnedAtTheSpawnerWalkingRightAndAreNeverSaved)
{
    level.Add(SpawnerEntity({{"MonkeySpawnCountMax", 1}}));
    level.Tap(Key::Space);
    level.Frame(Dt);
    const std::vector<Entity*> bots = level.Named("Monkey");
    ASSERT_EQ(bots.size(), 1u);
    const Entity* bot = bots[0];
    EXPECT_TRUE(bot->IsSpawned);
    const Vec3 at = bot->GetComponent<Transform>()->Translation;
    EXPECT_EQ(at.x, 3);
    EXPECT_EQ(at.y, 4);
    EXPECT_EQ(at.z, 0.5f);
    EXPECT_EQ(bot->GetComponent<BehaviorMonkey>()->Direction, 1);
    ASSERT_NE(bot->GetComponent<Sprite>(), nullptr) << "an archetype without a picture gets the walking one";

    json saved;
    level.Scene().Write(saved);
    for (const json& entity : saved["Entities"])
        EXPECT_TRUE(entity.is_null() || entity["Name"] == "Spawner") << saved.dump();
}

TEST_F(SpawnerTest, OnlyTheFirstEntityNamedSpawnerCounts)
{
    level.Add(SpawnerEntity({{"MonkeySpawnCountMax", 7}}, "NotASpawner"));
    EXPECT_EQ(BehaviorSpawner::GetSpawnTotal(), 0) << "the name decides";
    level.Add({{"Name", "Spawner"}, {"Components", {{{"Type", "Transform"}}}}});
    level.Add(SpawnerEntity({{"MonkeySpawnCountMax", 5}}));
    level.Add(SpawnerEntity({{"MonkeySpawnCountMax", 9}}));
    EXPECT_EQ(BehaviorSpawner::GetSpawnTotal(), 5) << "the first Spawner that has the behaviour";

    SceneSystem::GetInstance().currentScene.reset();
    EXPECT_EQ(BehaviorSpawner::GetSpawnTotal(), 0);
    EXPECT_EQ(BehaviorSpawner::GetSpawnedCount(), 0);
}

TEST_F(SpawnerTest, SharedSettingsOutliveTheSpawnerThatSetThem)
{
    BehaviorSpawner first;
    first.Read({{"MonkeyWaitDuration", 0.7}, {"ExitOutSpeed", 2.5}, {"MonkeySpawnCountMax", 12}});
    BehaviorSpawner later;
    later.Read({{"SpawnDuration", 2}});
    EXPECT_FLOAT_EQ(BehaviorSpawner::MonkeyWaitDuration, 0.7f);
    EXPECT_FLOAT_EQ(BehaviorSpawner::ExitOutSpeed, 2.5f);
    EXPECT_EQ(BehaviorSpawner::LastSpawnTotal, 100) << "the total of the spawner read last";

    // A spawner that resets its total takes the one read last at its start.
    BehaviorSpawner resetting;
    resetting.Read({{"ResetSpawnCount", true}, {"MonkeySpawnCountMax", 4}, {"SpawnCount", 3}});
    first.Read({{"MonkeySpawnCountMax", 12}});
    resetting.OnInit();
    EXPECT_EQ(resetting.MonkeySpawnCountMax, 12);
    EXPECT_EQ(resetting.SpawnCount, 0);

    json written;
    resetting.Write(written);
    for (const char* key : {"SpawnCount", "MonkeySpawnCountMax", "Spawn", "SpawnTimer", "SpawnDuration",
                            "MonkeyWaitDuration", "ResetSpawnCount", "RayCastJumpLength", "MaxJumpHeight",
                            "ExitOutSpeed", "StateCurrent", "StateNext", "Timer"})
        EXPECT_TRUE(written.contains(key)) << key;
    EXPECT_EQ(written["Type"], "BehaviorSpawner");

    std::unique_ptr<Component> copy(resetting.Clone());
    const auto& clone = dynamic_cast<const BehaviorSpawner&>(*copy);
    EXPECT_EQ(clone.MonkeySpawnCountMax, 100) << "a copy starts with the default total";
    EXPECT_FALSE(clone.ResetSpawnCount);
}

TEST(SpawnerEdges, AMissingArchetypeStillGivesABotAndAnUnplacedBotIsNotLeaked)
{
    LevelFixture bare;
    bare.RemoveArchetype("Monkey");
    TraceCapture trace;
    Entity* made = BehaviorSpawner::SpawnBot(nullptr);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Name, "Monkey");
    EXPECT_NE(made->GetComponent<Sprite>(), nullptr);
    EXPECT_TRUE(trace.Contains("SPAWNER: [Data/Entities/Monkey.json]")) << trace.All();
    EXPECT_TRUE(trace.Contains("ZINDLE_walk")) << trace.All();
    delete made;

    // With no scene to own them, the bots a spawner makes are deleted (the leak checker of the
    // sanitizer build would report them otherwise), and the count still moves on.
    BehaviorSpawner orphan;
    orphan.Started = true;
    SceneSystem::GetInstance().currentScene.reset();
    orphan.OnUpdate(Dt);
    EXPECT_EQ(orphan.SpawnCount, 1);
    EXPECT_TRUE(bare.sounds.empty()) << "no scene, no sound";
}
