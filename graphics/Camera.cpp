#include "graphics/Camera.h"

#include "engine/WindowSystem.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <cmath>

namespace
{
Vec3 Sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 Normalize(const Vec3& v)
{
    const float length = std::sqrt(Dot(v, v));
    return length > 0 ? Vec3{v.x / length, v.y / length, v.z / length} : v;
}
}   // namespace

Camera& Camera::GetInstance()
{
    static Camera instance;
    return instance;
}

void Camera::SetTarget(Entity* entity)
{
    Transform* transform = entity ? entity->GetComponent<Transform>() : nullptr;
    if (transform)
    {
        target = transform;
        eye = transform->Translation;
        lookAt = {eye.x + lookDistance * lookDirection.x, eye.y + lookDistance * lookDirection.y,
                  eye.z + lookDistance * lookDirection.z};
    }
    else
    {
        eye = {0, 0, defaultEyeZ};
        lookAt = {0, 0, 0};
        target = nullptr;
    }
}

void Camera::Update()
{
    if (!target)
        return;
    eye = target->Translation;
    lookAt = {eye.x + lookDistance * lookDirection.x, eye.y + lookDistance * lookDirection.y,
              eye.z + lookDistance * lookDirection.z};
}

void Camera::Forget(const Transform* transform)
{
    if (target == transform)
        target = nullptr;
}

Matrix4 Camera::GetViewMatrix()
{
    const Vec3 f = Normalize(Sub(lookAt, eye));
    const Vec3 s = Normalize(Cross(f, up));
    const Vec3 u = Cross(s, f);
    Matrix4 m = Matrix4::Identity();
    m.At(0, 0) = s.x, m.At(0, 1) = s.y, m.At(0, 2) = s.z, m.At(0, 3) = -Dot(s, eye);
    m.At(1, 0) = u.x, m.At(1, 1) = u.y, m.At(1, 2) = u.z, m.At(1, 3) = -Dot(u, eye);
    m.At(2, 0) = -f.x, m.At(2, 1) = -f.y, m.At(2, 2) = -f.z, m.At(2, 3) = Dot(f, eye);
    view = m;
    return view;
}

Matrix4 Camera::GetProjectionMatrix()
{
    const WindowSystem& windows = WindowSystem::GetInstance();
    float aspect = static_cast<float>(windows.width) / static_cast<float>(windows.height);
    if (std::isnan(aspect))
        aspect = 1.0f;
    const float f = 2.4142134f;
    Matrix4 m = Matrix4::Zero();
    m.At(0, 0) = f / aspect;
    m.At(1, 1) = f;
    m.At(2, 2) = -1.0002f;
    m.At(3, 2) = -1.0f;
    m.At(2, 3) = -0.020002f;
    projection = m;
    return projection;
}
