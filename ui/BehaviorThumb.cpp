#include "ui/BehaviorThumb.h"

#include "engine/TraceSystem.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "ui/BehaviorSliderButton.h"

void BehaviorThumb::OnUpdate(float)
{
    Transform* transform = Parent ? Parent->GetComponent<Transform>() : nullptr;
    if (!transform)
        return;
    const auto& table = BehaviorSliderButton::SliderTable;
    const auto found = table.find(Parent->Name);
    transform->Translation = found == table.end() ? Vec3{0, 0, 0} : found->second;
    transform->Dirty = true;
}

void BehaviorThumb::OnExit() { TraceMessage("BehaviorThumb: Shutting down"); }
