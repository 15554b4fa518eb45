#pragma once
// Moves its entity while keys are held: one pair of keys per axis, a speed per axis in units per
// second, and optional box limits on the position. With Physics it sets the velocity every frame
// (so letting go stops it); without, it moves the Transform. Only a held key (input state 2)
// counts, not the frame of its press; when both keys of a pair are held the first one wins. Key
// codes are input codes (0..7 mouse buttons, 32..348 keys); any other code is never held.
#include "engine/Matrix4.h"
#include "scene/Behavior.h"

#include <array>

class MovementDriver : public Behavior
{
public:
    Component* Clone() const override { return new MovementDriver(*this); }
    // "Type", "Speed", "KeyBinds_Y-Axis", "KeyBinds_X-Axis", "KeyBinds_Z-Axis", "Enable Limits",
    // "+Limits", "-Limits"; never the behaviour keys.
    void Write(json& out) const override;
    void Read(const json& in) override;
    std::string GetName() const override { return "MovementDriver"; }
    void OnInit() override {}
    void OnUpdate(float dt) override;
    void OnExit() override {}

    std::array<int, 2> KeyBindsY{0, 0};   // the key for +y, then the key for -y
    std::array<int, 2> KeyBindsX{0, 0};   // the key for -x, then the key for +x
    std::array<int, 2> KeyBindsZ{0, 0};   // the key for -z, then the key for +z
    Vec3 Speed{1, 1, 1};
    Vec3 UpperLimits{0, 0, 0};
    Vec3 LowerLimits{0, 0, 0};
    bool EnableLimits = false;   // clamp the position, first up to LowerLimits, then down to UpperLimits
};
