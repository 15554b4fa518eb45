#pragma once
// The offline back end, for machines without a sound device and for tests. Implements:
//  - Open: an OpenAL Soft loopback device (stereo, 32-bit float, 44100 Hz, no head-related
//    filter, no output limiter), so the mix is plain sums of gains;
//  - Render: mixes exactly the frames asked for; time moves only when someone renders.
#include "audio/sound/Output.h"

namespace Sound
{
class OfflineOutput : public Output
{
public:
    static constexpr int Rate = 44100;

    Result Open() override;
    bool IsOffline() const override { return true; }
    const char* Name() const override { return "offline mixer"; }
    Result Render(float* stereo, int frames) override;

private:
    void (*renderSamples)(ALCdevice*, ALCvoid*, ALCsizei) = nullptr;
};
}   // namespace Sound
