#include "audio/AudioSystem.h"

#include "audio/AudioPlayer.h"
#include "audio/AudioRegistry.h"
#include "audio/SoundReport.h"
#include "engine/TraceSystem.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr int RenderChunkFrames = 2048;
constexpr float LongestMixedFrame = 0.25f;   // seconds; a longer hitch is not caught up

bool OfflineRequested()
{
    const char* value = std::getenv("ZOVERAV_AUDIO");
    return value && std::strcmp(value, "offline") == 0;
}
}   // namespace

AudioSystem& AudioSystem::GetInstance()
{
    static AudioSystem instance;
    return instance;
}

AudioSystem::~AudioSystem()
{
    // Reached only when Shutdown never ran; the registry may already be gone, so only the
    // layer is freed here.
    if (System)
        System->Release();
}

bool AudioSystem::Init()
{
    if (System)
        return true;
    const Sound::OutputChoice choice = OfflineRequested() ? Sound::OutputChoice::OfflineOnly : Output;
    Sound::System* created = nullptr;
    if (!SoundOk(Sound::System::Create(&created), "create sound system"))
        return false;
    if (!SoundOk(created->Init(MaxChannels, choice), "open sound output"))
    {
        created->Release();
        Log("AUDIO: [", GetName(), "] no sound at all; the game runs silent");
        return false;
    }
    System = created;
    if (System->IsOffline() && choice == Sound::OutputChoice::DeviceOrOffline)
        Log("AUDIO: [", System->GetOutputName(), "] no sound device opened; sound is mixed but not heard");
    pendingFrames = 0;

    AudioRegistry::Load(System);
    SoundOk(System->GetMasterChannelGroup(&MasterGroup), "master group");
    SoundOk(System->CreateChannelGroup("Music", &MusicGroup), "create group Music");
    SoundOk(System->CreateChannelGroup("SFX", &SfxGroup), "create group SFX");
    SoundOk(System->CreateChannelGroup("UI", &UiGroup), "create group UI");
    if (MasterGroup)
        for (Sound::ChannelGroup* group : {MusicGroup, SfxGroup, UiGroup})
            if (group)
                SoundOk(MasterGroup->AddGroup(group), "hang group " + group->GetName() + " under the master");
    AudioPlayer::GetInstance()->CopyHandles();
    return true;
}

void AudioSystem::Update(float dt)
{
    if (!System)
        return;
    if (System->IsOffline())
    {
        pendingFrames += std::clamp(dt, 0.0f, LongestMixedFrame) * System->GetOutputRate();
        scratch.resize(2 * RenderChunkFrames);
        while (pendingFrames >= 1.0)
        {
            const int frames = static_cast<int>(std::min<double>(pendingFrames, RenderChunkFrames));
            if (!SoundOk(System->Render(scratch.data(), frames), "offline mix"))
            {
                pendingFrames = 0;
                break;
            }
            pendingFrames -= frames;
        }
    }
    SoundOk(System->Update(), "sound update");
}

void AudioSystem::EndFrame()
{
    const auto ended = [](const Sound::Channel& channel) {
        bool playing = false;
        return channel.IsPlaying(&playing) != Sound::Result::Ok || !playing;
    };
    PlayingChannels.erase(std::remove_if(PlayingChannels.begin(), PlayingChannels.end(), ended),
                          PlayingChannels.end());
}

void AudioSystem::Shutdown()
{
    for (Sound::ChannelGroup** group : {&MusicGroup, &SfxGroup, &UiGroup})
        if (*group)
        {
            const std::string name = (*group)->GetName();
            SoundOk((*group)->Stop(), "stop group " + name);
            SoundOk((*group)->Release(), "release group " + name);
            *group = nullptr;
        }
    // The master group belongs to the layer and goes with it.
    if (MasterGroup)
        SoundOk(MasterGroup->Stop(), "stop master group");
    MasterGroup = nullptr;
    AudioRegistry::Clear();
    PlayingChannels.clear();
    if (System)
    {
        SoundOk(System->Close(), "close sound system");
        SoundOk(System->Release(), "release sound system");
        System = nullptr;
    }
    AudioPlayer::GetInstance()->CopyHandles();
}
