#include "game/ExitDisplay.h"

#include "game/BehaviorCountBoard.h"

std::string ExitDisplay::Compose() const
{
    return Count(int64_t{BehaviorCountBoard::ExitMax} - BehaviorCountBoard::ExitedCount);
}
