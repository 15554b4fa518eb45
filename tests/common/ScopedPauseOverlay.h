#pragma once
// An empty scene standing as the pause overlay for the object's life, for a test to build
// entities into; the overlay and all it holds are gone afterwards.
#include "scene/SceneSystem.h"

#include <memory>

class ScopedPauseOverlay
{
public:
    ScopedPauseOverlay() { SceneSystem::GetInstance().pauseOverlay = std::make_unique<MainScene>(); }
    ~ScopedPauseOverlay() { SceneSystem::GetInstance().pauseOverlay.reset(); }
    ScopedPauseOverlay(const ScopedPauseOverlay&) = delete;
    ScopedPauseOverlay& operator=(const ScopedPauseOverlay&) = delete;

    MainScene* operator->() const { return SceneSystem::GetInstance().pauseOverlay.get(); }
};
