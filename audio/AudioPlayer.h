#pragma once
// The process-wide handle through which gameplay, scenes and the music player play, stop and
// pause sounds by their registry name, and reach the four channel groups (master over music,
// effects and interface). Tests can watch every request through a listener.
// The handles are the audio system's: it hands them over after Init and takes them back (all
// null) at Shutdown, so with no sound output every call here quietly does nothing.
#include "audio/AudioRegistry.h"
#include "audio/sound/System.h"

#include <functional>
#include <string>
#include <vector>

class AudioPlayer
{
public:
    static AudioPlayer* GetInstance();

    void PlaySound(std::string name, bool paused, float volume);   // volume 1 is full
    void StopSound(const std::string& name);   // the latest channel of every entry of that name
    void StopAll();                            // every channel of the four groups
    bool IsPaused(const std::string& name);

    // PlaySound that hands back the channel it started; a null handle when nothing played.
    Sound::Channel StartSound(const std::string& name, bool paused, float volume);

    // Sees every PlaySound request, heard or not (a machine without a sound device still asks).
    using Listener = std::function<void(const std::string& name, bool paused, float volume)>;
    void SetListener(Listener listener) { this->listener = std::move(listener); }

    // Volume and pause of one channel group; false when the group is missing or the call failed.
    bool SetVolume(Sound::ChannelGroup* group, float volume);
    bool GetVolume(Sound::ChannelGroup* group, float& volume);   // volume unchanged on failure
    bool SetPaused(Sound::ChannelGroup* group, bool paused);

    void CopyHandles();   // takes the audio system's current handles

    Sound::ChannelGroup* MasterGroup = nullptr;
    Sound::ChannelGroup* MusicGroup = nullptr;
    Sound::ChannelGroup* SfxGroup = nullptr;
    Sound::ChannelGroup* UiGroup = nullptr;
    Sound::System* System = nullptr;
    std::vector<Sound::Channel>* PlayingChannels = nullptr;   // the audio system's list
    std::vector<SoundEntry>* Registry = nullptr;

private:
    AudioPlayer() { CopyHandles(); }
    Sound::ChannelGroup* GroupFor(int bus) const;

    Listener listener;
};
