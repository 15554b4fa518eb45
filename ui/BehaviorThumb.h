#pragma once
// The knob of a volume slider: every update it stands where the slider whose ThumbName is this
// entity's name published it (BehaviorSliderButton::SliderTable), or at the origin when no
// slider did. It keeps no settings.
#include "scene/Behavior.h"

class BehaviorThumb : public Behavior
{
public:
    Component* Clone() const override { return new BehaviorThumb(*this); }
    void Write(json& out) const override { out["Type"] = "BehaviorThumb"; }   // no behaviour keys
    void Read(const json&) override {}

    std::string GetName() const override { return "BehaviorThumb"; }
    void OnInit() override {}
    void OnUpdate(float dt) override;
    void OnExit() override;
};
