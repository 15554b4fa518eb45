#include "graphics/ParticleEmitter.h"

#include "engine/TraceSystem.h"
#include "game/PixelGrid.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace
{
// Page aligned, so the pool starts at the block's start.
constexpr size_t BlockBytes = sizeof(Particle) * ParticleEmitter::PoolSize;
static_assert(alignof(Particle) <= 4096);

// A zeroed block mapped from the system for this emitter alone: its pages cost nothing until a
// particle is written into them. (calloc gives no such promise: once blocks of this size have
// been freed, it hands out reused heap memory and zeroes all of it.)
void* NewBlock(Particle*& pool)
{
    void* block = mmap(nullptr, BlockBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        throw std::bad_alloc();
    pool = static_cast<Particle*>(block);
    return block;
}
}   // namespace

void ParticleEmitter::FreeBlock::operator()(void* block) const { munmap(block, BlockBytes); }

namespace
{
// Saved as 0 or 1; any number other than 0 (or true) turns it on.
void ReadFeel(const json& in, bool& feel)
{
    const auto found = in.find("ParticleFeel");
    if (found == in.end())
        return;
    if (found->is_boolean())
        feel = found->get<bool>();
    else if (found->is_number())
        feel = found->get<double>() != 0;
    else
        throw KeyRefusal("ParticleFeel", "a number or true or false", *found);
}
}   // namespace

ParticleEmitter::ParticleEmitter() : Component(ComponentType::ParticleEmitter), block(NewBlock(pool)) {}

ParticleEmitter::ParticleEmitter(const ParticleEmitter& other)
    : Component(other), emitting(other.emitting), accumulator(other.accumulator), active(other.active),
      TextureName(other.TextureName), TextureIndex(other.TextureIndex), Color(other.Color),
      EmitterLifeTime(other.EmitterLifeTime), EmitRate(other.EmitRate), ParentOffset(other.ParentOffset),
      Scale(other.Scale), InitialVelocity(other.InitialVelocity),
      InitialAcceleration(other.InitialAcceleration), AngularVelocity(other.AngularVelocity),
      AngularAcceleration(other.AngularAcceleration), MaxLifeTime(other.MaxLifeTime),
      ParticleFeel(other.ParticleFeel), MinVelocityAngleOffset(other.MinVelocityAngleOffset),
      MaxVelocityAngleOffset(other.MaxVelocityAngleOffset), DirectionAngle(other.DirectionAngle),
      MinInitVelocity(other.MinInitVelocity), MaxInitVelocity(other.MaxInitVelocity), Grid(other.Grid),
      block(NewBlock(pool)), used(other.used), foundGrid(other.foundGrid), foundAt(other.foundAt)
{
    // Past `used` both pools are all zero already.
    if (used > 0)
        std::memcpy(static_cast<void*>(pool), other.pool, sizeof(Particle) * static_cast<size_t>(used));
}

int ParticleEmitter::LiveCount() const
{
    return static_cast<int>(std::count_if(pool, pool + used, [](const Particle& p) { return p.life > 0; }));
}

void ParticleEmitter::FindTerrain()
{
    Scene* scene = SceneSystem::GetInstance().CurrentScene();
    if (!scene)
        return;
    const EntityList& entities = scene->GetEntityList();
    if (Entity* named = entities.FindByName("PixelGrid"))
        Grid = named->GetComponent<PixelGrid>();
    // Levels may give their terrain entity another name; the bots walk on the first grid too.
    if (!Grid)
        for (Entity* entity : entities.GetEntities())
            if (entity && (Grid = entity->GetComponent<PixelGrid>()))
                break;
    foundGrid = Grid;
    foundAt = Grid;
}

void ParticleEmitter::LetGoOfTerrain()
{
    for (int i = 0; i < used; ++i)
        if (pool[i].grid == Grid)
            pool[i].grid = nullptr;
    Grid = nullptr;
    foundAt = nullptr;
}

void ParticleEmitter::Move(Particle& p, float dt) const
{
    p.velocity = {p.velocity.x + p.acceleration.x * dt, p.velocity.y + p.acceleration.y * dt,
                  p.velocity.z + p.acceleration.z * dt};
    p.position = {p.position.x + p.velocity.x * dt, p.position.y + p.velocity.y * dt,
                  p.position.z + p.velocity.z * dt};
    p.angularVelocity += p.angularAcceleration * dt;
    p.rotation += p.angularVelocity * dt;
    if (p.grid && !p.feel)
    {
        int column = 0, row = 0;
        p.grid->WorldToCell(p.position, column, row);
        // Outside the grid every cell reads as empty.
        if (p.grid->MaterialAt(column, row).solid)
        {
            if (static_cast<int>(RandomFloat(0, 2.99f)) != 0)
                p.life = 0;
            else
            {
                p.life *= 0.65f;
                p.velocity.y *= -0.9f;
            }
        }
    }
    p.life -= dt;
}

bool ParticleEmitter::Emit(int& searchFrom)
{
    for (int i = searchFrom; i < PoolSize; ++i)
    {
        Particle& p = pool[i];
        if (p.life > 0)
            continue;
        const Transform* owner = Parent ? Parent->GetComponent<Transform>() : nullptr;
        const Vec3 base = owner ? owner->Translation : Vec3{};
        const float speed = RandomFloat(MinInitVelocity, MaxInitVelocity);
        const float angle = RandomFloat((DirectionAngle + MinVelocityAngleOffset) * DegreesToRadians,
                                        (DirectionAngle + MaxVelocityAngleOffset) * DegreesToRadians);
        p = Particle{};
        p.grid = Grid;
        p.texture = TextureIndex;
        p.tint = Color;
        p.life = MaxLifeTime;
        p.position = {base.x + ParentOffset.x, base.y + ParentOffset.y, base.z + ParentOffset.z};
        p.scale = Scale;
        p.velocity = {std::cos(angle) * speed, std::sin(angle) * speed, 0};
        p.acceleration = InitialAcceleration;
        p.angularVelocity = AngularVelocity;
        p.angularAcceleration = AngularAcceleration;
        p.feel = ParticleFeel;
        searchFrom = i + 1;
        used = std::max(used, i + 1);
        return true;
    }
    searchFrom = PoolSize;
    return false;
}

void ParticleEmitter::Update(float dt)
{
    if (TextureIndex == 0 && !TextureName.empty())
        TextureIndex = TextureLibrary::GetInstance().FindOrLoad(TextureName);
    // Compared, never followed: the terrain found may have gone since the last update.
    if (Grid && Grid == foundAt && !foundGrid.Get())
        LetGoOfTerrain();
    if (!Grid)
        FindTerrain();
    EmitterLifeTime -= dt;
    if (!(EmitterLifeTime > 0))
        emitting = false;
    if (!active)
        return;

    for (int i = 0; i < used; ++i)
        if (pool[i].life > 0)
            Move(pool[i], dt);
    while (used > 0 && !(pool[used - 1].life > 0))
        --used;

    if (!emitting)
        return;
    if (!(EmitRate > 0) || !std::isfinite(EmitRate))
    {
        accumulator = 0;   // no period to spend it on
        return;
    }
    accumulator += dt;
    const float period = 1.0f / EmitRate;
    int searchFrom = 0;
    while (accumulator >= period)
    {
        if (!Emit(searchFrom))
        {
            // A full pool: the next free record is taken at once, but missed time is not
            // saved up for a burst.
            accumulator = std::min(accumulator, period);
            break;
        }
        accumulator -= period;
    }
}

void ParticleEmitter::Render()
{
    if (used == 0)
        return;
    Graphics::DrawRequest request;
    request.space = Graphics::WorldProj;
    request.name = "ParticleEmitter";
    request.mesh = MeshLibrary::GetInstance().FindOrLoad("Prim_Cube");
    request.shader = ShaderLibrary::GetInstance().FindOrLoad("base");
    request.reserved = -1;
    request.wrap = 0;
    request.filter = 0;
    request.uv = nullptr;   // identity
    for (int i = 0; i < used; ++i)
    {
        const Particle& p = pool[i];
        if (!(p.life > 0))
            continue;
        const Matrix4 model = Matrix4::Multiply(Matrix4::Translation(p.position), Matrix4::Scale(p.scale));
        request.model = &model;
        request.texture = p.texture;
        request.tint[0] = p.tint.x;
        request.tint[1] = p.tint.y;
        request.tint[2] = p.tint.z;
        GraphicsSystem::GetInstance().Draw(request);
    }
}

void ParticleEmitter::Write(json& out) const
{
    out["Type"] = "ParticleEmitter";
    out["Texture"] = TextureName;
    out["Color"] = WriteVec3(Color);
    out["EmitterLifeTime"] = EmitterLifeTime;
    out["EmitRate"] = EmitRate;
    out["ParentOffset"] = WriteVec3(ParentOffset);
    out["Scale"] = WriteVec3(Scale);
    out["InitialVelocity"] = WriteVec3(InitialVelocity);
    out["InitialAcceleration"] = WriteVec3(InitialAcceleration);
    out["AngularVelocity"] = AngularVelocity;
    out["AngularAcceleration"] = AngularAcceleration;
    out["MaxLifeTime"] = MaxLifeTime;
    out["ParticleFeel"] = ParticleFeel ? 1 : 0;
    out["MinVelocityAngleOffset"] = MinVelocityAngleOffset;
    out["MaxVelocityAngleOffset"] = MaxVelocityAngleOffset;
    out["DirectionAngle"] = DirectionAngle;
    out["MinInitVelocity"] = MinInitVelocity;
    out["MaxInitVelocity"] = MaxInitVelocity;
}

void ParticleEmitter::Read(const json& in)
{
    std::string texture = TextureName;
    ReadKey(in, "Texture", texture);
    if (texture != TextureName)
    {
        TextureName = texture;
        TextureIndex = 0;   // looked up again by the next update
    }
    if (TextureName.empty())
        return;
    ReadKey(in, "Color", Color);
    ReadKey(in, "EmitterLifeTime", EmitterLifeTime);
    ReadKey(in, "EmitRate", EmitRate);
    ReadKey(in, "ParentOffset", ParentOffset);
    ReadKey(in, "Scale", Scale);
    ReadKey(in, "InitialVelocity", InitialVelocity);
    ReadKey(in, "InitialAcceleration", InitialAcceleration);
    ReadKey(in, "AngularVelocity", AngularVelocity);
    ReadKey(in, "AngularAcceleration", AngularAcceleration);
    ReadKey(in, "MaxLifeTime", MaxLifeTime);
    ReadFeel(in, ParticleFeel);
    ReadKey(in, "MinVelocityAngleOffset", MinVelocityAngleOffset);
    ReadKey(in, "MaxVelocityAngleOffset", MaxVelocityAngleOffset);
    ReadKey(in, "DirectionAngle", DirectionAngle);
    ReadKey(in, "MinInitVelocity", MinInitVelocity);
    ReadKey(in, "MaxInitVelocity", MaxInitVelocity);
}
