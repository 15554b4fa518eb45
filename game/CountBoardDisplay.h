#pragma once
// Shows the bots walking now (spawned, less dead, less exited) and, two lines below, the name
// of the current scene.
#include "game/CounterDisplay.h"

class CountBoardDisplay : public CounterDisplay
{
public:
    Component* Clone() const override { return new CountBoardDisplay(); }
    const char* TypeName() const override { return "CountBoardDisplay"; }
    std::string Compose() const override;   // ": " N "\n\n" scene name "\n"
};
