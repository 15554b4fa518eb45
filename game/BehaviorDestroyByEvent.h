#pragma once
// Ends its entity when an event happens. The one event is "KeyPress" (spelled exactly so): the
// key KeyEvent going down this frame; a key held from before does not count. Any other event
// name does nothing.
#include "scene/Behavior.h"

class BehaviorDestroyByEvent : public Behavior
{
public:
    Component* Clone() const override { return new BehaviorDestroyByEvent(*this); }
    void Write(json& out) const override;   // "EventName" and "KeyEvent" only
    void Read(const json& in) override;     // "EventName" must be a text, "KeyEvent" a number
    std::string GetName() const override { return "BehaviorDestroyByEvent"; }
    void OnInit() override {}
    void OnUpdate(float dt) override;
    void OnExit() override;

    std::string EventName;
    int KeyEvent = 48;   // an input code; 48 is the "0" key of the number row
};
