// The path: a body goes back and forth between two points, turning where its collider meets the
// marker of the end it heads for (after the wait, keeping its speed meanwhile), or where it runs
// head-on into a body that does not push it away.
#include "game/BehaviorPath.h"

#include "game/Collider.h"
#include "game/ColliderLine.h"
#include "game/Physics.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Scene.h"
#include "scene/Transform.h"
#include "tests/common/BotFixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace
{
// A one-unit box at `at`, moving with `velocity`, on a path from `start` to `end`.
Entity& AddMover(BotFixture& level, const Vec3& at, const Vec3& velocity, const Vec3& start, const Vec3& end,
                 float wait, int resolve = 0)
{
    const json description = {
        {"Name", "Platform"},
        {"Components",
         {{{"Type", "Transform"}, {"Translation", {at.x, at.y, at.z}}},
          {{"Type", "Physics"},
           {"Velocity", {velocity.x, velocity.y, velocity.z}},
           {"MaxVelocity", {50, 50, 50}}},
          {{"Type", "ColliderLine"}, {"ResolveCollision", resolve}, {"Collision Mask", {true, false, false}}},
          {{"Type", "BehaviorPath"},
           {"StartPos", {start.x, start.y, start.z}},
           {"EndPos", {end.x, end.y, end.z}},
           {"WaitDuration", wait}}}}};
    Entity* mover = Entity::CreateFromJSON(description);
    level.scene.AddEntity(mover);
    return *mover;
}

Vec3& At(Entity& e) { return e.GetComponent<Transform>()->Translation; }
}   // namespace

TEST(BehaviorPath, ABodyTurnsWhereItMeetsTheEndItHeadsForAfterTheWait)
{
    // The box's edges meet the markers: its centre turns half a unit short of each point, and the
    // wait carries it on at its speed for that long after it last touched the marker.
    struct Case
    {
        float wait;
        float lowest, highest;   // where the centre turns
    } cases[] = {{0, 0.5f, 3.0f}, {0.5f, 0.0f, 3.5f}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.wait);
        BotFixture level;
        Entity& mover = AddMover(level, {0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {3.5f, 0, 0}, c.wait);
        BehaviorPath& path = *mover.GetComponent<BehaviorPath>();
        float lowest = 100, highest = -100;
        int turns = 0;
        float lastVx = 1;
        for (int frame = 0; frame < 64 * 16; ++frame)
        {
            level.Run(1);
            const float vx = mover.GetComponent<Physics>()->Velocity.x;
            if (vx != lastVx)
                ++turns, lastVx = vx;
            if (frame > 64)   // the first, outward run over
                lowest = std::min(lowest, At(mover).x), highest = std::max(highest, At(mover).x);
            EXPECT_FLOAT_EQ(std::fabs(vx), 1.0f);
        }
        EXPECT_NEAR(lowest, c.lowest, 0.08f);
        EXPECT_NEAR(highest, c.highest, 0.08f);
        EXPECT_GE(turns, 4) << "it did not go back and forth";
        EXPECT_EQ(path.Speed, 1.0f);
        EXPECT_EQ(At(mover).y, 0.0f);
    }
}

TEST(BehaviorPath, AHeadOnHitOnABodyThatGivesWayTurnsIt)
{
    struct Case
    {
        const char* what;
        int blockResolve;
        bool turns;
    } cases[] = {
        {"a block it is pushed back from", 0, true},
        {"a block that never resolves", -1, false},
        {"a block with the stronger claim", 2, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        BotFixture level;
        // Its end lies beyond the block; the block stands 2 units away on its way.
        Entity& mover = AddMover(level, {0, 0, 0}, {1, 0, 0}, {-5, 0, 0}, {5, 0, 0}, 0, 1);
        level.AddBox("Block", {2.0f, 0, 0}, {1, 1, 1}, c.blockResolve);
        level.Run(64 * 2);
        const float vx = mover.GetComponent<Physics>()->Velocity.x;
        EXPECT_EQ(vx < 0, c.turns) << "at " << At(mover).x;
        if (c.turns)
            EXPECT_LT(At(mover).x, 1.0f);
        else
            EXPECT_GT(At(mover).x, 1.5f);
    }
}

TEST(BehaviorPath, FollowsTheDirectionItTravelsAndDoesNothingWithoutABody)
{
    BotFixture level;
    // Straight down: a head-on hit below is what turns it.
    Entity& lift = AddMover(level, {0, 0, 0}, {0, -2, 0}, {0, 5, 0}, {0, -5, 0}, 0);
    level.Run(1);
    EXPECT_EQ(lift.GetComponent<BehaviorPath>()->TravelSide, Collider::ContactBottom);
    EXPECT_FLOAT_EQ(lift.GetComponent<Physics>()->Velocity.y, -2.0f);

    // Standing still, it stays: no speed to go with.
    Entity& still = AddMover(level, {8, 0, 0}, {0, 0, 0}, {0, 0, 0}, {20, 0, 0}, 0);
    level.Run(64);
    EXPECT_EQ(At(still).x, 8.0f);

    // Without Physics nothing moves, and nothing breaks.
    Entity* bare = Entity::CreateFromJSON(
        {{"Name", "Bare"},
         {"Components", {{{"Type", "Transform"}}, {{"Type", "BehaviorPath"}, {"EndPos", {3, 0, 0}}}}}});
    level.scene.AddEntity(bare);
    level.Run(10);
    EXPECT_EQ(At(*bare).x, 0.0f);
}

TEST(BehaviorPath, SavedFormAndCopy)
{
    std::unique_ptr<Component> made(ComponentRegistry::Create("BehaviorPath"));
    ASSERT_NE(dynamic_cast<BehaviorPath*>(made.get()), nullptr);
    BehaviorPath path;
    path.Read({{"StartPos", {1, 2, 3}}, {"EndPos", {4, 5, 6}}, {"WaitDuration", 0.25}});
    json saved;
    path.Write(saved);
    EXPECT_EQ(saved.at("Type"), "BehaviorPath");
    EXPECT_EQ(saved.at("StartPos"), json({1, 2, 3}));
    EXPECT_EQ(saved.at("EndPos"), json({4, 5, 6}));
    EXPECT_EQ(saved.at("WaitDuration"), 0.25);
    EXPECT_TRUE(saved.contains("StateCurrent"));
    path.StartMarker = std::make_unique<ColliderLine>();
    std::unique_ptr<BehaviorPath> copy(static_cast<BehaviorPath*>(path.Clone()));
    EXPECT_EQ(copy->StartMarker, nullptr);   // made again by the copy itself
    EXPECT_EQ(copy->EndPos.y, 5.0f);
    EXPECT_THROW(path.Read({{"EndPos", {1, 2}}}), DataError);
    EXPECT_EQ(path.EndPos.x, 4.0f);
}
