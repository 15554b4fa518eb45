#include "game/Physics.h"

#include "engine/TraceSystem.h"
#include "graphics/Graphics.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <stdexcept>

namespace
{
float& Axis(Vec3& v, int i) { return i == 0 ? v.x : i == 1 ? v.y : v.z; }
}   // namespace

void Physics::Update(float dt)
{
    Entity* entity = GetParent(this);
    if (!entity)
    {
        // Only a component outside every entity can get here; it has nothing to move.
        Log("PHYSICS: [no entity] update found a orphan physics");
        return;
    }
    Transform* transform = entity->GetComponent<Transform>();
    if (!transform)
        return;
    if (Gravity >= 1)
        Acceleration.y = -Gravity;
    PreviousPosition = transform->Translation;
    for (int i = 0; i < 3; ++i)
    {
        const float half = dt * Axis(Acceleration, i) * 0.5f;
        const float mid = Axis(Velocity, i) + half;
        float& velocity = Axis(Velocity, i);
        velocity = mid + half;
        const float limit = Axis(MaxVelocity, i);
        if (velocity > limit)
            velocity = limit;
        else if (velocity < -limit)
            velocity = -limit;
        // The position follows the unclamped mid-step velocity.
        Axis(transform->Translation, i) += mid * dt;
        Axis(transform->Rotation, i) += dt * Axis(RotationalVelocity, i);
    }
    transform->Dirty = true;
}

void Physics::Render()
{
    Entity* entity = GetParent();
    Transform* transform = entity ? entity->GetComponent<Transform>() : nullptr;
    if (!transform)
        return;
    const Vec3 from = transform->Translation;
    const Vec3 to{from.x + Velocity.x * 0.5f, from.y + Velocity.y * 0.5f, from.z + Velocity.z * 0.5f};
    Graphics::SubmitDebugLine({from, to, {0.4f, 0.4f, 1.0f}, Graphics::WorldProj});
}

void Physics::Write(json& out) const
{
    out["Type"] = "Physics";
    out["Acceleration"] = WriteVec3(Acceleration);
    out["Velocity"] = WriteVec3(Velocity);
    out["MaxVelocity"] = WriteVec3(MaxVelocity);
    out["RotationalVelocity"] = WriteVec3(RotationalVelocity);
    out["Mass"] = Mass;
    out["Gravity"] = Gravity;
}

void Physics::Read(const json& in)
{
    ReadKey(in, "Acceleration", Acceleration);
    ReadKey(in, "Velocity", Velocity);
    ReadKey(in, "MaxVelocity", MaxVelocity);
    ReadKey(in, "RotationalVelocity", RotationalVelocity);
    ReadKey(in, "Mass", Mass);
    // Gravity was once saved as true or false: those read as 1 and 0.
    if (const auto gravity = in.find("Gravity"); gravity != in.end() && gravity->is_boolean())
        Gravity = gravity->get<bool>() ? 1.0f : 0.0f;
    else
        ReadKey(in, "Gravity", Gravity);
}
