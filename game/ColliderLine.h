#pragma once
// A collider made of line segments. Read gives it the saved segments (one unit segment along x
// when none are saved); from its first Update on they are the four edges of its entity's box
// (Transform position and scale, rotation ignored), rebuilt every frame and queued as debug
// lines in their edge colours. Edges are numbered 0 right, 1 top, 2 left, 3 bottom.
#include "engine/Matrix4.h"
#include "game/Collider.h"

#include <array>
#include <vector>

struct LineSegment
{
    Vec3 Point1;
    Vec3 Point2;
};

class ColliderLine : public Collider
{
public:
    enum Edge : int
    {
        EdgeRight = 0,
        EdgeTop = 1,
        EdgeLeft = 2,
        EdgeBottom = 3,
    };
    static constexpr Vec3 Clear{0, 1, 0};     // an edge without contact
    static constexpr Vec3 Touched{1, 0, 0};   // an edge that touched

    ColliderLine() : Collider(TypeLine) { EdgeColors.fill(Clear); }

    Component* Clone() const override { return new ColliderLine(*this); }
    void Update(float dt) override;
    void Write(json& out) const override;   // the shared keys, "Type", "LineSegments" as they stand
    void Read(const json& in) override;
    std::string GetName() const override { return "ColliderLine"; }

    // The segments become the box with corners c0..c3 (right-bottom, right-top, left-top,
    // left-bottom); segments after the fourth are kept.
    void SetBoxSegments(const std::array<Vec3, 4>& corners);
    // The segments become the box of those half sizes around the centre, and its edges are
    // queued as debug lines in their edge colours: what Update does with the entity's box.
    void PlaceBox(const Vec3& centre, float halfWidth, float halfHeight);
    // Whether some segment comes within radius of the centre (segments shorter than about
    // 0.03 are skipped).
    bool TouchesCircle(const Vec3& centre, float radius) const;
    // Whether a segment of this collider crosses one of the other's, in x and y, ends
    // included; parallel segments never cross.
    bool IntersectsLine(const ColliderLine& other) const;
    // Paints every edge Touched.
    void MarkAllTouched() { EdgeColors.fill(Touched); }
    // Paints the edges from the contacts recorded since the last clearing.
    void PaintContacts();

    std::vector<LineSegment> Segments;
    std::array<Vec3, 4> EdgeColors;
};
