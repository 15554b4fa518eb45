// A sound file: made into a clip held whole and into a streamed one, each played into the
// offline mix for a moment, then released.
#include "audio/AudioSystem.h"
#include "tests/fuzz/FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzKit::OpenOfflineAudio();
    const std::string path = FuzzKit::Setup() / "Audio/Fuzz.wav";
    FuzzKit::Setup().Write("Audio/Fuzz.wav", FuzzKit::Text(data, size));
    Sound::System* system = AudioSystem::GetInstance().System;
    if (!system)
        return 0;
    for (const Sound::Storage storage : {Sound::Storage::Sample, Sound::Storage::Stream})
    {
        Sound::Clip* clip = nullptr;
        if (system->CreateSound(path, storage, Sound::Loop::Off, &clip) != Sound::Result::Ok || !clip)
            continue;
        Sound::Channel channel;
        system->PlaySound(clip, nullptr, false, &channel);
        float mix[2 * 1024];
        system->Render(mix, 1024);
        system->Update();
        channel.Stop();
        clip->Release();
    }
    return 0;
}
