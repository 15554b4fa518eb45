#pragma once
// Moves its entity back and forth between StartPos and EndPos through its Physics velocity, for
// moving platforms and obstacles: it heads for EndPos first, at the speed its Physics velocity
// had when the behaviour started. Two small marker boxes of its own (half size 0.05, around the
// two points, seen by no collision pass) tell when the entity's first collider reaches the end
// it is heading for: the entity keeps going, and WaitDuration seconds after it last touched that
// marker it turns for the other point (with no wait, at once). A head-on hit in its direction of
// travel on a body that does not push it away schedules the same turn. The two points are drawn
// as a debug line. Without Physics nothing moves.
#include "engine/Matrix4.h"
#include "scene/Behavior.h"

#include <memory>

class ColliderLine;

class BehaviorPath : public Behavior
{
public:
    BehaviorPath();
    BehaviorPath(const BehaviorPath& other);   // every field but the markers, made again when needed
    ~BehaviorPath() override;

    Component* Clone() const override { return new BehaviorPath(*this); }
    // The behaviour keys, "Type", "StartPos", "EndPos" (three numbers each), "WaitDuration".
    void Write(json& out) const override;
    void Read(const json& in) override;
    std::string GetName() const override { return "BehaviorPath"; }
    void OnInit() override;   // takes the collider callback and the speed; heads for EndPos
    void OnUpdate(float dt) override;
    void OnExit() override;   // the markers go

    // The callback of the entity's first collider: own entity, other entity, contact kind.
    static void OnCollision(Entity* own, Entity* other, int contactKind);

    static constexpr float MarkerHalfSize = 0.05f;

    bool Waiting = false;   // a turn is pending
    int TravelSide = 0;     // the contact kind a head-on hit in the direction of travel gives
    Vec3 StartPos{0, 0, 0};
    Vec3 EndPos{0, 0, 0};
    std::unique_ptr<ColliderLine> StartMarker;
    std::unique_ptr<ColliderLine> EndMarker;
    float WaitTimer = 0;
    float WaitDuration = 0;
    Vec3 Target{0, 0, 0};   // the point headed for
    float Speed = 0;        // the length of the Physics velocity when the behaviour started

private:
    void MakeMissingMarkers();
};
