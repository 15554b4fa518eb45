#include "game/BehaviorSpotlight.h"

#include "engine/TraceSystem.h"
#include "game/BehaviorCountBoard.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <algorithm>
#include <cmath>

namespace
{
void SetSize(Transform& transform, float size)
{
    transform.Scale.x = size;
    transform.Scale.y = size;
    transform.Dirty = true;
}
}   // namespace

void BehaviorSpotlight::Write(json& out) const
{
    out["Type"] = "BehaviorSpotlight";
    out["ShrinkSpeed"] = ShrinkSpeed;
    out["SpotlightSize"] = SpotlightSize;
    out["TimeStayInZoomIn"] = TimeStayInZoomIn;
}

void BehaviorSpotlight::Read(const json& in)
{
    ReadKey(in, "ShrinkSpeed", ShrinkSpeed);
    ReadKey(in, "SpotlightSize", SpotlightSize);
    ReadKey(in, "TimeStayInZoomIn", TimeStayInZoomIn);
    StayTimer = 0;
    ShrinkDone = false;
    StayDone = false;
}

void BehaviorSpotlight::OnUpdate(float dt)
{
    if (!Parent || Parent->IsDestroyed)
        return;
    Transform* transform = Parent->GetComponent<Transform>();
    if (!transform)
        return;
    Vec3& scale = transform->Scale;
    if (std::isnan(scale.x) || std::isnan(scale.y) || scale.x < 0 || scale.x > LargestSize)
    {
        BehaviorCountBoard::EvaluateRequested = true;   // nothing sensible to show: let the board decide
        return;
    }
    if (BehaviorCountBoard::EvaluateRequested)
        return;

    if (!ShrinkDone)
    {
        if (scale.x > SpotlightSize)
        {
            const float f = 1 - dt * ShrinkSpeed;
            scale.x *= f;
            scale.y *= f;
            transform->Dirty = true;
            if (scale.x > SpotlightSize)
                return;
        }
        SetSize(*transform, SpotlightSize);
        ShrinkDone = true;
        StayTimer = 0;
        return;
    }
    if (!StayDone)
    {
        if (StayTimer < TimeStayInZoomIn)
        {
            StayTimer += dt;
            return;
        }
        StayDone = true;
    }
    if (scale.x > ClosedSize)
    {
        SetSize(*transform, std::max((1 - 2 * ShrinkSpeed * dt) * scale.x, ClosedSize));
        return;
    }
    BehaviorCountBoard::EvaluateRequested = true;
}

void BehaviorSpotlight::OnExit() { TraceMessage("BehaviorSpotlight: Shutting down"); }
