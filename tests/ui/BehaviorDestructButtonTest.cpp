#include "ui/BehaviorDestructButton.h"

#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "game/BehaviorMonkey.h"
#include "graphics/Sprite.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "tests/common/LevelFixture.h"
#include "tests/common/TraceCapture.h"
#include "tests/ui/ButtonTestKit.h"
#include "ui/BehaviorJobButton.h"
#include "ui/ButtonComponent.h"

#include <gtest/gtest.h>

namespace
{
using namespace ButtonTestKit;

json DestructEntity(json settings = json::object())
{
    return ButtonEntity("DestructButton", "BehaviorDestructButton", std::move(settings));
}

bool Armed() { return BehaviorDestructButton::Armed; }

class DestructButtonTest : public testing::Test
{
protected:
    LevelFixture level;
};
}   // namespace

TEST_F(DestructButtonTest, AClickArmsAndASecondDisarmsOnlyArmingIsAnnounced)
{
    Entity* destruct = level.Add(DestructEntity({{"Perpetual", true}}));
    MessagingSystem& bus = MessagingSystem::GetInstance();
    EXPECT_FALSE(Armed());
    Click(destruct);
    EXPECT_TRUE(Armed());
    EXPECT_EQ(bus.QueuedCount(), 1u);
    EXPECT_EQ(level.SoundsNamed("Select"), 1u);
    level.Frame();
    EXPECT_TRUE(Armed()) << "its own message does not disarm it";
    EXPECT_FLOAT_EQ(Red(destruct), 0.5f) << "a perpetual button shows the armed mode";
    Click(destruct);
    EXPECT_FALSE(Armed());
    EXPECT_EQ(bus.QueuedCount(), 0u) << "disarming is not announced";
    EXPECT_FLOAT_EQ(Red(destruct), 1.0f);
}

TEST_F(DestructButtonTest, ArmingDeselectsTheJobButtonsAndAJobClickDisarms)
{
    Entity* dig = level.Add(ButtonEntity("MonkeyDigButton", "BehaviorJobButton"));
    Entity* destruct = level.Add(DestructEntity({{"Perpetual", true}}));
    Entity* second = level.Add(DestructEntity());
    BehaviorJobButton& job = *dig->GetComponent<BehaviorJobButton>();
    Click(dig);
    level.Frame();
    ASSERT_TRUE(job.JobSelected);

    Click(destruct);
    EXPECT_TRUE(job.JobSelected) << "nothing changes before the end of the frame";
    level.Frame();
    EXPECT_FALSE(job.JobSelected);
    EXPECT_TRUE(Armed());

    // Another destruct button's message leaves the mode alone.
    MessagingSystem::GetInstance().PostButtonClicked(
        "", std::make_unique<ButtonClickedMessage>(second->GetComponent<BehaviorDestructButton>()));
    level.Frame();
    EXPECT_TRUE(Armed());

    Click(dig);
    EXPECT_TRUE(Armed());
    level.Frame();
    EXPECT_FALSE(Armed());
    EXPECT_FLOAT_EQ(Red(destruct), 1.0f) << "disarmed by the job click: normal tint";
    EXPECT_TRUE(job.JobSelected);
}

TEST_F(DestructButtonTest, AClickFromAButtonGoneBeforeDeliveryStillDisarms)
{
    level.Add(DestructEntity());
    Entity* dig = level.Add(ButtonEntity("MonkeyDigButton", "BehaviorJobButton"));
    BehaviorDestructButton::Armed = true;
    Click(dig);
    dig->IsDestroyed = true;   // deleted in the update pass, before the message goes out
    level.Frame();
    EXPECT_EQ(level.Count("MonkeyDigButton"), 0u);
    EXPECT_FALSE(Armed());
}

TEST_F(DestructButtonTest, EveryPressedBotIsDestroyedAlsoAtWorkAndTheModeEnds)
{
    Entity* destruct = level.Add(DestructEntity({{"Perpetual", true}}));
    Entity* first = level.Add(BotEntity());
    Entity* idle = level.Add(BotEntity());
    Entity* blocker = level.Add(BotEntity("MonkeyBlocker"));   // at work: keeps its job's name
    Entity* lookalike = level.Add(BotEntity("monkey"));
    Entity* noBot = level.Add({{"Name", "Monkey"}, {"Components", {{{"Type", "ButtonComponent"}}}}});
    Entity* second = level.Add(BotEntity());
    for (Entity* e : {first, blocker, lookalike, noBot, second})
        Press(e);

    Click(destruct);
    level.Scene().entities.Update(1.0f / 60);   // the button first, then the bots go into state 1
    EXPECT_FALSE(Armed());
    EXPECT_FLOAT_EQ(Red(destruct), 1.0f);
    auto state = [](Entity* e) { return e->GetComponent<BehaviorMonkey>()->StateCurrent; };
    EXPECT_EQ(state(first), 1);
    EXPECT_EQ(state(second), 1) << "every bot pressed in the same frame";
    EXPECT_EQ(state(idle), 0) << "not pressed";
    EXPECT_EQ(state(blocker), 1) << "a bot at work is a bot too";
    EXPECT_EQ(state(lookalike), 0) << "the name is matched with its case";
}

TEST_F(DestructButtonTest, APressedMonkeyWithoutABotIsPassedOverAndTheModeStays)
{
    level.Add(DestructEntity());
    Entity* noBot = level.Add({{"Name", "Monkey"}, {"Components", {{{"Type", "ButtonComponent"}}}}});
    Entity* unpressed = level.Add(BotEntity());
    Press(noBot);
    BehaviorDestructButton::Armed = true;
    level.Frame();
    EXPECT_TRUE(Armed());
    EXPECT_EQ(unpressed->GetComponent<BehaviorMonkey>()->StateCurrent, 0);
}

TEST_F(DestructButtonTest, TheHotkeyActsAsAClick)
{
    Entity* destruct = level.Add(DestructEntity({{"Hotkey", 88}, {"Perpetual", true}}));
    level.Hold(88);
    level.Frame();
    EXPECT_TRUE(Armed());
    EXPECT_FLOAT_EQ(Red(destruct), 0.5f) << "shown as pressed";
    EXPECT_EQ(MessagingSystem::GetInstance().QueuedCount(), 0u)
        << "the arming message went out with the frame";
    level.Frame();
    EXPECT_TRUE(Armed()) << "a held key is not pressed again";
    level.Release(88);
    level.Tap(88);
    level.Frame();
    EXPECT_FALSE(Armed());
    EXPECT_FLOAT_EQ(Red(destruct), 1.0f);
}

TEST_F(DestructButtonTest, WithoutAHotkeyNoInputTogglesTheMode)
{
    // Neither the default, nor the left mouse button (whose press on a bot would disarm the mode
    // before the bot is looked at), nor a code the input does not have.
    TraceCapture trace;
    InputSystem& input = InputSystem::GetInstance();
    for (const json& settings :
         {json::object(), json{{"Hotkey", 0}}, json{{"Hotkey", -5}}, json{{"Hotkey", 100000}}})
    {
        Entity* destruct = level.Add(DestructEntity(settings));
        std::fill(std::begin(input.state), std::end(input.state), 1);
        level.Scene().entities.Update(1.0f / 60);
        EXPECT_FALSE(Armed()) << settings.dump();
        destruct->IsDestroyed = true;
        level.Frame();
    }
    EXPECT_TRUE(trace.Contains("left mouse button")) << trace.All();
}

TEST_F(DestructButtonTest, ABuiltSceneStartsDisarmed)
{
    level.Add(DestructEntity());
    BehaviorDestructButton::Armed = true;
    level.Scene().Read({{"Entities", {DestructEntity()}}});
    EXPECT_FALSE(Armed()) << "the new scene's button shows no armed mode";
}

TEST_F(DestructButtonTest, SavesItsSettingsBesideTheButtonKeys)
{
    BehaviorDestructButton button;
    EXPECT_EQ(button.Hotkey, BehaviorDestructButton::NoHotkey);
    button.Read({{"Hotkey", 88}, {"DestroyOnlyBlockers", true}, {"Enabled", false}});
    EXPECT_EQ(button.Hotkey, 88);
    EXPECT_TRUE(button.DestroyOnlyBlockers);
    EXPECT_FALSE(button.Enabled);
    button.Read({{"Perpetual", true}});
    EXPECT_EQ(button.Hotkey, 88) << "absent: kept";
    EXPECT_TRUE(button.DestroyOnlyBlockers);
    json written;
    button.Write(written);
    EXPECT_EQ(written["Type"], "BehaviorDestructButton");
    EXPECT_EQ(written["Hotkey"], 88);
    EXPECT_EQ(written["DestroyOnlyBlockers"], true);
    EXPECT_EQ(written["Perpetual"], true);
    EXPECT_EQ(written["Enabled"], false);

    std::unique_ptr<Component> copy(button.Clone());
    const auto& clone = dynamic_cast<const BehaviorDestructButton&>(*copy);
    EXPECT_EQ(clone.Hotkey, 88);
    EXPECT_TRUE(clone.DestroyOnlyBlockers);
    EXPECT_TRUE(BehaviorDestructButton::IsDestructButton(&clone));
    EXPECT_FALSE(BehaviorDestructButton::IsDestructButton(nullptr));
}
