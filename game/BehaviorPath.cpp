#include "game/BehaviorPath.h"

#include "game/BehaviorMonkey.h"
#include "game/Collider.h"
#include "game/ColliderLine.h"
#include "game/Physics.h"
#include "graphics/Graphics.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <cmath>

namespace
{
bool SamePoint(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
}   // namespace

BehaviorPath::BehaviorPath() = default;

BehaviorPath::BehaviorPath(const BehaviorPath& other)
    : Behavior(other), Waiting(other.Waiting), TravelSide(other.TravelSide), StartPos(other.StartPos),
      EndPos(other.EndPos), WaitTimer(other.WaitTimer), WaitDuration(other.WaitDuration),
      Target(other.Target), Speed(other.Speed)
{
}

BehaviorPath::~BehaviorPath() = default;

void BehaviorPath::Write(json& out) const
{
    Behavior::Write(out);
    out["Type"] = "BehaviorPath";
    out["StartPos"] = WriteVec3(StartPos);
    out["EndPos"] = WriteVec3(EndPos);
    out["WaitDuration"] = WaitDuration;
}

void BehaviorPath::Read(const json& in)
{
    Behavior::Read(in);
    Vec3 start = StartPos, end = EndPos;
    float wait = WaitDuration;
    ReadKey(in, "StartPos", start);
    ReadKey(in, "EndPos", end);
    ReadKey(in, "WaitDuration", wait);
    StartPos = start;
    EndPos = end;
    WaitDuration = wait;
}

void BehaviorPath::MakeMissingMarkers()
{
    if (!StartMarker)
        StartMarker = std::make_unique<ColliderLine>();
    if (!EndMarker)
        EndMarker = std::make_unique<ColliderLine>();
}

void BehaviorPath::OnInit()
{
    if (!Parent)
        return;
    if (Collider* collider = Parent->GetComponent<Collider>())
        collider->Callback = &BehaviorPath::OnCollision;
    StartMarker.reset();
    EndMarker.reset();
    MakeMissingMarkers();
    const Physics* physics = Parent->GetComponent<Physics>();
    const Vec3 v = physics ? physics->Velocity : Vec3{0, 0, 0};
    Speed = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    Target = EndPos;
    MoveToward(Parent, Target, Speed);
}

void BehaviorPath::OnUpdate(float dt)
{
    MakeMissingMarkers();
    Physics* physics = Parent ? Parent->GetComponent<Physics>() : nullptr;
    if (!physics)
        return;
    const Vec3& v = physics->Velocity;
    if (std::fabs(v.y) > std::fabs(v.x))
        TravelSide = v.y >= 0 ? Collider::ContactTop : Collider::ContactBottom;
    else
        TravelSide = v.x >= 0 ? Collider::ContactRight : Collider::ContactLeft;
    Graphics::SubmitDebugLine({StartPos, EndPos, {1, 1, 1}, Graphics::WorldProj});
    StartMarker->PlaceBox(StartPos, MarkerHalfSize, MarkerHalfSize);
    EndMarker->PlaceBox(EndPos, MarkerHalfSize, MarkerHalfSize);
    WaitTimer -= dt;
    // Only the end headed for counts: the entity passes back over the end it turned at, and
    // counting that one too would turn it again there, and again, for ever.
    const ColliderLine* ahead = SamePoint(Target, StartPos) ? StartMarker.get() : EndMarker.get();
    if (const Collider* own = Parent->GetComponent<Collider>(); own && own->Overlaps(ahead))
    {
        WaitTimer = WaitDuration;
        Waiting = true;
    }
    if (WaitTimer <= 0 && Waiting)
    {
        WaitTimer = WaitDuration;
        Target = SamePoint(Target, StartPos) ? EndPos : StartPos;
        MoveToward(Parent, Target, Speed);
        Waiting = false;
    }
}

void BehaviorPath::OnExit()
{
    StartMarker.reset();
    EndMarker.reset();
}

void BehaviorPath::OnCollision(Entity* own, Entity* other, int contactKind)
{
    if (!own || !other || own == other)
        return;
    const Collider* mine = own->GetComponent<Collider>();
    const Collider* theirs = other->GetComponent<Collider>();
    BehaviorPath* path = own->GetComponent<BehaviorPath>();
    if (!mine || !theirs || !path)
        return;
    if (mine->ResolveCollision >= theirs->ResolveCollision && theirs->ResolveCollision != -1 &&
        path->WaitTimer <= 0 && !path->Waiting && contactKind == path->TravelSide)
    {
        path->WaitTimer = path->WaitDuration;
        path->Waiting = true;
    }
}
