#include "audio/AudioSystem.h"

AudioSystem& AudioSystem::GetInstance()
{
    static AudioSystem instance;
    return instance;
}
