#pragma once
// Runs the game at this button's speed, or back at normal speed: a press switches the scene
// system's game speed to CurrentSpeedState, or to 1 when that speed is already on. The change
// takes effect in the button's next update, on the press rather than the release, with neither
// the pressed tint nor a sound. Every update the button shows whether its speed is the one on:
// its sprite is tinted 0.75 then and 1 otherwise, whatever Enabled, Perpetual, hover or idle say.
// A hotkey, when it has one, acts as a press.
#include "ui/Button.h"

class BehaviorChangeSpeedButton : public Button
{
public:
    static constexpr float ActiveShade = 0.75f;
    static constexpr int NoHotkey = -1;

    Component* Clone() const override { return new BehaviorChangeSpeedButton(*this); }
    void Write(json& out) const override;   // Button's keys, "Type", "CurrentSpeedState", "Hotkey"
    // Button's keys, then "CurrentSpeedState" and "Hotkey" when present; a speed that is not a
    // positive, finite number is logged and the one before kept.
    void Read(const json& in) override;

    std::string GetName() const override { return "BehaviorChangeSpeedButton"; }
    void OnUpdate(float dt) override;
    void OnPressed() override { TogglePending = true; }

    float CurrentSpeedState = 1.0f;
    bool TogglePending = false;
    // An input code whose press in a frame acts as a press of the button; none by default.
    int Hotkey = NoHotkey;
};
