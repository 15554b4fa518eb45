// The bot on a small terrain: walking, turning, falling, dying, exiting.
#include "game/BehaviorMonkey.h"

#include "engine/InputSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorSpawner.h"
#include "game/Collider.h"
#include "game/Physics.h"
#include "graphics/Animation.h"
#include "graphics/AnimationSequencer.h"
#include "graphics/Sprite.h"
#include "scene/Archetypes.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Scene.h"
#include "scene/Transform.h"
#include "tests/common/BotFixture.h"
#include "ui/ButtonComponent.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
Entity& Of(BehaviorMonkey& bot) { return *bot.Parent; }
Physics& PhysicsOf(BehaviorMonkey& bot) { return *bot.Parent->GetComponent<Physics>(); }
Vec3& At(BehaviorMonkey& bot) { return bot.Parent->GetComponent<Transform>()->Translation; }
const float* Tint(BehaviorMonkey& bot) { return bot.Parent->GetComponent<Sprite>()->request->tint; }
std::string AnimationState(BehaviorMonkey& bot)
{
    return bot.Parent->GetComponent<AnimationSequencer>()->CurrentState;
}

bool InScene(BotFixture& level, const std::string& name)
{
    return level.scene.GetEntityList().FindByName(name) != nullptr;
}

// A floor of ground on rock with a rock wall at the left edge.
const std::vector<std::string> WalledFloor = {
    "R.............",
    "R.............",
    "##############",
    "RRRRRRRRRRRRRR",
};

// A floor far wider than a bot, at eight cells to a unit: the cell size the bot's archetype is
// made for.
const std::vector<std::string> WideFloor = {
    "................................................", "................................................",
    "................................................", "................................................",
    "................................................", "................................................",
    "................................................", "................................................",
    "................................................", "................................................",
    "################################################", "RRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR",
};
}   // namespace

TEST(BotWalkTest, ABotArrivesLandsAndWalksFacingItsDirection)
{
    BotFixture level;
    level.Terrain(WalledFloor);
    BehaviorMonkey& bot = level.AddBot({6.5f, 2.5f, 0}, 1);
    level.Run(2);
    EXPECT_EQ(bot.StateCurrent, 0);
    EXPECT_EQ(bot.WalkSpeed, 8.0f);   // taken from the data's acceleration
    const float start = At(bot).x;
    level.Run(64);
    EXPECT_GT(At(bot).x, start + 0.9f);   // at its speed limit of one unit a second
    EXPECT_LE(PhysicsOf(bot).Velocity.x, 1.0f);
    EXPECT_NEAR(At(bot).y, 2.5f, 0.05f);   // on the floor, not in it
    EXPECT_EQ(Of(bot).GetComponent<Animation>()->USign, 1);

    BehaviorMonkey& left = level.AddBot({9.5f, 2.5f, 0}, 0);
    level.Run(2);
    EXPECT_EQ(Of(left).GetComponent<Animation>()->USign, -1);   // the sheet mirrors
}

TEST(BotWalkTest, AWallStopsTheBotForTheWaitThenItWalksTheOtherWay)
{
    BotFixture level;
    level.Terrain(WalledFloor);
    BehaviorMonkey& bot = level.AddBot({4.5f, 2.5f, 0}, 0);
    ASSERT_GT(level.RunUntil(600, [&] { return bot.Waiting; }), 0) << "never reached the wall";
    EXPECT_FLOAT_EQ(At(bot).x, 1.5f);   // flush with the wall
    EXPECT_EQ(PhysicsOf(bot).Velocity.x, 0.0f);
    EXPECT_EQ(bot.Direction, 0);

    // The wall is met again on every frame of the wait, and a turn asked for in the middle
    // of it does not start it over: the direction flips 0.2 s after the first contact.
    level.Run(6);
    bot.Turn();
    const int flipped = level.RunUntil(64, [&] { return bot.Direction == 1; });
    EXPECT_EQ(6 + flipped, 13) << "0.2 s is 12.8 frames of 1/64 s";
    EXPECT_FALSE(bot.Waiting);
    level.Run(32);
    EXPECT_GT(At(bot).x, 1.6f);
    EXPECT_GT(PhysicsOf(bot).Velocity.x, 0.0f);
}

TEST(BotWalkTest, BlocksAndBlockersTurnAWalkerOnItsWalkingSideOnly)
{
    BotFixture level;
    level.Terrain(WalledFloor);
    level.AddBox("Block", {10.5f, 2.5f, 0}, {1, 1, 1}, 0);
    BehaviorMonkey& bot = level.AddBot({6.5f, 2.5f, 0}, 1);
    ASSERT_GT(level.RunUntil(600, [&] { return bot.Waiting; }), 0) << "never turned at the block";
    EXPECT_LT(At(bot).x, 10.0f);
    level.Run(20);
    EXPECT_EQ(bot.Direction, 0);

    // A contact on the side it is not walking towards does nothing.
    BehaviorMonkey& other = level.AddBot({3.5f, 2.5f, 0}, 1);
    level.Run(2);
    Entity block;
    block.Name = "MonkeyBlocker";
    BehaviorMonkey::OnCollision(&Of(other), &block, Collider::ContactLeft);
    EXPECT_FALSE(other.Waiting);
    BehaviorMonkey::OnCollision(&Of(other), &block, Collider::ContactRight);
    EXPECT_TRUE(other.Waiting);
    Entity ladder;
    ladder.Name = "MonkeyLadder";
    BehaviorMonkey& third = level.AddBot({8.5f, 2.5f, 0}, 0);
    level.Run(2);
    BehaviorMonkey::OnCollision(&Of(third), &ladder, Collider::ContactLeft);
    EXPECT_TRUE(third.Waiting);
}

TEST(BotWalkTest, ABotTallerThanAStepClimbsItAndOneAsTallTurns)
{
    // Four cells to a unit: the bot is four cells tall. The step is one cell high, the wall
    // beyond it as tall as the bot and more.
    const std::vector<std::string> rows = {
        "................................", "............................####",
        "............................####", "............................####",
        "............................####", "............####################",
        "################################", "RRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRR",
    };
    BotFixture level;
    level.Terrain(rows, 4.0f);
    BehaviorMonkey& bot = level.AddBot({1.5f, 1.0f, 0}, 1);
    ASSERT_GT(level.RunUntil(600, [&] { return At(bot).x > 4.0f; }), 0) << "stuck at x " << At(bot).x;
    EXPECT_NEAR(At(bot).y, 1.25f, 0.01f);   // one cell higher
    ASSERT_GT(level.RunUntil(600, [&] { return bot.Direction == 0; }), 0) << "never turned";
    EXPECT_LT(At(bot).x, 6.6f);
    EXPECT_EQ(bot.StateCurrent, 0);
}

TEST(BotFallTest, TheFallHeightDecidesAtTheThresholdAndAnUmbrellaSurvivesAnyHeight)
{
    struct Case
    {
        float height;
        bool umbrella;
        float threshold;
        bool dies;
    } cases[] = {
        {4.0f, false, 4.0f, true}, {3.9999f, false, 4.0f, false}, {1000.0f, true, 4.0f, false},
        {2.5f, false, 2.5f, true}, {0.0f, false, 4.0f, false},
    };
    for (const Case& c : cases)
    {
        BotFixture level;
        level.Terrain(WalledFloor);
        BehaviorMonkey& bot = level.AddBot({6.5f, 2.5f, 0}, 1);
        level.Run(1);
        SCOPED_TRACE(testing::Message() << "fall " << c.height << " umbrella " << c.umbrella);
        bot.Umbrella = c.umbrella;
        bot.FallDeathThreshold = c.threshold;
        bot.Airborne = false;
        bot.FallMark = At(bot).y + c.height;
        bot.CheckFall();
        EXPECT_EQ(bot.StateNext, c.dies ? 1 : 0);
        EXPECT_EQ(bot.FallMark, At(bot).y);
    }
}

TEST(BotFallTest, ALongDropKillsAShortOneDoesNotAndTheUmbrellaOpensAndCloses)
{
    const std::vector<std::string> shaft = {
        ".....", ".....", ".....", ".....", ".....", ".....", ".....",
        ".....", ".....", ".....", ".....", ".....", "#####", "RRRRR",
    };
    {
        BotFixture level;
        level.Terrain(shaft);
        BehaviorMonkey& bot = level.AddBot({2.5f, 12.5f, 0}, 1);
        ASSERT_GT(level.RunUntil(600, [&] { return !InScene(level, "Monkey"); }), 0);
        EXPECT_EQ(BehaviorCountBoard::DeadCount, 1);
        EXPECT_EQ(level.Sounds("Explode"), 1);
        EXPECT_EQ(level.LastVolume("Explode"), 1.0f);
        EXPECT_TRUE(InScene(level, "Particle_Death"));
        (void)bot;
    }
    {
        BotFixture level;
        level.Terrain(shaft);
        BehaviorMonkey& bot = level.AddBot({2.5f, 4.5f, 0}, 1);
        level.Run(200);
        ASSERT_TRUE(InScene(level, "Monkey"));
        EXPECT_EQ(bot.StateCurrent, 0);
        EXPECT_EQ(BehaviorCountBoard::DeadCount, 0);
    }
    {
        BotFixture level;
        level.Terrain(shaft);
        BehaviorMonkey& bot = level.AddBot({2.5f, 12.5f, 0}, 1);
        level.Run(1);
        bot.Umbrella = true;
        ASSERT_GT(level.RunUntil(64, [&] { return bot.UmbrellaOpen; }), 0) << "never opened";
        EXPECT_EQ(AnimationState(bot), "Animation_Umbrella");
        EXPECT_EQ(Tint(bot)[1], 0.8f);
        EXPECT_EQ(level.Sounds("Jetpack"), 1);
        EXPECT_EQ(level.LastVolume("Jetpack"), 0.25f);
        ASSERT_GT(level.RunUntil(1200, [&] { return !bot.UmbrellaOpen; }), 0) << "never landed";
        EXPECT_EQ(bot.StateNext, 0);
        EXPECT_TRUE(bot.Umbrella);
        EXPECT_EQ(AnimationState(bot), "Animation_Walk");
        EXPECT_EQ(Tint(bot)[0], 0.7f);
        EXPECT_EQ(Tint(bot)[2], 1.0f);
        level.Run(64);
        EXPECT_TRUE(InScene(level, "Monkey"));
        EXPECT_EQ(level.Sounds("Jetpack"), 1);
    }
}

TEST(BotFallTest, ALevelFarBelowTheOriginDoesNotKillBotsThatNeverFell)
{
    BotFixture level;
    level.Terrain(WalledFloor, 1.0f, {0, 20});   // the floor's top lies at y = -17
    BehaviorMonkey& bot = level.AddBot({6.5f, -16.5f, 0}, 1);
    level.Run(128);
    ASSERT_TRUE(InScene(level, "Monkey"));
    EXPECT_EQ(bot.StateCurrent, 0);
    EXPECT_GT(At(bot).x, 7.0f);
}

TEST(BotDeathTest, LethalTerrainKillsOnContactAndTheDeathCountsOnce)
{
    BotFixture level;
    level.Terrain({
        "..............",
        "..............",
        "########~~####",
        "RRRRRRRRRRRRRR",
    });
    level.AddBot({5.5f, 2.5f, 0}, 1);
    ASSERT_GT(level.RunUntil(600, [&] { return !InScene(level, "Monkey"); }), 0);
    level.Run(10);
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 1);
    EXPECT_EQ(level.Sounds("Explode"), 1);
}

TEST(BotDeathTest, TheWorldBoundKillsOnceAndASqueezedBotDiesUnlessBusy)
{
    BotFixture level;
    level.Terrain(WalledFloor);
    BehaviorMonkey& bot = level.AddBot({6.5f, 2.5f, 0}, 1);
    level.Run(1);
    Entity bound;
    bound.Name = "WorldBound";
    BehaviorMonkey::OnCollision(&Of(bot), &bound, Collider::ContactNone);
    BehaviorMonkey::OnCollision(&Of(bot), &bound, Collider::ContactNone);
    EXPECT_TRUE(bot.Busy);
    EXPECT_EQ(bot.StateNext, 1);
    level.Run(3);
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 1);

    ASSERT_NE(EntityList::OnSqueezed, nullptr);
    BehaviorMonkey& squeezed = level.AddBot({6.5f, 2.5f, 0}, 1);
    BehaviorMonkey& busy = level.AddBot({9.5f, 2.5f, 0}, 1);
    level.Run(1);
    busy.Busy = true;
    EXPECT_TRUE(EntityList::OnSqueezed(&Of(squeezed)));
    EXPECT_TRUE(EntityList::OnSqueezed(&Of(busy)));
    Entity crate;
    EXPECT_FALSE(EntityList::OnSqueezed(&crate));   // not a bot: the pass destroys it
    EXPECT_EQ(squeezed.StateNext, 1);
    EXPECT_EQ(busy.StateNext, 0);
    level.Run(3);
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 2);
    EXPECT_EQ(level.scene.GetEntityList().FindByName("Monkey"), &Of(busy));
}

TEST(BotDeathTest, TheDeathThatSettlesTheLevelPlacesTheSpotlightOnce)
{
    struct Case
    {
        int deadMax, exitMax, spawnTotal;
        int spotlights;
    } cases[] = {
        {1, 0, 10, 1},   // the first death reaches the dead limit
        {5, 9, 10, 1},   // too few left to reach the exit
        {5, 2, 10, 0},   // nothing settled yet
    };
    for (const Case& c : cases)
    {
        BotFixture level;
        level.Terrain(WalledFloor);
        BehaviorCountBoard::DeadMax = c.deadMax;
        BehaviorCountBoard::ExitMax = c.exitMax;
        BehaviorCountBoard::SpawnTotal = c.spawnTotal;
        BehaviorMonkey& first = level.AddBot({6.5f, 2.5f, 0}, 1);
        BehaviorMonkey& second = level.AddBot({9.5f, 2.5f, 0}, 1);
        level.Run(1);
        first.StateNext = 1;
        second.StateNext = 1;
        level.Run(2);
        SCOPED_TRACE(testing::Message() << "dead max " << c.deadMax << " exit max " << c.exitMax);
        EXPECT_EQ(BehaviorCountBoard::DeadCount, 2);
        EXPECT_EQ(level.scene.SpotlightsCreated, c.spotlights);
    }
}

TEST(BotDeathTest, ABlockerThatDiesLaterIsNotCountedAgainInTheVerdict)
{
    BotFixture level;
    level.Terrain(WalledFloor);
    BehaviorCountBoard::DeadMax = 2;
    BehaviorCountBoard::ExitMax = 0;
    BehaviorCountBoard::SpawnTotal = 10;
    BehaviorMonkey& blocker = level.AddBot({6.5f, 2.5f, 0}, 1);
    blocker.Job = MonkeyJob::Blocker;
    level.Run(2);
    ASSERT_EQ(BehaviorCountBoard::DeadCount, 1);
    blocker.StateNext = 1;
    level.Run(2);
    EXPECT_FALSE(InScene(level, "MonkeyBlocker"));
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 1);
    EXPECT_EQ(level.scene.SpotlightsCreated, 0);   // one lost of two allowed: nothing settled
}

TEST(BotExitTest, OnlyAFreeBotEntersAnExitAndItHeadsForItsCentre)
{
    struct Case
    {
        bool busy;
        bool enters;
    } cases[] = {{false, true}, {true, false}};
    for (const Case& c : cases)
    {
        BotFixture level;
        level.Terrain(WalledFloor);
        Entity& exit = level.AddBox("Exit", {9.0f, 3.5f, 0}, {1, 1, 1}, -1);
        BehaviorMonkey& bot = level.AddBot({6.5f, 2.5f, 0}, 1);
        level.Run(1);
        bot.Busy = c.busy;
        At(bot) = {6.5f, 2.5f, 0};
        PhysicsOf(bot).Velocity = {0, 0, 0};
        BehaviorMonkey::OnCollision(&Of(bot), &exit, Collider::ContactNone);
        SCOPED_TRACE(c.busy ? "busy" : "free");
        EXPECT_EQ(bot.StateNext, c.enters ? 1 : 0);
        EXPECT_EQ(bot.HasExitTarget, c.enters);
        EXPECT_EQ(level.Sounds("FinishLine"), c.enters ? 1 : 0);
        if (c.enters)
        {
            EXPECT_EQ(level.LastVolume("FinishLine"), 0.75f);
            // One unit a second (the exit speed) along the line to the exit's centre.
            const Vec3 v = PhysicsOf(bot).Velocity;
            EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y), 1.0f, 1e-5f);
            EXPECT_NEAR(v.y / v.x, 1.0f / 2.5f, 1e-5f);
        }
    }
}

TEST(BotExitTest, ABotCountsAsExitedOnlyWithinATenthOfTheExitsX)
{
    BotFixture level;
    level.Terrain(WalledFloor);
    level.AddBox("Exit", {10.0f, 2.5f, 0}, {1, 1, 1}, -1);
    BehaviorMonkey& bot = level.AddBot({6.5f, 2.5f, 0}, 1);
    ASSERT_GT(level.RunUntil(600, [&] { return bot.HasExitTarget; }), 0) << "never met the exit";
    float lastX = At(bot).x;
    int frames = 0;
    while (InScene(level, "Monkey") && frames++ < 600)
    {
        EXPECT_EQ(BehaviorCountBoard::ExitedCount, 0) << "counted at x " << lastX;
        lastX = At(bot).x;
        level.Run(1);
    }
    EXPECT_EQ(BehaviorCountBoard::ExitedCount, 1);
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 0);
    EXPECT_LE(std::fabs(lastX - 10.0f), 0.1f);
    EXPECT_GT(frames, 1);
}

TEST(BotExitTest, AnExitAtTheOriginIsStillAnExit)
{
    BotFixture level;
    level.Terrain(WalledFloor, 1.0f, {7, 0});   // world x runs from -7 to 7
    Entity& exit = level.AddBox("Exit", {0, 2.5f, 0}, {1, 1, 1}, -1);
    exit.GetComponent<Transform>()->Translation = {0, 0, 0};
    BehaviorMonkey& bot = level.AddBot({0.05f, 2.5f, 0}, 1);
    level.Run(1);
    BehaviorMonkey::OnCollision(&Of(bot), &exit, Collider::ContactNone);
    level.Run(2);
    EXPECT_EQ(BehaviorCountBoard::ExitedCount, 1);
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 0);
}

TEST(BotTest, SavedBotsStartAliveAndKeepTheirSettings)
{
    BehaviorMonkey read;
    read.Read(json::parse(R"({"Type": "BehaviorMonkey", "StateCurrent": 0, "StateNext": 1, "Timer": 2.5,
                              "FallDeathThreshold": 6.5, "TunnelSize": [3, 7]})"));
    EXPECT_EQ(read.StateCurrent, -1);
    EXPECT_EQ(read.StateNext, 0);
    EXPECT_EQ(read.Timer, 2.5f);
    EXPECT_EQ(read.FallDeathThreshold, 6.5f);
    EXPECT_EQ(read.TunnelSize.x, 3.0f);
    EXPECT_EQ(read.TunnelSize.y, 7.0f);

    json saved;
    read.Write(saved);
    EXPECT_EQ(saved["Type"], "BehaviorMonkey");
    BehaviorMonkey back;
    back.Read(saved);
    EXPECT_EQ(back.StateNext, 0);
    EXPECT_EQ(back.FallDeathThreshold, 6.5f);
    EXPECT_EQ(back.TunnelSize.y, 7.0f);

    EXPECT_THROW(back.Read(json::parse(R"({"TunnelSize": 3})")), std::exception);
}

TEST(BotTest, ACloneKeepsTheBotButNotItsJobProgress)
{
    BehaviorMonkey bot;
    bot.Direction = 0;
    bot.Job = MonkeyJob::Bridge;
    bot.Umbrella = true;
    bot.WorldBoundHit = true;
    bot.DigDone = true;
    bot.BridgeDone = true;
    bot.BridgeRowSet = true;
    bot.BridgeRow = 7;
    bot.SavedMaxVelocity = {1, 2, 3};
    bot.TunnelSize = {2, 5};
    std::unique_ptr<BehaviorMonkey> copy(static_cast<BehaviorMonkey*>(bot.Clone()));
    EXPECT_EQ(copy->Direction, 0);
    EXPECT_EQ(copy->Job, MonkeyJob::Bridge);
    EXPECT_TRUE(copy->Umbrella);
    EXPECT_EQ(copy->TunnelSize.y, 5.0f);
    EXPECT_FALSE(copy->WorldBoundHit);
    EXPECT_FALSE(copy->DigDone);
    EXPECT_FALSE(copy->BridgeDone);
    EXPECT_FALSE(copy->BridgeRowSet);
    EXPECT_EQ(copy->BridgeRow, 0);
    EXPECT_EQ(copy->SavedMaxVelocity.z, 0.0f);
    EXPECT_EQ(copy->Parent, nullptr);
}

TEST(BotTest, HoveringTintsTheBotAndTheUmbrellaShows)
{
    BotFixture level;
    level.Terrain(WalledFloor);
    BehaviorMonkey& bot = level.AddBot({6.5f, 2.5f, 0}, 1);
    ButtonComponent& button = *Of(bot).GetComponent<ButtonComponent>();
    struct Case
    {
        bool umbrella;
        ButtonComponent::state state;
        float r, g, b;
    } cases[] = {
        {false, ButtonComponent::Hover, 1.25f, 1.25f, 1.25f},
        {false, ButtonComponent::Idle, 1.0f, 1.0f, 1.0f},
        {true, ButtonComponent::Hover, 1.0f, 1.0f, 1.3f},
        {true, ButtonComponent::Released, 0.7f, 0.7f, 1.0f},
        {true, ButtonComponent::Pressed, 0.7f, 0.7f, 1.0f},   // a press leaves the tint alone
        {false, ButtonComponent::Pressed, 0.7f, 0.7f, 1.0f},
    };
    for (const Case& c : cases)
    {
        bot.Umbrella = c.umbrella;
        button.NotifyState(c.state);
        SCOPED_TRACE(testing::Message() << "state " << c.state << " umbrella " << c.umbrella);
        EXPECT_EQ(Tint(bot)[0], c.r);
        EXPECT_EQ(Tint(bot)[1], c.g);
        EXPECT_EQ(Tint(bot)[2], c.b);
    }
}

TEST(MoveTowardTest, SetsTheSpeedTowardsTheTargetAndLeavesAReachedTargetAlone)
{
    BotFixture level;
    level.Terrain(WalledFloor);
    BehaviorMonkey& bot = level.AddBot({6.5f, 2.5f, 0}, 1);
    Physics& physics = PhysicsOf(bot);
    struct Case
    {
        Vec3 target;
        Vec3 velocity;
    } cases[] = {
        {{9.5f, 6.5f, 0}, {1.2f, 1.6f, 0}},
        {{6.5f, 2.5f, 0}, {7, 7, 7}},           // there already
        {{6.5f, 2.5f + 1e-9f, 0}, {7, 7, 7}},   // too close to tell the way
    };
    for (const Case& c : cases)
    {
        physics.Velocity = {7, 7, 7};
        MoveToward(&Of(bot), c.target, 2.0f);
        EXPECT_NEAR(physics.Velocity.x, c.velocity.x, 1e-5f);
        EXPECT_NEAR(physics.Velocity.y, c.velocity.y, 1e-5f);
        EXPECT_NEAR(physics.Velocity.z, c.velocity.z, 1e-5f);
    }
    MoveToward(nullptr, {0, 0, 0}, 1.0f);   // no entity: nothing
}

TEST(BotDataTest, TheMonkeyArchetypeArrivesLandsAndWalksWithEveryAnimationState)
{
    BotFixture level;
    level.Terrain(WideFloor, 8.0f);
    Entity* monkey = new Entity();
    ASSERT_TRUE(FactoryBuild(*monkey, "Monkey"));
    EXPECT_EQ(monkey->Name, "Monkey");
    BehaviorMonkey* bot = monkey->GetComponent<BehaviorMonkey>();
    ASSERT_NE(bot, nullptr);
    EXPECT_EQ(monkey->GetComponent<Behavior>(), bot);   // the terrain reports to it
    EXPECT_EQ(bot->StateCurrent, -1);
    EXPECT_EQ(bot->StateNext, 0);
    const AnimationSequencer& sequencer = *monkey->GetComponent<AnimationSequencer>();
    ASSERT_EQ(sequencer.States.size(), sequencer.StateNames.size());
    for (size_t i = 0; i < sequencer.States.size(); ++i)
        EXPECT_EQ(sequencer.States[i].name, sequencer.StateNames[i]);
    for (const char* particle : {"Particle_Death", "Particle_Dig", "Particle_Tunnel"})
    {
        Entity built;
        EXPECT_TRUE(FactoryBuild(built, particle)) << particle;
    }

    // As the spawner lets it in: in the air above the floor, walking right.
    monkey->GetComponent<Transform>()->Translation = {1.0f, 2.0f, 0};
    bot->Direction = 1;
    monkey->IsSpawned = true;
    level.scene.AddEntity(monkey);
    level.Run(128);
    EXPECT_EQ(bot->StateCurrent, 0);
    EXPECT_NEAR(monkey->GetComponent<Transform>()->Translation.y, 0.75f, 0.01f);   // on the floor
    EXPECT_GT(monkey->GetComponent<Transform>()->Translation.x, 2.0f);
}

TEST(BotDataTest, TheSpawnersBotsWalkRight)
{
    BotFixture level;
    level.Terrain(WideFloor, 8.0f);
    level.scene.AddEntity(Entity::CreateFromJSON(json::parse(R"({"Name": "Spawner", "Components": [
        {"Type": "Transform", "Translation": [1, 1.2, 0]},
        {"Type": "BehaviorSpawner", "MonkeySpawnCountMax": 1}]})")));
    InputSystem& input = InputSystem::GetInstance();
    input.state[Key::Space] = 1;
    level.Run(1);
    input.state[Key::Space] = 0;
    Entity* monkey = level.scene.GetEntityList().FindByName("Monkey");
    ASSERT_NE(monkey, nullptr);
    EXPECT_EQ(monkey->GetComponent<BehaviorMonkey>()->Direction, 1);
    level.Run(128);
    EXPECT_GT(monkey->GetComponent<Transform>()->Translation.x, 2.0f);
    EXPECT_EQ(BehaviorSpawner::GetSpawnedCount(), 1);
}
