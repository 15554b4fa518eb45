// The ladder: it stands beside the top of its bot, swings between 0 and 180 degrees about a point
// one bot height above the bot, stops on a click and goes when its bot does.
#include "game/BehaviorLadder.h"

#include "engine/InputSystem.h"
#include "game/BehaviorMonkey.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace
{
// A bot at (2, 3), one unit square, and its ladder (2 by 0.25 units), not yet updated.
struct LadderOnABot
{
    LadderOnABot()
    {
        auto* place = new Transform();
        place->Translation = {2, 3, 0};
        bot->AddComponent(place);
        bot->AddComponent(walker = new BehaviorMonkey());
        walker->StateCurrent = 0;
        ladder.AddComponent(behavior = new BehaviorLadder());
        ladder.AddComponent(transform = new Transform());
        transform->Scale = {2, 0.25f, 1};
        behavior->Bot = bot.get();
    }
    ~LadderOnABot() { InputSystem::GetInstance().Reset(); }

    void Frame(bool click = false)
    {
        InputSystem::GetInstance().state[0] = click ? 1 : 0;
        behavior->Update(1.0f / 60);
    }

    std::unique_ptr<Entity> bot = std::make_unique<Entity>();
    BehaviorMonkey* walker = nullptr;
    Entity ladder;
    BehaviorLadder* behavior = nullptr;
    Transform* transform = nullptr;
};
}   // namespace

TEST(BehaviorLadder, SwingsBetweenItsBoundsAboutAPointAboveTheBot)
{
    LadderOnABot l;
    l.behavior->RotateSpeed = 7;   // does not divide 180: each bound is overshot by less than a step
    l.Frame();
    EXPECT_FLOAT_EQ(l.behavior->Pivot.y, 4.0f);
    EXPECT_EQ(l.behavior->LadderAngle, 173);
    EXPECT_EQ(l.transform->Rotation.z, -7);
    const float a = 173 * 0.017453292f;
    EXPECT_FLOAT_EQ(l.transform->Translation.x, std::cos(a) * 1.0f + 2);
    EXPECT_FLOAT_EQ(l.transform->Translation.y, std::sin(a) * 0.125f + 4);

    float lowest = 180, highest = 0;
    std::vector<int> turns;   // the angles it turned at
    int direction = l.behavior->RotateDirection;
    for (int frame = 0; frame < 120; ++frame)
    {
        l.Frame();
        lowest = std::min(lowest, l.behavior->LadderAngle);
        highest = std::max(highest, l.behavior->LadderAngle);
        if (l.behavior->RotateDirection != direction)
            turns.push_back(static_cast<int>(l.behavior->LadderAngle)),
                direction = l.behavior->RotateDirection;
    }
    EXPECT_GT(lowest, -7);
    EXPECT_LE(lowest, 0);
    EXPECT_LT(highest, 187);
    EXPECT_GE(highest, 180);
    EXPECT_EQ(turns.front(), -2);   // 180 - 26 * 7
    EXPECT_GE(turns.size(), 3u);
}

TEST(BehaviorLadder, AClickStopsItWhereItStandsExceptAtABound)
{
    struct Case
    {
        float angle;   // before the click's frame, turning toward 0
        bool stops;
        int side;
    } cases[] = {
        {135, true, 1}, {91, true, 1}, {90, true, 0}, {45, true, 2}, {180, false, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.angle);
        LadderOnABot l;
        l.behavior->LadderAngle = c.angle;
        l.behavior->CollideSide = 0;
        l.Frame(true);
        EXPECT_EQ(l.behavior->CollideSide, c.side);
        EXPECT_EQ(l.behavior->LadderAngle, c.angle);
        for (int i = 0; i < 10; ++i)
            l.Frame();
        if (c.stops)
        {
            EXPECT_EQ(l.behavior->RotateDirection, BehaviorLadder::Stopped);
            EXPECT_EQ(l.behavior->LadderAngle, c.angle);
        }
        else
            EXPECT_EQ(l.behavior->LadderAngle, c.angle - 10);   // a click at 180 is undone the same frame
    }
    // Paused (no frame time): no update, the click does nothing.
    LadderOnABot paused;
    paused.Frame();
    InputSystem::GetInstance().state[0] = 1;
    paused.behavior->Update(0);
    EXPECT_EQ(paused.behavior->RotateDirection, BehaviorLadder::TowardZero);
}

TEST(BehaviorLadder, ItStandsBesideItsBotAndGoesWhenTheBotDoes)
{
    {
        LadderOnABot l;
        l.behavior->Update(0);   // entering its state: placed, not yet swinging
        EXPECT_EQ(l.transform->Translation.x, 1);
        EXPECT_EQ(l.transform->Translation.y, 3.125f);
    }
    enum class End
    {
        None,
        NoBot,
        NotABot,
        Leaving,
        Deleted
    };
    for (End end : {End::None, End::NoBot, End::NotABot, End::Leaving, End::Deleted})
    {
        SCOPED_TRACE(static_cast<int>(end));
        LadderOnABot l;
        if (end == End::NoBot)
            l.behavior->Bot = nullptr;
        if (end == End::NotABot)
            l.bot->DeleteComponents();
        if (end == End::Leaving)
            l.walker->StateCurrent = 1;
        if (end == End::Deleted)
            l.bot.reset();
        l.Frame();
        EXPECT_EQ(l.ladder.IsDestroyed, end != End::None);
        EXPECT_EQ(l.behavior->LadderAngle, end == End::None ? 179 : 180);
    }
}

TEST(BehaviorLadder, SavedFormAndCopy)
{
    std::unique_ptr<Component> made(ComponentRegistry::Create("BehaviorLadder"));
    ASSERT_NE(dynamic_cast<BehaviorLadder*>(made.get()), nullptr);
    LadderOnABot l;
    l.behavior->Read({{"LadderAngle", 45.5}, {"RotateSpeed", 2}, {"CollideSide", 7}});
    l.behavior->CollideSide = 1;
    json saved;
    l.behavior->Write(saved);
    EXPECT_EQ(saved.at("Type"), "BehaviorLadder");
    EXPECT_EQ(saved.at("LadderAngle"), 45.5);
    EXPECT_EQ(saved.at("RotateSpeed"), 2.0);
    EXPECT_EQ(saved.at("CollideSide"), 1);   // written, never read
    EXPECT_TRUE(saved.contains("StateCurrent"));
    std::unique_ptr<BehaviorLadder> copy(static_cast<BehaviorLadder*>(l.behavior->Clone()));
    EXPECT_EQ(copy->Bot.Get(), l.bot.get());
    EXPECT_EQ(copy->LadderAngle, 45.5f);
    EXPECT_THROW(l.behavior->Read({{"RotateSpeed", "fast"}}), DataError);
}
