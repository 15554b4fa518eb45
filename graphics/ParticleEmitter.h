#pragma once
// Throws small tinted cubes from its entity: a fixed pool of particles, emitted at a steady rate
// while the emitter's lifetime lasts, each in a random direction within an angle range, moved by
// its own velocity and acceleration, stopped or bounced by the solid cells of the level's
// terrain, and drawn one cube per live particle.
//
// Promises: the pool never grows (5000 records, allocated once with the emitter); time that
// cannot be spent on emission while the pool is full is not saved up for a later burst; a rate
// that is not above 0 (or not a number) emits nothing; terrain cells are only read inside the
// grid; a texture that cannot be loaded is reported once by the texture library and drawn as
// "White"; a terrain it found that goes away (its component taken off, its entity deleted) is
// let go at the next update, before any particle reads it.
#include "engine/Matrix4.h"
#include "scene/Component.h"
#include "scene/EntityRef.h"

#include <cstdlib>
#include <memory>
#include <string>

class PixelGrid;

// One pool entry; all zero when free. Alive while life is above 0.
struct alignas(32) Particle
{
    PixelGrid* grid = nullptr;   // not owned; null: no terrain contact
    float rotation = 0;          // integrated, not drawn
    float angularVelocity = 0;
    float angularAcceleration = 0;
    Vec3 scale;
    Vec3 position;
    Vec3 velocity;
    Vec3 acceleration;
    bool feel = false;   // true: passes through the terrain
    int texture = 0;
    Vec3 tint;
    float life = 0;   // seconds
};

class ParticleEmitter : public Component
{
public:
    static constexpr int PoolSize = 5000;
    static constexpr float DegreesToRadians = 0.017453292f;

    ParticleEmitter();
    ParticleEmitter(const ParticleEmitter& other);   // every field, the live particles included

    Component* Clone() const override { return new ParticleEmitter(*this); }
    void Update(float dt) override;
    void Render() override;
    void Write(json& out) const override;
    // "Texture" first; when the name is then still empty nothing else is read.
    void Read(const json& in) override;

    // The pool, record by record (0 .. PoolSize - 1).
    Particle& At(int index) { return pool[index]; }
    const Particle& At(int index) const { return pool[index]; }
    int LiveCount() const;

    bool emitting = true;
    float accumulator = 0;   // seconds not yet spent on emission
    bool active = true;      // false: particles freeze and nothing is emitted

    std::string TextureName;
    int TextureIndex = 0;   // resolved from the name at the first updates
    Vec3 Color{0, 0, 0};
    float EmitterLifeTime = 0;   // counts down; emission ends for good once it is not above 0
    float EmitRate = 1;          // particles per second
    Vec3 ParentOffset{0, 0, 0};
    Vec3 Scale{1, 1, 1};
    Vec3 InitialVelocity{0, 0, 0};   // kept in the file; emission draws its own velocities
    Vec3 InitialAcceleration{0, 0, 0};
    float AngularVelocity = 0;
    float AngularAcceleration = 0;
    float MaxLifeTime = 0;
    bool ParticleFeel = false;
    float MinVelocityAngleOffset = 0;   // degrees, added to DirectionAngle
    float MaxVelocityAngleOffset = 0;
    float DirectionAngle = 0;
    float MinInitVelocity = 0;
    float MaxInitVelocity = 0;
    PixelGrid* Grid = nullptr;   // not owned: the scene's terrain, found at the first updates

private:
    struct FreeBlock
    {
        void operator()(void* block) const;
    };
    void FindTerrain();
    void LetGoOfTerrain();   // Grid and every particle's grid
    void Move(Particle& particle, float dt) const;
    bool Emit(int& searchFrom);   // false when the pool is full

    // Zeroed pages straight from the system, so an emitter costs memory only for the records it
    // has used; the pool is the start of the block (set as the block is made, so it is declared
    // first).
    Particle* pool = nullptr;
    std::unique_ptr<void, FreeBlock> block;
    int used = 0;   // no record at or past this index has ever been alive
    // The terrain FindTerrain found, and where: Grid is let go once this reads null.
    EntityRef<PixelGrid> foundGrid;
    const PixelGrid* foundAt = nullptr;
};
