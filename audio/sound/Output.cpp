#include "audio/sound/Output.h"

namespace Sound
{
Output::~Output() { CloseDevice(); }

bool Output::CreateContext(const ALCint* attributes)
{
    context = alcCreateContext(device, attributes);
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
