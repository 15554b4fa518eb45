#pragma once
// A component with a small state machine. Update carries out a requested transition (OnExit in
// the old state, then OnInit in the new one) and then, only while time runs (dt > 0), OnUpdate.
// A transition requested inside OnInit or OnUpdate happens at the next Update.
// A behaviour that is destroyed takes its callbacks off its entity's button components.
#include "scene/Component.h"

#include <string>

struct PixelContact;

class Behavior : public Component
{
public:
    static constexpr int32_t ClassTypeId = ComponentType::Behavior;   // see Entity::GetComponent
    Behavior() : Component(ComponentType::Behavior) {}
    ~Behavior() override;

    void Update(float dt) override;
    void Write(json& out) const override;   // "StateCurrent": 0, "StateNext": 1, "Timer"
    void Read(const json& in) override;
    void PostCreate() override {}

    virtual std::string GetName() const = 0;
    virtual void OnInit() = 0;
    virtual void OnUpdate(float dt) = 0;
    virtual void OnExit() = 0;
    // The terrain reports its contact probes to the first behaviour of the entity it touches.
    virtual void OnPixelCollision(const PixelContact& contact) { (void)contact; }

    // The entity has a ButtonComponent and it is pressed.
    bool IsButtonPressed() const;

    int32_t StateCurrent = -1;
    int32_t StateNext = 0;
    float Timer = 0;
};
