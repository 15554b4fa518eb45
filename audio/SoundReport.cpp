#include "audio/SoundReport.h"

#include "engine/TraceSystem.h"

bool SoundOk(Sound::Result result, std::string_view what)
{
    if (result == Sound::Result::Ok)
        return true;
    Log("AUDIO: [", what, "] ", Sound::ResultText(result), " (error ", static_cast<int>(result), ")");
    return false;
}
