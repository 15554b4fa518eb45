#include "scene/Transform.h"

#include "scene/Entity.h"
#include "tests/common/TraceCapture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace
{
void ExpectPoint(const Vec3& actual, const Vec3& expected, const std::string& what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-5) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-5) << what;
}

Vec3 Map(Transform& t, const Vec3& p) { return t.GetMatrix().TransformPoint(p); }
}   // namespace

TEST(Transform, AnglesComeIntoRangeAsWholeTurnsAreTakenOff)
{
    const float inf = std::numeric_limits<float>::infinity();
    struct Case
    {
        float in, out;
    } cases[] = {
        {720, 360},
        {360, 360},
        {-30, 330},
        {450, 90},
        {0, 0},
        {90, 90},
        {-360, 0},
        {-720, 0},
        {-390.5f, 329.5f},
        // Far beyond the float's resolution for one turn, where stepping by 360 never ends.
        {1e10f, 280},
        {3.6e9f, 360},
        {-3.6e9f, 0},
        {std::nanf(""), 0},
        {inf, 0},
        {-inf, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Transform::NormalizeAngle(c.in), c.out) << c.in;
    for (const float huge :
         {1e30f, -1e30f, std::numeric_limits<float>::max(), -std::numeric_limits<float>::max()})
    {
        const float angle = Transform::NormalizeAngle(huge);
        EXPECT_TRUE(angle >= 0 && angle <= 360) << huge << " -> " << angle;
    }
}

TEST(Transform, TheMatrixIsTranslationThenRotationsXYZThenScaleColumnByColumn)
{
    Transform t;
    EXPECT_EQ(t.GetMatrix().m, Matrix4::Identity().m);

    struct Case
    {
        const char* what;
        Vec3 translation, rotation, scale, point, expected;
    } cases[] = {
        {"translate and scale", {1, 2, 3}, {0, 0, 0}, {2, 2, 2}, {1, 0, 0}, {3, 2, 3}},
        {"z turns x to y", {0, 0, 0}, {0, 0, 90}, {1, 1, 1}, {1, 0, 0}, {0, 1, 0}},
        {"x turns y to z", {0, 0, 0}, {90, 0, 0}, {1, 1, 1}, {0, 1, 0}, {0, 0, 1}},
        // Rz acts first: (1,0,0) -> (0,1,0) -> Rx -> (0,0,1). Rx first would leave (0,1,0).
        {"z before x", {0, 0, 0}, {90, 0, 90}, {1, 1, 1}, {1, 0, 0}, {0, 0, 1}},
        // Scale acts before the turn: (1,0,0) -> (2,0,0) -> (0,2,0).
        {"scale before turn", {0, 0, 0}, {0, 0, 90}, {2, 1, 1}, {1, 0, 0}, {0, 2, 0}},
        {"turn before translation", {10, 0, 0}, {0, 90, 0}, {1, 1, 1}, {0, 0, 1}, {11, 0, 0}},
    };
    for (const Case& c : cases)
    {
        Transform tc;
        tc.Translation = c.translation;
        tc.Rotation = c.rotation;
        tc.Scale = c.scale;
        ExpectPoint(Map(tc, c.point), c.expected, c.what);
    }

    // Column-major: the translation is floats 12, 13 and 14.
    t.Translation = {7, 8, 9};
    t.Dirty = true;
    const Matrix4& m = t.GetMatrix();
    EXPECT_EQ(m.m[12], 7);
    EXPECT_EQ(m.m[13], 8);
    EXPECT_EQ(m.m[14], 9);
}

TEST(Transform, RotationIsWrittenBackInRangeAndTheMatrixUsesIt)
{
    Transform t;
    t.Rotation = {450, -30, 720};
    Transform same;
    same.Rotation = {90, 330, 360};
    const Matrix4 m = t.GetMatrix();
    EXPECT_EQ(t.Rotation.x, 90);
    EXPECT_EQ(t.Rotation.y, 330);
    EXPECT_EQ(t.Rotation.z, 360);
    EXPECT_EQ(m.m, same.GetMatrix().m);
}

TEST(Transform, TheMatrixIsRebuiltOnlyWhenDirty)
{
    Transform t;
    t.GetMatrix();
    t.Translation = {5, 0, 0};
    ExpectPoint(Map(t, {0, 0, 0}), {0, 0, 0}, "changed without Dirty");
    t.Dirty = true;
    ExpectPoint(Map(t, {0, 0, 0}), {5, 0, 0}, "after Dirty");
    EXPECT_FALSE(t.Dirty);
}

TEST(Transform, UnderAParentEntityTheParentMatrixIsAppliedAtEveryRequest)
{
    Entity parent;
    Transform* parentTransform = new Transform();
    parentTransform->Translation = {5, 0, 0};
    parent.AddComponent(parentTransform);

    Transform child;
    child.Translation = {1, 0, 0};
    child.ParentEntity = &parent;
    ExpectPoint(Map(child, {0, 0, 0}), {6, 0, 0}, "child of (5,0,0)");

    parentTransform->Translation = {0, 3, 0};
    parentTransform->Dirty = true;
    ExpectPoint(Map(child, {0, 0, 0}), {1, 3, 0}, "the parent moved, the child is clean");

    Entity grandparent;
    Transform* top = new Transform();
    top->Scale = {2, 2, 2};
    grandparent.AddComponent(top);
    parentTransform->ParentEntity = &grandparent;
    ExpectPoint(Map(child, {0, 0, 0}), {2, 6, 0}, "two levels");

    Entity bare;   // a parent without a transform counts as none
    child.ParentEntity = &bare;
    ExpectPoint(Map(child, {0, 0, 0}), {1, 0, 0}, "parent without a transform");
}

TEST(Transform, AParentThatWouldCloseALoopIsRefusedAndTheWalkUpAlwaysEnds)
{
    // Three entities in a row, each one unit to the right of its parent.
    Entity a, b, c;
    a.Name = "A";
    b.Name = "B";
    c.Name = "C";
    Transform* ta = new Transform();
    Transform* tb = new Transform();
    Transform* tc = new Transform();
    for (auto [entity, t] : {std::pair{&a, ta}, {&b, tb}, {&c, tc}})
    {
        t->Translation = {1, 0, 0};
        entity->AddComponent(t);
    }
    ASSERT_TRUE(tb->SetParentEntity(&a));
    ASSERT_TRUE(tc->SetParentEntity(&b));
    ExpectPoint(Map(*tc, {0, 0, 0}), {3, 0, 0}, "C under B under A");

    struct Case
    {
        Transform* child;
        Entity* parent;
        const char* message;
    } refused[] = {
        {ta, &c,
         "TRANSFORM: [A] parent \"C\" refused: it would close a loop of parents; the parent stays none"},
        {ta, &b,
         "TRANSFORM: [A] parent \"B\" refused: it would close a loop of parents; the parent stays none"},
        {ta, &a,
         "TRANSFORM: [A] parent \"A\" refused: it would close a loop of parents; the parent stays none"},
        {tb, &c,
         "TRANSFORM: [B] parent \"C\" refused: it would close a loop of parents; the parent stays \"A\""},
    };
    for (const Case& r : refused)
    {
        TraceCapture trace;
        Entity* before = r.child->ParentEntity;
        EXPECT_FALSE(r.child->SetParentEntity(r.parent)) << r.message;
        EXPECT_EQ(r.child->ParentEntity, before);
        EXPECT_EQ(trace.lines, std::vector<std::string>{r.message});
    }
    ExpectPoint(Map(*tc, {0, 0, 0}), {3, 0, 0}, "unchanged by the refusals");

    // A loop made by hand: every walk ends, each transform counted once from where it starts.
    ta->ParentEntity = &c;
    ExpectPoint(Map(*ta, {0, 0, 0}), {3, 0, 0}, "A in a loop of three");
    ExpectPoint(Map(*tb, {0, 0, 0}), {3, 0, 0}, "B in a loop of three");
    ExpectPoint(Map(*tc, {0, 0, 0}), {3, 0, 0}, "C in a loop of three");
    EXPECT_TRUE(tb->SetParentEntity(nullptr)) << "leaving a loop is always allowed";
    ExpectPoint(Map(*ta, {0, 0, 0}), {3, 0, 0}, "A under C under B");
}

TEST(Transform, WriteAndReadKeepTheFieldsAndAbsentKeysChangeNothing)
{
    Transform t;
    t.Translation = {1.5f, -2, 3};
    t.Rotation = {0, 45, 90};
    t.Scale = {2, 2, 1};
    json out;
    t.Write(out);
    EXPECT_EQ(
        out.dump(),
        R"({"Rotation":[0.0,45.0,90.0],"Scale":[2.0,2.0,1.0],"Translation":[1.5,-2.0,3.0],"Type":"Transform"})");

    Transform read;
    read.GetMatrix();
    read.Read(out);
    EXPECT_FALSE(read.Dirty);   // reading does not touch Dirty
    json again;
    read.Write(again);
    EXPECT_EQ(again, out);

    read.Read(json{{"Scale", {3, 3, 3}}});
    EXPECT_EQ(read.Translation.x, 1.5f);
    EXPECT_EQ(read.Scale.x, 3);
}

TEST(Transform, AShortOrMistypedVectorIsRefusedNamingTheKeyAndNothingIsKept)
{
    const json bad[] = {
        {{"Translation", {9, 9, 9}}, {"Scale", {1, 2}}},
        {{"Translation", {9, 9, 9}}, {"Rotation", "up"}},
        {{"Translation", {9, 9, 9}}, {"Scale", {1, "2", 3}}},
        {{"Translation", {9, 9, 9}}, {"Scale", {{"x", 1}}}},
    };
    for (const json& in : bad)
    {
        Transform t;
        try
        {
            t.Read(in);
            ADD_FAILURE() << "accepted " << in;
        }
        catch (const DataError& error)
        {
            const std::string key = in.contains("Scale") ? "\"Scale\"" : "\"Rotation\"";
            EXPECT_NE(std::string(error.what()).find(key), std::string::npos) << error.what();
        }
        EXPECT_EQ(t.Translation.x, 0) << in;   // the good key before the bad one was not kept
    }
}

TEST(Transform, ACloneHasThePlacementButNoParents)
{
    Entity owner, parent;
    Transform* t = new Transform();
    owner.AddComponent(t);
    t->Translation = {1, 2, 3};
    t->Rotation = {4, 5, 6};
    t->Scale = {7, 8, 9};
    t->ParentEntity = &parent;
    t->GetMatrix();
    std::unique_ptr<Transform> copy(static_cast<Transform*>(t->Clone()));
    EXPECT_EQ(copy->Translation.z, 3);
    EXPECT_EQ(copy->Rotation.y, 5);
    EXPECT_EQ(copy->Scale.x, 7);
    EXPECT_FALSE(copy->Dirty);
    EXPECT_EQ(copy->Matrix.m, t->Matrix.m);
    EXPECT_EQ(copy->ParentEntity, nullptr);
    EXPECT_EQ(copy->Parent, nullptr);
}
