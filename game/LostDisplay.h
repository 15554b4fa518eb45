#pragma once
// Shows the bots lost so far against the number at which the level is lost: "1/3". The level
// is lost when the dead count reaches DeadMax, or when the bots not lost can no longer be more
// than ExitMax; the second number is the smaller of the two limits.
#include "game/CounterDisplay.h"

class LostDisplay : public CounterDisplay
{
public:
    Component* Clone() const override { return new LostDisplay(); }
    const char* TypeName() const override { return "LostDisplay"; }
    std::string Compose() const override;   // dead count "/" the count that loses the level
};
