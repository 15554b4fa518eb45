#include "game/BehaviorSpotlightEdge.h"

#include "scene/Entity.h"
#include "scene/Transform.h"

void BehaviorSpotlightEdge::Write(json& out) const { out["Type"] = "BehaviorSpotlightEdge"; }

void BehaviorSpotlightEdge::OnUpdate(float)
{
    Transform* own = Parent ? Parent->GetComponent<Transform>() : nullptr;
    const Transform* spotlight = SpotlightTransform;
    if (!own || !spotlight)
        return;
    const Vec3& s = spotlight->Translation;
    const float d = (spotlight->Scale.x + own->Scale.x) * 0.5f;
    switch (EdgeIndex)
    {
    case 0:
        own->Translation = {s.x, s.y + d, s.z};
        break;
    case 1:
        own->Translation = {s.x + d, s.y, s.z};
        break;
    case 2:
        own->Translation = {s.x, s.y - d, s.z};
        break;
    case 3:
        own->Translation = {s.x - d, s.y, s.z};
        break;
    default:
        own->Translation = {0, 0, 0};
        break;
    }
    own->Dirty = true;
}
