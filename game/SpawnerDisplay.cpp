#include "game/SpawnerDisplay.h"

#include "game/BehaviorSpawner.h"

std::string SpawnerDisplay::Compose() const
{
    return Count(int64_t{BehaviorSpawner::GetSpawnTotal()} - BehaviorSpawner::GetSpawnedCount()) + "\n";
}
