// Digging into a 1440 x 810-cell terrain: 100 cells changed a frame, then the frame's texture
// refresh. The changed cells lie in one band of rows (a few diggers side by side), or scattered
// over the whole picture (diggers everywhere); "repaint" sends the whole picture every frame,
// as a grid that cannot tell which rows changed must. The "upload" runs send the rows to a
// texture in a hidden window and wait for GL to take them; the others only refresh the words.
#include "engine/DataPath.h"
#include "game/PixelGrid.h"
#include "tests/common/GlWindow.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace
{
enum class Spread
{
    Band,
    Scattered,
    Repaint,
};

void BM_Dig(benchmark::State& state, Spread spread, bool upload)
{
    std::unique_ptr<GlWindow> gl;
    if (upload)
    {
        if (!std::getenv("DISPLAY"))
        {
            state.SkipWithError("no X display");
            return;
        }
        SetDataRoot(ZOVERAV_SOURCE_DIR "/Data");
        gl = std::make_unique<GlWindow>(160, 90);
        if (!gl->IsOpen())
        {
            state.SkipWithError(gl->Error().c_str());
            return;
        }
    }
    constexpr int width = 1440, height = 810;
    {
        PixelGrid grid;
        grid.SetCells(width, height, std::vector<uint8_t>(size_t{width} * height, PixelGrid::Bridge));
        grid.Update(0);   // the first upload builds the texture
        uint32_t seed = 1;
        int rows = 0;
        for (auto _ : state)
        {
            for (int i = 0; i < 100; ++i)
            {
                seed = seed * 1664525u + 1013904223u;
                const int x = static_cast<int>(seed % width);
                const int y = spread == Spread::Band ? 400 + static_cast<int>((seed >> 16) % 8)
                                                     : static_cast<int>((seed >> 12) % height);
                grid.SetCell(x, y,
                             grid.GetCell(x, y) == PixelGrid::Empty ? PixelGrid::Bridge : PixelGrid::Empty);
            }
            if (spread == Spread::Repaint)
                grid.MarkAllDirty();
            grid.Update(0);
            if (gl)
                gl->Finish();
            rows += grid.UploadedRows;
        }
        state.counters["rows"] = benchmark::Counter(rows, benchmark::Counter::kAvgIterations);
    }   // the grid lets its texture go while the window still exists
}
}   // namespace

BENCHMARK_CAPTURE(BM_Dig, band, Spread::Band, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Dig, scattered, Spread::Scattered, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Dig, repaint, Spread::Repaint, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Dig, band_upload, Spread::Band, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Dig, scattered_upload, Spread::Scattered, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Dig, repaint_upload, Spread::Repaint, true)->Unit(benchmark::kMicrosecond);
