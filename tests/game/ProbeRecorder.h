#pragma once
// A behaviour that keeps every terrain contact it is told about, for the terrain and
// collision tests.
#include "game/PixelContact.h"
#include "scene/Behavior.h"

#include <vector>

class ProbeRecorder : public Behavior
{
public:
    Component* Clone() const override { return new ProbeRecorder(*this); }
    std::string GetName() const override { return "ProbeRecorder"; }
    void OnInit() override {}
    void OnUpdate(float) override {}
    void OnExit() override {}
    void OnPixelCollision(const PixelContact& contact) override { contacts.push_back(contact); }

    std::vector<PixelContact> contacts;
};
