// The bots' jobs on a small terrain: what each does to the cells, its name, its look, its sounds.
#include "game/BehaviorMonkey.h"

#include "game/BehaviorCountBoard.h"
#include "game/Collider.h"
#include "game/Physics.h"
#include "game/PixelGrid.h"
#include "graphics/AnimationSequencer.h"
#include "graphics/Sprite.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Scene.h"
#include "scene/Transform.h"
#include "tests/common/BotFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <limits>

namespace
{
Entity& Of(BehaviorMonkey& bot) { return *bot.Parent; }
Physics& PhysicsOf(BehaviorMonkey& bot) { return *bot.Parent->GetComponent<Physics>(); }
Vec3& At(BehaviorMonkey& bot) { return bot.Parent->GetComponent<Transform>()->Translation; }
std::string AnimationState(BehaviorMonkey& bot)
{
    return bot.Parent->GetComponent<AnimationSequencer>()->CurrentState;
}

std::string Drawn(const std::vector<std::string>& rows)
{
    std::string all = "\n";
    for (const std::string& row : rows)
        all += row + "\n";
    return all;
}

int CountNamed(BotFixture& level, const std::string& name)
{
    int count = 0;
    for (Entity* e : level.scene.GetEntityList().GetEntities())
        count += e->Name == name;
    return count;
}

// A bot that stands where it is put until a job hands it back to walking.
BotFixture::BotShape Standing()
{
    BotFixture::BotShape shape;
    shape.startFall = 0;
    return shape;
}
}   // namespace

TEST(BotDigTest, ADiggerClearsRowByRowUntilNothingDiggableIsBelow)
{
    BotFixture level;
    level.Terrain({
        "............",
        "............",
        "############",
        "############",
        "############",
        "RRRRRRRRRRRR",
    });
    BehaviorMonkey& bot = level.AddBot({5.5f, 4.5f, 0}, 1, Standing());
    bot.Job = MonkeyJob::Dig;
    level.Run(1);
    EXPECT_EQ(Of(bot).Name, "MonkeyDig");
    EXPECT_EQ(AnimationState(bot), "Animation_Dig");

    // One row at a time, the bot's width and a cell either side.
    const std::vector<std::vector<std::string>> stages = {
        {"............", "............", "####....####", "############", "############", "RRRRRRRRRRRR"},
        {"............", "............", "####....####", "####....####", "############", "RRRRRRRRRRRR"},
        {"............", "............", "####....####", "####....####", "####....####", "RRRRRRRRRRRR"},
    };
    for (const auto& stage : stages)
    {
        const int frames = level.RunUntil(300, [&] { return level.Map() == stage; });
        EXPECT_GT(frames, 0) << "expected" << Drawn(stage) << "got" << Drawn(level.Map());
        EXPECT_GE(CountNamed(level, "Particle_Dig"), 4);   // one for each cell of the row just dug
        EXPECT_EQ(bot.Job, MonkeyJob::Dig);
        EXPECT_EQ(PhysicsOf(bot).Velocity.x, 0.0f);
    }
    ASSERT_GT(level.RunUntil(300, [&] { return bot.Job == MonkeyJob::None; }), 0) << "the dig never ended";
    EXPECT_EQ(Of(bot).Name, "Monkey");
    EXPECT_EQ(AnimationState(bot), "Animation_Walk");
    EXPECT_FALSE(bot.Busy);
    EXPECT_EQ(level.Sounds("Dig"), 12);
    EXPECT_EQ(level.LastVolume("Dig"), 0.1f);
    EXPECT_EQ(bot.StateNext, 0);   // three short drops, none of them deadly
    level.Run(64);
    EXPECT_EQ(CountNamed(level, "Particle_Dig"), 0);   // every one gone after its lifetime
    EXPECT_GT(At(bot).x, 6.0f);                        // walking again
}

TEST(BotDigTest, ADiggerEndsWhereTheNextThreeRowsHoldNothingToDig)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> before, after;
        int digs;
    } cases[] = {
        {"on rock",
         {"........", "........", "RRRRRRRR", "########"},
         {"........", "........", "RRRRRRRR", "########"},
         0},
        {"on one layer over a hollow",
         {"........", "........", "########", "........", "........", "........", "RRRRRRRR"},
         {"........", "........", "##....##", "........", "........", "........", "RRRRRRRR"},
         4},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        BotFixture level;
        level.Terrain(c.before);
        const float top = static_cast<float>(c.before.size()) - 2.0f;
        BehaviorMonkey& bot = level.AddBot({3.5f, top + 0.5f, 0}, 1, Standing());
        bot.Job = MonkeyJob::Dig;
        EXPECT_GT(level.RunUntil(300, [&] { return bot.Job == MonkeyJob::None; }), 0) << Drawn(level.Map());
        EXPECT_EQ(level.Map(), c.after) << Drawn(level.Map());
        EXPECT_EQ(level.Sounds("Dig"), c.digs);
        EXPECT_EQ(Of(bot).Name, "Monkey");
    }
}

TEST(BotBridgeTest, ABridgeIsLaidTwoCellsTallOnTheRowOfItsFirstStepUntilItMeetsGround)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> before, after;
        int laid;
    } cases[] = {
        {"over an open gap",
         {"..............", "..............", "#####....#####", "#####....#####", "RRRRRRRRRRRRRR"},
         {"..............", "..............", "#####====#####", "#####====#####", "RRRRRRRRRRRRRR"},
         4},
        // A bridge cell already there is walked over; nothing is laid there, no sound.
        {"over a gap with a bridge piece",
         {"..............", "..............", "#####.=..#####", "#####.=..#####", "RRRRRRRRRRRRRR"},
         {"..............", "..............", "#####====#####", "#####====#####", "RRRRRRRRRRRRRR"},
         3},
        // Beyond the grid nothing can be laid, so nothing sounds; the builder walks off the
        // end of its bridge and the fall ends the job.
        {"to the edge of the grid",
         {"..........", "..........", "#####.....", "#####.....", "RRRRRRRRRR"},
         {"..........", "..........", "#####=====", "#####=====", "RRRRRRRRRR"},
         5},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        BotFixture level;
        level.Terrain(c.before);
        BehaviorMonkey& bot = level.AddBot({4.0f, 3.5f, 0}, 1);
        level.Run(3);
        ASSERT_GT(PhysicsOf(bot).Velocity.x, 0.0f) << "not walking yet";
        bot.Job = MonkeyJob::Bridge;
        level.Run(1);
        EXPECT_EQ(Of(bot).Name, "MonkeyBridge");
        EXPECT_EQ(AnimationState(bot), "Animation_Bridge");
        EXPECT_EQ(PhysicsOf(bot).MaxVelocity.x, 0.75f);   // builders walk slower
        EXPECT_EQ(bot.BridgeRow, 1);

        ASSERT_GT(level.RunUntil(600, [&] { return bot.Job == MonkeyJob::None; }), 0) << Drawn(level.Map());
        EXPECT_EQ(level.Map(), c.after) << Drawn(level.Map());
        EXPECT_EQ(level.Sounds("LayBridge"), c.laid);
        EXPECT_EQ(Of(bot).Name, "Monkey");
        EXPECT_EQ(AnimationState(bot), "Animation_Walk");
        EXPECT_EQ(PhysicsOf(bot).MaxVelocity.x, 1.0f);   // its own speed back
        EXPECT_FALSE(bot.Busy);
        level.Run(200);
        EXPECT_GT(At(bot).x, 9.5f) << "did not cross";
        EXPECT_EQ(level.Sounds("LayBridge"), c.laid);
    }
}

// At a level's own scale a bot is eight cells wide: the first chasm of level 3 (columns 60 to 83,
// its floor's top row 39) is spanned by a builder given the job anywhere from a bot's width before
// the edge until its back foot leaves the ground, and the bots behind it walk across, at any
// frame rate.
TEST(BotBridgeTest, OnALevelABuilderGivenWithinABotsWidthOfTheGapSpansIt)
{
    constexpr int GapFirst = 60, GapLast = 83, Top = 39;
    const auto worldX = [](float cell) { return (cell - 88.0f) / 8.0f; };
    struct Case
    {
        const char* what;
        float front;   // the cell column the builder's front edge has reached when it is given the job
        bool spans;
    } cases[] = {
        {"a bot's width before the edge", GapFirst - 8.0f, true},
        {"half a bot before the edge", GapFirst - 4.0f, true},
        {"at the edge", GapFirst, true},
        {"half over the gap", GapFirst + 4.0f, true},
        {"its back foot on the last cell of ground", GapFirst + 7.5f, true},
        {"more than a bot's width before the edge", GapFirst - 11.0f, false},
    };
    // At the game's frame rate and at its slowest: a long frame drops a walking bot further
    // before the terrain sets it back on its feet.
    for (const float frameTime : {BotFixture::Dt, 1.0f / 15})
        for (const Case& c : cases)
        {
            SCOPED_TRACE(testing::Message() << c.what << ", frames of " << frameTime << " s");
            BotFixture level;
            level.dt = frameTime;
            PixelGrid& grid = level.LevelTerrain(3);
            const float floor = (Top + 1 - 48) / 8.0f + 0.5f;
            BehaviorMonkey& builder = level.AddBot({worldX(GapFirst - 24) - 0.5f, floor, 0}, 1);
            Entity* const bots[] = {&Of(builder),
                                    &Of(level.AddBot({worldX(GapFirst - 24) - 2.0f, floor, 0}, 1)),
                                    &Of(level.AddBot({worldX(GapFirst - 24) - 3.5f, floor, 0}, 1))};
            // A bot that fell is gone: nothing of it may be read any more.
            const auto alive = [&](Entity* bot) {
                const auto all = level.scene.GetEntityList().GetEntities();
                return std::find(all.begin(), all.end(), bot) != all.end() && !bot->IsDestroyed;
            };
            const auto front = [&] { return bots[0]->GetComponent<Transform>()->Translation.x + 0.5f; };
            ASSERT_GT(level.RunUntil(64 * 6, [&] { return front() >= worldX(c.front); }), 0);
            builder.Job = MonkeyJob::Bridge;
            ASSERT_GT(
                level.RunUntil(64 * 10, [&] { return !alive(bots[0]) || builder.Job == MonkeyJob::None; }), 0)
                << "the job never ended";
            ASSERT_TRUE(alive(bots[0])) << "the builder fell";
            EXPECT_EQ(bots[0]->Name, "Monkey");
            EXPECT_EQ(PhysicsOf(builder).MaxVelocity.x, 1.0f);   // its own speed back
            int bridge = 0, above = 0;
            for (int x = GapFirst; x <= GapLast; ++x)
            {
                bridge += (grid.GetCell(x, Top) == PixelGrid::Bridge) +
                          (grid.GetCell(x, Top - 1) == PixelGrid::Bridge);
                above += grid.GetCell(x, Top + 1) != 0;
            }
            EXPECT_EQ(above, 0) << "the bridge stands above the floor";
            if (!c.spans)
            {
                EXPECT_EQ(bridge, 0);
                EXPECT_EQ(level.Sounds("LayBridge"), 0);
                EXPECT_LT(front(), worldX(GapFirst)) << "it walked on as a builder";
                continue;
            }
            EXPECT_EQ(bridge, 2 * (GapLast - GapFirst + 1)) << "a hole is left in the span";
            EXPECT_NEAR(front(), worldX(GapLast + 1), 0.2f) << "it ended away from the far side";
            // Every bot's back edge gets past the gap, none lost on the way.
            const float across = worldX(GapLast + 1) + 0.5f;
            const auto crossed = [&](Entity* bot) {
                return alive(bot) && bot->GetComponent<Transform>()->Translation.x > across;
            };
            EXPECT_GT(level.RunUntil(64 * 8,
                                     [&] {
                                         return BehaviorCountBoard::DeadCount > 0 ||
                                                std::all_of(std::begin(bots), std::end(bots), crossed);
                                     }),
                      0)
                << "the others did not cross";
            EXPECT_EQ(BehaviorCountBoard::DeadCount, 0);
        }
}

// A bot given the job again after its first bridge builds a second one, also when the job comes
// after its own update in the frame (a job button updating after the bots) and the terrain is
// tested before the job has started.
TEST(BotBridgeTest, ABuilderGivenTheJobAgainBuildsASecondBridge)
{
    BotFixture level;
    level.Terrain({"......................", "......................", "#####....#####....####",
                   "#####....#####....####", "RRRRRRRRRRRRRRRRRRRRRR"});
    BehaviorMonkey& bot = level.AddBot({1.5f, 3.5f, 0}, 1);
    level.Run(3);
    for (const float at : {3.0f, 11.0f})   // a cell or two before each gap
    {
        ASSERT_GT(level.RunUntil(600, [&] { return At(bot).x >= at; }), 0);
        bot.Job = MonkeyJob::Bridge;
        level.scene.GetEntityList().CheckCollisions(BotFixture::Dt);
        level.Run(1);
        EXPECT_EQ(Of(bot).Name, "MonkeyBridge") << "at " << at;
        ASSERT_GT(level.RunUntil(600, [&] { return bot.Job == MonkeyJob::None; }), 0) << Drawn(level.Map());
    }
    EXPECT_EQ(level.Map()[2], "#####====#####====####") << Drawn(level.Map());
}

TEST(BotBridgeTest, ABuilderThatStopsOrFallsEndsItsJob)
{
    BotFixture level;
    level.Terrain({"..........", "..........", "##########", "RRRRRRRRRR"});
    BehaviorMonkey& bot = level.AddBot({4.5f, 2.5f, 0}, 1, Standing());
    bot.Job = MonkeyJob::Bridge;
    ASSERT_GT(level.RunUntil(10, [&] { return bot.Job == MonkeyJob::None; }), 0);
    EXPECT_EQ(level.Sounds("LayBridge"), 0);
    EXPECT_EQ(PhysicsOf(bot).MaxVelocity.x, 1.0f);
}

TEST(BotTunnelTest, ATunnelCutsWidthByHeightPlusOneAfterOneSecond)
{
    struct Case
    {
        Vec2 size;
        std::vector<std::string> after;
    } cases[] = {
        {{2, 2},
         {".....RRRRRRR", ".....#######", ".......#####", ".......#####", ".......#####", "RRRRRRRRRRRR"}},
        {{0.5f, 3.7f},
         {".....RRRRRRR", "......######", "......######", "......######", "......######", "RRRRRRRRRRRR"}},
        // Rock is not cut; rows above the grid are skipped.
        {{3, 5},
         {".....RRRRRRR", "........####", "........####", "........####", "........####", "RRRRRRRRRRRR"}},
    };
    const std::vector<std::string> before = {
        ".....RRRRRRR", ".....#######", ".....#######", ".....#######", ".....#######", "RRRRRRRRRRRR",
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "tunnel " << c.size.x << " x " << c.size.y);
        BotFixture level;
        level.Terrain(before);
        // Just short of the wall, so the wall does not turn it round while it waits.
        BehaviorMonkey& bot = level.AddBot({4.4f, 1.5f, 0}, 1, Standing());
        bot.TunnelSize = c.size;
        bot.Job = MonkeyJob::Tunnel;
        level.Run(1);
        EXPECT_EQ(Of(bot).Name, "MonkeyTunnel");
        EXPECT_EQ(AnimationState(bot), "Animation_Tunnel");
        level.Run(63);   // one second: the timer runs out, nothing cut yet
        EXPECT_EQ(level.Map(), before);
        EXPECT_EQ(level.Sounds("Tunnel"), 0);
        level.Run(1);   // the cut
        EXPECT_EQ(level.Map(), c.after) << Drawn(level.Map());
        EXPECT_EQ(level.Sounds("Tunnel"), 1);
        EXPECT_EQ(bot.Job, MonkeyJob::Tunnel);
        level.Run(1);   // the end
        EXPECT_EQ(bot.Job, MonkeyJob::None);
        EXPECT_EQ(Of(bot).Name, "Monkey");
        EXPECT_EQ(AnimationState(bot), "Animation_Walk");
        level.Run(32);
        EXPECT_GT(At(bot).x, 4.6f);   // walking into its tunnel
    }
}

// The wall a bot has walked into is the one it faces while it waits to turn, and the one the
// player means: given the job then, it cuts into that wall instead of turning and cutting
// behind it, and walks on through.
TEST(BotTunnelTest, ABotWaitingToTurnAtAWallTunnelsIntoIt)
{
    BotFixture level;
    level.Terrain({"............", "......#.....", "......#.....", "############"});
    BehaviorMonkey& bot = level.AddBot({3.5f, 1.5f, 0}, 1);
    ASSERT_GT(level.RunUntil(300, [&] { return bot.Waiting; }), 0) << "never met the wall";
    bot.TunnelSize = {1, 2};
    bot.Job = MonkeyJob::Tunnel;
    ASSERT_GT(level.RunUntil(120, [&] { return bot.Job == MonkeyJob::None; }), 0);
    EXPECT_EQ(level.Map(),
              (std::vector<std::string>{"............", "............", "............", "############"}))
        << Drawn(level.Map());
    EXPECT_EQ(bot.Direction, 1);
    EXPECT_GT(level.RunUntil(200, [&] { return At(bot).x > 7.5f; }), 0) << "did not walk through";
}

TEST(BotTunnelTest, ATunnellerFacingOffTheGridCutsNothingAndStillFinishes)
{
    BotFixture level;
    level.Terrain({"......", "......", "######"});
    BehaviorMonkey& bot = level.AddBot({5.5f, 1.5f, 0}, 1, Standing());
    bot.Job = MonkeyJob::Tunnel;
    level.Run(66);
    EXPECT_EQ(level.Sounds("Tunnel"), 0);
    EXPECT_EQ(level.Map(), (std::vector<std::string>{"......", "......", "######"}));
    EXPECT_EQ(bot.Job, MonkeyJob::None);
    EXPECT_EQ(Of(bot).Name, "Monkey");
}

TEST(BotBlockerTest, ABlockerTurnsWalkersAndCountsAsLostOnlyOnce)
{
    BotFixture level;
    level.Terrain({
        "..............",
        "..............",
        "##############",
        "RRRRRRRRRRRRRR",
    });
    BehaviorMonkey& blocker = level.AddBot({8.5f, 2.5f, 0}, 1, Standing());
    blocker.Job = MonkeyJob::Blocker;
    blocker.Umbrella = true;
    level.Run(1);
    EXPECT_EQ(Of(blocker).Name, "MonkeyBlocker");
    EXPECT_EQ(AnimationState(blocker), "Animation_Block");
    EXPECT_FALSE(blocker.Umbrella);
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 1);
    EXPECT_EQ(level.Sounds("Block"), 1);
    EXPECT_EQ(level.LastVolume("Block"), 0.4f);
    const float* tint = Of(blocker).GetComponent<Sprite>()->request->tint;
    EXPECT_EQ(tint[0], 0.7f);
    EXPECT_EQ(tint[1], 1.0f);
    EXPECT_EQ(tint[2], 0.0f);
    Collider& collider = *Of(blocker).GetComponent<Collider>();
    EXPECT_EQ(collider.CollisionMask.to_string(), "111");
    EXPECT_EQ(collider.ResolveCollision, 1);
    EXPECT_EQ(collider.Callback, nullptr);

    BehaviorMonkey& walker = level.AddBot({3.5f, 2.5f, 0}, 1);
    ASSERT_GT(level.RunUntil(600, [&] { return walker.Waiting; }), 0) << "walked through the blocker";
    EXPECT_LE(At(walker).x, 7.5f);
    level.Run(20);
    EXPECT_EQ(walker.Direction, 0);
    level.Run(64);
    EXPECT_LT(At(walker).x, 7.0f);
    EXPECT_NEAR(At(blocker).x, 8.5f, 1e-4f);   // a blocker is never pushed
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 1);

    // Destroyed later (as the destruct button does), it is not counted again.
    blocker.StateNext = 1;
    level.Run(2);
    EXPECT_EQ(CountNamed(level, "MonkeyBlocker"), 0);
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 1);
    EXPECT_EQ(level.Sounds("Explode"), 1);
}

TEST(BotJobTest, ABotLostInSpaceOrOffEveryNumberNeverTouchesTheCells)
{
    const std::vector<std::string> map = {"......", "......", "######"};
    for (int job : {MonkeyJob::Dig, MonkeyJob::Bridge, MonkeyJob::Tunnel})
        for (float y : {std::numeric_limits<float>::quiet_NaN(), -1.0e30f, 1.0e30f})
        {
            SCOPED_TRACE(testing::Message() << "job " << job << " at y " << y);
            BotFixture level;
            level.Terrain(map);
            BehaviorMonkey& bot = level.AddBot({2.5f, y, 0}, 1);
            bot.Job = job;
            level.Run(70);
            EXPECT_EQ(level.Map(), map);
        }
}
