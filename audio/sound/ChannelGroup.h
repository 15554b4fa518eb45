#pragma once
// A node of the system's group tree. The master group is the root; every other group hangs
// under one parent (the master unless moved) and every channel plays in one group. What is
// heard is the channel's volume times the volume of its group and of every group above it; a
// channel is silent while it or any group above it is paused. The system owns its groups: a
// pointer stays valid until Release or until the system closes.
#include "audio/sound/Result.h"

#include <string>
#include <vector>

namespace Sound
{
namespace Detail
{
class Mixer;
}   // namespace Detail

class ChannelGroup
{
public:
    ~ChannelGroup() = default;
    ChannelGroup(const ChannelGroup&) = delete;
    ChannelGroup& operator=(const ChannelGroup&) = delete;

    Result SetVolume(float volume);   // 0 or more
    Result GetVolume(float* volume) const;
    Result SetPaused(bool paused);
    Result GetPaused(bool* paused) const;
    // Ends every channel of this group and of the groups under it; the group stays usable.
    Result Stop();
    // Moves child (with everything under it) under this group.
    Result AddGroup(ChannelGroup* child);
    // Stops its channels, hands its child groups to its parent and frees it; not the master.
    Result Release();

    const std::string& GetName() const { return name; }
    ChannelGroup* GetParent() const { return parent; }

    float AudibleVolume() const;                         // own volume times every volume above
    bool IsSilenced() const;                             // paused itself or under a paused group
    bool IsWithin(const ChannelGroup* ancestor) const;   // itself or somewhere under it

private:
    friend class Detail::Mixer;
    ChannelGroup(Detail::Mixer* mixer, std::string name, ChannelGroup* parent)
        : mixer(mixer), name(std::move(name)), parent(parent)
    {
    }

    Detail::Mixer* mixer;
    std::string name;
    ChannelGroup* parent;
    std::vector<ChannelGroup*> children;
    float volume = 1.0f;
    bool paused = false;
};
}   // namespace Sound
