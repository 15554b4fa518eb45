#pragma once
// A handle to one playing sound: a slot of the system's channel table and the generation the
// slot had when the sound started. The slot's generation moves on when the sound ends, is
// stopped or is stolen, so an old handle never reaches a newer sound in the same slot, and a
// handle outliving its system is just as safe. Copy it freely; a default handle is null.
//  - A channel's pause flag is its own: pausing a group above it leaves the flag as it was.
//  - A paused channel (by itself or by a group) is still playing.
#include "audio/sound/Result.h"

#include <cstdint>
#include <memory>

namespace Sound
{
namespace Detail
{
class Mixer;
}   // namespace Detail

class Channel
{
public:
    Channel() = default;

    Result SetVolume(float volume);   // 0 or more; heard as channel x group x ... x master
    Result GetVolume(float* volume) const;
    Result SetPaused(bool paused);
    Result GetPaused(bool* paused) const;
    // Ok with false once the sound ended, was stopped or stolen; InvalidHandle for a null handle.
    Result IsPlaying(bool* playing) const;
    Result Stop();

    bool IsNull() const { return slot < 0; }
    bool operator==(const Channel& other) const;

private:
    friend class Detail::Mixer;
    Channel(std::weak_ptr<Detail::Mixer> mixer, int slot, uint32_t generation)
        : mixer(std::move(mixer)), slot(slot), generation(generation)
    {
    }

    std::weak_ptr<Detail::Mixer> mixer;
    int slot = -1;
    uint32_t generation = 0;
};
}   // namespace Sound
