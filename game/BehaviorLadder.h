#pragma once
// A ladder that belongs to one bot: it pivots one bot height above the bot's centre, swings from
// 180 degrees (pointing left) down to 0 (right) and back, LadderAngle moving RotateSpeed degrees
// every running frame (not scaled by the frame time), and stops where it stands when mouse
// button 0 is pressed, wherever the cursor is; a stopped ladder starts again only at a bound.
// Bots turn at an entity named "MonkeyLadder" as at a wall. The ladder's entity is marked
// destroyed on its first running frame without a bot, once the bot has no BehaviorMonkey or is
// leaving (its state 1), and once the bot entity has been deleted.
#include "engine/Matrix4.h"
#include "scene/Behavior.h"
#include "scene/EntityRef.h"

class BehaviorLadder : public Behavior
{
public:
    Component* Clone() const override { return new BehaviorLadder(*this); }   // the bot too
    // The behaviour keys, "Type", "LadderAngle", "CollideSide" (written only), "RotateSpeed".
    void Write(json& out) const override;
    void Read(const json& in) override;
    std::string GetName() const override { return "BehaviorLadder"; }
    void OnInit() override;   // the ladder stands beside the top of its bot
    void OnUpdate(float dt) override;
    void OnExit() override {}

    // RotateDirection values.
    static constexpr int Stopped = 0;
    static constexpr int TowardZero = 1;
    static constexpr int Toward180 = 2;

    EntityRef<Entity> Bot;     // not owned, not saved: set by whoever gives the bot its ladder
    float LadderAngle = 180;   // degrees: 0 points right, 90 up, 180 left
    int CollideSide = 0;       // where the ladder stopped: 0 at 0, 90 or 180 degrees, 1 above
                               // 90, 2 between 0 and 90
    int RotateDirection = TowardZero;
    float RotateSpeed = 1;   // degrees per frame
    Vec3 Pivot{0, 0, 0};     // one bot height above the bot's centre, refreshed every frame
};
