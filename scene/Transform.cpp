#include "scene/Transform.h"

#include "engine/TraceSystem.h"
#include "graphics/Camera.h"
#include "scene/Entity.h"

#include <algorithm>
#include <cmath>

Transform::~Transform() { Camera::GetInstance().Forget(this); }

Component* Transform::Clone() const
{
    Transform* copy = new Transform();
    copy->Translation = Translation;
    copy->Rotation = Rotation;
    copy->Scale = Scale;
    copy->Dirty = Dirty;
    copy->Matrix = Matrix;
    return copy;
}

json WriteVec3(const Vec3& v) { return json::array({v.x, v.y, v.z}); }

void Transform::Write(json& out) const
{
    out["Type"] = "Transform";
    out["Translation"] = WriteVec3(Translation);
    out["Rotation"] = WriteVec3(Rotation);
    out["Scale"] = WriteVec3(Scale);
}

void Transform::Read(const json& in)
{
    // All three are checked before any is kept: a bad key leaves the transform as it was.
    Vec3 translation = Translation, rotation = Rotation, scale = Scale;
    ReadKey(in, "Translation", translation);
    ReadKey(in, "Rotation", rotation);
    ReadKey(in, "Scale", scale);
    Translation = translation;
    Rotation = rotation;
    Scale = scale;
}

float Transform::NormalizeAngle(float degrees)
{
    if (!std::isfinite(degrees))
        return 0.0f;
    if (degrees >= 0.0f && degrees <= 360.0f)
        return degrees;
    // fmod is exact, so this is what taking off one turn at a time gives, without the loop
    // that never ends once a turn is below the float's resolution.
    const float rest = std::fmod(degrees, 360.0f);
    if (degrees > 0.0f)
        return rest == 0.0f ? 360.0f : rest;
    return rest == 0.0f ? 0.0f : rest + 360.0f;
}

const Matrix4& Transform::GetLocalMatrix()
{
    if (Dirty)
    {
        Rotation.x = NormalizeAngle(Rotation.x);
        Rotation.y = NormalizeAngle(Rotation.y);
        Rotation.z = NormalizeAngle(Rotation.z);
        Matrix = Matrix4::Translation(Translation);
        Matrix = Matrix4::Multiply(Matrix, Matrix4::Rotation(Rotation.x, {1, 0, 0}));
        Matrix = Matrix4::Multiply(Matrix, Matrix4::Rotation(Rotation.y, {0, 1, 0}));
        Matrix = Matrix4::Multiply(Matrix, Matrix4::Rotation(Rotation.z, {0, 0, 1}));
        Matrix = Matrix4::Multiply(Matrix, Matrix4::Scale(Scale));
        Dirty = false;
    }
    return Matrix;
}

std::vector<Transform*> Transform::Ancestors(const Transform* from)
{
    std::vector<Transform*> above;
    for (const Transform* at = from; at->ParentEntity;)
    {
        Transform* parent = at->ParentEntity->GetComponent<Transform>();
        if (!parent || parent == from || std::ranges::count(above, parent) > 0)
            break;
        above.push_back(parent);
        at = parent;
    }
    return above;
}

const Matrix4& Transform::GetMatrix()
{
    GetLocalMatrix();
    const std::vector<Transform*> above = Ancestors(this);
    if (above.empty())
        return Matrix;
    // From the top down: each parented transform on the way gets its world matrix too.
    Matrix4 world = above.back()->GetLocalMatrix();
    for (auto it = above.rbegin() + 1; it != above.rend(); ++it)
        (*it)->WorldMatrix = world = Matrix4::Multiply(world, (*it)->GetLocalMatrix());
    WorldMatrix = Matrix4::Multiply(world, Matrix);
    return WorldMatrix;
}

bool Transform::SetParentEntity(Entity* parent)
{
    const Transform* top = parent ? parent->GetComponent<Transform>() : nullptr;
    if (top == this || (top && std::ranges::count(Ancestors(top), this) > 0))
    {
        Log("TRANSFORM: [", Parent ? Parent->Name : "no entity", "] parent \"", parent->Name,
            "\" refused: it would close a loop of parents; the parent stays ",
            ParentEntity ? "\"" + ParentEntity->Name + "\"" : "none");
        return false;
    }
    ParentEntity = parent;
    return true;
}
