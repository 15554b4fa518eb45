#pragma once
// Turns the cursor and the left mouse button into four states for one entity (idle, hover,
// pressed, released) by hit-testing the entity's quad on screen, and calls every registered
// callback on each change, in the order they were added. At most one change happens per frame;
// callbacks still see the previous state in CurrentState. It stores no keys of its own.
#include "scene/Component.h"

#include <functional>
#include <string>
#include <vector>

class ButtonComponent : public Component
{
public:
    enum state
    {
        Pressed = 0,
        Released = 1,
        Hover = 2,
        Idle = 3
    };
    using Callback = std::function<void(state)>;
    struct Listener
    {
        const void* owner;   // the object the callback calls into
        Callback callback;
    };

    static constexpr int32_t ClassTypeId = ComponentType::ButtonComponent;   // see Entity::GetComponent
    ButtonComponent() : Component(ComponentType::ButtonComponent) {}

    Component* Clone() const override { return new ButtonComponent(); }   // no callbacks, idle
    void Update(float dt) override;
    void Write(json& out) const override { out["Type"] = "ButtonComponent"; }
    void Read(const json&) override {}
    std::string GetName() const { return "ButtonComponent"; }

    void AddCallback(const void* owner, Callback callback);
    void RemoveCallbacks(const void* owner);   // every callback of that owner
    // The cursor lies strictly inside the box spanned on screen by the projected corners
    // (-0.5, -0.5) and (0.5, 0.5) of the entity's unit quad. Needs a Transform.
    bool IsMouseOver() const;
    void NotifyState(state next);
    // The state that follows the current one for this frame's button and hit test.
    static int NextState(int current, bool down, bool inside);

    std::vector<Listener> Callbacks;
    int CurrentState = Idle;
};
