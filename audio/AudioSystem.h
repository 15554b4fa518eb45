#pragma once
// The audio system: opens the sound layer (the sound device, or the offline mixer where none
// opens), hangs the groups "Music", "SFX" and "UI" under the master group and fills the sound
// registry. Audio never stops the game: every failure is logged and the game runs on, silent
// if it must. With the offline mixer the clock follows the game: Update mixes the frame's time.
#include "audio/sound/System.h"
#include "engine/BaseSystem.h"

#include <vector>

class AudioSystem : public BaseSystem
{
public:
    static constexpr int MaxChannels = 64;

    static AudioSystem& GetInstance();

    bool Init() override;   // false when no output opened: then every later call does nothing
    void Update(float dt) override;
    void EndFrame() override;   // forgets the channels that are no longer playing
    void Shutdown() override;

    // Which output Init opens; the environment variable ZOVERAV_AUDIO=offline also asks for
    // the offline mixer (tests and silent runs).
    Sound::OutputChoice Output = Sound::OutputChoice::DeviceOrOffline;

    Sound::System* System = nullptr;
    Sound::ChannelGroup* MasterGroup = nullptr;
    Sound::ChannelGroup* MusicGroup = nullptr;
    Sound::ChannelGroup* SfxGroup = nullptr;
    Sound::ChannelGroup* UiGroup = nullptr;
    std::vector<Sound::Channel> PlayingChannels;   // started by the audio player, not yet seen ended

private:
    AudioSystem() : BaseSystem("Audio System") {}
    ~AudioSystem() override;

    double pendingFrames = 0;     // offline clock: frames owed to the mix
    std::vector<float> scratch;   // offline clock: where the unheard mix goes
};
