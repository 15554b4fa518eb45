#pragma once
// The audio system: the sound layer, its channel groups and the sound registry.
#include "engine/BaseSystem.h"

class AudioSystem : public BaseSystem
{
public:
    static AudioSystem& GetInstance();

private:
    AudioSystem() : BaseSystem("Audio System") {}
};
