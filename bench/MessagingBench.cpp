// The message bus under a frame's worth of traffic: N messages to a handful of subscribers.
#include "engine/MessagingSystem.h"

#include <benchmark/benchmark.h>

static void BM_DispatchFrame(benchmark::State& state)
{
    MessagingSystem& bus = MessagingSystem::GetInstance();
    bus.Clear();
    int heard = 0;
    for (int s = 0; s < 8; ++s)
        bus.Subscribe(s % 2 ? 1 : 2, "bench", [&heard](std::string) { return ++heard, false; });
    for (auto _ : state)
    {
        for (int m = 0; m < state.range(0); ++m)
            bus.Post(m % 2 ? 1 : 2, "512, 1");
        bus.EndFrame();
    }
    benchmark::DoNotOptimize(heard);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    bus.Clear();
}
BENCHMARK(BM_DispatchFrame)->Arg(10)->Arg(100)->Arg(1000);
