#include "audio/sound/Output.h"

#include <AL/efx.h>
#include <vector>

namespace Sound
{
Output::~Output() { CloseDevice(); }

bool Output::CreateContext(const ALCint* attributes)
{
    // No sound goes through an effect. OpenAL Soft keeps the state of every send of each of its
    // 256 voices, two sends by default: three quarters of a megabyte for nothing.
    std::vector<ALCint> list;
    for (const ALCint* a = attributes; a && a[0] != 0; a += 2)
        list.insert(list.end(), {a[0], a[1]});
    list.insert(list.end(), {ALC_MAX_AUXILIARY_SENDS, 0, 0});
    context = alcCreateContext(device, list.data());
    if (!context)
    {
        CloseDevice();
        return false;
    }
    ALCint rate = 0;
    alcGetIntegerv(device, ALC_FREQUENCY, 1, &rate);
    sampleRate = rate > 0 ? rate : 44100;
    return true;
}

void Output::CloseDevice()
{
    if (context)
    {
        if (alcGetCurrentContext() == context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        context = nullptr;
    }
    if (device)
    {
        alcCloseDevice(device);
        device = nullptr;
    }
}
}   // namespace Sound
