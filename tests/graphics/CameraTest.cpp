#include "graphics/Camera.h"

#include "engine/WindowSystem.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <gtest/gtest.h>

namespace
{
// The global camera at its start values, on a window of a size the test sets.
class CameraTest : public testing::Test
{
protected:
    void SetUp() override
    {
        savedWidth = window.width;
        savedHeight = window.height;
        camera.SetTarget(nullptr);
    }
    void TearDown() override
    {
        camera.SetTarget(nullptr);
        window.width = savedWidth;
        window.height = savedHeight;
    }
    // An entity holding a transform at the position.
    Entity* Follow(const Vec3& position)
    {
        entity = std::make_unique<Entity>();
        transform = new Transform();
        transform->Translation = position;
        entity->AddComponent(transform);
        camera.SetTarget(entity.get());
        return entity.get();
    }

    Camera& camera = Camera::GetInstance();
    WindowSystem& window = WindowSystem::GetInstance();
    std::unique_ptr<Entity> entity;
    Transform* transform = nullptr;
    int savedWidth = 0, savedHeight = 0;
};

void ExpectMatrix(const Matrix4& actual, const float (&rows)[4][4], const char* what)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(actual.At(r, c), rows[r][c], 1e-6) << what << " row " << r << " column " << c;
}
}   // namespace

TEST_F(CameraTest, WithoutATargetTheEyeStandsAtFifteenLookingAtTheOrigin)
{
    const Matrix4 view = camera.GetViewMatrix();
    const float expected[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, -15}, {0, 0, 0, 1}};
    ExpectMatrix(view, expected, "default view");
    EXPECT_EQ(camera.view.m, view.m);   // also kept in the cache
}

TEST_F(CameraTest, FollowingATransformLooksOneUnitDownTheZAxisFromIt)
{
    Follow({3, -2, 15});
    EXPECT_EQ(camera.target, transform);
    EXPECT_EQ(camera.eye.x, 3);
    EXPECT_EQ(camera.eye.y, -2);
    EXPECT_EQ(camera.eye.z, 15);
    EXPECT_EQ(camera.lookAt.z, 14);
    const float expected[4][4] = {{1, 0, 0, -3}, {0, 1, 0, 2}, {0, 0, 1, -15}, {0, 0, 0, 1}};
    ExpectMatrix(camera.GetViewMatrix(), expected, "following (3, -2, 15)");

    transform->Translation = {10, 0, 20};
    camera.Update();
    EXPECT_EQ(camera.eye.x, 10);
    EXPECT_EQ(camera.lookAt.z, 19);
}

TEST_F(CameraTest, AnEntityWithoutATransformOrAGoneTransformResetsTheEye)
{
    Follow({3, 3, 3});
    Entity bare;
    camera.SetTarget(&bare);
    EXPECT_EQ(camera.target, nullptr);
    EXPECT_EQ(camera.eye.z, 15);
    EXPECT_EQ(camera.lookAt.x, 0);

    Follow({3, 3, 3});
    entity.reset();   // the followed transform goes with its entity
    EXPECT_EQ(camera.target, nullptr);
    camera.Update();   // and is never read afterwards
    EXPECT_EQ(camera.eye.x, 3);
}

TEST_F(CameraTest, ProjectionAtAKnownWindowSize)
{
    struct Case
    {
        int width, height;
        float x;   // column 0 row 0
    } cases[] = {
        {1600, 900, 2.4142134f / 1.7777778f},
        {900, 900, 2.4142134f},
        {0, 0, 2.4142134f},   // no aspect at all counts as 1
        {800, 0, 0.0f},       // an infinite aspect
    };
    for (const Case& c : cases)
    {
        window.width = c.width;
        window.height = c.height;
        const Matrix4 p = camera.GetProjectionMatrix();
        const float expected[4][4] = {
            {c.x, 0, 0, 0}, {0, 2.4142134f, 0, 0}, {0, 0, -1.0002f, -0.020002f}, {0, 0, -1, 0}};
        ExpectMatrix(p, expected, (std::to_string(c.width) + "x" + std::to_string(c.height)).c_str());
        EXPECT_EQ(camera.projection.m, p.m);
    }
}

TEST_F(CameraTest, ViewAndProjectionPutTheLookAtPointInTheMiddleOfTheScreen)
{
    window.width = 1600;
    window.height = 900;
    Follow({2, 1, 15});
    const Matrix4 clip = Matrix4::Multiply(camera.GetProjectionMatrix(), camera.GetViewMatrix());
    // A point 5 units in front of the eye, straight ahead, lands at the centre.
    const Vec4 ahead = clip.Transform({2, 1, 10, 1});
    EXPECT_NEAR(ahead.x / ahead.w, 0, 1e-6);
    EXPECT_NEAR(ahead.y / ahead.w, 0, 1e-6);
    EXPECT_GT(ahead.w, 0);
    // One unit to the right at that depth: x = f / aspect / 5.
    const Vec4 right = clip.Transform({3, 1, 10, 1});
    EXPECT_NEAR(right.x / right.w, 2.4142134f / 1.7777778f / 5, 1e-5);
}
