#include "game/ColliderCircle.h"
#include "game/ColliderLine.h"
#include "game/Physics.h"
#include "graphics/GraphicsSystem.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
// An entity with a transform box, a collider of kind T and, when asked, physics.
template <typename T> struct Thing
{
    explicit Thing(Vec3 at, Vec3 scale = {1, 1, 1}, bool withPhysics = true, const char* name = "thing")
    {
        entity.Name = name;
        entity.AddComponent(collider = new T());
        if (withPhysics)
            entity.AddComponent(physics = new Physics());
        entity.AddComponent(transform = new Transform());
        transform->Translation = at;
        transform->Scale = scale;
        if constexpr (std::is_same_v<T, ColliderLine>)
            collider->Update(0);   // the box edges
    }
    Entity entity;
    T* collider;
    Physics* physics = nullptr;
    Transform* transform;
};

struct Call
{
    Entity* own;
    Entity* other;
    int contact;
};
std::vector<Call> calls;
void Record(Entity* own, Entity* other, int contact) { calls.push_back({own, other, contact}); }

bool Same(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
int TouchedEdges(const ColliderLine& line)
{
    int count = 0;
    for (const Vec3& c : line.EdgeColors)
        count += Same(c, ColliderLine::Touched);
    return count;
}
}   // namespace

TEST(ColliderData, KindTextsBothWays)
{
    const std::pair<int, const char*> kinds[] = {
        {1, "circle"}, {2, "rectangle"}, {3, "triangle"}, {4, "line"}};
    for (auto [kind, text] : kinds)
    {
        EXPECT_EQ(Collider::TypeToString(kind), text);
        EXPECT_EQ(Collider::TypeFromString(text), kind);
    }
    for (int other : {0, 5, -1})
        EXPECT_EQ(Collider::TypeToString(other), "none");
    for (const char* other : {"none", "Circle", ""})
        EXPECT_EQ(Collider::TypeFromString(other), 0);
}

TEST(ColliderData, LineReadAndWrite)
{
    ColliderLine line;
    line.Read(json::object());
    EXPECT_TRUE(line.CollisionMask.all()) << "no \"Collision Mask\": every flag";
    ASSERT_EQ(line.Segments.size(), 1u) << "no \"LineSegments\": one unit segment";
    EXPECT_EQ(line.Segments[0].Point1.x, -1);
    EXPECT_EQ(line.Segments[0].Point2.x, 1);

    line.Read({{"ColliderType", "line"},
               {"Collision", 3},
               {"ResolveCollision", 2},
               {"PixelGridCollider", true},
               {"Collision Mask", {true, false, true}},
               {"LineSegments", json::parse(R"([{"Point1": [1, 2, 3], "Point2": [4, 5, 6]}, 7,
                                                 {"Point1": [1, 2], "Point2": [8, 9, 10, 11]}, {}])")}});
    EXPECT_EQ(line.Collision, 3);
    EXPECT_EQ(line.ResolveCollision, 2);
    EXPECT_TRUE(line.PixelGridCollider);
    EXPECT_EQ(line.CollisionMask.to_ulong(), 0b101u);
    ASSERT_EQ(line.Segments.size(), 4u);
    EXPECT_EQ(line.Segments[0].Point2.z, 6);
    EXPECT_EQ(line.Segments[1].Point1.x, 0) << "an element that is not an object is all zeros";
    EXPECT_EQ(line.Segments[2].Point1.x, 0) << "a short point is zeros";
    EXPECT_EQ(line.Segments[2].Point2.x, 8);

    json saved;
    line.Write(saved);
    EXPECT_EQ(saved["Type"], "ColliderLine");
    EXPECT_EQ(saved["ColliderType"], "line");
    EXPECT_EQ(saved["Collision Mask"], json::array({true, false, true}));
    EXPECT_EQ(saved["ResolveCollision"], 2);
    EXPECT_EQ(saved["PixelGridCollider"], true);
    EXPECT_EQ(saved["LineSegments"].size(), 4u);
    ColliderLine back;
    back.Read(saved);
    json again;
    back.Write(again);
    EXPECT_EQ(again, saved);

    line.Read({{"LineSegments", json::array()}, {"Collision Mask", {true}}});
    EXPECT_TRUE(line.Segments.empty());
    EXPECT_EQ(line.CollisionMask.to_ulong(), 0b001u) << "a short mask clears what it does not give";
    EXPECT_THROW(line.Read({{"Collision Mask", true}}), std::exception);
    EXPECT_THROW(line.Read({{"Collision Mask", {1, 0, 1}}}), std::exception);
}

TEST(ColliderData, CircleSavesOnlyItsOwnKeys)
{
    ColliderCircle circle;
    circle.Read(
        {{"Radius", 2}, {"Collision", 1}, {"ResolveCollision", 3}, {"Collision Mask", {true, true, true}}});
    EXPECT_EQ(circle.Radius, 2);
    EXPECT_EQ(circle.ResolveCollision, -1);
    EXPECT_TRUE(circle.CollisionMask.none());
    json saved;
    circle.Write(saved);
    EXPECT_EQ(
        saved,
        (json{{"Type", "ColliderCircle"}, {"ColliderType", "circle"}, {"Collision", 1}, {"Radius", 2.0}}));
}

TEST(ColliderData, AKindThatIsNotTheClassIsRefused)
{
    TraceCapture trace;
    ColliderCircle circle;
    circle.Read({{"ColliderType", "line"}});
    ColliderLine line;
    line.Read({{"ColliderType", "rectangle"}});
    EXPECT_EQ(circle.ColliderType, Collider::TypeCircle);
    EXPECT_EQ(line.ColliderType, Collider::TypeLine);
    EXPECT_TRUE(trace.Contains(
        "[ColliderCircle] \"ColliderType\" \"line\" does not match the class; kept \"circle\""))
        << trace.All();
    EXPECT_TRUE(trace.Contains("[ColliderLine] \"ColliderType\" \"rectangle\" does not match the class"));
}

TEST(ColliderShapes, BoxEdgesFollowTheTransform)
{
    GraphicsSystem::GetInstance().DrawDebugLines();
    Thing<ColliderLine> box({2, 3, 1}, {4, 2, 1});
    EXPECT_EQ(GraphicsSystem::GetInstance().QueuedDebugLines(), 4u);
    GraphicsSystem::GetInstance().DrawDebugLines();
    ASSERT_EQ(box.collider->Segments.size(), 4u);
    const struct
    {
        Vec3 from, to;
    } edges[] = {
        {{4, 2, 1}, {4, 4, 1}}, {{4, 4, 1}, {0, 4, 1}}, {{0, 4, 1}, {0, 2, 1}}, {{0, 2, 1}, {4, 2, 1}}};
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_TRUE(Same(box.collider->Segments[i].Point1, edges[i].from)) << "edge " << i;
        EXPECT_TRUE(Same(box.collider->Segments[i].Point2, edges[i].to)) << "edge " << i;
    }
    // Read segments beyond the fourth stay; saved after an update are the world edges.
    box.collider->Segments.resize(5, {{9, 9, 9}, {8, 8, 8}});
    box.collider->Update(0);
    EXPECT_EQ(box.collider->Segments[4].Point1.x, 9);
    json saved;
    box.collider->Write(saved);
    EXPECT_EQ(saved["LineSegments"][1]["Point1"], json::array({4.0, 4.0, 1.0}));
    GraphicsSystem::GetInstance().DrawDebugLines();
}

TEST(ColliderShapes, OverlapTests)
{
    Thing<ColliderCircle> c0({0, 0, 0});
    Thing<ColliderCircle> c1({1, 0, 0}, {3, 3, 3});
    Thing<ColliderCircle> c2({0, 0, 1.01f});
    EXPECT_TRUE(c0.collider->Overlaps(c1.collider)) << "1.0 apart with radii 0.5: inclusive, never scaled";
    EXPECT_FALSE(c0.collider->Overlaps(c2.collider)) << "z counts";
    EXPECT_FALSE(c0.collider->Overlaps(nullptr));

    // A unit box from (4, -0.5) to (5, 0.5); circles left of it.
    Thing<ColliderLine> box({4.5f, 0, 0});
    Thing<ColliderCircle> near({3.0f, 0, 0}, {2.1f, 1, 1});   // radius 0.5 * 2.1 = 1.05 reaches x 4
    Thing<ColliderCircle> far({3.0f, 0, 0}, {1.9f, 1, 1});
    EXPECT_TRUE(near.collider->Overlaps(box.collider)) << "scaled against lines";
    EXPECT_TRUE(box.collider->Overlaps(near.collider)) << "either order";
    EXPECT_FALSE(far.collider->Overlaps(box.collider));

    // Lines: touching at an end point crosses, collinear overlap does not, tiny segments are skipped.
    ColliderLine a, b, c, tiny;
    a.Segments = {{{0, 0, 0}, {2, 0, 0}}};
    b.Segments = {{{2, 0, 0}, {2, 2, 0}}};
    c.Segments = {{{1, 0, 0}, {3, 0, 0}}};
    tiny.Segments = {{{0, 0, 0}, {0.01f, 0, 0}}};
    EXPECT_TRUE(a.IntersectsLine(b));
    EXPECT_FALSE(a.IntersectsLine(c));
    EXPECT_FALSE(a.IntersectsLine(ColliderLine()));
    EXPECT_FALSE(tiny.TouchesCircle({0, 0, 0}, 1.0f));
    EXPECT_TRUE(a.TouchesCircle({1, 0.5f, 0}, 0.5f));

    // A kind without a shape never overlaps.
    near.collider->ColliderType = Collider::TypeRectangle;
    EXPECT_FALSE(near.collider->Overlaps(box.collider));
}

TEST(ColliderPairs, WhoIsPushedOut)
{
    const struct
    {
        const char* name;
        int resolveA, resolveB;
        float speedA, speedB;
        bool physicsA, physicsB;
        int movedBy;   // 0 none, 1 a, 2 b
    } cases[] = {
        {"higher value is pushed", 2, 1, 0, 0, true, true, 1},
        {"higher value is pushed, b", 0, 3, 0, 0, true, true, 2},
        {"equal values other than 1", 2, 2, 1, 0, true, true, 0},
        {"equal ones: the faster", 1, 1, 0, 1, true, true, 2},
        {"equal ones, equal speeds", 1, 1, 1, 1, true, true, 0},
        {"equal ones: only a moves", 1, 1, 0, 0, true, false, 1},
        {"equal ones: neither moves", 1, 1, 0, 0, false, false, 0},
        {"a never resolves", -1, 2, 0, 0, true, true, 0},
        {"b never resolves", 2, -1, 0, 0, true, true, 0},
    };
    for (const auto& c : cases)
    {
        Thing<ColliderLine> a({0, 0, 0}, {1, 1, 1}, c.physicsA, "a");
        Thing<ColliderLine> b({0.8f, 0, 0}, {1, 1, 1}, c.physicsB, "b");
        a.collider->ResolveCollision = c.resolveA;
        b.collider->ResolveCollision = c.resolveB;
        if (a.physics)
            a.physics->Velocity = {0, c.speedA, 0};
        if (b.physics)
            b.physics->Velocity = {0, -c.speedB, 0};
        a.collider->Callback = b.collider->Callback = Record;
        calls.clear();
        Collider::CheckPair(a.collider, b.collider);
        const bool aMoved = a.transform->Translation.x != 0;
        const bool bMoved = b.transform->Translation.x != 0.8f;
        EXPECT_EQ(aMoved, c.movedBy == 1) << c.name;
        EXPECT_EQ(bMoved, c.movedBy == 2) << c.name;
        ASSERT_EQ(calls.size(), 2u) << c.name << ": both callbacks after every overlap";
        EXPECT_EQ(calls[0].own, &a.entity);
        EXPECT_EQ(calls[0].other, &b.entity);
        EXPECT_EQ(calls[1].own, &b.entity);
        EXPECT_EQ(calls[0].contact, calls[1].contact) << c.name;
        const int expected = c.movedBy == 1   ? Collider::ContactRight
                             : c.movedBy == 2 ? Collider::ContactLeft
                                              : Collider::ContactNone;
        EXPECT_EQ(calls[0].contact, expected) << c.name;
        // Against a body that never resolves, the resolving side's partner lights up whole.
        if (c.resolveA == -1)
        {
            EXPECT_EQ(TouchedEdges(*a.collider), 4) << c.name;
        }
        if (c.resolveB == -1)
        {
            EXPECT_EQ(TouchedEdges(*b.collider), 4) << c.name;
        }
    }

    // No overlap, no entity, the same collider: no callback.
    Thing<ColliderLine> a({0, 0, 0}), far({5, 0, 0});
    a.collider->Callback = far.collider->Callback = Record;
    calls.clear();
    Collider::CheckPair(a.collider, far.collider);
    Collider::CheckPair(a.collider, a.collider);
    Collider::CheckPair(a.collider, nullptr);
    ColliderLine loose;
    Collider::CheckPair(&loose, a.collider);
    TraceCapture trace;
    Collider::CheckPair(nullptr, a.collider);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(trace.Contains("CRITICAL: GetParent() called on NULL component!"));
}

TEST(ColliderPairs, ContactSidesAndPushOut)
{
    // The other body is the unit box at the origin; the pushed one a unit box around `at`.
    const struct
    {
        const char* name;
        Vec3 at, velocity;
        int contact;
        Vec3 position, finalVelocity;
        int edge;   // the edge that lights up, -1 none
    } cases[] = {
        {"lands on it",
         {0.1f, 0.9f, 0},
         {1, -2, 3},
         Collider::ContactBottom,
         {0.1f, 0.999f, 0},
         {1, 0, 0},
         ColliderLine::EdgeBottom},
        {"stands still on it",
         {0.1f, 0.9f, 0},
         {1, 0, 3},
         Collider::ContactBottom,
         {0.1f, 0.9f, 0},
         {1, 0, 3},
         ColliderLine::EdgeBottom},
        {"hits it from below",
         {0.1f, -0.9f, 0},
         {0, 2, 3},
         Collider::ContactTop,
         {0.1f, -0.999f, 0},
         {0, 0, 0},
         -1},
        {"runs into its right side",
         {0.8f, 0.1f, 0},
         {-1, 0, 3},
         Collider::ContactLeft,
         {1.001f, 0.1f, 0},
         {0, 0, 0},
         ColliderLine::EdgeLeft},
        {"backs off its right side",
         {0.8f, 0.1f, 0},
         {1, 0, 3},
         Collider::ContactLeft,
         {1.001f, 0.1f, 0},
         {1, 0, 3},
         ColliderLine::EdgeLeft},
        {"runs into its left side",
         {-0.8f, 0.1f, 0},
         {1, 0, 3},
         Collider::ContactRight,
         {-1.001f, 0.1f, 0},
         {0, 0, 0},
         ColliderLine::EdgeRight},
        {"top and bottom tie: top",
         {0, 0, 0},
         {0, 0, 0},
         Collider::ContactTop,
         {0, -0.999f, 0},
         {0, 0, 0},
         -1},
    };
    for (const auto& c : cases)
    {
        Thing<ColliderLine> pushed(c.at);
        Thing<ColliderLine> other({0, 0, 0}, {1, 1, 1}, false);
        pushed.physics->Velocity = c.velocity;
        pushed.collider->Contacts = {Collider::ContactLeft};
        pushed.transform->Dirty = false;
        EXPECT_EQ(Collider::ResolveOverlap(&pushed.entity, &other.entity), c.contact) << c.name;
        const Vec3& p = pushed.transform->Translation;
        EXPECT_NEAR(p.x, c.position.x, 1e-5f) << c.name;
        EXPECT_NEAR(p.y, c.position.y, 1e-5f) << c.name;
        EXPECT_TRUE(Same(pushed.physics->Velocity, c.finalVelocity)) << c.name;
        EXPECT_TRUE(pushed.transform->Dirty) << c.name;
        EXPECT_EQ(pushed.collider->Contacts, (std::vector<int>{Collider::ContactLeft, c.contact})) << c.name;
        EXPECT_EQ(TouchedEdges(*pushed.collider), c.edge < 0 ? 0 : 1) << c.name;
        if (c.edge >= 0)
        {
            EXPECT_TRUE(Same(pushed.collider->EdgeColors[static_cast<size_t>(c.edge)], ColliderLine::Touched))
                << c.name;
        }
    }

    // Missing pieces: nothing moves.
    Thing<ColliderLine> still({0.5f, 0, 0}, {1, 1, 1}, false);
    Thing<ColliderLine> other({0, 0, 0});
    EXPECT_EQ(Collider::ResolveOverlap(&still.entity, &other.entity), Collider::ContactNone);
    EXPECT_EQ(still.transform->Translation.x, 0.5f);
    EXPECT_EQ(Collider::ResolveOverlap(nullptr, &other.entity), Collider::ContactNone);
}

TEST(ColliderPairs, PushedWhenTheOtherMovesIn)
{
    const struct
    {
        Vec3 at;
        Vec3 otherVelocity;
        bool pushed;
    } cases[] = {
        {{0, 0.9f, 0}, {0, 0.5f, 0}, true},       // bottom contact, the floor rises
        {{0, 0.9f, 0}, {0, 0.0005f, 0}, false},   // ... too slowly to count
        {{0, -0.9f, 0}, {0, -0.5f, 0}, true},     // top contact, the ceiling comes down
        {{0.8f, 0, 0}, {0.5f, 0, 0}, true},       // left contact, the other comes from the left
        {{0.8f, 0, 0}, {-0.5f, 0, 0}, false},     // ... moving away
        {{-0.8f, 0, 0}, {-0.5f, 0, 0}, true},     // right contact
    };
    for (const auto& c : cases)
    {
        Thing<ColliderLine> pushed(c.at);
        Thing<ColliderLine> other({0, 0, 0});
        pushed.physics->Velocity = {0, -1, 0};
        other.physics->Velocity = c.otherVelocity;
        Collider::ResolveOverlap(&pushed.entity, &other.entity);
        EXPECT_EQ(pushed.collider->Pushed, c.pushed) << c.at.x << ", " << c.at.y;
        EXPECT_FALSE(other.collider->Pushed);
    }
}

TEST(ColliderData, CloneCopiesEverything)
{
    ColliderLine line;
    line.Read({{"ResolveCollision", 4}, {"Collision Mask", {false, true, false}}});
    line.Callback = Record;
    line.Contacts = {1, 2};
    line.Pushed = true;
    line.EdgeColors[2] = ColliderLine::Touched;
    std::unique_ptr<ColliderLine> copy(static_cast<ColliderLine*>(line.Clone()));
    EXPECT_EQ(copy->Callback, &Record);
    EXPECT_EQ(copy->Contacts, line.Contacts);
    EXPECT_TRUE(copy->Pushed);
    EXPECT_EQ(copy->CollisionMask, line.CollisionMask);
    EXPECT_EQ(copy->Segments.size(), 1u);
    EXPECT_TRUE(Same(copy->EdgeColors[2], ColliderLine::Touched));
    EXPECT_EQ(copy->Parent, nullptr);
    ColliderCircle circle;
    circle.Radius = 3;
    std::unique_ptr<ColliderCircle> round(static_cast<ColliderCircle*>(circle.Clone()));
    EXPECT_EQ(round->Radius, 3);
    EXPECT_EQ(round->GetName(), "ColliderCircle");
}
