#pragma once
// Greys the level buttons of the level selection whose level is still locked (tint 0.2, and the
// button stops changing its tint) and brightens them once unlocked. The level is the first
// number of the entity's name.
#include "scene/Behavior.h"

class BehaviorLevelSelectTint : public Behavior
{
public:
    static constexpr float LockedGrey = 0.2f;

    Component* Clone() const override { return new BehaviorLevelSelectTint(*this); }
    void Write(json& out) const override { out["Type"] = "BehaviorLevelSelectTint"; }
    void Read(const json&) override {}
    std::string GetName() const override { return "BehaviorLevelSelectTint"; }
    void OnInit() override {}
    void OnUpdate(float dt) override;
    void OnExit() override;

    // The first number of a name; 0 without one or when it does not fit an int.
    static int LevelNumberOf(const std::string& name);
};
