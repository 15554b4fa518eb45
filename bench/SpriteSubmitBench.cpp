// The main thread's CPU per frame to submit N sprites in a hidden 1440 x 810 window: N entities
// with a Transform and a Sprite of the bot's picture, each showing its own animation cell and
// tint as bots do, drawn through Sprite::Render, then the frame's queue issued. The rasteriser's
// own threads are not counted (the CPU column is this thread's); waiting for them is not CPU.
// Bringing the finished frame to the window, as presenting it, is left out of the timing.
#include "bench/BenchWindow.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/Sprite.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <vector>

static void BM_SpriteSubmit(benchmark::State& state)
{
    const std::unique_ptr<GlWindow> gl = OpenBenchWindow(state, 1440, 810);
    if (!gl)
        return;
    GraphicsSystem& graphics = GraphicsSystem::GetInstance();
    const int count = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<Entity>> sprites;
    for (int i = 0; i < count; ++i)
    {
        auto entity = std::make_unique<Entity>();
        auto* transform = new Transform();
        transform->Translation = {-10.0f + 0.2f * static_cast<float>(i % 100),
                                  -5.5f + 0.11f * static_cast<float>(i / 100 % 100), 0};
        transform->Scale = {0.5f, 0.5f, 1};
        entity->AddComponent(transform);
        auto* sprite = new Sprite("Prim_Plane", "alpha", "Bot_Walk");
        sprite->uv[0] = 0.125f;
        sprite->uv[6] = 0.125f * static_cast<float>(i % 8);
        sprite->request->tint[1] = i % 10 == 0 ? 0.5f : 1.0f;
        entity->AddComponent(sprite);
        sprites.push_back(std::move(entity));
    }
    for (auto _ : state)
    {
        graphics.BeginFrame();
        for (const auto& entity : sprites)
            entity->GetComponent<Sprite>()->Render();
        graphics.IssueQueued();
        state.PauseTiming();
        graphics.EndFrame();
        gl->Finish();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_SpriteSubmit)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
