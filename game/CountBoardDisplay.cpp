#include "game/CountBoardDisplay.h"

#include "game/BehaviorCountBoard.h"
#include "game/BehaviorSpawner.h"
#include "scene/SceneSystem.h"

std::string CountBoardDisplay::Compose() const
{
    const int64_t walking = int64_t{BehaviorSpawner::GetSpawnedCount()} - BehaviorCountBoard::DeadCount -
                            BehaviorCountBoard::ExitedCount;
    const Scene* scene = SceneSystem::GetInstance().CurrentScene();
    return ": " + Count(walking) + "\n\n" + (scene ? scene->Name : std::string()) + "\n";
}
