// The two behaviours that end their own entity: after a lifetime, and on a key press.
#include "game/EntityKiller.h"
#include "engine/InputSystem.h"
#include "game/BehaviorDestroyByEvent.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace
{
template <typename T> T& Attach(Entity& entity, const json& settings)
{
    auto* behavior = new T();
    behavior->Read(settings);
    entity.AddComponent(behavior);
    return *behavior;
}

// Resets the input states it is given around a test.
struct Keys
{
    ~Keys() { std::fill(std::begin(input.state), std::end(input.state), 0); }
    InputSystem& input = InputSystem::GetInstance();
};
}   // namespace

TEST(EntityKiller, TheEntityIsMarkedOnTheFirstFrameItsLifetimeIsReachedAndOnlyWhileTimeRuns)
{
    struct Case
    {
        const char* what;
        float timer;
        std::vector<float> frames;
        int destroyedAfter;   // frames until marked; -1 never
    } cases[] = {
        {"no lifetime", 0, {0.1f}, 1},
        {"half a second in quarters", 0.5f, {0.25f, 0.25f, 0.25f}, 2},
        {"just short", 0.5f, {0.25f, 0.2f}, -1},
        {"a paused game does not age it", 0.5f, {0, 0, 0, 0, 0.25f, 0, 0.25f}, 7},
        {"no time at all, even with no lifetime", 0, {0, 0}, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Entity entity;
        Attach<EntityKiller>(entity, {{"Timer", c.timer}});
        int marked = -1;
        for (size_t i = 0; i < c.frames.size() && marked < 0; ++i)
        {
            entity.components[0]->Update(c.frames[i]);
            if (entity.IsDestroyed)
                marked = static_cast<int>(i) + 1;
        }
        EXPECT_EQ(marked, c.destroyedAfter);
    }
}

TEST(EntityKiller, ACopyLivesItsFullLifetimeAgainAndTheLifetimeIsSaved)
{
    Entity entity;
    EntityKiller& killer = Attach<EntityKiller>(entity, {{"Timer", 1.0}});
    killer.Update(0.75f);
    ASSERT_FALSE(entity.IsDestroyed);
    Entity copy(entity);
    auto* copied = dynamic_cast<EntityKiller*>(copy.components[0]);
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->Elapsed, 0);
    copy.components[0]->Update(0.75f);
    EXPECT_FALSE(copy.IsDestroyed);
    copy.components[0]->Update(0.25f);
    EXPECT_TRUE(copy.IsDestroyed);

    json written;
    killer.Write(written);
    EXPECT_EQ(written["Type"], "EntityKiller");
    EXPECT_EQ(written["Timer"], 1.0);
    std::unique_ptr<Component> made(ComponentRegistry::Create("EntityKiller"));
    ASSERT_NE(made, nullptr);
    made->Read(written);
    EXPECT_EQ(static_cast<EntityKiller*>(made.get())->Timer, 1.0f);
    EXPECT_THROW(made->Read({{"Timer", "long"}}), DataError);

    // Without an entity there is nothing to mark, and nothing breaks.
    EntityKiller alone;
    alone.Update(5);
}

TEST(BehaviorDestroyByEvent, OnlyAKeyGoingDownUnderTheExactEventNameEndsTheEntity)
{
    struct Case
    {
        const char* what;
        json settings;
        int code;
        std::vector<int> states;   // the key's input state, frame by frame
        int destroyedAfter;
    } cases[] = {
        {"the default key, the number row's 0, pressed", {{"EventName", "KeyPress"}}, 48, {0, 1}, 2},
        {"another key", {{"EventName", "KeyPress"}, {"KeyEvent", 65}}, 66, {1, 1}, -1},
        {"the chosen key", {{"EventName", "KeyPress"}, {"KeyEvent", 65}}, 65, {1}, 1},
        {"held from before, then pressed again", {{"EventName", "KeyPress"}}, 48, {2, 2, 0, 1}, 4},
        {"lower case", {{"EventName", "keypress"}}, 48, {1, 1}, -1},
        {"no event", json::object(), 48, {1}, -1},
        {"a code outside the input states", {{"EventName", "KeyPress"}, {"KeyEvent", 5000}}, 48, {1}, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Keys keys;
        Entity entity;
        Attach<BehaviorDestroyByEvent>(entity, c.settings);
        int marked = -1;
        for (size_t i = 0; i < c.states.size() && marked < 0; ++i)
        {
            keys.input.state[c.code] = c.states[i];
            entity.components[0]->Update(1.0f / 60);
            if (entity.IsDestroyed)
                marked = static_cast<int>(i) + 1;
        }
        EXPECT_EQ(marked, c.destroyedAfter);
    }
}

TEST(BehaviorDestroyByEvent, ItsSavedFormHasOnlyTheEventAndTheKey)
{
    std::unique_ptr<Component> made(ComponentRegistry::Create("BehaviorDestroyByEvent"));
    ASSERT_NE(made, nullptr);
    made->Read({{"EventName", "KeyPress"}, {"KeyEvent", 70}, {"Timer", 3}});
    json written;
    made->Write(written);
    EXPECT_EQ(written,
              json({{"Type", "BehaviorDestroyByEvent"}, {"EventName", "KeyPress"}, {"KeyEvent", 70}}));
    std::unique_ptr<Component> copy(made->Clone());
    json copied;
    copy->Write(copied);
    EXPECT_EQ(copied, written);
    for (const json& bad : {json{{"EventName", 4}}, json{{"KeyEvent", "F"}}})
        EXPECT_THROW(made->Read(bad), DataError) << bad.dump();
}
