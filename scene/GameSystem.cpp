#include "scene/GameSystem.h"

GameSystem& GameSystem::GetInstance()
{
    static GameSystem instance;
    return instance;
}
