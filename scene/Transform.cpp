#include "scene/Transform.h"

#include "graphics/Camera.h"
#include "scene/Entity.h"

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

const Matrix4& Transform::GetMatrix()
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
    if (ParentEntity)
        if (Transform* parent = ParentEntity->GetComponent<Transform>(); parent && parent != this)
        {
            WorldMatrix = Matrix4::Multiply(parent->GetMatrix(), Matrix);
            return WorldMatrix;
        }
    return Matrix;
}
