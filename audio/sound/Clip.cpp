#include "audio/sound/Clip.h"

#include "audio/sound/Mixer.h"

namespace Sound
{
Clip::~Clip() = default;

Result Clip::Release() { return mixer->ReleaseClip(this); }
}   // namespace Sound
