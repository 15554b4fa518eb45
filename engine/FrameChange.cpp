#include "engine/FrameChange.h"

#include <cstring>

void FrameChange::BeginFrame()
{
    drawing = !steady;
    unknown = false;
    count = 0;
    notes = 0x9e3779b97f4a7c15ull;
}

bool FrameChange::EndFrame()
{
    const bool same = anyShown && !unknown && notes == shown;
    if (drawing)
    {
        steady = same;
        shown = notes;
        anyShown = !unknown;
        return true;
    }
    steady = same;
    return false;
}

void FrameChange::Note(const void* bytes, size_t size)
{
    if (unknown)
        return;
    if (++count > MostNotes)
    {
        unknown = true;
        return;
    }
    // Eight bytes at a time, each word mixed in by a multiply: cheap enough for every draw of a
    // frame; two different pictures give the same notes only by a rare accident.
    const auto* p = static_cast<const unsigned char*>(bytes);
    const auto mix = [this](uint64_t word) {
        notes = (notes ^ word) * 0x100000001b3ull;
        notes ^= notes >> 29;
    };
    for (; size >= 8; p += 8, size -= 8)
    {
        uint64_t word;
        std::memcpy(&word, p, 8);
        mix(word);
    }
    if (size > 0)
    {
        uint64_t word = 0;
        std::memcpy(&word, p, size);
        mix(word ^ (uint64_t{size} << 59));
    }
}
