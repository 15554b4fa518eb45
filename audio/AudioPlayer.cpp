#include "audio/AudioPlayer.h"

#include "audio/AudioSystem.h"
#include "audio/SoundReport.h"

AudioPlayer* AudioPlayer::GetInstance()
{
    static AudioPlayer instance;
    return &instance;
}

void AudioPlayer::CopyHandles()
{
    AudioSystem& audio = AudioSystem::GetInstance();
    System = audio.System;
    MasterGroup = audio.MasterGroup;
    MusicGroup = audio.MusicGroup;
    SfxGroup = audio.SfxGroup;
    UiGroup = audio.UiGroup;
    PlayingChannels = &audio.PlayingChannels;
    Registry = &AudioRegistry::GetInstance();
}

Sound::ChannelGroup* AudioPlayer::GroupFor(int bus) const
{
    switch (bus)
    {
    case SoundBus::Music:
        return MusicGroup;
    case SoundBus::Sfx:
        return SfxGroup;
    case SoundBus::Ui:
        return UiGroup;
    default:
        return MasterGroup;
    }
}

void AudioPlayer::PlaySound(std::string name, bool paused, float volume) { StartSound(name, paused, volume); }

Sound::Channel AudioPlayer::StartSound(const std::string& name, bool paused, float volume)
{
    if (listener)
        listener(name, paused, volume);
    SoundEntry* entry = System ? AudioRegistry::Find(name) : nullptr;
    if (!entry || !entry->Sound)
        return {};
    // Started paused so the volume is in place before the first sample is mixed.
    Sound::Channel channel;
    if (!SoundOk(System->PlaySound(entry->Sound, GroupFor(entry->Bus), true, &channel), "play " + name))
        return {};
    SoundOk(channel.SetVolume(volume), "volume of " + name);
    if (!paused)
        SoundOk(channel.SetPaused(false), "start " + name);
    PlayingChannels->push_back(channel);
    entry->LastChannel = channel;
    return channel;
}

void AudioPlayer::StopSound(const std::string& name)
{
    if (!Registry)
        return;
    for (SoundEntry& entry : *Registry)
        if (entry.Name == name && !entry.LastChannel.IsNull())
        {
            // A sound that already ended has nothing left to stop.
            const Sound::Result stopped = entry.LastChannel.Stop();
            if (stopped != Sound::Result::InvalidHandle)
                SoundOk(stopped, "stop " + name);
        }
}

void AudioPlayer::StopAll()
{
    for (Sound::ChannelGroup* group : {MusicGroup, SfxGroup, UiGroup, MasterGroup})
        if (group)
            SoundOk(group->Stop(), "stop group " + group->GetName());
}

bool AudioPlayer::IsPaused(const std::string& name)
{
    const SoundEntry* entry = Registry ? AudioRegistry::Find(name) : nullptr;
    if (!entry || entry->LastChannel.IsNull())
        return false;
    bool paused = false;
    const Sound::Result asked = entry->LastChannel.GetPaused(&paused);
    if (asked == Sound::Result::InvalidHandle)
        return false;   // the sound ended
    return SoundOk(asked, "pause state of " + name) && paused;
}

bool AudioPlayer::SetVolume(Sound::ChannelGroup* group, float volume)
{
    return group && SoundOk(group->SetVolume(volume), "volume of group " + group->GetName());
}

bool AudioPlayer::GetVolume(Sound::ChannelGroup* group, float& volume)
{
    float read = 0;
    if (!group || !SoundOk(group->GetVolume(&read), "volume of group " + group->GetName()))
        return false;
    volume = read;
    return true;
}

bool AudioPlayer::SetPaused(Sound::ChannelGroup* group, bool paused)
{
    return group && SoundOk(group->SetPaused(paused), "pause of group " + group->GetName());
}
