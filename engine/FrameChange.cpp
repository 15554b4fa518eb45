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
    notes = Digest(bytes, size, notes);
}

uint64_t FrameChange::Digest(const void* bytes, size_t size, uint64_t seed)
{
    // Eight bytes at a time into four lanes, each word mixed in by a multiply, so that a run of
    // words costs about a cycle each; the lanes are folded and stirred at the end. Cheap enough
    // for every draw of a frame.
    constexpr uint64_t Prime = 0x100000001b3ull;
    const auto* p = static_cast<const unsigned char*>(bytes);
    uint64_t lanes[4] = {seed, seed ^ 0x9e3779b97f4a7c15ull, seed ^ 0xc2b2ae3d27d4eb4full,
                         seed ^ 0x165667b19e3779f9ull};
    const auto word = [&p] {
        uint64_t w;
        std::memcpy(&w, p, 8);
        p += 8;
        return w;
    };
    for (; size >= 32; size -= 32)
        for (uint64_t& lane : lanes)
            lane = (lane ^ word()) * Prime;
    for (; size >= 8; size -= 8)
        lanes[0] = (lanes[0] ^ word()) * Prime;
    if (size > 0)
    {
        uint64_t w = 0;
        std::memcpy(&w, p, size);
        lanes[1] = (lanes[1] ^ w ^ (uint64_t{size} << 59)) * Prime;
    }
    uint64_t h = lanes[0];
    for (int i = 1; i < 4; ++i)
    {
        h = (h ^ (lanes[i] >> 31 | lanes[i] << 33)) * Prime;
        h ^= h >> 29;
    }
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    return h;
}
