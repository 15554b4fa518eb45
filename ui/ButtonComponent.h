#pragma once
// Turns the cursor and the left mouse button into four states for one entity (idle, hover,
// pressed, released) by hit-testing the entity's quad on screen, and calls every registered
// callback on each change, in the order they were added. It stores no keys of its own.
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

    ButtonComponent() : Component(ComponentType::ButtonComponent) {}

    Component* Clone() const override { return new ButtonComponent(); }   // no callbacks, idle
    void Update(float dt) override;
    void Write(json& out) const override { out["Type"] = "ButtonComponent"; }
    void Read(const json&) override {}
    std::string GetName() const { return "ButtonComponent"; }

    void AddCallback(Callback callback) { Callbacks.push_back(std::move(callback)); }
    bool IsMouseOver() const;

    std::vector<Callback> Callbacks;
    int CurrentState = Idle;
};
