// A level picture read into a terrain grid with the first level's materials, then drawn into
// the grid's upload buffer.
#include "game/PixelGrid.h"
#include "tests/fuzz/FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzKit::Setup().Write("Levels/Fuzz.png", FuzzKit::Text(data, size));
    PixelGrid grid;
    grid.Read(json{{"Source", "Fuzz"}, {"palette", "Level1"}});
    return 0;
}
