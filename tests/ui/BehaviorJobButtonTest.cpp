#include "ui/BehaviorJobButton.h"

#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "game/BehaviorMonkey.h"
#include "graphics/Sprite.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "tests/common/LevelFixture.h"
#include "tests/common/TraceCapture.h"
#include "tests/ui/ButtonTestKit.h"
#include "ui/ButtonComponent.h"

#include <gtest/gtest.h>

namespace
{
using namespace ButtonTestKit;

json JobButtonEntity(const std::string& name, json settings = json::object())
{
    return ButtonEntity(name, "BehaviorJobButton", std::move(settings));
}

BehaviorJobButton& Job(Entity* e) { return *e->GetComponent<BehaviorJobButton>(); }
BehaviorMonkey& Bot(Entity* e) { return *e->GetComponent<BehaviorMonkey>(); }

class JobButtonTest : public testing::Test
{
protected:
    LevelFixture level;
};
}   // namespace

TEST_F(JobButtonTest, AClickSelectsASecondDeselectsAndEachIsAnnounced)
{
    Entity* dig = level.Add(JobButtonEntity("MonkeyDigButton", {{"Perpetual", true}}));
    MessagingSystem& bus = MessagingSystem::GetInstance();
    Click(dig);
    EXPECT_TRUE(Job(dig).JobSelected);
    EXPECT_EQ(bus.QueuedCount(), 1u);
    EXPECT_EQ(level.SoundsNamed("Select"), 1u);
    level.Frame();
    EXPECT_TRUE(Job(dig).JobSelected) << "its own message does not deselect it";
    EXPECT_FLOAT_EQ(Red(dig), 0.5f);
    Click(dig);
    EXPECT_FALSE(Job(dig).JobSelected);
    EXPECT_EQ(bus.QueuedCount(), 1u) << "the deselection is announced too";
    EXPECT_FLOAT_EQ(Red(dig), 1.0f) << "deselected: normal tint, perpetual or not";
}

TEST_F(JobButtonTest, SelectingOneDeselectsTheOthersWhenTheMessagesAreDelivered)
{
    Entity* dig = level.Add(JobButtonEntity("MonkeyDigButton", {{"Perpetual", true}}));
    Entity* bridge = level.Add(JobButtonEntity("MonkeyBridgeButton", {{"Perpetual", true}}));
    Click(dig);
    level.Frame();
    Click(bridge);
    EXPECT_TRUE(Job(dig).JobSelected) << "nothing changes before the end of the frame";
    EXPECT_FLOAT_EQ(Red(dig), 0.5f) << "a perpetual button keeps showing its selection";
    level.Frame();
    EXPECT_FALSE(Job(dig).JobSelected);
    EXPECT_FLOAT_EQ(Red(dig), 1.0f);
    EXPECT_TRUE(Job(bridge).JobSelected);
    EXPECT_FLOAT_EQ(Red(bridge), 0.5f);

    // Any other button's click message deselects too; payloads of another kind do not.
    Button destruct;
    MessagingSystem::GetInstance().PostButtonClicked("", std::make_unique<ButtonClickedMessage>(&destruct));
    level.Frame();
    EXPECT_FALSE(Job(bridge).JobSelected);
    Click(bridge);
    level.Frame();
    auto stranger = std::make_unique<ButtonClickedMessage>(&destruct);
    stranger->TypeId = 42;
    MessagingSystem::GetInstance().PostButtonClicked("", std::move(stranger));
    level.Frame();
    EXPECT_TRUE(Job(bridge).JobSelected);
}

TEST(JobButtons, EachButtonGivesItsJobToThePressedBotUnlessItHasItAlready)
{
    struct Case
    {
        const char* button;
        int jobBefore;
        bool umbrellaBefore;
        int jobAfter;
        bool umbrellaAfter;
        bool given;
    };
    const Case cases[] = {
        {"MonkeyBlockerButton", MonkeyJob::None, false, MonkeyJob::Blocker, false, true},
        {"MonkeyDigButton", MonkeyJob::None, false, MonkeyJob::Dig, false, true},
        {"MonkeyBridgeButton", MonkeyJob::None, false, MonkeyJob::Bridge, false, true},
        {"MonkeyTunnelButton", MonkeyJob::None, false, MonkeyJob::Tunnel, false, true},
        {"MonkeyUmbrellaButton", MonkeyJob::None, false, MonkeyJob::None, true, true},
        {"MonkeyUmbrellaButton", MonkeyJob::Dig, false, MonkeyJob::Dig, true, true},   // the job stays
        {"MonkeyDigButton", MonkeyJob::Bridge, true, MonkeyJob::Dig, true, true},      // so does the umbrella
        {"MonkeyDigButton", MonkeyJob::Dig, false, MonkeyJob::Dig, false, false},
        {"MonkeyUmbrellaButton", MonkeyJob::None, true, MonkeyJob::None, true, false},
    };
    for (const Case& c : cases)
    {
        LevelFixture level;
        Entity* button = level.Add(JobButtonEntity(c.button));
        Entity* bot = level.Add(BotEntity());
        Bot(bot).Job = c.jobBefore;
        Bot(bot).Umbrella = c.umbrellaBefore;
        Click(button);
        level.Frame();
        EXPECT_EQ(Bot(bot).Job, c.jobBefore) << c.button << ": no bot pressed yet";
        ASSERT_TRUE(Job(button).JobSelected) << c.button;
        Press(bot);
        level.Frame();
        EXPECT_EQ(Bot(bot).Job, c.jobAfter) << c.button;
        EXPECT_EQ(Bot(bot).Umbrella, c.umbrellaAfter) << c.button;
        EXPECT_EQ(Job(button).JobSelected, !c.given) << c.button << ": the selection ends with the job given";
        EXPECT_EQ(level.SoundsNamed("Click"), 1u) << c.button;
    }
}

TEST_F(JobButtonTest, OnlyPressedBotsNamedExactlyMonkeyAreCandidates)
{
    Entity* dig = level.Add(JobButtonEntity("MonkeyDigButton"));
    Entity* busy = level.Add(BotEntity("MonkeyBridge"));   // a bot at work has its job's name
    Entity* lookalike = level.Add(BotEntity("monkey"));
    Entity* idle = level.Add(BotEntity());
    Entity* noBot = level.Add({{"Name", "Monkey"}, {"Components", {{{"Type", "ButtonComponent"}}}}});
    Entity* first = level.Add(BotEntity());
    Entity* second = level.Add(BotEntity());
    for (Entity* e : {busy, lookalike, noBot, first, second})
        Press(e);
    Click(dig);
    level.Frame();
    EXPECT_EQ(Bot(busy).Job, MonkeyJob::None);
    EXPECT_EQ(Bot(lookalike).Job, MonkeyJob::None);
    EXPECT_EQ(Bot(idle).Job, MonkeyJob::None) << "not pressed";
    EXPECT_EQ(Bot(first).Job, MonkeyJob::Dig) << "the first pressed bot in scene order";
    EXPECT_EQ(Bot(second).Job, MonkeyJob::None) << "one job per selection";
    EXPECT_EQ(level.SoundsNamed("Click"), 1u);
}

TEST_F(JobButtonTest, ABotThatHasTheJobIsPassedOverForTheNextPressedOne)
{
    Entity* dig = level.Add(JobButtonEntity("MonkeyDigButton"));
    Entity* digging = level.Add(BotEntity());
    Entity* next = level.Add(BotEntity());
    Bot(digging).Job = MonkeyJob::Dig;
    Press(digging);
    Click(dig);
    level.Frame();
    EXPECT_TRUE(Job(dig).JobSelected) << "nobody took it";
    EXPECT_EQ(level.SoundsNamed("Click"), 1u) << "the press is still heard";
    Press(next);
    level.Frame();
    EXPECT_EQ(Bot(next).Job, MonkeyJob::Dig);
    EXPECT_FALSE(Job(dig).JobSelected);
}

TEST_F(JobButtonTest, AButtonOfAnyOtherNameSwallowsTheSelection)
{
    Entity* odd = level.Add(JobButtonEntity("MonkeyDigbutton"));
    Entity* bot = level.Add(BotEntity());
    Press(bot);
    Click(odd);
    level.Frame();
    EXPECT_FALSE(Job(odd).JobSelected);
    EXPECT_EQ(Bot(bot).Job, MonkeyJob::None);
    EXPECT_FALSE(Bot(bot).Umbrella);
    EXPECT_EQ(level.SoundsNamed("Click"), 1u);
}

TEST_F(JobButtonTest, AHotkeyPressActsAsAClickWithoutTheSelectSound)
{
    Entity* dig = level.Add(JobButtonEntity("MonkeyDigButton", {{"Hotkey", 68}, {"Perpetual", true}}));
    Entity* bridge = level.Add(JobButtonEntity("MonkeyBridgeButton"));   // the default "0" key
    level.Hold(68);
    level.Frame();
    EXPECT_TRUE(Job(dig).JobSelected);
    EXPECT_FLOAT_EQ(Red(dig), 0.5f) << "shown as pressed";
    EXPECT_EQ(level.SoundsNamed("Select"), 0u);
    level.Frame();
    EXPECT_TRUE(Job(dig).JobSelected) << "a held key is not pressed again";
    level.Release(68);

    level.Tap(BehaviorJobButton::DefaultHotkey);
    level.Frame();
    EXPECT_TRUE(Job(bridge).JobSelected);
    EXPECT_FALSE(Job(dig).JobSelected) << "the hotkey's message deselected the other";
}

TEST_F(JobButtonTest, HotkeysOutsideTheInputNeverFire)
{
    InputSystem& input = InputSystem::GetInstance();
    for (int code : {-1, -100000, InputSystem::StateSize, 100000, INT32_MIN, INT32_MAX})
    {
        Entity* button = level.Add(JobButtonEntity("MonkeyDigButton", {{"Hotkey", code}}));
        std::fill(std::begin(input.state), std::end(input.state), 1);   // everything the input has is pressed
        level.Scene().entities.Update(1.0f / 60);
        EXPECT_FALSE(Job(button).JobSelected) << code;
        button->IsDestroyed = true;
        level.Frame();
    }
}

TEST_F(JobButtonTest, SavesItsHotkeyBesideTheButtonKeys)
{
    BehaviorJobButton button;
    EXPECT_EQ(button.Hotkey, 48);
    button.Read({{"Hotkey", 66}, {"Enabled", false}});
    EXPECT_EQ(button.Hotkey, 66);
    EXPECT_FALSE(button.Enabled);
    button.Read({{"Perpetual", true}});
    EXPECT_EQ(button.Hotkey, 66) << "absent: kept";
    json written;
    button.Write(written);
    EXPECT_EQ(written["Type"], "BehaviorJobButton");
    EXPECT_EQ(written["Hotkey"], 66);
    EXPECT_EQ(written["Perpetual"], true);
    EXPECT_EQ(written["StateNext"], 1);

    TraceCapture trace;
    button.Read({{"Hotkey", "D"}});
    EXPECT_EQ(button.Hotkey, 66);
    EXPECT_TRUE(trace.Contains("\"Hotkey\"")) << trace.All();

    button.JobSelected = true;
    std::unique_ptr<Component> copy(button.Clone());
    const auto& clone = dynamic_cast<const BehaviorJobButton&>(*copy);
    EXPECT_TRUE(clone.JobSelected);
    EXPECT_EQ(clone.Hotkey, 66);
}
