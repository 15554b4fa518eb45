#pragma once
// Owns the current scene and the overlays in front of it, drives the frame of the top one and
// carries out scene changes at the end of the frame.
#include "engine/BaseSystem.h"

class SceneSystem : public BaseSystem
{
public:
    static SceneSystem& GetInstance();

    bool HasCurrentScene() const { return false; }

    void SaveAudioVolume() {}
    void SaveLevelCompleted() {}

    bool windowFocused = true;

private:
    SceneSystem() : BaseSystem("Scene System") {}
};
