// A sound registry file: read into the table of sounds (the files it names are the game's),
// every sound played once into the offline mix, then the table emptied.
#include "audio/AudioRegistry.h"
#include "audio/AudioSystem.h"
#include "tests/fuzz/FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzKit::OpenOfflineAudio();
    FuzzKit::Setup().Write("Audio/Fuzz.json", FuzzKit::Text(data, size));
    Sound::System* system = AudioSystem::GetInstance().System;
    if (!system)
        return 0;
    if (AudioRegistry::LoadFile("Data/Audio/Fuzz.json", system))
    {
        for (SoundEntry& entry : AudioRegistry::GetInstance())
            system->PlaySound(entry.Sound, nullptr, false, &entry.LastChannel);
        float mix[2 * 256];
        system->Render(mix, 256);
    }
    AudioRegistry::Clear();
    return 0;
}
