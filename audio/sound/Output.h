#pragma once
// Where the mix goes: an OpenAL context on some device. The mixer builds its sources in the
// context an output opens; the output decides who drives the clock.
//  - DeviceOutput: the default sound device, mixed by OpenAL on its own thread.
//  - OfflineOutput: a loopback device that mixes only when asked to render (a manual clock).
#include "audio/sound/Result.h"

#include <AL/alc.h>

namespace Sound
{
class Output
{
public:
    Output() = default;
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    virtual ~Output();   // closes the context and the device

    virtual Result Open() = 0;
    virtual bool IsOffline() const = 0;
    virtual const char* Name() const = 0;
    // Mixes the next frames into interleaved stereo floats; only an offline output renders.
    virtual Result Render(float* stereo, int frames)
    {
        (void)stereo;
        (void)frames;
        return Result::Unsupported;
    }

    ALCcontext* Context() const { return context; }
    int SampleRate() const { return sampleRate; }

protected:
    // Creates the context on the open device with `attributes` (zero-ended, or null) and no
    // effect sends; false (device closed) when it fails.
    bool CreateContext(const ALCint* attributes);
    void CloseDevice();

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    int sampleRate = 0;
};
}   // namespace Sound
