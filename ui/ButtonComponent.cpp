#include "ui/ButtonComponent.h"

// The hit test and the state machine arrive with the buttons.
void ButtonComponent::Update(float) {}

bool ButtonComponent::IsMouseOver() const { return false; }
