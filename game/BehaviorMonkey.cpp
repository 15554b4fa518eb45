#include "game/BehaviorMonkey.h"

#include "engine/TraceSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorMonkey_Shared.h"
#include "game/BehaviorSpawner.h"
#include "game/BehaviorSpotlight.h"
#include "game/BehaviorSpotlightEdge.h"
#include "game/Collider.h"
#include "game/Physics.h"
#include "game/PixelContact.h"
#include "game/PixelGrid.h"
#include "graphics/Animation.h"
#include "graphics/AnimationSequencer.h"
#include "graphics/Sprite.h"
#include "scene/Archetypes.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Scene.h"
#include "scene/Transform.h"
#include "ui/ButtonComponent.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
using namespace MonkeyShared;

constexpr size_t BottomLeft = PixelContact::BottomLeft;
constexpr size_t BottomRight = PixelContact::BottomRight;
constexpr size_t TopRight = PixelContact::TopRight;
constexpr size_t TopLeft = PixelContact::TopLeft;
constexpr size_t BottomCentre = PixelContact::BottomCentre;

// The collision pass hands squeezed entities here: a bot decides for itself.
bool SqueezeBot(Entity* squeezed)
{
    BehaviorMonkey* bot = squeezed ? squeezed->GetComponent<BehaviorMonkey>() : nullptr;
    if (!bot)
        return false;
    bot->Squeeze();
    return true;
}
const bool SqueezeInstalled = (EntityList::OnSqueezed = &SqueezeBot, true);
}   // namespace

namespace MonkeyShared
{
// Cell coordinates no grid reaches; beyond them a position is treated as off the grid.
constexpr float CellLimit = 1.0e6f;

bool FloorToCell(float value, int& cell)
{
    if (!std::isfinite(value) || std::fabs(value) > CellLimit)
        return false;
    cell = static_cast<int>(std::floor(value));
    return true;
}

bool WorldToCellChecked(const PixelGrid& grid, float x, float y, int& cx, int& cy, bool& inside)
{
    const float gx = x * grid.CellSize + grid.Origin.x;
    const float gy = y * grid.CellSize + grid.Origin.y;
    if (!std::isfinite(gx) || !std::isfinite(gy) || std::fabs(gx) > CellLimit || std::fabs(gy) > CellLimit)
        return false;
    inside = grid.WorldToCell(Vec3{x, y, 0}, cx, cy);
    return true;
}

void AddToScene(Entity* entity)
{
    if (!entity)
        return;
    if (Scene* scene = CurrentScene())
        scene->AddEntity(entity);
    else
        delete entity;
}
}   // namespace MonkeyShared

Component* BehaviorMonkey::Clone() const
{
    BehaviorMonkey* copy = new BehaviorMonkey(*this);
    copy->WorldBoundHit = false;
    copy->DigDone = false;
    copy->BridgeDone = false;
    copy->BridgeRowSet = false;
    copy->BridgeRow = 0;
    copy->BridgeStartColumn = 0;
    copy->BridgeStarted = false;
    copy->SavedMaxVelocity = {0, 0, 0};
    return copy;
}

void BehaviorMonkey::Write(json& out) const
{
    Behavior::Write(out);
    out["Type"] = "BehaviorMonkey";
    out["FallDeathThreshold"] = FallDeathThreshold;
    out["TunnelSize"] = json::array({TunnelSize.x, TunnelSize.y});
}

void BehaviorMonkey::Read(const json& in)
{
    // A saved bot carries the fixed state keys; taking them would send it straight into its
    // leaving state, so a bot always starts by entering Alive.
    const int32_t current = StateCurrent;
    const int32_t next = StateNext;
    Behavior::Read(in);
    StateCurrent = current;
    StateNext = next;
    ReadKey(in, "FallDeathThreshold", FallDeathThreshold);
    ReadKey(in, "TunnelSize", TunnelSize);   // width, height
}

void BehaviorMonkey::PostCreate()
{
    ButtonComponent* button = Parent ? Parent->GetComponent<ButtonComponent>() : nullptr;
    if (!button)
        return;
    button->AddCallback(this, [this](ButtonComponent::state state) {
        switch (state)
        {
        case ButtonComponent::Released:
        case ButtonComponent::Idle:
            Umbrella ? SetTint(0.7f, 0.7f, 1.0f) : SetTint(1.0f, 1.0f, 1.0f);
            break;
        case ButtonComponent::Hover:
            Umbrella ? SetTint(1.0f, 1.0f, 1.3f) : SetTint(1.25f, 1.25f, 1.25f);
            break;
        default:
            break;
        }
    });
}

void BehaviorMonkey::OnInit()
{
    Physics* physics = Parent ? Parent->GetComponent<Physics>() : nullptr;
    if (!physics)
        return;
    WalkSpeed = std::fabs(physics->Acceleration.x);
    physics->Acceleration.x = 0;
    physics->Acceleration.z = 0;
    if (StateCurrent != MonkeyState::Alive)
        return;
    if (Collider* collider = Parent->GetComponent<Collider>())
        collider->Callback = &BehaviorMonkey::OnCollision;
    // The fall is measured from where the bot starts, not from the origin.
    if (Transform* transform = Parent->GetComponent<Transform>())
        FallMark = transform->Translation.y;
}

void BehaviorMonkey::OnUpdate(float dt)
{
    if (!Parent)
        return;
    if (Animation* animation = Parent->GetComponent<Animation>())
    {
        if (Direction == MonkeyDirection::Left && animation->USign == 1)
            animation->USign = -1;
        else if (Direction == MonkeyDirection::Right && animation->USign == -1)
            animation->USign = 1;
    }
    Physics* physics = Parent->GetComponent<Physics>();
    Transform* transform = Parent->GetComponent<Transform>();
    if (!physics || !transform)
        return;
    Vec3& velocity = physics->Velocity;

    if (velocity.y < -1)
    {
        Airborne = true;
        FallState = MonkeyFall::Falling;
        if (Umbrella && !UmbrellaOpen)
            OpenUmbrella();
    }
    if (UmbrellaOpen && Airborne && velocity.y < 0)
        velocity.y *= UmbrellaDrag;
    if (FallState == MonkeyFall::Falling && transform->Translation.y >= physics->PreviousPosition.y)
    {
        FallState = MonkeyFall::Landed;
        Airborne = false;
    }
    if (Airborne)
    {
        velocity.x = 0;
        physics->Acceleration.x = 0;
    }

    if (StateCurrent == MonkeyState::Leaving)
    {
        Leave();
        return;
    }
    if (StateCurrent != MonkeyState::Alive)
        return;

    JobStep(dt);

    // Walking: the acceleration is set again only when a wait ends, on landing, and when a
    // job hands the bot back; Physics keeps it in between.
    if (Job == MonkeyJob::Blocker || Job == MonkeyJob::Dig || Airborne)
        return;
    WaitTimer -= dt;
    if (WaitTimer <= 0 && Waiting)
    {
        if (Direction == MonkeyDirection::Left || Direction == MonkeyDirection::Right)
            Direction = Direction == MonkeyDirection::Left ? MonkeyDirection::Right : MonkeyDirection::Left;
        Waiting = false;
    }
    else
    {
        if (FallState != MonkeyFall::Landed && !ResumeWalk)
            return;
        if (ResumeWalk)
            ResumeWalk = false;
        else
        {
            velocity = {0, 0, 0};
            FallState = MonkeyFall::Stopped;
        }
    }
    if (Direction == MonkeyDirection::Left)
        physics->Acceleration.x = -WalkSpeed;
    else if (Direction == MonkeyDirection::Right)
        physics->Acceleration.x = WalkSpeed;
    physics->Acceleration.z = 0;
}

void BehaviorMonkey::Leave()
{
    if (Parent->IsDestroyed)
        return;
    Transform* transform = Parent->GetComponent<Transform>();
    Scene* scene = CurrentScene();
    using Board = BehaviorCountBoard;
    if (HasExitTarget)
    {
        if (int64_t{Board::ExitMax} == int64_t{Board::ExitedCount} + 1 && scene &&
            scene->SpotlightsCreated == 0)
            UpdateSpotlight(*transform);
        const Vec3& at = transform->Translation;
        if (std::fabs(at.x - ExitTarget.x) > 0.1f || (Airborne && std::fabs(at.y - ExitTarget.y) > 0.1f))
            return;   // still walking in
        Board::ExitedCount += 1;
        Destroy();
        return;
    }

    // The level is settled by this death when too many are dead, too few are left to reach
    // the exit, or every bot is out and none is left walking. A blocker is already counted.
    // Signed counts: more deaths than bots is a negative margin, never a wrapped one.
    const int64_t dead = int64_t{Board::DeadCount} + (CountedLost ? 0 : 1);
    const int64_t total = Board::SpawnTotal;
    const int64_t spawned = BehaviorSpawner::GetSpawnedCount();
    const bool decides = dead >= Board::DeadMax || total - dead <= Board::ExitMax ||
                         (spawned == total && spawned - dead - Board::ExitedCount == 0);
    if (decides && scene && scene->SpotlightsCreated == 0)
        UpdateSpotlight(*transform);
    if (!CountedLost)
    {
        Board::DeadCount += 1;
        CountedLost = true;
    }
    AddToScene(SpawnParticle("Particle_Death"));
    Play("Explode", 1.0f);
    Destroy();
}

void BehaviorMonkey::Destroy()
{
    Parent->IsDestroyed = true;
    Log("MonkeyDead, Destroying Monkey");
}

void BehaviorMonkey::OnCollision(Entity* own, Entity* other, int contactKind)
{
    if (!own || !other || own == other || own->Name == other->Name)
        return;
    BehaviorMonkey* bot = own->GetComponent<BehaviorMonkey>();
    if (!bot)
        return;
    if (contactKind == Collider::ContactBottom && bot->Airborne)
    {
        bot->FallState = MonkeyFall::Landed;
        bot->Airborne = false;
    }
    if (other->Name == "WorldBound" && !bot->WorldBoundHit)
    {
        bot->Busy = true;
        bot->WorldBoundHit = true;
        bot->StateNext = MonkeyState::Leaving;
    }
    if ((contactKind == Collider::ContactLeft || contactKind == Collider::ContactRight) &&
        (other->Name == "Block" || other->Name == "MonkeyBlocker" || IsLadder(*other)))
    {
        const bool walkingSide =
            (contactKind == Collider::ContactLeft && bot->Direction == MonkeyDirection::Left) ||
            (contactKind == Collider::ContactRight && bot->Direction == MonkeyDirection::Right);
        if (bot->WaitTimer <= 0 && walkingSide)
            bot->Turn();
    }
    if (other->Name == "Exit" && !bot->Busy)
    {
        Play("FinishLine", 0.75f);
        bot->Busy = true;
        // An exit without a place is entered where the bot stands.
        const Transform* exit = other->GetComponent<Transform>();
        const Transform* self = own->GetComponent<Transform>();
        bot->ExitTarget = exit ? exit->Translation : self ? self->Translation : Vec3{0, 0, 0};
        bot->HasExitTarget = true;
        MoveToward(own, bot->ExitTarget, BehaviorSpawner::ExitOutSpeed);
        bot->StateNext = MonkeyState::Leaving;
    }
    bot->CheckFall();
}

bool BehaviorMonkey::IsLadder(const Entity& other) { return other.Name == "MonkeyLadder"; }

void BehaviorMonkey::Turn()
{
    if (Waiting)
        return;
    if (Physics* physics = Parent ? Parent->GetComponent<Physics>() : nullptr)
    {
        physics->Velocity = {0, 0, 0};
        physics->Acceleration = {0, 0, 0};   // Physics puts gravity back itself
    }
    Waiting = true;
    WaitTimer = BehaviorSpawner::MonkeyWaitDuration;
}

void BehaviorMonkey::CheckFall()
{
    Transform* transform = Parent ? Parent->GetComponent<Transform>() : nullptr;
    if (!transform)
        return;
    const float y = transform->Translation.y;
    if (Airborne)
    {
        if (y > FallMark)
            FallMark = y;
        return;
    }
    if (y >= FallMark)
        return;
    if (UmbrellaOpen)
    {
        UmbrellaOpen = false;
        SetAnimationState("Animation_Walk");
        SetTint(0.7f, 0.7f, 1.0f);
    }
    if (!Umbrella && FallMark - y >= FallDeathThreshold)
        StateNext = MonkeyState::Leaving;
    FallMark = y;
}

void BehaviorMonkey::Squeeze()
{
    if (Busy)
        return;
    Busy = true;
    StateNext = MonkeyState::Leaving;
}

void BehaviorMonkey::OnPixelCollision(const PixelContact& contact)
{
    if (!Parent || !contact.Grid)
        return;
    PixelGrid& grid = *contact.Grid;
    // A job acts on the terrain once it has started: one given after this frame's update waits
    // for the next, whatever order the entities update in.
    if (StateCurrent == MonkeyState::Alive && Busy)
    {
        if (Job == MonkeyJob::Dig)
            DigDone = Dig(contact);
        else if (Job == MonkeyJob::Bridge)
            BridgeDone = LayBridge(contact);
    }

    bool solid[5];
    bool lethal = false;
    for (size_t i = 0; i < 5; ++i)
    {
        const auto probe = static_cast<PixelContact::Probe>(i);
        solid[i] = contact.IsSolid(probe);
        lethal = lethal || contact.IsLethal(probe);
    }
    if (solid[BottomCentre] || solid[BottomLeft] || solid[BottomRight])
        Airborne = false;
    if (lethal)
        StateNext = MonkeyState::Leaving;

    Physics* physics = Parent->GetComponent<Physics>();
    Transform* transform = Parent->GetComponent<Transform>();
    if (!physics || !transform)
        return;
    Vec3& at = transform->Translation;
    const Vec3& scale = transform->Scale;
    const float cell = 1.0f / grid.CellSize;
    const bool wall = (Direction == MonkeyDirection::Left && solid[TopLeft] && solid[BottomLeft]) ||
                      (Direction == MonkeyDirection::Right && solid[TopRight] && solid[BottomRight]);
    if (wall)
    {
        // A tunneller stands at its wall until it has cut it.
        if (WaitTimer <= 0 && Job != MonkeyJob::Tunnel)
            Turn();
        physics->Velocity = {0, 0, 0};
        // Out of the wall, and onto the ground when the far bottom corner stands on some.
        if (Direction == MonkeyDirection::Left)
            at.x = contact.Probes[BottomLeft].World.x + cell + scale.x / 2;
        else
            at.x = contact.Probes[BottomRight].World.x - scale.x / 2;
        if (solid[Direction == MonkeyDirection::Left ? BottomRight : BottomLeft])
        {
            at.y = contact.Probes[BottomRight].World.y + cell + scale.y / 2;
            physics->Velocity.y = 0;
        }
        transform->Dirty = true;
    }
    else
    {
        const bool slow = std::fabs(physics->Velocity.y) <= 0.2f && std::fabs(physics->Velocity.x) <= 0.5f;
        const bool corners = solid[BottomLeft] || solid[BottomRight];
        if (solid[BottomCentre] || (!slow && corners))
        {
            at.y = contact.Probes[BottomRight].World.y + cell + scale.y / 2;
            physics->Velocity.y = 0;
            transform->Dirty = true;
        }
    }
    CheckFall();
}

void BehaviorMonkey::Stop()
{
    if (Physics* physics = Parent->GetComponent<Physics>())
    {
        physics->Velocity.x = 0;
        physics->Acceleration.x = 0;
    }
}

void BehaviorMonkey::SetAnimationState(const std::string& name)
{
    if (AnimationSequencer* sequencer = Parent->GetComponent<AnimationSequencer>())
        sequencer->SetState(name);
}

void BehaviorMonkey::SetTint(float r, float g, float b)
{
    Sprite* sprite = Parent ? Parent->GetComponent<Sprite>() : nullptr;
    if (!sprite || !sprite->request)
        return;
    sprite->request->tint[0] = r;
    sprite->request->tint[1] = g;
    sprite->request->tint[2] = b;
}

Entity* BehaviorMonkey::SpawnParticle(const std::string& archetype) const
{
    Entity* particle = new Entity();
    if (!FactoryBuild(*particle, archetype))
    {
        delete particle;   // no such archetype: said so by the factory
        return nullptr;
    }
    particle->IsSpawned = true;
    const Transform* own = Parent ? Parent->GetComponent<Transform>() : nullptr;
    if (Transform* place = particle->GetComponent<Transform>(); place && own)
    {
        place->Translation = own->Translation;
        place->Dirty = true;
    }
    return particle;
}

void BehaviorMonkey::UpdateSpotlight(Transform& focus)
{
    Scene* scene = CurrentScene();
    if (!scene)
        return;
    const auto place = [&](const char* archetype) -> Entity* {
        Entity* entity = new Entity();
        if (!FactoryBuild(*entity, archetype))
        {
            delete entity;
            return nullptr;
        }
        entity->IsSpawned = true;
        if (Transform* at = entity->GetComponent<Transform>())
        {
            at->Translation = focus.Translation;
            at->Dirty = true;
        }
        return entity;
    };
    Entity* spotlight = place("Spotlight");
    Entity* edges[4] = {};
    for (Entity*& edge : edges)
        edge = place("SpotlightEdge");
    AimSpotlight(spotlight, edges, focus);
    AddToScene(spotlight);
    for (Entity* edge : edges)
        AddToScene(edge);
    scene->SpotlightsCreated += 1;
}

// The spotlight learns which bot it shows; each edge follows the spotlight on its own side.
void BehaviorMonkey::AimSpotlight(Entity* spotlight, Entity* (&edges)[4], Transform& focus)
{
    if (!spotlight)
        return;
    for (Component* c : spotlight->components)
        if (auto* light = dynamic_cast<BehaviorSpotlight*>(c))
            light->Focus = &focus;
    Transform* lightPlace = spotlight->GetComponent<Transform>();
    for (int i = 0; i < 4; ++i)
        if (edges[i])
            if (auto* edge = edges[i]->GetComponent<BehaviorSpotlightEdge>())
            {
                edge->SpotlightTransform = lightPlace;
                edge->EdgeIndex = i;
            }
}

void MoveToward(Entity* entity, const Vec3& target, float speed)
{
    if (!entity)
        return;
    const Transform* transform = entity->GetComponent<Transform>();
    Physics* physics = entity->GetComponent<Physics>();
    if (!transform || !physics)
        return;
    const Vec3 d{target.x - transform->Translation.x, target.y - transform->Translation.y,
                 target.z - transform->Translation.z};
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (!(length > 1.0e-6f))
        return;   // there already, or too close to tell which way
    physics->Velocity = {d.x / length * speed, d.y / length * speed, d.z / length * speed};
}
