#include "game/Collider.h"

#include "engine/TraceSystem.h"
#include "game/ColliderCircle.h"
#include "game/ColliderLine.h"
#include "game/Physics.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace
{
constexpr const char* KindNames[] = {"none", "circle", "rectangle", "triangle", "line"};

// The shape a collider has: only circles and lines have one.
const ColliderCircle* AsCircle(const Collider* c)
{
    return c->ColliderType == Collider::TypeCircle ? dynamic_cast<const ColliderCircle*>(c) : nullptr;
}
const ColliderLine* AsLine(const Collider* c)
{
    return c->ColliderType == Collider::TypeLine ? dynamic_cast<const ColliderLine*>(c) : nullptr;
}

Transform* TransformOf(const Collider* c)
{
    return c->Parent ? c->Parent->GetComponent<Transform>() : nullptr;
}

float Length(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

// The line collider of a pushed-out entity shows the edge that touched.
void MarkEdge(Entity* entity, int edge)
{
    if (ColliderLine* line = entity->GetComponent<ColliderLine>())
        line->EdgeColors[static_cast<size_t>(edge)] = ColliderLine::Touched;
}
}   // namespace

std::string Collider::TypeToString(int kind)
{
    return kind >= TypeCircle && kind <= TypeLine ? KindNames[kind] : "none";
}

int Collider::TypeFromString(const std::string& text)
{
    for (int kind = TypeCircle; kind <= TypeLine; ++kind)
        if (text == KindNames[kind])
            return kind;
    return TypeNone;
}

void Collider::WriteKindAndCollision(json& out) const
{
    out["ColliderType"] = TypeToString(ColliderType);
    out["Collision"] = Collision;
}

void Collider::Write(json& out) const
{
    WriteKindAndCollision(out);
    out["ResolveCollision"] = ResolveCollision;
    out["PixelGridCollider"] = PixelGridCollider;
    out["Collision Mask"] =
        json::array({CollisionMask[MaskPaired], CollisionMask[MaskCarried], CollisionMask[MaskSameName]});
}

void Collider::ReadKindAndCollision(const json& in)
{
    if (std::string text; in.contains("ColliderType"))
    {
        ReadKey(in, "ColliderType", text);
        if (TypeFromString(text) == ownKind)
            ColliderType = ownKind;
        else
            // The shape tests go by kind: a kind that is not the class's would test the wrong shape.
            Log("COLLIDER: [", GetName(), "] \"ColliderType\" \"", text,
                "\" does not match the class; kept \"", TypeToString(ownKind), "\"");
    }
    ReadKey(in, "Collision", Collision);
}

void Collider::Read(const json& in)
{
    ReadKindAndCollision(in);
    ReadKey(in, "ResolveCollision", ResolveCollision);
    ReadKey(in, "PixelGridCollider", PixelGridCollider);
    if (!in.contains("Collision Mask"))
    {
        CollisionMask.set();
        return;
    }
    const json& mask = in.at("Collision Mask");
    const char* const flags = "an array of true or false values";
    if (!mask.is_array())
        throw KeyRefusal("Collision Mask", flags, mask);
    const size_t given = std::min(mask.size(), CollisionMask.size());
    for (size_t flag = 0; flag < given; ++flag)
        if (!mask[flag].is_boolean())
            throw KeyRefusal("Collision Mask", flags, mask);
    // A shorter array clears the flags it does not give.
    for (size_t flag = 0; flag < CollisionMask.size(); ++flag)
        CollisionMask[flag] = flag < given && mask[flag].get<bool>();
}

bool Collider::Overlaps(const Collider* other) const
{
    if (!other)
        return false;
    const ColliderCircle* circleA = AsCircle(this);
    const ColliderCircle* circleB = AsCircle(other);
    const ColliderLine* lineA = circleA ? nullptr : AsLine(this);
    const ColliderLine* lineB = circleB ? nullptr : AsLine(other);
    if (circleA && circleB)
    {
        const Transform* ta = TransformOf(this);
        const Transform* tb = TransformOf(other);
        if (!ta || !tb)
            return false;
        const float dx = ta->Translation.x - tb->Translation.x;
        const float dy = ta->Translation.y - tb->Translation.y;
        const float dz = ta->Translation.z - tb->Translation.z;
        const float reach = circleA->Radius + circleB->Radius;
        return reach * reach >= dx * dx + dy * dy + dz * dz;
    }
    if (lineA && lineB)
        return lineA->IntersectsLine(*lineB);
    const ColliderCircle* circle = circleA ? circleA : circleB;
    const ColliderLine* line = lineA ? lineA : lineB;
    if (!circle || !line)
        return false;
    const Transform* centre = TransformOf(circle);
    return centre && line->TouchesCircle(centre->Translation, circle->Radius * centre->Scale.x);
}

int Collider::ResolveOverlap(Entity* pushed, Entity* other)
{
    Transform* tr = pushed ? pushed->GetComponent<Transform>() : nullptr;
    Transform* to = other ? other->GetComponent<Transform>() : nullptr;
    Physics* body = pushed ? pushed->GetComponent<Physics>() : nullptr;
    if (!tr || !to || !body)
        return ContactNone;

    float x = tr->Translation.x;
    float y = tr->Translation.y;
    const float hr = tr->Scale.y * 0.5f, wr = tr->Scale.x * 0.5f;
    const float ho = to->Scale.y * 0.5f, wo = to->Scale.x * 0.5f;
    const float ox = to->Translation.x, oy = to->Translation.y;
    const float overlap[4] = {
        (y + hr) - (oy - ho),   // top against the other's bottom
        (y - hr) - (oy + ho),   // bottom against the other's top
        (x - wr) - (ox + wo),   // left against the other's right
        (x + wr) - (ox - wo),   // right against the other's left
    };
    int side = 0;
    for (int i = 1; i < 4; ++i)
        if (std::fabs(overlap[i]) < std::fabs(overlap[side]))
            side = i;

    constexpr float margin = 0.001f;
    Vec3& v = body->Velocity;
    switch (side)
    {
    case ContactTop:
        y -= overlap[0] - margin;
        if (v.y > 0)
            v.y = v.z = 0;
        break;
    case ContactBottom:
        // A body that is not falling keeps its place: it stands 0.001 inside the floor.
        if (v.y < 0)
        {
            y += -margin - overlap[1];
            v.y = v.z = 0;
        }
        MarkEdge(pushed, ColliderLine::EdgeBottom);
        break;
    case ContactLeft:
        x -= overlap[2] - margin;
        if (v.x < 0)
            v.x = v.z = 0;
        MarkEdge(pushed, ColliderLine::EdgeLeft);
        break;
    default:
        x += -margin - overlap[3];
        if (v.x > 0)
            v.x = v.z = 0;
        MarkEdge(pushed, ColliderLine::EdgeRight);
        break;
    }
    tr->Translation.x = x;
    tr->Translation.y = y;
    tr->Dirty = true;

    Collider* first = pushed->GetComponent<Collider>();
    if (first)
        first->Contacts.push_back(side);
    if (const Physics* otherBody = other->GetComponent<Physics>(); otherBody && first)
    {
        const Vec3& u = otherBody->Velocity;
        const bool movesIn = (side == ContactTop && u.y < -margin) ||
                             (side == ContactBottom && u.y > margin) ||
                             (side == ContactLeft && u.x > margin) || (side == ContactRight && u.x < -margin);
        if (movesIn)
            first->Pushed = true;
    }
    return side;
}

void Collider::CheckPair(Collider* a, Collider* b)
{
    if (!b || a == b)
        return;
    Entity* ea = GetParent(a);
    if (!a)
        return;
    Entity* eb = b->Parent;
    if (!ea || !eb || !a->Overlaps(b))
        return;

    const int ra = a->ResolveCollision, rb = b->ResolveCollision;
    int contact = ContactNone;
    if (ra == -1)
    {
        if (rb != -1)
            if (ColliderLine* line = dynamic_cast<ColliderLine*>(a))
                line->MarkAllTouched();
    }
    else if (rb == -1)
    {
        if (ColliderLine* line = dynamic_cast<ColliderLine*>(b))
            line->MarkAllTouched();
    }
    else if (ra > rb)
        contact = ResolveOverlap(ea, eb);
    else if (rb > ra)
        contact = ResolveOverlap(eb, ea);
    else if (ra == 1)
    {
        // Equal claims: the faster body gives way; a body without Physics never moves.
        const Physics* pa = ea->GetComponent<Physics>();
        const Physics* pb = eb->GetComponent<Physics>();
        if (pa && pb)
        {
            const float sa = Length(pa->Velocity), sb = Length(pb->Velocity);
            if (sa > sb)
                contact = ResolveOverlap(ea, eb);
            else if (sb > sa)
                contact = ResolveOverlap(eb, ea);
        }
        else if (pa)
            contact = ResolveOverlap(ea, eb);
        else if (pb)
            contact = ResolveOverlap(eb, ea);
    }
    const uint64_t serialA = ea->Serial, serialB = eb->Serial;
    if (a->Callback)
        a->Callback(ea, eb, contact);
    // The first callback may have deleted either entity: the other then hears nothing.
    if (Entity::Living(serialA) != ea || Entity::Living(serialB) != eb)
        return;
    if (b->Callback)
        b->Callback(eb, ea, contact);
}
