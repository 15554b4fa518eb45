#include "game/Physics.h"
#include "graphics/GraphicsSystem.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
struct Body
{
    Body()
    {
        entity.AddComponent(physics = new Physics());
        entity.AddComponent(transform = new Transform());
    }
    void Run(int frames, float dt)
    {
        for (int i = 0; i < frames; ++i)
            physics->Update(dt);
    }
    Entity entity;
    Physics* physics;
    Transform* transform;
};

void ExpectVec(const Vec3& actual, const Vec3& expected, const std::string& what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-5f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-5f) << what;
}
}   // namespace

TEST(PhysicsIntegration, FixedStepsMoveByTheMidStepVelocity)
{
    const struct
    {
        const char* name;
        Vec3 acceleration, velocity, maxVelocity;
        float gravity;
        int frames;
        float dt;
        Vec3 position, finalVelocity, finalAcceleration;
    } cases[] = {
        // Unclamped: v = a t, x = a t^2 / 2 + v0 t.
        {"free", {2, 0, 0}, {1, 0, 0}, {100, 100, 100}, 0, 4, 0.25f, {2, 0, 0}, {3, 0, 0}, {2, 0, 0}},
        // MaxVelocity zero keeps the stored velocity at zero; each frame moves a dt^2 / 2.
        {"no limit given", {4, 0, 0}, {0, 0, 0}, {0, 0, 0}, 0, 3, 0.5f, {1.5f, 0, 0}, {0, 0, 0}, {4, 0, 0}},
        // A clamped axis moves with the mid-step velocity of each frame, not the limit.
        {"clamped", {0, 8, 0}, {0, 0, 0}, {0, 1, 0}, 0, 2, 0.5f, {0, 2.5f, 0}, {0, 1, 0}, {0, 8, 0}},
        {"clamped below", {0, 0, -8}, {0, 0, 0}, {0, 0, 1}, 0, 1, 0.5f, {0, 0, -1}, {0, 0, -1}, {0, 0, -8}},
        {"exactly at the limit",
         {0, 0, 0},
         {3, -3, 0},
         {3, 3, 3},
         0,
         2,
         0.5f,
         {3, -3, 0},
         {3, -3, 0},
         {0, 0, 0}},
        // Gravity of 1 or more pulls down with its own strength every frame, whatever was stored.
        {"gravity", {1, 5, 0}, {0, 0, 0}, {10, 10, 10}, 2, 2, 0.5f, {0.5f, -1, 0}, {1, -2, 0}, {1, -2, 0}},
        {"weak gravity is ignored",
         {0, 5, 0},
         {0, 0, 0},
         {10, 10, 10},
         0.5f,
         1,
         0.5f,
         {0, 0.625f, 0},
         {0, 2.5f, 0},
         {0, 5, 0}},
        {"paused", {3, 3, 3}, {1, 1, 1}, {10, 10, 10}, 2, 5, 0, {0, 0, 0}, {1, 1, 1}, {3, -2, 3}},
    };
    for (const auto& c : cases)
    {
        Body body;
        body.physics->Acceleration = c.acceleration;
        body.physics->Velocity = c.velocity;
        body.physics->MaxVelocity = c.maxVelocity;
        body.physics->Gravity = c.gravity;
        body.transform->Dirty = false;
        body.Run(c.frames, c.dt);
        ExpectVec(body.transform->Translation, c.position, std::string(c.name) + ": position");
        ExpectVec(body.physics->Velocity, c.finalVelocity, std::string(c.name) + ": velocity");
        ExpectVec(body.physics->Acceleration, c.finalAcceleration, std::string(c.name) + ": acceleration");
        EXPECT_TRUE(body.transform->Dirty) << c.name;
    }
}

TEST(PhysicsIntegration, TurnsAndRemembersTheStartOfTheStep)
{
    Body body;
    body.transform->Translation = {1, 2, 3};
    body.physics->Velocity = {2, 0, 0};
    body.physics->MaxVelocity = {5, 5, 5};
    body.physics->RotationalVelocity = {0, 90, -30};
    body.Run(1, 0.5f);
    ExpectVec(body.physics->PreviousPosition, {1, 2, 3}, "previous");
    ExpectVec(body.transform->Translation, {2, 2, 3}, "moved");
    ExpectVec(body.transform->Rotation, {0, 45, -15}, "turned");

    // Without a Transform, or outside any entity, nothing moves and nothing breaks.
    Entity bare;
    Physics* lone = new Physics();
    bare.AddComponent(lone);
    lone->Velocity = {1, 1, 1};
    lone->Gravity = 3;
    lone->Update(1);
    EXPECT_EQ(lone->Acceleration.y, 0);
    TraceCapture trace;
    Physics orphan;
    orphan.Update(1);
    EXPECT_TRUE(trace.Contains("update found a orphan physics"));
}

TEST(PhysicsData, GravityIsSavedAsTheNumberRead)
{
    Physics physics;
    physics.Read({{"Acceleration", {1, 2, 3}},
                  {"Velocity", {4, 5, 6}},
                  {"MaxVelocity", {7, 8, 9}},
                  {"RotationalVelocity", {0, 0, 10}},
                  {"Mass", 2.5},
                  {"Gravity", 9.8}});
    EXPECT_FLOAT_EQ(physics.Gravity, 9.8f);
    json saved;
    physics.Write(saved);
    EXPECT_EQ(saved["Type"], "Physics");
    EXPECT_EQ(saved["Acceleration"], json::array({1.0, 2.0, 3.0}));
    EXPECT_EQ(saved["MaxVelocity"], json::array({7.0, 8.0, 9.0}));
    EXPECT_EQ(saved["RotationalVelocity"], json::array({0.0, 0.0, 10.0}));
    EXPECT_FLOAT_EQ(saved["Gravity"].get<float>(), 9.8f);
    EXPECT_FLOAT_EQ(saved["Mass"].get<float>(), 2.5f);
    Physics back;
    back.Read(saved);
    EXPECT_FLOAT_EQ(back.Gravity, 9.8f);
    EXPECT_FLOAT_EQ(back.Velocity.y, 5);

    // Older saves hold a true/false gravity; absent keys keep the defaults.
    Physics old;
    old.Read({{"Gravity", true}});
    EXPECT_EQ(old.Gravity, 1.0f);
    old.Read({{"Gravity", false}});
    EXPECT_EQ(old.Gravity, 0.0f);
    EXPECT_EQ(old.Mass, 1.0f);
    EXPECT_EQ(old.MaxVelocity.x, 0.0f);
    EXPECT_THROW(old.Read({{"Velocity", {1, 2}}}), std::exception);
    EXPECT_THROW(old.Read({{"Mass", "heavy"}}), std::exception);

    std::unique_ptr<Physics> copy(static_cast<Physics*>(back.Clone()));
    json copied;
    copy->Write(copied);
    EXPECT_EQ(copied, saved);
}

TEST(PhysicsData, RenderQueuesHalfTheVelocity)
{
    GraphicsSystem& graphics = GraphicsSystem::GetInstance();
    graphics.DrawDebugLines();
    Body body;
    body.transform->Translation = {1, 1, 0};
    body.physics->Velocity = {2, -4, 0};
    body.physics->Render();
    ASSERT_EQ(graphics.QueuedDebugLines(), 1u);
    graphics.DrawDebugLines();
}
