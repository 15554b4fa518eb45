#pragma once
// Moves the game from scene to scene: when the current scene is complete, its next scene loads.
#include "engine/BaseSystem.h"

class GameSystem : public BaseSystem
{
public:
    static GameSystem& GetInstance();

private:
    GameSystem() : BaseSystem("Game System") {}
};
