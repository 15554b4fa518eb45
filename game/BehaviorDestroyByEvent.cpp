#include "game/BehaviorDestroyByEvent.h"

#include "engine/InputSystem.h"
#include "engine/TraceSystem.h"
#include "scene/Entity.h"

void BehaviorDestroyByEvent::Write(json& out) const
{
    out["Type"] = "BehaviorDestroyByEvent";
    out["EventName"] = EventName;
    out["KeyEvent"] = KeyEvent;
}

void BehaviorDestroyByEvent::Read(const json& in)
{
    ReadKey(in, "EventName", EventName);
    ReadKey(in, "KeyEvent", KeyEvent);
}

void BehaviorDestroyByEvent::OnUpdate(float)
{
    if (EventName == "KeyPress" && InputSystem::GetInstance().GetState(KeyEvent) == 1 && Parent)
        Parent->IsDestroyed = true;
}

void BehaviorDestroyByEvent::OnExit() { TraceMessage("BehaviorDestroyByEvent: Shutting down"); }
