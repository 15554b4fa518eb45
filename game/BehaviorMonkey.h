#pragma once
// A bot: walks left or right over the pixel terrain, turns at walls, blockers and ladders after
// a short wait, falls (and dies from a fall of FallDeathThreshold or more unless it carries an
// umbrella), dies on lethal terrain, walks into an exit, and carries out the job the player gave
// it: block, dig down, build a bridge, cut a tunnel. Its entity name says what it is doing:
// "Monkey" while walking, "MonkeyBlocker", "MonkeyDig", "MonkeyBridge" or "MonkeyTunnel" during
// a job. States: Alive (walking and jobs), Leaving (entering an exit, or dying); Leaving ends
// with the entity destroyed and counted as exited or dead, each bot counted at most once.
// The bot entity also carries a Transform, a Physics, a collider (its first collider gets
// OnCollision as callback), a ColliderLine that the terrain tests, a Sprite, an Animation, an
// AnimationSequencer and a ButtonComponent.
#include "engine/Matrix4.h"
#include "scene/Behavior.h"

#include <string>

class PixelGrid;
class Transform;
struct PixelContact;

// Job numbers (BehaviorMonkey::Job).
namespace MonkeyJob
{
constexpr int None = -1;
constexpr int Blocker = 1;
constexpr int Dig = 3;
constexpr int Bridge = 4;
constexpr int Tunnel = 6;
}   // namespace MonkeyJob

// Behaviour states (Behavior::StateCurrent, StateNext).
namespace MonkeyState
{
constexpr int Alive = 0;
constexpr int Leaving = 1;
}   // namespace MonkeyState

// Walking directions (BehaviorMonkey::Direction).
namespace MonkeyDirection
{
constexpr int Unset = -1;   // until the spawner sets it
constexpr int Left = 0;     // -x
constexpr int Right = 1;    // +x
}   // namespace MonkeyDirection

// Fall states (BehaviorMonkey::FallState).
namespace MonkeyFall
{
constexpr int Stopped = -1;   // stopped after a landing
constexpr int None = 0;       // has not fallen yet
constexpr int Falling = 1;
constexpr int Landed = 2;   // landed and not yet stopped
}   // namespace MonkeyFall

// Tunnel job phases (BehaviorMonkey::TunnelPhase).
namespace MonkeyTunnel
{
constexpr int Idle = -1;      // no tunnel under way
constexpr int Waiting = 0;    // the wind-up before the cut
constexpr int Cutting = 1;    // cuts the tunnel this update
constexpr int Finished = 2;   // the next update hands the bot back to walking
}   // namespace MonkeyTunnel

class BehaviorMonkey : public Behavior
{
public:
    Component* Clone() const override;      // every field but a job's progress
    void Write(json& out) const override;   // the Behavior keys, "Type", "FallDeathThreshold", "TunnelSize"
    void Read(const json& in) override;     // "Timer", "FallDeathThreshold", "TunnelSize"; never the states
    void PostCreate() override;             // the hover tint on the entity's ButtonComponent
    std::string GetName() const override { return "BehaviorMonkey"; }
    void OnInit() override;
    void OnUpdate(float dt) override;
    void OnExit() override {}
    void OnPixelCollision(const PixelContact& contact) override;

    // The collider callback: own entity, other entity, contact kind of the pushed body.
    static void OnCollision(Entity* own, Entity* other, int contactKind);

    void Turn();        // stop and wait MonkeyWaitDuration; the direction flips when the wait runs out
    void CheckFall();   // keeps the fall mark; a landing from FallDeathThreshold or higher kills
    // A new entity from the archetype, placed at the bot; the caller adds it to a scene.
    Entity* SpawnParticle(const std::string& archetype) const;
    void UpdateSpotlight(Transform& focus);   // the end-of-level spotlight on this bot
    // The collision pass found the bot squeezed between opposite contacts: a bot not yet busy
    // dies; a busy one (a blocker, a bot in an exit) is left alone.
    void Squeeze();

    bool WorldBoundHit = false;
    float WaitTimer = 0;
    bool Waiting = false;
    float WalkSpeed = 0;
    int Job = MonkeyJob::None;
    int Direction = MonkeyDirection::Unset;
    int FallState = MonkeyFall::None;
    bool Busy = false;   // a job has started, or the bot reached an exit or the world bound
    bool Airborne = false;
    float FallMark = 0;   // highest y while airborne; the last y while grounded
    Vec3 ExitTarget{0, 0, 0};
    bool HasExitTarget = false;   // an exit is being entered (its place may well be the origin)
    Vec3 SavedMaxVelocity{0, 0, 0};
    bool DigDone = false;
    bool BridgeDone = false;
    bool BridgeRowSet = false;
    int BridgeRow = 0;
    int BridgeStartColumn = 0;    // the column ahead of the builder at its first step
    bool BridgeStarted = false;   // the builder has reached a gap or a bridge
    bool Umbrella = false;
    bool UmbrellaOpen = false;
    float UmbrellaDrag = 0.95f;
    float FallDeathThreshold = 4.0f;
    Vec2 TunnelSize{1, 1};   // cells: width, height
    float TunnelTimer = 0;
    int TunnelPhase = MonkeyTunnel::Idle;
    bool ResumeWalk = false;
    bool CountedLost = false;   // already in the dead count (a blocker): its death is not counted again

    // Entities the bot turns at besides walls and blockers.
    static bool IsLadder(const Entity& other);

private:
    void JobStep(float dt);
    void StartJob();
    void Leave();   // Leaving: into the exit, or the death
    void Destroy();

    void SetAnimationState(const std::string& name);
    void SetTint(float r, float g, float b);
    void Stop();   // no sideways motion: Velocity.x and Acceleration.x become 0

    void OpenUmbrella();
    void EndDig();
    void SetMaxVelocity();   // the bridge ends: the walking speed limit comes back
    void EndTunnel();
    // True when the bot is done: nothing to dig in its row, nor below where it can still drop.
    bool Dig(const PixelContact& contact);
    bool LayBridge(const PixelContact& contact);   // true when the bridge job ends
    void Tunnel(PixelGrid& grid);
    static void AimSpotlight(Entity* spotlight, Entity* (&edges)[4], Transform& focus);
};

// Sets the entity's Physics velocity to the given speed towards the target. A target the entity
// has reached, or too close to tell a direction, leaves the velocity as it is.
void MoveToward(Entity* entity, const Vec3& target, float speed);
