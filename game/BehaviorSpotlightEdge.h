#pragma once
// One of the four black edges around the spotlight's opening: every frame it stands against
// the spotlight's side EdgeIndex (0 above, 1 right, 2 below, 3 left), its centre half the two
// x scales away from the spotlight's centre; any other index puts it at the origin. Nothing
// happens until the spotlight's Transform is set.
#include "scene/Behavior.h"
#include "scene/EntityRef.h"
#include "scene/Transform.h"

class BehaviorSpotlightEdge : public Behavior
{
public:
    Component* Clone() const override { return new BehaviorSpotlightEdge(*this); }
    void Write(json& out) const override;   // "Type" only
    void Read(const json&) override {}
    std::string GetName() const override { return "BehaviorSpotlightEdge"; }
    void OnInit() override {}
    void OnUpdate(float dt) override;
    void OnExit() override {}

    EntityRef<Transform> SpotlightTransform;   // not owned: the spotlight entity's; null once it is gone
    int EdgeIndex = 0;
};
