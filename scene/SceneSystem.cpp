#include "scene/SceneSystem.h"

SceneSystem& SceneSystem::GetInstance()
{
    static SceneSystem instance;
    return instance;
}
