#pragma once
// The one global camera: it follows an entity's Transform and gives the view matrix (a
// right-handed look-at) and the projection (45 degree field of view, near 0.01, far 100, the
// window's aspect). A followed Transform that is destroyed is dropped, never read after.
#include "engine/Matrix4.h"

class Entity;
class Transform;

class Camera
{
public:
    static Camera& GetInstance();

    void SetTarget(Entity* entity);   // follow its Transform; without one, back to the default eye
    void Update();                    // move with the followed Transform
    Matrix4 GetViewMatrix();
    Matrix4 GetProjectionMatrix();
    void Forget(const Transform* transform);   // called by a Transform that goes away

    Matrix4 view = Matrix4::Identity();
    Matrix4 projection = Matrix4::Zero();
    Vec3 up{0, 1, 0};
    Vec3 lookDirection{0, 0, -1};
    float lookDistance = 1;
    float defaultEyeZ = 15;
    Transform* target = nullptr;   // not owned
    Vec3 eye{0, 0, 15};
    Vec3 lookAt{0, 0, 0};

private:
    Camera() = default;
};
