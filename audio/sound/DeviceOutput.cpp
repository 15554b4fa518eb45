#include "audio/sound/DeviceOutput.h"

namespace Sound
{
Result DeviceOutput::Open()
{
    if (device)
        return Result::AlreadyInitialised;
    device = alcOpenDevice(nullptr);
    if (!device)
        return Result::NoOutput;
    return CreateContext(nullptr) ? Result::Ok : Result::NoOutput;
}
}   // namespace Sound
