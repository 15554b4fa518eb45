// Particle archetypes in a level: they find the scene's terrain, land on it instead of falling
// through, and their entities go away after their lifetime.
#include "game/PixelGrid.h"
#include "graphics/ParticleEmitter.h"
#include "scene/Archetypes.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Scene.h"
#include "scene/Transform.h"
#include "tests/common/BotFixture.h"

#include <functional>
#include <gtest/gtest.h>

TEST(ParticleScene, EveryParticleArchetypeLandsOnTheTerrainAndIsGoneAfterItsLifetime)
{
    for (const char* name : {"Particle_Dig", "Particle_Tunnel", "Particle_Death"})
    {
        SCOPED_TRACE(name);
        BotFixture level;
        level.Terrain({
            "..........",
            "..........",
            "..........",
            "##########",
            "RRRRRRRRRR",
        });
        auto* particles = new Entity();
        ASSERT_TRUE(FactoryBuild(*particles, name));
        particles->IsSpawned = true;
        particles->GetComponent<Transform>()->Translation = {5, 2.5f, 0};
        level.scene.AddEntity(particles);
        const ParticleEmitter* emitter = particles->GetComponent<ParticleEmitter>();
        ASSERT_NE(emitter, nullptr);

        int most = 0;
        bool gone = false;
        // The ground row covers y from 0.5 to 1.5: a particle may enter it by one step at most.
        const float lowest = 1.5f - 0.25f;
        for (int frame = 0; frame < 64 * 3 && !gone; ++frame)
        {
            level.Run(1);
            gone = level.scene.GetEntityList().FindByName(name) == nullptr;
            if (gone)
                break;
            EXPECT_EQ(emitter->Grid, level.grid);
            most = std::max(most, emitter->LiveCount());
            for (int i = 0; i < ParticleEmitter::PoolSize; ++i)
            {
                if (emitter->At(i).life > 0)
                {
                    EXPECT_GE(emitter->At(i).position.y, lowest) << "frame " << frame;
                }
            }
        }
        EXPECT_GT(most, 0);
        EXPECT_TRUE(gone) << "still in the scene after three seconds";
    }
}

TEST(ParticleScene, ATerrainThatGoesIsLetGoBeforeAnyParticleReadsIt)
{
    struct Case
    {
        const char* how;
        std::function<void(BotFixture&)> takeAway;
    } cases[] = {
        {"its component taken off",
         [](BotFixture& level) {
             Entity* terrain = level.scene.GetEntityList().FindByName("Terrain");
             std::erase(terrain->components, static_cast<Component*>(level.grid));
             delete level.grid;
         }},
        {"its entity deleted", [](BotFixture& level) { level.scene.RemoveEntity("Terrain"); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.how);
        BotFixture level;
        level.Terrain({"..........", "..........", "##########"});
        auto* particles = new Entity();
        ASSERT_TRUE(FactoryBuild(*particles, "Particle_Dig"));
        particles->GetComponent<Transform>()->Translation = {5, 2.5f, 0};
        level.scene.AddEntity(particles);
        const ParticleEmitter* emitter = particles->GetComponent<ParticleEmitter>();
        level.Run(3);
        ASSERT_EQ(emitter->Grid, level.grid);
        ASSERT_GT(emitter->LiveCount(), 0);

        c.takeAway(level);
        level.grid = nullptr;
        level.Run(3);   // the particles go on moving, through the air now
        EXPECT_EQ(emitter->Grid, nullptr);
        for (int i = 0; i < ParticleEmitter::PoolSize; ++i)
            ASSERT_EQ(emitter->At(i).grid, nullptr) << i;
    }
}
