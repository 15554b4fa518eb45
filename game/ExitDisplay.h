#pragma once
// Shows how many bots must still reach the exit.
#include "game/CounterDisplay.h"

class ExitDisplay : public CounterDisplay
{
public:
    Component* Clone() const override { return new ExitDisplay(); }
    const char* TypeName() const override { return "ExitDisplay"; }
    std::string Compose() const override;   // ExitMax less the bots out
};
