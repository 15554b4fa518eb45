#pragma once
// The sound device back end. Implements:
//  - Open: the system's default playback device through OpenAL Soft, with its own context;
//  - mixing on OpenAL's own thread at the device's rate (nothing to drive by hand);
//  - Render: not available (Unsupported).
#include "audio/sound/Output.h"

namespace Sound
{
class DeviceOutput : public Output
{
public:
    Result Open() override;
    bool IsOffline() const override { return false; }
    const char* Name() const override { return "sound device"; }
};
}   // namespace Sound
