#include "bench/BenchWindow.h"

#include "engine/DataPath.h"

#include <cstdlib>

std::unique_ptr<GlWindow> OpenBenchWindow(benchmark::State& state, int width, int height)
{
    if (!std::getenv("DISPLAY"))
    {
        state.SkipWithError("no X display");
        return nullptr;
    }
    SetDataRoot(ZOVERAV_SOURCE_DIR "/Data");
    auto gl = std::make_unique<GlWindow>(width, height);
    if (!gl->IsOpen())
    {
        state.SkipWithError(gl->Error().c_str());
        return nullptr;
    }
    return gl;
}
