#pragma once
// A round collider centred on its entity's Transform. Its saved form holds only the kind,
// "Collision" and "Radius": a circle keeps an empty mask and never resolves, so the collision
// pass pairs it only with colliders whose mask allows pair tests.
#include "game/Collider.h"

class ColliderCircle : public Collider
{
public:
    ColliderCircle() : Collider(TypeCircle) {}

    Component* Clone() const override { return new ColliderCircle(*this); }
    void Write(json& out) const override;   // "Type", "ColliderType", "Collision", "Radius"
    void Read(const json& in) override;
    std::string GetName() const override { return "ColliderCircle"; }

    float Radius = 0.5f;   // not scaled against circles; scaled by Scale.x against lines
};
