#include "game/LostDisplay.h"

#include "game/BehaviorCountBoard.h"
#include "game/BehaviorSpawner.h"

#include <algorithm>

std::string LostDisplay::Compose() const
{
    const int64_t limit = std::min<int64_t>(
        BehaviorCountBoard::DeadMax, int64_t{BehaviorSpawner::GetSpawnTotal()} - BehaviorCountBoard::ExitMax);
    return Count(BehaviorCountBoard::DeadCount) + "/" + Count(limit);
}
