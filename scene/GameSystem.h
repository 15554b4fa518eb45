#pragma once
// Moves the game from scene to scene: when the current scene reports itself complete, the scene
// named in its NextScene is loaded at once (before the scene system's update of the same frame).
// A complete scene without a next scene, or whose next scene fails to load, stays and is no
// longer complete.
#include "engine/BaseSystem.h"

#include <string>

class GameSystem : public BaseSystem
{
public:
    static GameSystem& GetInstance();

    bool Init() override;
    void Update(float dt) override;
    void Shutdown() override;

    void ProgressToNextScene();

private:
    GameSystem() : BaseSystem("Game System") {}

    bool lastCompleted = false;   // as seen in the previous frame, for the log
    std::string lastNextScene;
};
