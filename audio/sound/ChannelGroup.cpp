#include "audio/sound/ChannelGroup.h"

#include "audio/sound/Mixer.h"

#include <cmath>

namespace Sound
{
namespace
{
// Changes one of a group's fields and has its channels follow; on failure the old value stays.
template <typename T> Result ChangeAndApply(Detail::Mixer* mixer, ChannelGroup* group, T& field, T value)
{
    const T old = field;
    field = value;
    const Result applied = mixer->ApplyGroup(group);
    if (applied != Result::Ok)
        field = old;
    return applied;
}

template <typename T> Result Read(const T& field, T* out)
{
    if (!out)
        return Result::InvalidParam;
    *out = field;
    return Result::Ok;
}
}   // namespace

Result ChannelGroup::SetVolume(float volume)
{
    if (!std::isfinite(volume) || volume < 0.0f)
        return Result::InvalidParam;
    return ChangeAndApply(mixer, this, this->volume, volume);
}

Result ChannelGroup::GetVolume(float* volume) const { return Read(this->volume, volume); }

Result ChannelGroup::SetPaused(bool paused) { return ChangeAndApply(mixer, this, this->paused, paused); }

Result ChannelGroup::GetPaused(bool* paused) const { return Read(this->paused, paused); }

Result ChannelGroup::Stop() { return mixer->StopGroup(this); }

Result ChannelGroup::AddGroup(ChannelGroup* child) { return mixer->MoveGroup(this, child); }

Result ChannelGroup::Release() { return mixer->ReleaseGroup(this); }

float ChannelGroup::AudibleVolume() const
{
    float product = 1.0f;
    for (const ChannelGroup* g = this; g; g = g->parent)
        product *= g->volume;
    return product;
}

bool ChannelGroup::IsSilenced() const
{
    for (const ChannelGroup* g = this; g; g = g->parent)
        if (g->paused)
            return true;
    return false;
}

bool ChannelGroup::IsWithin(const ChannelGroup* ancestor) const
{
    for (const ChannelGroup* g = this; g; g = g->parent)
        if (g == ancestor)
            return true;
    return false;
}
}   // namespace Sound
