#pragma once
// The window of a drawing benchmark: a hidden window with a GL context over the game's own data.
#include "tests/common/GlWindow.h"

#include <benchmark/benchmark.h>
#include <memory>

// The data root set and a window of the size opened; null, with the benchmark skipped and the
// reason given, when there is no X display or the window does not open.
std::unique_ptr<GlWindow> OpenBenchWindow(benchmark::State& state, int width, int height);
