#include "game/MovementDriver.h"

#include "engine/InputSystem.h"
#include "engine/TraceSystem.h"
#include "game/Physics.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <algorithm>
#include <climits>

namespace
{
// A pair of input codes: an array of at least two integers. A code no input has is kept (it is
// never held) and said once.
void ReadKeyPair(const json& in, const char* key, std::array<int, 2>& field)
{
    const auto found = in.find(key);
    if (found == in.end())
        return;
    const auto isCode = [](const json& v) {
        return v.is_number_integer() && v.get<int64_t>() >= INT_MIN && v.get<int64_t>() <= INT_MAX;
    };
    if (!found->is_array() || found->size() < 2 || !isCode((*found)[0]) || !isCode((*found)[1]))
        throw KeyRefusal(key, "two key codes", *found);
    for (size_t i = 0; i < 2; ++i)
    {
        const int code = (*found)[i].get<int>();
        if (!InputSystem::IsPolled(code))
            Log("MOVEMENTDRIVER: \"", key, "\" holds ", code,
                ", which no key or mouse button has; it is never held");
        field[i] = code;
    }
}

// -1 while the first key is held, else +1 while the second is, else 0.
float Axis(const std::array<int, 2>& keys)
{
    const InputSystem& input = InputSystem::GetInstance();
    if (input.GetState(keys[0]) == 2)
        return -1;
    if (input.GetState(keys[1]) == 2)
        return 1;
    return 0;
}
}   // namespace

void MovementDriver::Write(json& out) const
{
    out["Type"] = "MovementDriver";
    out["Speed"] = WriteVec3(Speed);
    out["KeyBinds_Y-Axis"] = KeyBindsY;
    out["KeyBinds_X-Axis"] = KeyBindsX;
    out["KeyBinds_Z-Axis"] = KeyBindsZ;
    out["Enable Limits"] = EnableLimits;
    out["+Limits"] = WriteVec3(UpperLimits);
    out["-Limits"] = WriteVec3(LowerLimits);
}

void MovementDriver::Read(const json& in)
{
    MovementDriver read = *this;
    ReadKeyPair(in, "KeyBinds_Y-Axis", read.KeyBindsY);
    ReadKeyPair(in, "KeyBinds_X-Axis", read.KeyBindsX);
    ReadKeyPair(in, "KeyBinds_Z-Axis", read.KeyBindsZ);
    ReadKey(in, "Speed", read.Speed);
    ReadKey(in, "+Limits", read.UpperLimits);
    ReadKey(in, "-Limits", read.LowerLimits);
    read.EnableLimits = false;
    ReadKey(in, "Enable Limits", read.EnableLimits);
    // All or nothing: a bad key leaves every field as it was.
    KeyBindsY = read.KeyBindsY;
    KeyBindsX = read.KeyBindsX;
    KeyBindsZ = read.KeyBindsZ;
    Speed = read.Speed;
    UpperLimits = read.UpperLimits;
    LowerLimits = read.LowerLimits;
    EnableLimits = read.EnableLimits;
}

void MovementDriver::OnUpdate(float dt)
{
    if (!Parent)
        return;
    // The y pair names its positive key first.
    const Vec3 v{Axis(KeyBindsX) * Speed.x, -Axis(KeyBindsY) * Speed.y, Axis(KeyBindsZ) * Speed.z};
    Transform* transform = Parent->GetComponent<Transform>();
    if (Physics* physics = Parent->GetComponent<Physics>())
        physics->Velocity = v;
    else if (transform)
    {
        transform->Translation.x += v.x * dt;
        transform->Translation.y += v.y * dt;
        transform->Translation.z += v.z * dt;
        transform->Dirty = true;
    }
    if (EnableLimits && transform)
    {
        Vec3& at = transform->Translation;
        at.x = std::min(std::max(at.x, LowerLimits.x), UpperLimits.x);
        at.y = std::min(std::max(at.y, LowerLimits.y), UpperLimits.y);
        at.z = std::min(std::max(at.z, LowerLimits.z), UpperLimits.z);
        transform->Dirty = true;
    }
}
