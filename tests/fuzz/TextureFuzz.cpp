// A picture read through the texture path; without a GL context its pixels stay waiting.
#include "graphics/Texture.h"
#include "tests/fuzz/FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzKit::Setup().Write("Textures/Fuzz.png", FuzzKit::Text(data, size));
    const Texture texture("Fuzz");
    return 0;
}
