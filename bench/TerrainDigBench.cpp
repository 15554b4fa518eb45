// Digging into a 1440 x 810-cell terrain: 100 cells changed a frame, then the frame's texture
// refresh. The changed cells lie in one band of rows (a few diggers side by side), or scattered
// over the whole picture (diggers everywhere); the last case repaints everything, as a grid
// that cannot tell which rows changed must.
#include "game/PixelGrid.h"

#include <benchmark/benchmark.h>

namespace
{
enum class Spread
{
    Band,
    Scattered,
    Repaint,
};

void BM_Dig(benchmark::State& state, Spread spread)
{
    constexpr int width = 1440, height = 810;
    PixelGrid grid;
    grid.SetCells(width, height, std::vector<uint8_t>(size_t{width} * height, PixelGrid::Bridge));
    grid.Update(0);
    uint32_t seed = 1;
    int rows = 0;
    for (auto _ : state)
    {
        for (int i = 0; i < 100; ++i)
        {
            seed = seed * 1664525u + 1013904223u;
            const int x = static_cast<int>(seed % width);
            const int y = spread == Spread::Band ? 400 + static_cast<int>((seed >> 16) % 8) : static_cast<int>((seed >> 12) % height);
            grid.SetCell(x, y, grid.GetCell(x, y) == PixelGrid::Empty ? PixelGrid::Bridge : PixelGrid::Empty);
        }
        if (spread == Spread::Repaint)
            grid.MarkAllDirty();
        grid.Update(0);
        rows += grid.UploadedRows;
    }
    state.counters["rows"] = benchmark::Counter(rows, benchmark::Counter::kAvgIterations);
}
} // namespace

BENCHMARK_CAPTURE(BM_Dig, band, Spread::Band)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Dig, scattered, Spread::Scattered)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Dig, repaint, Spread::Repaint)->Unit(benchmark::kMicrosecond);
