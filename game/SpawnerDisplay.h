#pragma once
// Shows how many bots the level's spawner has still to release.
#include "game/CounterDisplay.h"

class SpawnerDisplay : public CounterDisplay
{
public:
    Component* Clone() const override { return new SpawnerDisplay(); }
    const char* TypeName() const override { return "SpawnerDisplay"; }
    std::string Compose() const override;   // the spawner's total less its released bots, "\n"
};
