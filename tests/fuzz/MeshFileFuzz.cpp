// A mesh file read from the parts folder.
#include "graphics/Mesh.h"
#include "tests/fuzz/FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzKit::Setup().Write("Parts/Fuzz.xobj", FuzzKit::Text(data, size));
    Mesh mesh;
    mesh.LoadFromFile("./Data/Parts/Fuzz.xobj");
    return 0;
}
