#include "game/EntityKiller.h"

#include "scene/Entity.h"

void EntityKiller::Write(json& out) const
{
    Behavior::Write(out);
    out["Type"] = "EntityKiller";
    out["Timer"] = Timer;
}

void EntityKiller::Read(const json& in)
{
    Behavior::Read(in);
    ReadKey(in, "Timer", Timer);
}

void EntityKiller::OnUpdate(float dt)
{
    Elapsed += dt;
    if (Elapsed >= Timer && Parent)
        Parent->IsDestroyed = true;
}
