#include "game/ColliderCircle.h"

void ColliderCircle::Write(json& out) const
{
    out["Type"] = "ColliderCircle";
    WriteKindAndCollision(out);
    out["Radius"] = Radius;
}

void ColliderCircle::Read(const json& in)
{
    ReadKindAndCollision(in);
    ReadKey(in, "Radius", Radius);
}
