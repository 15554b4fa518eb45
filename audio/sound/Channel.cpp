#include "audio/sound/Channel.h"

#include "audio/sound/Mixer.h"

namespace Sound
{
namespace
{
// Runs the call on the live mixer of a handle; a null handle or a deleted system answers
// InvalidHandle.
template <typename Call> Result WithMixer(const std::weak_ptr<Detail::Mixer>& mixer, int slot, Call call)
{
    if (slot < 0)
        return Result::InvalidHandle;
    const std::shared_ptr<Detail::Mixer> live = mixer.lock();
    return live ? call(*live) : Result::InvalidHandle;
}
}   // namespace

Result Channel::SetVolume(float volume)
{
    return WithMixer(mixer, slot, [&](Detail::Mixer& m) { return m.SetVolume(slot, generation, volume); });
}

Result Channel::GetVolume(float* volume) const
{
    return WithMixer(mixer, slot, [&](Detail::Mixer& m) { return m.GetVolume(slot, generation, volume); });
}

Result Channel::SetPaused(bool paused)
{
    return WithMixer(mixer, slot, [&](Detail::Mixer& m) { return m.SetPaused(slot, generation, paused); });
}

Result Channel::GetPaused(bool* paused) const
{
    return WithMixer(mixer, slot, [&](Detail::Mixer& m) { return m.GetPaused(slot, generation, paused); });
}

Result Channel::IsPlaying(bool* playing) const
{
    if (playing)
        *playing = false;
    return WithMixer(mixer, slot, [&](Detail::Mixer& m) { return m.IsPlaying(slot, generation, playing); });
}

Result Channel::Stop()
{
    return WithMixer(mixer, slot, [&](Detail::Mixer& m) { return m.Stop(slot, generation); });
}

bool Channel::operator==(const Channel& other) const
{
    return slot == other.slot && generation == other.generation && !mixer.owner_before(other.mixer) &&
           !other.mixer.owner_before(mixer);
}
}   // namespace Sound
