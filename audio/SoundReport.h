#pragma once
// Every result of the sound layer is checked through here: Ok passes silently; anything else
// becomes one log line naming the call, and the caller goes on as if nothing had happened.
#include "audio/sound/Result.h"

#include <string_view>

bool SoundOk(Sound::Result result, std::string_view what);
