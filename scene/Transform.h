#pragma once
// Places an entity: a position, three rotation angles in degrees and a scale, from which it
// builds and caches the model matrix T * Rx * Ry * Rz * S. Whoever changes Translation,
// Rotation or Scale sets Dirty. Under a parent entity with a transform the parent's matrix is
// applied on top, at every request. Parents never form a loop through SetParentEntity, and the
// walk up the parents ends even where one was formed by assigning ParentEntity directly. A parent
// entity that has been deleted is let go, never read.
#include "engine/Matrix4.h"
#include "scene/Component.h"
#include "scene/EntityRef.h"

#include <vector>

class Transform : public Component
{
public:
    static constexpr int32_t ClassTypeId = ComponentType::Transform;   // see Entity::GetComponent
    Transform() : Component(ComponentType::Transform) {}
    ~Transform() override;   // a camera following this transform lets go

    Component* Clone() const override;   // same placement, no parent entity
    void Write(json& out) const override;
    void Read(const json& in) override;

    const Matrix4& GetMatrix();

    // Sets ParentEntity; refused, with a message and the old parent kept, when the parent's
    // transform is this one or has this one above it, which would close a loop of parents.
    bool SetParentEntity(Entity* parent);

    // Brings an angle into range as whole turns are taken off: a positive angle into (0, 360],
    // a negative one into [0, 360], 0 stays 0, a non-finite angle becomes 0. What the matrix
    // uses and writes back into Rotation.
    static float NormalizeAngle(float degrees);

    Vec3 Translation{0, 0, 0};
    Vec3 Rotation{0, 0, 0};
    Vec3 Scale{1, 1, 1};
    bool Dirty = true;
    Matrix4 Matrix = Matrix4::Identity();
    // Not owned, not saved; set through SetParentEntity. Reads null once that entity is deleted.
    EntityRef<Entity> ParentEntity;
    Matrix4 WorldMatrix = Matrix4::Zero();

private:
    const Matrix4& GetLocalMatrix();   // Matrix, rebuilt first when Dirty
    // The transforms above one, nearest first. The walk stops at an entity without a transform
    // and before a transform it has met, so a loop of parents ends it.
    static std::vector<Transform*> Ancestors(const Transform* from);
};

json WriteVec3(const Vec3& v);   // the saved form ReadKey reads back
