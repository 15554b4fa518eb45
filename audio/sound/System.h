#pragma once
// The engine's sound layer. A system opens one output (the sound device, else the offline
// mixer), owns a fixed table of channels, the group tree under its master group and the clips
// made from sound files. Every call answers a Result; a failed call changes nothing.
//  - Channels: the table has as many slots as Init asked for; when all are busy a new sound
//    takes the slot of the oldest one, whose handle then goes stale.
//  - Update, once a frame, keeps streams fed and retires channels whose sound ended.
//  - Offline output: nothing is mixed until Render is called, so tests and silent machines
//    drive the clock by hand.
// Only one thread may use a system.
#include "audio/sound/Channel.h"
#include "audio/sound/ChannelGroup.h"
#include "audio/sound/Clip.h"
#include "audio/sound/Result.h"

#include <memory>
#include <string>

namespace Sound
{
enum class OutputChoice
{
    DeviceOrOffline,   // the sound device; the offline mixer when none opens
    OfflineOnly,
};

class System
{
public:
    static Result Create(System** out);

    Result Init(int maxChannels, OutputChoice choice = OutputChoice::DeviceOrOffline);
    Result Update();
    Result Close();     // stops everything and frees every group and clip; Init may follow
    Result Release();   // closes if needed and deletes the system

    Result GetMasterChannelGroup(ChannelGroup** out);
    Result CreateChannelGroup(const std::string& name, ChannelGroup** out);   // under the master
    Result CreateSound(const std::string& path, Storage storage, Loop loop, Clip** out);
    // Plays the clip in the group (the master when null), starting paused if asked.
    Result PlaySound(Clip* clip, ChannelGroup* group, bool paused, Channel* out);

    bool IsOpen() const;
    bool IsOffline() const;
    const char* GetOutputName() const;   // "sound device", "offline mixer" or "none"
    int GetOutputRate() const;           // frames per second of the mix; 0 while closed
    int GetMaxChannels() const;
    // Offline output only: mixes the next frames into interleaved stereo floats.
    Result Render(float* stereo, int frames);

private:
    System();
    ~System();

    std::shared_ptr<Detail::Mixer> mixer;
};
}   // namespace Sound
