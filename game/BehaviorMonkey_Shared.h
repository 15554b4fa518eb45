#pragma once
// Helpers the bot's walking and job code share: the current scene, sounds, and cell coordinates
// that never overflow, whatever position a bot has fallen to.
#include "audio/AudioPlayer.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"

class Entity;
class PixelGrid;

namespace MonkeyShared
{
inline Scene* CurrentScene() { return SceneSystem::GetInstance().CurrentScene(); }

inline void Play(const char* sound, float volume)
{
    AudioPlayer::GetInstance()->PlaySound(sound, false, volume);
}

// A cell coordinate rounded down from a float; false for NaN, infinities and coordinates no
// grid holds, so a bot that fell out of the world never indexes the cells.
bool FloorToCell(float value, int& cell);

// The grid's own world-to-cell rounding, guarded the same way. True when the conversion could
// be made; `inside` tells whether the cell lies on the grid.
bool WorldToCellChecked(const PixelGrid& grid, float x, float y, int& cx, int& cy, bool& inside);

// Hands a new entity to the current scene; without one it has nowhere to live and is deleted.
void AddToScene(Entity* entity);
}   // namespace MonkeyShared
