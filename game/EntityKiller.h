#pragma once
// Ends its entity after a lifetime: once the running time in its state reaches Timer the entity
// is marked destroyed and the entity list deletes it. The lifetime runs only while game time
// does; a copy starts its lifetime afresh.
#include "scene/Behavior.h"

class EntityKiller : public Behavior
{
public:
    EntityKiller() = default;
    EntityKiller(const EntityKiller& other) : Behavior(other), Timer(other.Timer) {}

    Component* Clone() const override { return new EntityKiller(*this); }
    void Write(json& out) const override;   // the behaviour keys, then "Timer" as the lifetime
    void Read(const json& in) override;
    std::string GetName() const override { return "EntityKiller"; }
    void OnInit() override { Elapsed = 0; }
    void OnUpdate(float dt) override;
    void OnExit() override {}

    float Elapsed = 0;    // seconds in the current state
    float Timer = 1.0f;   // the lifetime, seconds (the key shares its name with the state timer)
};
