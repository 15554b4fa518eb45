#include "ui/BehaviorChangeSpeedButton.h"

#include "engine/InputSystem.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "tests/common/LevelFixture.h"
#include "tests/common/TraceCapture.h"
#include "tests/ui/ButtonTestKit.h"

#include <gtest/gtest.h>

namespace
{
using namespace ButtonTestKit;

Entity* SpeedButton(LevelFixture& level, float speed, json settings = json::object())
{
    settings["CurrentSpeedState"] = speed;
    return level.Add(ButtonEntity("SpeedButton", "BehaviorChangeSpeedButton", std::move(settings)));
}

float GameSpeed() { return SceneSystem::GetInstance().gameSpeed; }

// The mouse goes down on the button: the component reports the press once.
void PressDown(Entity* e) { e->GetComponent<ButtonComponent>()->NotifyState(ButtonComponent::Pressed); }
}   // namespace

TEST(ChangeSpeedButton, APressSwitchesBetweenItsSpeedAndNormalAndTheTintShowsWhichIsOn)
{
    // Each press lands on the first button named; after each frame the speed and the shade of
    // every button are as listed.
    struct Step
    {
        int pressed;   // index of the button pressed before the frame
        float speed;
        std::vector<float> shades;
    };
    struct Case
    {
        const char* what;
        std::vector<float> buttons;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"one button at 2",
         {2},
         {{-1, 1, {1}}, {0, 2, {1}}, {-1, 2, {0.75f}}, {0, 1, {0.75f}}, {-1, 1, {1}}}},
        {"2 on, then 4 pressed",
         {2, 4},
         {{0, 2, {1, 1}}, {1, 4, {0.75f, 1}}, {-1, 4, {1, 0.75f}}, {1, 1, {1, 0.75f}}, {-1, 1, {1, 1}}}},
        {"the normal-speed button", {1}, {{-1, 1, {0.75f}}, {0, 1, {0.75f}}, {-1, 1, {0.75f}}}},
    };
    for (const Case& c : cases)
    {
        LevelFixture level;
        std::vector<Entity*> buttons;
        for (float speed : c.buttons)
            buttons.push_back(SpeedButton(level, speed));
        for (size_t step = 0; step < c.steps.size(); ++step)
        {
            const Step& s = c.steps[step];
            if (s.pressed >= 0)
                PressDown(buttons[s.pressed]);
            level.Frame();
            EXPECT_EQ(GameSpeed(), s.speed) << c.what << ", step " << step;
            for (size_t b = 0; b < buttons.size(); ++b)
                EXPECT_FLOAT_EQ(Red(buttons[b]), s.shades[b])
                    << c.what << ", step " << step << ", button " << b;
        }
    }
}

TEST(ChangeSpeedButton, ThePressGivesNoPressedTintNoSoundAndTheTintIgnoresEnabled)
{
    LevelFixture level;
    Entity* button = SpeedButton(level, 2, {{"Enabled", false}, {"Perpetual", true}});
    PressDown(button);
    EXPECT_FLOAT_EQ(Red(button), 1.0f) << "no pressed tint";
    EXPECT_EQ(level.SoundsNamed("Select"), 0u);
    level.Frame();
    level.Frame();
    EXPECT_EQ(GameSpeed(), 2.0f);
    EXPECT_FLOAT_EQ(Red(button), 0.75f) << "shown though disabled";
    button->GetComponent<ButtonComponent>()->NotifyState(ButtonComponent::Hover);
    level.Frame();
    EXPECT_FLOAT_EQ(Red(button), 0.75f) << "the speed tint wins over hover";

    // Without a sprite the speed still changes.
    Entity* bare =
        level.Add({{"Name", "SpeedButton"},
                   {"Components", {{{"Type", "BehaviorChangeSpeedButton"}, {"CurrentSpeedState", 4}}}}});
    PressDown(bare);
    level.Frame();
    EXPECT_EQ(GameSpeed(), 4.0f);
}

TEST(ChangeSpeedButton, ItsHotkeyActsAsAPressOnTheFrameItGoesDown)
{
    constexpr int KeyF = 70;
    LevelFixture level;
    Entity* button = SpeedButton(level, 2, {{"Hotkey", KeyF}});
    level.Hold(KeyF);
    level.Frame();
    EXPECT_EQ(GameSpeed(), 2.0f);
    level.Frame();
    EXPECT_EQ(GameSpeed(), 2.0f) << "a held key is not pressed again";
    level.Release(KeyF);
    level.Tap(KeyF);
    level.Frame();
    EXPECT_EQ(GameSpeed(), 1.0f);
    EXPECT_FLOAT_EQ(Red(button), 0.75f) << "the tint of the frame follows at the next";

    // Neither none, nor the left mouse button, nor a code the input does not have.
    button->IsDestroyed = true;
    InputSystem& input = InputSystem::GetInstance();
    for (const json& settings : {json::object(), json{{"Hotkey", 0}}, json{{"Hotkey", 100000}}})
    {
        TraceCapture trace;
        Entity* quiet = SpeedButton(level, 4, settings);
        std::fill(std::begin(input.state), std::end(input.state), 1);
        level.Scene().entities.Update(1.0f / 60);
        std::fill(std::begin(input.state), std::end(input.state), 0);
        EXPECT_EQ(GameSpeed(), 1.0f) << settings.dump();
        quiet->IsDestroyed = true;
        level.Frame();
    }
}

TEST(ChangeSpeedButton, SavesItsSpeedAndRefusesSpeedsThatStopOrBreakTheGame)
{
    BehaviorChangeSpeedButton button;
    EXPECT_EQ(button.CurrentSpeedState, 1.0f);
    button.Read({{"CurrentSpeedState", 4}, {"Perpetual", true}});
    EXPECT_EQ(button.CurrentSpeedState, 4.0f);
    button.Read({{"Enabled", false}});
    EXPECT_EQ(button.CurrentSpeedState, 4.0f) << "absent: kept";
    json written;
    button.Write(written);
    EXPECT_EQ(written["Type"], "BehaviorChangeSpeedButton");
    EXPECT_EQ(written["CurrentSpeedState"], 4.0f);
    EXPECT_EQ(written["Perpetual"], true);
    EXPECT_EQ(written["Enabled"], false);
    EXPECT_FALSE(written.contains("TogglePending"));
    EXPECT_FALSE(written.contains("Hotkey")) << "none";
    button.Read({{"Hotkey", 71}});
    EXPECT_EQ(button.Hotkey, 71);

    for (const json& speed : {json(0), json(-2.5), json(1e39)})
    {
        TraceCapture trace;
        button.Read({{"CurrentSpeedState", speed}});
        EXPECT_EQ(button.CurrentSpeedState, 4.0f) << speed.dump();
        EXPECT_TRUE(trace.Contains("CurrentSpeedState")) << speed.dump() << trace.All();
    }
    EXPECT_THROW(button.Read({{"CurrentSpeedState", "fast"}}), DataError);

    button.TogglePending = true;
    std::unique_ptr<Component> copy(button.Clone());
    const auto& clone = dynamic_cast<const BehaviorChangeSpeedButton&>(*copy);
    EXPECT_EQ(clone.CurrentSpeedState, 4.0f);
    EXPECT_TRUE(clone.TogglePending);
    EXPECT_FALSE(clone.Enabled);
    EXPECT_EQ(clone.Hotkey, 71);
}
