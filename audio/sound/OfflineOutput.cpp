#include "audio/sound/OfflineOutput.h"

#include <AL/alext.h>

namespace Sound
{
Result OfflineOutput::Open()
{
    if (device)
        return Result::AlreadyInitialised;
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
        return Result::NoOutput;
    // The loopback entry points are an extension: reach them by name.
    const auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    const auto isSupported = reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(
        alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
    renderSamples =
        reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!openLoopback || !isSupported || !renderSamples)
        return Result::NoOutput;
    device = openLoopback(nullptr);
    if (!device)
        return Result::NoOutput;
    if (!isSupported(device, Rate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT))
    {
        CloseDevice();
        return Result::NoOutput;
    }
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY,
                                 Rate,
                                 ALC_HRTF_SOFT,
                                 ALC_FALSE,
                                 ALC_OUTPUT_LIMITER_SOFT,
                                 ALC_FALSE,
                                 0};
    return CreateContext(attributes) ? Result::Ok : Result::NoOutput;
}

Result OfflineOutput::Render(float* stereo, int frames)
{
    if (!device || !context)
        return Result::NotInitialised;
    if (!stereo || frames < 0)
        return Result::InvalidParam;
    if (frames > 0)
        renderSamples(device, stereo, frames);
    return Result::Ok;
}
}   // namespace Sound
