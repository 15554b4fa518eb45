#include "scene/Behavior.h"

#include "tests/common/TraceCapture.h"
#include "tests/scene/TestComponents.h"
#include "ui/ButtonComponent.h"

#include <gtest/gtest.h>

using TestData::Journal;
using TestData::TestProbe;

namespace
{
class BehaviorTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Journal().clear();
        probe.traits.Tag = "p";
    }
    TestProbe probe;
};
}   // namespace

TEST_F(BehaviorTest, UpdateRunsAPendingTransitionAndThenOnUpdateOnlyWhileTimeRuns)
{
    struct Case
    {
        float dt;
        std::vector<std::string> expected;
    } cases[] = {
        {0.5f, {"p OnExit -1", "p OnInit 0", "p OnUpdate 0"}},
        {0.0f, {"p OnExit -1", "p OnInit 0"}},
        {-1.0f, {"p OnExit -1", "p OnInit 0"}},
    };
    for (const Case& c : cases)
    {
        TestProbe fresh;
        fresh.traits.Tag = "p";
        Journal().clear();
        fresh.Update(c.dt);
        EXPECT_EQ(Journal(), c.expected) << "dt " << c.dt;
        EXPECT_EQ(fresh.StateCurrent, 0);
    }

    // Settled: no transition, and a paused frame does nothing at all.
    Journal().clear();
    probe.Update(0.1f);
    Journal().clear();
    probe.Update(0.0f);
    EXPECT_TRUE(Journal().empty());
    probe.Update(0.1f);
    EXPECT_EQ(Journal(), (std::vector<std::string>{"p OnUpdate 0"}));
}

TEST_F(BehaviorTest, ATransitionRequestedDuringAnUpdateWaitsForTheNextOne)
{
    probe.Update(0.1f);
    probe.onUpdate = [](TestProbe& self) {
        if (self.StateCurrent == 0)
            self.StateNext = 4;
    };
    Journal().clear();
    probe.Update(0.1f);
    EXPECT_EQ(Journal(), (std::vector<std::string>{"p OnUpdate 0"}));
    EXPECT_EQ(probe.StateCurrent, 0);
    Journal().clear();
    probe.Update(0.1f);
    EXPECT_EQ(Journal(), (std::vector<std::string>{"p OnExit 0", "p OnInit 4", "p OnUpdate 4"}));
}

TEST_F(BehaviorTest, SavedStatesAreAlwaysZeroAndOneAndTheTimerSurvives)
{
    probe.StateCurrent = 3;
    probe.StateNext = 3;
    probe.Timer = 0.1f;
    json out;
    probe.Write(out);
    EXPECT_EQ(out.dump(),
              R"({"StateCurrent":0,"StateNext":1,"Tag":"p","Timer":0.10000000149011612,"Type":"TestProbe"})");

    TestProbe read;
    read.Read(out);
    EXPECT_EQ(read.StateCurrent, 0);
    EXPECT_EQ(read.StateNext, 1);
    EXPECT_EQ(read.Timer, 0.1f);
    Journal().clear();
    read.Update(0.0f);   // a behaviour read from a file enters state 1 afresh
    EXPECT_EQ(Journal(), (std::vector<std::string>{"p OnExit 0", "p OnInit 1"}));
}

TEST_F(BehaviorTest, ReadingWithoutStateKeysKeepsTheConstructorStates)
{
    probe.Read(json{{"Timer", 2}});
    EXPECT_EQ(probe.StateCurrent, -1);
    EXPECT_EQ(probe.StateNext, 0);
    EXPECT_EQ(probe.Timer, 2.0f);
}

TEST_F(BehaviorTest, ATimerThatIsNoNumberIsRefusedNamingTheKey)
{
    probe.Timer = 7;
    try
    {
        probe.Read(json{{"Timer", "soon"}});
        FAIL() << "a text timer was accepted";
    }
    catch (const DataError& error)
    {
        EXPECT_NE(std::string(error.what()).find("\"Timer\""), std::string::npos) << error.what();
    }
    EXPECT_EQ(probe.Timer, 7.0f);
}

TEST_F(BehaviorTest, IsButtonPressedOnlyWithAPressedButtonComponent)
{
    EXPECT_FALSE(probe.IsButtonPressed());   // no entity

    Entity entity;
    TestProbe* owned = new TestProbe();
    entity.AddComponent(owned);
    EXPECT_FALSE(owned->IsButtonPressed());   // no button

    ButtonComponent* button = new ButtonComponent();
    entity.AddComponent(button);
    for (auto [state, pressed] : {std::pair{ButtonComponent::Pressed, true},
                                  {ButtonComponent::Released, false},
                                  {ButtonComponent::Hover, false},
                                  {ButtonComponent::Idle, false}})
    {
        button->CurrentState = state;
        EXPECT_EQ(owned->IsButtonPressed(), pressed) << "state " << state;
    }
}

TEST(ComponentParent, AskedOfNoComponentSaysSoAndGivesNull)
{
    TraceCapture trace;
    EXPECT_EQ(Component::GetParent(nullptr), nullptr);
    EXPECT_TRUE(trace.Contains("CRITICAL: GetParent() called on NULL component!"));

    Entity entity;
    TestProbe* probe = new TestProbe();
    EXPECT_EQ(Component::GetParent(probe), nullptr);
    entity.AddComponent(probe);
    EXPECT_EQ(Component::GetParent(probe), &entity);
}
