#pragma once
// Greys the level buttons of the level selection whose level is still locked (tint 0.2, and the
// button stops changing its tint) and brightens them once unlocked. The level is the first
// number of the entity's name. With a Mark (the name of one of the button's hover compositions)
// that composition shows a lock while the level is locked and a star once it is completed, and
// nothing in between.
#include "scene/Behavior.h"

class BehaviorLevelSelectTint : public Behavior
{
public:
    static constexpr float LockedGrey = 0.2f;
    static constexpr const char* LockPicture = "Icon_Lock";
    static constexpr const char* DonePicture = "Icon_Star";
    static constexpr const char* NoPicture = "Clear";

    Component* Clone() const override { return new BehaviorLevelSelectTint(*this); }
    void Write(json& out) const override;   // "Type", and "Mark" when it has one
    void Read(const json& in) override { ReadKey(in, "Mark", Mark); }
    std::string GetName() const override { return "BehaviorLevelSelectTint"; }
    void OnInit() override {}
    void OnUpdate(float dt) override;
    void OnExit() override;

    // The first number of a name; 0 without one or when it does not fit an int.
    static int LevelNumberOf(const std::string& name);

    std::string Mark;

private:
    void ShowMark(bool unlocked, int level);
};
