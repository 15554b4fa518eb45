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

bool FrameChange::TakesNote()
{
    if (!unknown && ++count > MostNotes)
        unknown = true;
    return !unknown;
}

void FrameChange::Note(const void* bytes, size_t size)
{
    if (TakesNote())
        notes = Digest(bytes, size, notes);
}

void FrameChange::NoteDigest(uint64_t digest)
{
    if (TakesNote())
        notes = Stir(notes ^ digest);
}

uint64_t FrameChange::Digest(const void* bytes, size_t size, uint64_t seed)
{
    // Eight bytes at a time into four lanes, each word mixed in by a multiply, so that a run of
    // words costs about a cycle each; the lanes are folded and stirred at the end. Cheap enough
    // for every draw of a frame.
    constexpr uint64_t Prime = 0x100000001b3ull;
    const auto* p = static_cast<const unsigned char*>(bytes);
    const auto load = [](const unsigned char* at) {
        uint64_t w;
        std::memcpy(&w, at, 8);
        return w;
    };
    uint64_t a = seed, b = seed ^ 0x9e3779b97f4a7c15ull, c = seed ^ 0xc2b2ae3d27d4eb4full,
             d = seed ^ 0x165667b19e3779f9ull;
    for (; size >= 32; size -= 32, p += 32)
    {
        a = (a ^ load(p)) * Prime;
        b = (b ^ load(p + 8)) * Prime;
        c = (c ^ load(p + 16)) * Prime;
        d = (d ^ load(p + 24)) * Prime;
    }
    if (size >= 8)
        a = (a ^ load(p)) * Prime, p += 8, size -= 8;
    if (size >= 8)
        b = (b ^ load(p)) * Prime, p += 8, size -= 8;
    if (size >= 8)
        c = (c ^ load(p)) * Prime, p += 8, size -= 8;
    if (size > 0)
    {
        uint64_t w = 0;
        std::memcpy(&w, p, size);
        d = (d ^ w ^ (uint64_t{size} << 59)) * Prime;
    }
    const auto turn = [](uint64_t v, int by) { return v << by | v >> (64 - by); };
    return Stir(a ^ turn(b, 17) ^ turn(c, 31) ^ turn(d, 47));
}

uint64_t FrameChange::Stir(uint64_t h)
{
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ull;
    h ^= h >> 33;
    return h;
}
