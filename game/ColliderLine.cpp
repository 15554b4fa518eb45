#include "game/ColliderLine.h"

#include "graphics/Graphics.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <algorithm>
#include <cmath>

namespace
{
// Element 0..2 of a saved point; a missing one is the origin, and so is a short or mistyped one
// (with a message): a segment of a line collider is worth keeping even with one bad end.
Vec3 ReadPoint(const json& segment, const char* key)
{
    Vec3 point;
    ReadKeyOrKeep(segment, key, point, "COMPONENT: [ColliderLine]");
    return point;
}

json WritePoint(const Vec3& p) { return json::array({p.x, p.y, p.z}); }
}   // namespace

void ColliderLine::Update(float)
{
    Entity* entity = GetParent(this);
    const Transform* transform = entity ? entity->GetComponent<Transform>() : nullptr;
    if (!transform)
        return;
    PlaceBox(transform->Translation, transform->Scale.x * 0.5f, transform->Scale.y * 0.5f);
}

void ColliderLine::PlaceBox(const Vec3& c, float halfWidth, float halfHeight)
{
    const float w = halfWidth, h = halfHeight;
    const std::array<Vec3, 4> corners = {Vec3{c.x + w, c.y - h, c.z}, Vec3{c.x + w, c.y + h, c.z},
                                         Vec3{c.x - w, c.y + h, c.z}, Vec3{c.x - w, c.y - h, c.z}};
    SetBoxSegments(corners);
    for (size_t i = 0; i < 4; ++i)
        Graphics::SubmitDebugLine({corners[i], corners[(i + 1) % 4], EdgeColors[i], Graphics::WorldProj});
}

void ColliderLine::SetBoxSegments(const std::array<Vec3, 4>& corners)
{
    if (Segments.size() < 4)
        Segments.resize(4);
    for (size_t i = 0; i < 4; ++i)
        Segments[i] = {corners[i], corners[(i + 1) % 4]};
}

void ColliderLine::Write(json& out) const
{
    Collider::Write(out);
    out["Type"] = "ColliderLine";
    json segments = json::array();
    for (const LineSegment& s : Segments)
        segments.push_back({{"Point1", WritePoint(s.Point1)}, {"Point2", WritePoint(s.Point2)}});
    out["LineSegments"] = std::move(segments);
}

void ColliderLine::Read(const json& in)
{
    Collider::Read(in);
    Segments.clear();
    const auto saved = in.find("LineSegments");
    if (saved == in.end() || !saved->is_array())
    {
        Segments.push_back({{-1, 0, 0}, {1, 0, 0}});
        return;
    }
    for (const json& element : *saved)
        Segments.push_back(element.is_object()
                               ? LineSegment{ReadPoint(element, "Point1"), ReadPoint(element, "Point2")}
                               : LineSegment{});
}

bool ColliderLine::TouchesCircle(const Vec3& centre, float radius) const
{
    for (const LineSegment& s : Segments)
    {
        const Vec3 d{s.Point2.x - s.Point1.x, s.Point2.y - s.Point1.y, s.Point2.z - s.Point1.z};
        const float length2 = d.x * d.x + d.y * d.y + d.z * d.z;
        if (length2 <= 0.001f)
            continue;
        const Vec3 e{centre.x - s.Point1.x, centre.y - s.Point1.y, centre.z - s.Point1.z};
        const float t = std::clamp((e.x * d.x + e.y * d.y + e.z * d.z) / length2, 0.0f, 1.0f);
        const float dx = e.x - t * d.x, dy = e.y - t * d.y, dz = e.z - t * d.z;
        if (std::sqrt(dx * dx + dy * dy + dz * dz) <= radius)
            return true;
    }
    return false;
}

bool ColliderLine::IntersectsLine(const ColliderLine& other) const
{
    for (const LineSegment& s : Segments)
    {
        const float ax = s.Point1.x, ay = s.Point1.y;
        const float bx = s.Point2.x - ax, by = s.Point2.y - ay;
        for (const LineSegment& o : other.Segments)
        {
            const float fx = o.Point2.x - o.Point1.x, fy = o.Point2.y - o.Point1.y;
            const float den = bx * fy - by * fx;
            if (std::fabs(den) < 0.0001f)
                continue;
            const float ex = o.Point1.x - ax, ey = o.Point1.y - ay;
            const float t = (ex * fy - ey * fx) / den;
            const float u = (ex * by - ey * bx) / den;
            if (t >= 0 && t <= 1 && u >= 0 && u <= 1)
                return true;
        }
    }
    return false;
}

void ColliderLine::PaintContacts()
{
    EdgeColors.fill(Clear);
    for (int contact : Contacts)
    {
        // Each contact names the side of this body that touched.
        static constexpr int EdgeOf[] = {EdgeTop, EdgeBottom, EdgeLeft, EdgeRight};
        if (contact >= ContactTop && contact <= ContactRight)
            EdgeColors[static_cast<size_t>(EdgeOf[contact])] = Touched;
    }
}
