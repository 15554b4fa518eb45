#pragma once
// The process-wide handle through which gameplay, scenes and the music player play, stop and
// pause sounds by their registry name, and reach the four channel groups (master over music,
// effects and interface). Tests can watch every request through a listener.
#include <functional>
#include <string>

namespace Sound
{
class ChannelGroup;
}

class AudioPlayer
{
public:
    static AudioPlayer* GetInstance();

    void PlaySound(std::string name, bool paused, float volume);   // volume 1 is full
    void StopSound(const std::string& name);   // the latest channel of every entry of that name
    void StopAll();                            // every channel of the four groups
    bool IsPaused(const std::string& name);

    // Sees every PlaySound request, heard or not (a machine without a sound device still asks).
    using Listener = std::function<void(const std::string& name, bool paused, float volume)>;
    void SetListener(Listener listener) { this->listener = std::move(listener); }

    // Volume and pause of one channel group; false when the group is missing or the call failed.
    bool SetVolume(Sound::ChannelGroup* group, float volume);
    bool GetVolume(Sound::ChannelGroup* group, float& volume);
    bool SetPaused(Sound::ChannelGroup* group, bool paused);

    Sound::ChannelGroup* MasterGroup = nullptr;
    Sound::ChannelGroup* MusicGroup = nullptr;
    Sound::ChannelGroup* SfxGroup = nullptr;
    Sound::ChannelGroup* UiGroup = nullptr;

private:
    AudioPlayer() = default;
    Listener listener;
};
