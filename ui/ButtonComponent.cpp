#include "ui/ButtonComponent.h"

#include "engine/InputSystem.h"
#include "graphics/Camera.h"
#include "graphics/Graphics.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

namespace
{
constexpr int HideKey = 48;   // the "0" key: held down, no button reports the cursor
}   // namespace

int ButtonComponent::NextState(int current, bool down, bool inside)
{
    switch (current)
    {
    case Pressed:
        return down && inside ? Pressed : Released;
    case Released:
    case Hover:
        if (!inside)
            return Idle;
        return down ? Pressed : current;
    case Idle:
        return inside ? Hover : Idle;
    default:
        return current;
    }
}

void ButtonComponent::Update(float)
{
    const int button = InputSystem::GetInstance().GetState(0);
    const bool down = button == 1 || button == 2;
    const bool inside = IsMouseOver();
    const int next = NextState(CurrentState, down, inside);
    if (next == CurrentState)
        return;
    NotifyState(static_cast<state>(next));
    CurrentState = next;
}

void ButtonComponent::AddCallback(const void* owner, Callback callback)
{
    Callbacks.push_back({owner, std::move(callback)});
}

void ButtonComponent::RemoveCallbacks(const void* owner)
{
    std::erase_if(Callbacks, [owner](const Listener& listener) { return listener.owner == owner; });
}

void ButtonComponent::NotifyState(state next)
{
    // By index, on a copy of each callback: a callback may register another one, or take its
    // owner's away.
    for (size_t i = 0; i < Callbacks.size(); ++i)
    {
        const Callback callback = Callbacks[i].callback;
        callback(next);
    }
}

bool ButtonComponent::IsMouseOver() const
{
    Transform* transform = Parent ? Parent->GetComponent<Transform>() : nullptr;
    if (!transform)
        return false;
    const InputSystem& input = InputSystem::GetInstance();
    const float cx = static_cast<float>(2.0 * input.cursorX - 1.0);
    const float cy = static_cast<float>(1.0 - 2.0 * input.cursorY);

    Camera& camera = Camera::GetInstance();
    // The projection is rebuilt here: the window may have changed size since the last draw.
    const Matrix4 clip = Matrix4::Multiply(
        Matrix4::Multiply(camera.GetProjectionMatrix(), camera.GetViewMatrix()), transform->GetMatrix());
    const Vec4 a = clip.Transform({-0.5f, -0.5f, 0, 1});
    const Vec4 b = clip.Transform({0.5f, 0.5f, 0, 1});
    const float ax = a.x / a.w, ay = a.y / a.w, bx = b.x / b.w, by = b.y / b.w;

    if (input.GetState(HideKey) == 1)
        return false;
    Graphics::SubmitDebugLine({{ax, ay, 0}, {bx, by, 0}, {1, 0, 1}, Graphics::UiProj});
    return ax < cx && cx < bx && ay < cy && cy < by;
}
