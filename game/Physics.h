#pragma once
// Moves an entity: integrates acceleration (a downward pull of Gravity when it is 1 or more)
// into velocity, clamps each velocity axis to MaxVelocity, moves the Transform by the mid-step
// velocity and turns it by RotationalVelocity. A body without "MaxVelocity" keeps a stored
// velocity of zero. "Gravity" is saved as the number read.
#include "engine/Matrix4.h"
#include "scene/Component.h"

class Physics : public Component
{
public:
    static constexpr int32_t ClassTypeId = ComponentType::Physics;   // see Entity::GetComponent
    Physics() : Component(ComponentType::Physics) {}

    Component* Clone() const override { return new Physics(*this); }
    void Update(float dt) override;
    void Render() override;   // a debug line along half the velocity
    void Write(json& out) const override;
    void Read(const json& in) override;   // a true/false "Gravity" (older saves) reads as 1 or 0

    Vec3 PreviousPosition{0, 0, 0};   // the Transform position at the start of the last Update
    Vec3 Acceleration{0, 0, 0};
    Vec3 Velocity{0, 0, 0};
    Vec3 MaxVelocity{0, 0, 0};
    Vec3 RotationalVelocity{0, 0, 0};   // degrees per second
    float Mass = 1.0f;                  // stored only
    float Gravity = 0.0f;

private:
    Physics(const Physics& other) = default;
};
