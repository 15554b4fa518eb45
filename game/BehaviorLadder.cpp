#include "game/BehaviorLadder.h"

#include "engine/InputSystem.h"
#include "game/BehaviorMonkey.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <cmath>

namespace
{
constexpr float DegreesToRadians = 0.017453292f;
}   // namespace

void BehaviorLadder::Write(json& out) const
{
    Behavior::Write(out);
    out["Type"] = "BehaviorLadder";
    out["LadderAngle"] = LadderAngle;
    out["CollideSide"] = static_cast<unsigned>(CollideSide);
    out["RotateSpeed"] = RotateSpeed;
}

void BehaviorLadder::Read(const json& in)
{
    Behavior::Read(in);
    ReadKey(in, "LadderAngle", LadderAngle);
    ReadKey(in, "RotateSpeed", RotateSpeed);
}

void BehaviorLadder::OnInit()
{
    Transform* own = Parent ? Parent->GetComponent<Transform>() : nullptr;
    Entity* bot = Bot;
    const Transform* base = bot ? bot->GetComponent<Transform>() : nullptr;
    if (!own || !base)
        return;
    own->Translation = {base->Translation.x - own->Scale.x * 0.5f, base->Translation.y + own->Scale.y * 0.5f,
                        0};
    own->Dirty = true;
}

void BehaviorLadder::OnUpdate(float)
{
    if (!Parent)
        return;
    Entity* bot = Bot;
    const BehaviorMonkey* walker = bot ? bot->GetComponent<BehaviorMonkey>() : nullptr;
    if (!walker || walker->StateCurrent == MonkeyState::Leaving)
        Parent->IsDestroyed = true;
    if (Parent->IsDestroyed)
        return;
    Transform* own = Parent->GetComponent<Transform>();
    const Transform* base = bot->GetComponent<Transform>();
    if (!own || !base)
        return;
    Pivot = {base->Translation.x, base->Translation.y + base->Scale.y, 0};

    if (InputSystem::GetInstance().GetState(0) == 1)
    {
        RotateDirection = Stopped;
        if (LadderAngle == 0 || LadderAngle == 90 || LadderAngle == 180)
            CollideSide = 0;
        else if (LadderAngle > 90)
            CollideSide = 1;
        else if (LadderAngle > 0)
            CollideSide = 2;
    }
    if (RotateDirection == TowardZero)
    {
        own->Rotation.z -= RotateSpeed;
        LadderAngle -= RotateSpeed;
    }
    else if (RotateDirection == Toward180)
    {
        own->Rotation.z += RotateSpeed;
        LadderAngle += RotateSpeed;
    }
    const float a = LadderAngle * DegreesToRadians;
    own->Translation = {std::cos(a) * own->Scale.x * 0.5f + Pivot.x,
                        std::sin(a) * own->Scale.y * 0.5f + Pivot.y, 0};
    own->Dirty = true;
    if (LadderAngle >= 180)
        RotateDirection = TowardZero;
    else if (LadderAngle <= 0)
        RotateDirection = Toward180;
}
