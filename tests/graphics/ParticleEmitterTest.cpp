// The particle emitter without a window: how many particles it emits and when, how long they
// live, how they meet the terrain, what it reads and writes; and, on a real context, what it
// draws.
#include "graphics/ParticleEmitter.h"

#include "game/PixelGrid.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/TextureLibrary.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/common/AsciiGrid.h"
#include "tests/common/GlWindow.h"
#include "tests/common/TraceCapture.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <unistd.h>
#include <vector>

namespace
{
// An entity with a Transform at `at` and an emitter read from the settings (a texture is added
// when they name none, so that every other key is read).
struct Emitter
{
    explicit Emitter(json settings, Vec3 at = {0, 0, 0})
    {
        auto* transform = new Transform();
        transform->Translation = at;
        entity.AddComponent(transform);
        emitter = new ParticleEmitter();
        if (!settings.contains("Texture"))
            settings["Texture"] = "Particle";
        emitter->Read(settings);
        entity.AddComponent(emitter);
    }
    void Run(int frames, float dt)
    {
        for (int i = 0; i < frames; ++i)
            emitter->Update(dt);
    }

    Entity entity;
    ParticleEmitter* emitter = nullptr;
};

// One motionless particle that lives long, born at `at` on the first update.
json Still()
{
    return {{"EmitRate", 1},        {"EmitterLifeTime", 1.5}, {"MaxLifeTime", 2.0},
            {"DirectionAngle", 90}, {"MinInitVelocity", 0},   {"MaxInitVelocity", 0}};
}
}   // namespace

TEST(ParticleEmission, TheRateAndTheFrameTimeSetHowManyAreEmittedAndWhatTimeIsLeft)
{
    struct Case
    {
        float rate, dt;
        int frames;
        int emitted;
        float left;
    } cases[] = {
        {10, 0.25f, 1, 2, 0.05f}, {10, 0.05f, 1, 0, 0.05f}, {10, 0.05f, 2, 1, 0.0f},
        {1, 0.25f, 4, 1, 0.0f},   {100, 0.1f, 3, 30, 0.0f},
    };
    for (const Case& c : cases)
    {
        Emitter e({{"EmitRate", c.rate}, {"EmitterLifeTime", 10}, {"MaxLifeTime", 10}});
        e.Run(c.frames, c.dt);
        SCOPED_TRACE(testing::Message() << "rate " << c.rate << " dt " << c.dt << " frames " << c.frames);
        EXPECT_EQ(e.emitter->LiveCount(), c.emitted);
        EXPECT_NEAR(e.emitter->accumulator, c.left, 1e-4f);
    }
}

TEST(ParticleEmission, EmissionEndsWithTheEmittersLifetimeAndEachParticleWithItsOwn)
{
    // One particle every 0.25 s for 0.3 s, each living 0.5 s, updated every 0.125 s.
    Emitter e({{"EmitRate", 4}, {"EmitterLifeTime", 0.3}, {"MaxLifeTime", 0.5}});
    const int expected[] = {0, 1, 1, 1, 1, 0, 0, 0, 0, 0};
    for (int frame = 0; frame < 10; ++frame)
    {
        e.Run(1, 0.125f);
        EXPECT_EQ(e.emitter->LiveCount(), expected[frame]) << "after frame " << frame;
    }
    EXPECT_FALSE(e.emitter->emitting);

    // Without a lifetime nothing is ever emitted.
    Emitter none({{"EmitRate", 100}, {"MaxLifeTime", 1}});
    none.Run(10, 0.1f);
    EXPECT_EQ(none.emitter->LiveCount(), 0);
}

TEST(ParticleEmission, ParticlesStartAtTheOwnerPlusTheOffsetWithTheirSettings)
{
    Emitter e({{"EmitRate", 1},
               {"EmitterLifeTime", 5},
               {"MaxLifeTime", 3},
               {"DirectionAngle", 90},
               {"MinInitVelocity", 2},
               {"MaxInitVelocity", 2},
               {"ParentOffset", {0, -0.5, 0}},
               {"Scale", {0.1, 0.2, 0.3}},
               {"Color", {0.25, 0.5, 1}},
               {"InitialAcceleration", {0, -9, 0}},
               {"AngularVelocity", 7},
               {"ParticleFeel", 1}},
              {3, 4, 1});
    e.Run(1, 1.0f);
    ASSERT_EQ(e.emitter->LiveCount(), 1);
    const Particle& p = e.emitter->At(0);
    EXPECT_FLOAT_EQ(p.position.x, 3);
    EXPECT_FLOAT_EQ(p.position.y, 3.5f);
    EXPECT_FLOAT_EQ(p.position.z, 1);
    EXPECT_NEAR(p.velocity.x, 0, 1e-5f);   // straight up
    EXPECT_FLOAT_EQ(p.velocity.y, 2);
    EXPECT_FLOAT_EQ(p.scale.y, 0.2f);
    EXPECT_FLOAT_EQ(p.tint.z, 1);
    EXPECT_FLOAT_EQ(p.acceleration.y, -9);
    EXPECT_FLOAT_EQ(p.angularVelocity, 7);
    EXPECT_TRUE(p.feel);
    EXPECT_FLOAT_EQ(p.life, 3);
    EXPECT_EQ(p.texture, TextureLibrary::GetInstance().FindOrLoad("Particle"));

    // Velocity first, then position with the new velocity; the life counts down.
    e.Run(1, 0.5f);
    EXPECT_FLOAT_EQ(e.emitter->At(0).velocity.y, 2 - 4.5f);
    EXPECT_FLOAT_EQ(e.emitter->At(0).position.y, 3.5f + (2 - 4.5f) * 0.5f);
    EXPECT_FLOAT_EQ(e.emitter->At(0).life, 2.5f);
}

TEST(ParticleEmission, DirectionsStayWithinTheAngleRange)
{
    Emitter e({{"EmitRate", 1000},
               {"EmitterLifeTime", 1},
               {"MaxLifeTime", 5},
               {"DirectionAngle", 90},
               {"MinVelocityAngleOffset", -30},
               {"MaxVelocityAngleOffset", 30},
               {"MinInitVelocity", 1},
               {"MaxInitVelocity", 3}});
    e.Run(1, 0.2f);
    ASSERT_GE(e.emitter->LiveCount(), 199);   // 0.2 s in steps of a thousandth, in floats
    for (int i = 0; i < e.emitter->LiveCount(); ++i)
    {
        const Vec3& v = e.emitter->At(i).velocity;
        const float speed = std::hypot(v.x, v.y);
        const float degrees = std::atan2(v.y, v.x) / ParticleEmitter::DegreesToRadians;
        EXPECT_GE(speed, 1 - 1e-4f);
        EXPECT_LE(speed, 3 + 1e-4f);
        EXPECT_GE(degrees, 60 - 1e-3f);
        EXPECT_LE(degrees, 120 + 1e-3f);
    }
}

TEST(ParticleEmission, AnInactiveEmitterFreezesItsParticlesButItsLifetimeRunsOn)
{
    Emitter e({{"EmitRate", 1},
               {"EmitterLifeTime", 3},
               {"MaxLifeTime", 2},
               {"DirectionAngle", 0},
               {"MinInitVelocity", 1},
               {"MaxInitVelocity", 1}});
    e.Run(1, 1.0f);
    ASSERT_EQ(e.emitter->LiveCount(), 1);
    const Particle before = e.emitter->At(0);
    e.emitter->active = false;
    e.Run(4, 0.5f);
    EXPECT_EQ(e.emitter->LiveCount(), 1);
    EXPECT_EQ(e.emitter->At(0).position.x, before.position.x);
    EXPECT_EQ(e.emitter->At(0).life, before.life);
    EXPECT_FALSE(e.emitter->emitting);   // 3 s are over: switching back on emits no more
    e.emitter->active = true;
    e.Run(4, 1.0f);
    EXPECT_EQ(e.emitter->LiveCount(), 0);
}

TEST(ParticleEmission, TheFixedPoolBoundsEmissionWhateverTheRate)
{
    struct Case
    {
        const char* what;
        float rate;
        int live;
    } cases[] = {
        {"far more than the pool holds", 1e7f, ParticleEmitter::PoolSize},
        {"no rate", 0, 0},
        {"a negative rate", -5, 0},
        {"a rate that is not a number", std::numeric_limits<float>::quiet_NaN(), 0},
        {"an endless rate", std::numeric_limits<float>::infinity(), 0},
    };
    for (const Case& c : cases)
    {
        Emitter e({{"EmitterLifeTime", 100}, {"MaxLifeTime", 100}});
        e.emitter->EmitRate = c.rate;
        e.Run(3, 0.1f);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(e.emitter->LiveCount(), c.live);
        // Time the pool had no room for is not saved up for a burst later.
        EXPECT_LE(e.emitter->accumulator, c.rate > 0 ? 1 / c.rate : 0.0f);
    }

    // A full pool takes the first record that comes free.
    Emitter full({{"EmitRate", 1e6}, {"EmitterLifeTime", 100}, {"MaxLifeTime", 100}});
    full.Run(1, 0.1f);
    ASSERT_EQ(full.emitter->LiveCount(), ParticleEmitter::PoolSize);
    full.emitter->At(17).life = 0;
    full.Run(1, 0.1f);
    EXPECT_EQ(full.emitter->LiveCount(), ParticleEmitter::PoolSize);
    EXPECT_NEAR(full.emitter->At(17).life, 100, 1e-3f);
}

TEST(ParticleEmission, AnEmitterCostsMemoryOnlyForTheRecordsItUses)
{
    // Levels make and drop emitters all the time (a puff at every death and every dig): one
    // made after others were dropped must not cost its whole pool up front.
    const auto residentBytes = [] {
        long pages = 0, resident = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r"))
        {
            if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
                resident = 0;
            std::fclose(statm);
        }
        return resident * sysconf(_SC_PAGESIZE);
    };
    for (int i = 0; i < 3; ++i)
        ParticleEmitter dropped;
    const long before = residentBytes();
    std::vector<std::unique_ptr<ParticleEmitter>> kept;
    for (int i = 0; i < 40; ++i)
        kept.push_back(std::make_unique<ParticleEmitter>());
    const long pool = static_cast<long>(sizeof(Particle)) * ParticleEmitter::PoolSize;
    EXPECT_LT(residentBytes() - before, 4 * pool) << "40 unused pools of " << pool << " bytes each";
}

TEST(ParticleTerrain, ASolidCellStopsOrBouncesAParticleThatDoesNotPassThrough)
{
    const auto grid = AsciiGrid::Make({
        "....",
        "RRRR",
        "RRRR",
    });
    const float dt = 0.125f;
    struct Case
    {
        const char* what;
        Vec3 at;
        bool feel;
        bool solid;
    } cases[] = {
        {"in rock", {1, 1, 0}, false, true},
        {"in rock, passing through", {1, 1, 0}, true, false},
        {"in the air above", {1, 2, 0}, false, false},
        {"left of the grid", {-40, 1, 0}, false, false},
        {"far above the grid", {1, 1e30f, 0}, false, false},
        {"not a number", {std::numeric_limits<float>::quiet_NaN(), 1, 0}, false, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        int stopped = 0, bounced = 0;
        for (int trial = 0; trial < 300; ++trial)
        {
            json settings = Still();
            settings["ParticleFeel"] = c.feel ? 1 : 0;
            settings["MinInitVelocity"] = settings["MaxInitVelocity"] = 1;   // rising
            Emitter e(settings, c.at);
            e.emitter->Grid = grid.get();
            e.Run(1, 1.0f);   // born in this update, moved from the next
            ASSERT_EQ(e.emitter->LiveCount(), 1);
            e.Run(1, dt);
            const Particle& p = e.emitter->At(0);
            if (!c.solid)
            {
                EXPECT_FLOAT_EQ(p.life, 2 - dt);
                EXPECT_FLOAT_EQ(p.velocity.y, 1);
                continue;
            }
            if (p.life <= 0)
                ++stopped;
            else
            {
                ++bounced;
                EXPECT_FLOAT_EQ(p.life, 2 * 0.65f - dt);
                EXPECT_FLOAT_EQ(p.velocity.y, -0.9f);
            }
        }
        if (c.solid)
        {
            // Two chances in three to stop. Over 300 trials more bounces than stops lies six standard
            // deviations out, so a failure here is a fault, not bad luck.
            EXPECT_GT(stopped, bounced);
            EXPECT_GT(bounced, 0);
        }
    }
}

TEST(ParticleEmitterData, ReadingWritingAndCopying)
{
    // Without a texture name nothing else is read.
    ParticleEmitter bare;
    bare.Read({{"EmitRate", 5}, {"MaxLifeTime", 2}});
    EXPECT_EQ(bare.EmitRate, 1);
    EXPECT_EQ(bare.MaxLifeTime, 0);

    const json saved = {{"Type", "ParticleEmitter"},
                        {"Texture", "Particle_Round"},
                        {"Color", {0.5, 0.25, 1}},
                        {"EmitterLifeTime", 0.5},
                        {"EmitRate", 20},
                        {"ParentOffset", {0, -0.5, 0}},
                        {"Scale", {0.1, 0.1, 0.1}},
                        {"InitialVelocity", {1, 2, 3}},
                        {"InitialAcceleration", {0, -9, 0}},
                        {"AngularVelocity", 1.5},
                        {"AngularAcceleration", -1},
                        {"MaxLifeTime", 0.75},
                        {"ParticleFeel", 1},
                        {"MinVelocityAngleOffset", -45},
                        {"MaxVelocityAngleOffset", 45},
                        {"DirectionAngle", 90},
                        {"MinInitVelocity", 1},
                        {"MaxInitVelocity", 2}};
    std::unique_ptr<Component> made(ComponentRegistry::Create("ParticleEmitter"));
    ASSERT_NE(dynamic_cast<ParticleEmitter*>(made.get()), nullptr);
    made->Read(saved);
    json written;
    made->Write(written);
    ASSERT_EQ(written.size(), saved.size());
    for (const auto& [key, value] : saved.items())
    {
        ASSERT_TRUE(written.contains(key)) << key;
        if (value.is_number())
            EXPECT_FLOAT_EQ(written[key].get<float>(), value.get<float>()) << key;
        else if (value.is_array())
            for (size_t i = 0; i < 3; ++i)
                EXPECT_FLOAT_EQ(written[key][i].get<float>(), value[i].get<float>()) << key << " " << i;
        else
            EXPECT_EQ(written[key], value) << key;
    }
    EXPECT_TRUE(written["ParticleFeel"].is_number_integer());
    ParticleEmitter again;
    again.Read(written);
    json twice;
    again.Write(twice);
    EXPECT_EQ(twice, written);

    // Malformed values leave the component out of its entity: Read says which key.
    const json malformed[] = {
        {{"Texture", 3}},
        {{"Texture", "Particle"}, {"EmitRate", "fast"}},
        {{"Texture", "Particle"}, {"Color", {1, 2}}},
        {{"Texture", "Particle"}, {"ParticleFeel", "yes"}},
    };
    for (const json& bad : malformed)
    {
        ParticleEmitter emitter;
        EXPECT_THROW(emitter.Read(bad), DataError) << bad.dump();
    }

    // A copy carries the live particles and goes on by itself.
    Emitter e({{"EmitRate", 10},
               {"EmitterLifeTime", 5},
               {"MaxLifeTime", 5},
               {"DirectionAngle", 90},
               {"MinInitVelocity", 1},
               {"MaxInitVelocity", 1}});
    e.Run(1, 0.35f);
    ASSERT_EQ(e.emitter->LiveCount(), 3);
    std::unique_ptr<ParticleEmitter> copy(static_cast<ParticleEmitter*>(e.emitter->Clone()));
    EXPECT_EQ(copy->LiveCount(), 3);
    EXPECT_EQ(copy->At(2).position.y, e.emitter->At(2).position.y);
    EXPECT_NEAR(copy->accumulator, 0.05f, 1e-5f);
    copy->At(0).life = 0;
    EXPECT_EQ(e.emitter->LiveCount(), 3);
}

TEST(ParticleEmitterData, AMissingPictureIsReportedOnceAndDrawsAsWhite)
{
    TraceCapture trace;
    Emitter first(json{{"Texture", "NoSuchParticlePicture"}});
    Emitter second(json{{"Texture", "NoSuchParticlePicture"}});
    first.Run(3, 0.1f);
    second.Run(3, 0.1f);
    int reports = 0;
    for (const std::string& line : trace.lines)
        reports += line.find("NoSuchParticlePicture") != std::string::npos;
    EXPECT_EQ(reports, 1) << trace.All();
    EXPECT_NE(first.emitter->TextureIndex, 0);
    EXPECT_TRUE(TextureLibrary::GetInstance().IsFallback(first.emitter->TextureIndex));
    EXPECT_EQ(second.emitter->TextureIndex, first.emitter->TextureIndex);
}

namespace
{
using Rgba = GlWindow::Rgba;
const Rgba Clear{18, 129, 61, 255};
}   // namespace

// The default camera looks at the origin from (0, 0, 15): on the plane z = 0 a world point
// (x, y) lands on pixel (80 + 7.2436 x, 45 + 7.2436 y) of the 160 x 90 window.
class ParticleDrawTest : public GlWindowTest
{
};

TEST_F(ParticleDrawTest, EachLiveParticleIsATintedCubeWhereverTheEmitterIsSwitched)
{
    Emitter e({{"Texture", "Particle"},
               {"Color", {1, 0, 0}},
               {"EmitRate", 4},
               {"EmitterLifeTime", 1.5},
               {"MaxLifeTime", 10},
               {"Scale", {1, 1, 1}}});
    e.Run(1, 0.75f);
    ASSERT_EQ(e.emitter->LiveCount(), 3);
    e.emitter->At(1).position = {-6, 3, 0};
    e.emitter->At(1).tint = {0, 0, 1};
    e.emitter->At(2).position = {6, -3, 0};
    e.emitter->At(2).life = 0;   // free: not drawn
    e.emitter->active = false;   // frozen particles are still drawn

    GraphicsSystem& graphics = GraphicsSystem::GetInstance();
    graphics.BeginFrame();
    e.emitter->Render();
    gl->Finish();
    EXPECT_EQ(gl->PixelAt(80, 45), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(gl->PixelAt(37, 67), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(gl->PixelAt(123, 23), Clear);
    EXPECT_EQ(gl->PixelAt(80, 60), Clear);   // a unit cube: nothing two units above it
}
