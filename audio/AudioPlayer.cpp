#include "audio/AudioPlayer.h"

AudioPlayer* AudioPlayer::GetInstance()
{
    static AudioPlayer instance;
    return &instance;
}

// Until the sound layer plays them, requests only reach the listener.
void AudioPlayer::PlaySound(std::string name, bool paused, float volume)
{
    if (listener)
        listener(name, paused, volume);
}

void AudioPlayer::StopSound(const std::string&) {}

void AudioPlayer::StopAll() {}

bool AudioPlayer::IsPaused(const std::string&) { return false; }

bool AudioPlayer::SetVolume(Sound::ChannelGroup*, float) { return false; }

bool AudioPlayer::GetVolume(Sound::ChannelGroup*, float&) { return false; }

bool AudioPlayer::SetPaused(Sound::ChannelGroup*, bool) { return false; }
