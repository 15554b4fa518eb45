// The particle emitter's per-frame cost. "Copy" builds a particle entity's emitter the way the
// archetype factory does, once per dug cell: a copy of an emitter with a few live particles.
// "Update" moves a pool of live particles over a terrain and emits nothing new; the argument is
// the number alive (the pool holds 5000), and the search never looks past the highest record
// ever used.
#include "game/PixelGrid.h"
#include "graphics/ParticleEmitter.h"
#include "tests/common/AsciiGrid.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace
{
void Fill(ParticleEmitter& emitter, int live)
{
    emitter.Read({{"Texture", "White"},
                  {"EmitRate", 1e6},
                  {"EmitterLifeTime", 1},
                  {"MaxLifeTime", 1e9},
                  {"DirectionAngle", 90},
                  {"MinInitVelocity", 0},
                  {"MaxInitVelocity", 0}});
    while (emitter.LiveCount() < live)
        emitter.Update(1e-6f);
    emitter.EmitterLifeTime = 0;
}

void BM_ParticleCopy(benchmark::State& state)
{
    ParticleEmitter emitter;
    Fill(emitter, 8);
    for (auto _ : state)
    {
        std::unique_ptr<Component> copy(emitter.Clone());
        benchmark::DoNotOptimize(copy.get());
    }
}
BENCHMARK(BM_ParticleCopy);

void BM_ParticleUpdate(benchmark::State& state)
{
    const auto grid = AsciiGrid::Filled(64, 64, '.');
    ParticleEmitter emitter;
    Fill(emitter, static_cast<int>(state.range(0)));
    emitter.Grid = grid.get();
    for (int i = 0; i < ParticleEmitter::PoolSize; ++i)
        emitter.At(i).grid = grid.get();
    for (auto _ : state)
    {
        emitter.Update(1e-9f);
        benchmark::DoNotOptimize(emitter.At(0).position);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParticleUpdate)->Arg(10)->Arg(500)->Arg(5000);
}   // namespace
