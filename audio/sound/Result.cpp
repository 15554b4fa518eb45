#include "audio/sound/Result.h"

namespace Sound
{
const char* ResultText(Result result)
{
    switch (result)
    {
    case Result::Ok:
        return "no error";
    case Result::InvalidHandle:
        return "the channel or group is no longer valid";
    case Result::InvalidParam:
        return "an argument is out of range";
    case Result::NotInitialised:
        return "the sound system is not open";
    case Result::AlreadyInitialised:
        return "the sound system is already open";
    case Result::NoOutput:
        return "no sound output could be opened";
    case Result::FileNotFound:
        return "the sound file does not exist";
    case Result::FileUnreadable:
        return "the sound file does not decode";
    case Result::FormatUnsupported:
        return "the sound file has more than two channels";
    case Result::Unsupported:
        return "only the offline output renders by hand";
    case Result::BackendFailure:
        return "the mixer refused the request";
    }
    return "unknown result";
}
}   // namespace Sound
