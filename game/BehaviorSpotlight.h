#pragma once
// The end-of-level view on the bot that settled the level: the spotlight's Transform scale (x
// and y, z untouched) shrinks at ShrinkSpeed until SpotlightSize, holds there for
// TimeStayInZoomIn seconds, then closes at twice the rate down to 0.1. Once closed it asks the
// count board for its verdict (BehaviorCountBoard::EvaluateRequested) on every frame that finds
// the request clear. A scale that is not a number, negative or above 10000 asks at once.
#include "scene/Behavior.h"
#include "scene/EntityRef.h"
#include "scene/Transform.h"

class BehaviorSpotlight : public Behavior
{
public:
    Component* Clone() const override { return new BehaviorSpotlight(*this); }
    void Write(json& out) const override;   // "ShrinkSpeed", "SpotlightSize", "TimeStayInZoomIn"
    void Read(const json& in) override;     // and the phases start over
    std::string GetName() const override { return "BehaviorSpotlight"; }
    void OnInit() override {}
    void OnUpdate(float dt) override;
    void OnExit() override;

    static constexpr float ClosedSize = 0.1f;
    static constexpr float LargestSize = 10000.0f;

    float ShrinkSpeed = 2.0f;   // per second
    float StayTimer = 0;        // seconds held at SpotlightSize
    float TimeStayInZoomIn = 1.0f;
    float SpotlightSize = 5.0f;
    EntityRef<Transform> Focus;   // not owned: the bot it was opened on; kept for others to read
    bool ShrinkDone = false;
    bool StayDone = false;
};
