// The bot's jobs: block, dig down, build a bridge, cut a tunnel, and the umbrella.
#include "game/BehaviorMonkey.h"

#include "engine/TraceSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorMonkey_Shared.h"
#include "game/Collider.h"
#include "game/Physics.h"
#include "game/PixelContact.h"
#include "game/PixelGrid.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
using namespace MonkeyShared;

constexpr size_t BottomLeft = PixelContact::BottomLeft;
constexpr size_t BottomRight = PixelContact::BottomRight;

// Gives a particle entity's emitter the colour of a terrain material (packed R G B A, one
// byte each) and, optionally, an offset from its entity. The emitter reads only these keys.
void TintParticle(Entity& particle, uint32_t colour, const Vec3* offset)
{
    json settings;
    settings["Color"] = json::array({static_cast<float>((colour >> 24) & 0xFF) / 255.0f,
                                     static_cast<float>((colour >> 16) & 0xFF) / 255.0f,
                                     static_cast<float>((colour >> 8) & 0xFF) / 255.0f});
    if (offset)
        settings["ParentOffset"] = WriteVec3(*offset);
    for (Component* c : particle.components)
        if (c && c->TypeId == ComponentType::ParticleEmitter)
        {
            try
            {
                c->Read(settings);
            }
            catch (const std::exception& error)
            {
                Log("MONKEY: [", particle.Name, "] particle colour not taken: ", error.what());
            }
            return;
        }
}

// The first entity of the current scene that carries terrain.
PixelGrid* SceneGrid()
{
    Scene* scene = CurrentScene();
    if (!scene)
        return nullptr;
    for (Entity* e : scene->GetEntityList().GetEntities())
        if (e)
            if (PixelGrid* grid = e->GetComponent<PixelGrid>())
                return grid;
    return nullptr;
}

// A cell the bot digs away: it becomes empty, and a particle of the material's colour flies from
// the cell itself or from the bot's feet. False, with nothing changed, for a cell that cannot be
// dug (or lies off the grid).
bool DigOutCell(const BehaviorMonkey& bot, PixelGrid& grid, int c, int r, const char* archetype,
                bool fromCell)
{
    if (!grid.IsInside(c, r) || !grid.MaterialAt(c, r).diggable)
        return false;
    const uint32_t colour = grid.MaterialAt(c, r).colour;
    grid.SetCell(c, r, 0);
    Entity* particle = bot.SpawnParticle(archetype);
    if (!particle)
        return true;
    if (fromCell)
    {
        if (Transform* place = particle->GetComponent<Transform>())
        {
            const Vec2 at = grid.CellToWorld(static_cast<float>(c), static_cast<float>(r));
            place->Translation = {at.x, at.y, 0};
            place->Dirty = true;
        }
        TintParticle(*particle, colour, nullptr);
    }
    else
    {
        const Transform* transform = bot.Parent->GetComponent<Transform>();
        const Vec3 feet{0, transform ? -transform->Scale.y / 2 : 0.0f, 0};
        TintParticle(*particle, colour, &feet);
    }
    AddToScene(particle);
    return true;
}
}   // namespace

void BehaviorMonkey::JobStep(float dt)
{
    if (Job == MonkeyJob::None)
        return;
    if (!Busy)
        StartJob();
    switch (Job)
    {
    case MonkeyJob::Dig:
        if (DigDone)
            EndDig();
        Stop();
        break;
    case MonkeyJob::Bridge:
        if (BridgeDone)
            SetMaxVelocity();
        break;
    case MonkeyJob::Tunnel:
        if (TunnelPhase == MonkeyTunnel::Waiting)
        {
            TunnelTimer -= dt;
            if (TunnelTimer <= 0)
                TunnelPhase = MonkeyTunnel::Cutting;
        }
        else if (TunnelPhase == MonkeyTunnel::Cutting)
        {
            if (PixelGrid* grid = SceneGrid())
                Tunnel(*grid);
            TunnelPhase = MonkeyTunnel::Finished;
        }
        else if (TunnelPhase == MonkeyTunnel::Finished)
            EndTunnel();
        break;
    default:
        break;
    }
}

void BehaviorMonkey::StartJob()
{
    Physics* physics = Parent->GetComponent<Physics>();
    switch (Job)
    {
    case MonkeyJob::Blocker:
        Umbrella = false;
        if (Collider* collider = Parent->GetComponent<Collider>())
        {
            collider->CollisionMask[1] = true;
            collider->CollisionMask[2] = true;
            collider->ResolveCollision = 1;
            collider->Callback = nullptr;
        }
        Parent->Name = "MonkeyBlocker";
        if (physics)
        {
            physics->Velocity = {0, 0, 0};
            physics->Acceleration = {0, 0, 0};
        }
        SetAnimationState("Animation_Block");
        if (!CountedLost)
        {
            // A blocker never reaches the exit: it counts as lost now, and only now.
            BehaviorCountBoard::DeadCount += 1;
            CountedLost = true;
        }
        Play("Block", 0.4f);
        SetTint(0.7f, 1.0f, 0.0f);
        break;
    case MonkeyJob::Dig:
        Parent->Name = "MonkeyDig";
        Stop();
        SetAnimationState("Animation_Dig");
        break;
    case MonkeyJob::Bridge:
        Parent->Name = "MonkeyBridge";
        BridgeRowSet = false;
        if (physics)
        {
            SavedMaxVelocity = physics->MaxVelocity;
            physics->MaxVelocity.x = std::fabs(physics->MaxVelocity.x) * 0.75f;
        }
        SetAnimationState("Animation_Bridge");
        break;
    case MonkeyJob::Tunnel:
        Parent->Name = "MonkeyTunnel";
        // A bot about to turn at a wall cuts into that wall: the wall it faces is the one the
        // player pointed at.
        Waiting = false;
        WaitTimer = 0;
        TunnelTimer = 1.0f;
        TunnelPhase = MonkeyTunnel::Waiting;
        SetAnimationState("Animation_Tunnel");
        Stop();
        break;
    default:
        return;   // no such job: nothing starts
    }
    Busy = true;
}

bool BehaviorMonkey::Dig(const PixelContact& contact)
{
    PixelGrid& grid = *contact.Grid;
    int left, right, leftRow, rightRow;
    if (!FloorToCell(contact.Probes[BottomLeft].Cell.x, left) ||
        !FloorToCell(contact.Probes[BottomRight].Cell.x, right) ||
        !FloorToCell(contact.Probes[BottomLeft].Cell.y, leftRow) ||
        !FloorToCell(contact.Probes[BottomRight].Cell.y, rightRow))
        return true;   // nowhere on any grid: nothing to dig
    const int row = std::min(leftRow, rightRow);
    const int first = std::min(left, right) - 1;
    const int last = std::max(left, right) + 1;
    bool inRow = false;   // something dug in the bot's own row
    for (int c = first; c <= last; ++c)
        if (DigOutCell(*this, grid, c, row, "Particle_Dig", false))
        {
            inRow = true;
            Play("Dig", 0.1f);
        }
    bool below = false;   // something further down that the bot is about to drop onto
    for (int r = row - 1; r >= row - 2 && !below; --r)
        for (int c = first; c <= last && !below; ++c)
            below = grid.MaterialAt(c, r).diggable;
    // The rows below keep the dig going only while the bot can still drop onto them: one
    // standing on something it cannot dig is done, whatever lies under that.
    return !inRow && (!below || contact.IsSolid(PixelContact::BottomCentre));
}

// The bridge lies on the two rows just under the builder's feet, fixed by its first step, so it
// continues the floor the builder stood on. A bot is many cells wide, so the step looks at the
// column just beyond its front probe and lays every empty cell of the two rows from under its
// back probe up to that column: a builder given the job while already partly over the gap
// leaves no hole behind it. Ground on the bridge's rows ahead is the floor leading to the gap
// for at most a bot's width, and the far side once a gap or a bridge has been reached.
bool BehaviorMonkey::LayBridge(const PixelContact& contact)
{
    PixelGrid& grid = *contact.Grid;
    Physics* physics = Parent->GetComponent<Physics>();
    Transform* transform = Parent->GetComponent<Transform>();
    if (!physics || !transform)
        return true;
    const Vec3 feet{transform->Translation.x - transform->Scale.x / 2,
                    transform->Translation.y - transform->Scale.y / 2,
                    transform->Translation.z - transform->Scale.z / 2};
    int feetColumn, feetRow;
    bool inside;
    if (!WorldToCellChecked(grid, feet.x, feet.y, feetColumn, feetRow, inside))
        return true;
    // Falling is the bot's own verdict, taken from its speed at the start of the frame: the
    // terrain answers a frame late, so within a long frame a bot walking on flat ground is
    // pulled past the falling speed before it is set back on its feet.
    if (Airborne || physics->Velocity.x == 0)
        return true;
    const bool right = physics->Velocity.x > 0;
    const int step = right ? 1 : -1;
    int frontColumn, backColumn, probeRow;
    if (!FloorToCell(contact.Probes[right ? BottomRight : BottomLeft].Cell.x, frontColumn) ||
        !FloorToCell(contact.Probes[right ? BottomLeft : BottomRight].Cell.x, backColumn) ||
        !FloorToCell(contact.Probes[right ? BottomRight : BottomLeft].Cell.y, probeRow))
        return true;
    const int ahead = frontColumn + step;
    if (!BridgeRowSet)
    {
        // The whole bridge stays on the row of its first step, its top level with the ground
        // under the builder's back foot. The feet are read after this frame's fall and before
        // the terrain sets the bot back on its feet, up to a cell low in a long frame: the
        // ground is the first solid cell at or just below them.
        BridgeRow = std::min(feetRow - 1, probeRow) - 1;
        for (int r = feetRow; r >= feetRow - 2; --r)
            if (grid.MaterialAt(backColumn, r).solid)
            {
                BridgeRow = r - 1;
                break;
            }
        BridgeRowSet = true;
        BridgeStartColumn = ahead;
        BridgeStarted = false;
    }
    const int material = grid.GetCell(ahead, BridgeRow);
    if (material != 0 && material != PixelGrid::Bridge)
    {
        if (BridgeStarted)
            return true;   // the far side: the bridge is done
        // Still on the floor before the gap: a builder walks on for a bot's width at most.
        const float reach = std::max(1.0f, std::ceil(std::fabs(transform->Scale.x) * grid.CellSize));
        return static_cast<float>(std::abs(ahead - BridgeStartColumn)) > reach;
    }
    BridgeStarted = true;
    bool laid = false;
    for (int c = backColumn; c != ahead + step; c += step)
        for (int r = BridgeRow; r <= BridgeRow + 1; ++r)
            if (grid.IsInside(c, r) && grid.GetCell(c, r) == 0)
            {
                grid.SetCell(c, r, PixelGrid::Bridge);
                laid = true;
            }
    if (laid)
        Play("LayBridge", 1.0f);
    return false;
}

void BehaviorMonkey::Tunnel(PixelGrid& grid)
{
    Transform* transform = Parent->GetComponent<Transform>();
    if (!transform)
        return;
    const Vec3& at = transform->Translation;
    const Vec3& scale = transform->Scale;
    const float frontX = Direction == MonkeyDirection::Right ? at.x + scale.x / 2 : at.x - scale.x / 2;
    int frontColumn, frontRow, feetColumn, feetRow;
    bool inside, feetInside;
    if (!WorldToCellChecked(grid, frontX, at.y, frontColumn, frontRow, inside) || !inside)
        return;
    if (!WorldToCellChecked(grid, at.x, at.y - scale.y / 2, feetColumn, feetRow, feetInside))
        return;
    // At least one cell each way, and never more than the grid holds.
    const auto cells = [](float size, int limit) {
        if (!std::isfinite(size) || size < 1)
            return 1;
        return static_cast<int>(std::min(size, static_cast<float>(std::max(limit, 1))));
    };
    const int width = cells(TunnelSize.x, grid.Width);
    const int height = cells(TunnelSize.y, grid.Height);
    const int first = Direction == MonkeyDirection::Right ? frontColumn : frontColumn - width + 1;
    const int last = Direction == MonkeyDirection::Right ? frontColumn + width - 1 : frontColumn;
    Play("Tunnel", 1.0f);
    for (int r = feetRow + height; r >= feetRow; --r)
        for (int c = first; c <= last; ++c)
            DigOutCell(*this, grid, c, r, "Particle_Tunnel", true);
}

void BehaviorMonkey::OpenUmbrella()
{
    UmbrellaOpen = true;
    SetTint(0.5f, 0.8f, 1.0f);
    SetAnimationState("Animation_Umbrella");
    Play("Jetpack", 0.25f);
}

void BehaviorMonkey::EndDig()
{
    DigDone = false;
    if (Physics* physics = Parent->GetComponent<Physics>())
    {
        physics->Velocity.x = 0;
        physics->Acceleration.x = Direction == MonkeyDirection::Left ? -WalkSpeed : WalkSpeed;
    }
    Busy = false;
    Parent->Name = "Monkey";
    Job = MonkeyJob::None;
    SetAnimationState("Animation_Walk");
    ResumeWalk = true;
}

void BehaviorMonkey::SetMaxVelocity()
{
    if (Physics* physics = Parent->GetComponent<Physics>())
        physics->MaxVelocity = SavedMaxVelocity;
    SetAnimationState("Animation_Walk");
    BridgeDone = false;
    BridgeRowSet = false;   // the next bridge starts from its own first step
    BridgeStarted = false;
    Busy = false;
    Parent->Name = "Monkey";
    Job = MonkeyJob::None;
}

void BehaviorMonkey::EndTunnel()
{
    TunnelPhase = MonkeyTunnel::Idle;
    Busy = false;
    Parent->Name = "Monkey";
    Job = MonkeyJob::None;
    SetAnimationState("Animation_Walk");
    ResumeWalk = true;
}
