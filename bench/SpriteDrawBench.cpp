// A frame of N sprite-sized draw requests in a hidden window: clear, N immediate draws of the
// unit quad with the "base" shader and a picture, then wait for the GPU. Time per frame.
#include "bench/BenchWindow.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <vector>

static void BM_SpriteFrame(benchmark::State& state)
{
    const std::unique_ptr<GlWindow> gl = OpenBenchWindow(state, 1280, 720);
    if (!gl)
        return;
    GraphicsSystem& graphics = GraphicsSystem::GetInstance();
    const int count = static_cast<int>(state.range(0));
    // Quads of 0.25 world units on a grid over the visible plane, as many sprites of a level.
    std::vector<Matrix4> models;
    for (int i = 0; i < count; ++i)
    {
        const float x = -10.0f + 0.2f * static_cast<float>(i % 100),
                    y = -5.5f + 0.11f * static_cast<float>(i / 100 % 100);
        models.push_back(Matrix4::Multiply(Matrix4::Translation({x, y, 0.0001f * static_cast<float>(i % 7)}),
                                           Matrix4::Scale({0.25f, 0.25f, 1})));
    }
    Graphics::DrawRequest request;
    request.mesh = MeshLibrary::GetInstance().FindOrLoad("Prim_Plane");
    request.shader = ShaderLibrary::GetInstance().FindOrLoad("base");
    request.texture = TextureLibrary::GetInstance().FindOrLoad("White");
    const float uv[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    request.uv = uv;
    for (auto _ : state)
    {
        graphics.BeginFrame();
        for (int i = 0; i < count; ++i)
        {
            request.model = &models[static_cast<size_t>(i)];
            request.tint[0] = static_cast<float>(i % 3) * 0.5f;
            graphics.Draw(request);
        }
        gl->Finish();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_SpriteFrame)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
