#include "game/CounterDisplay.h"

#include "graphics/Font.h"
#include "scene/Entity.h"

void CounterDisplay::Update(float)
{
    Font* font = Parent ? Parent->GetComponent<Font>() : nullptr;
    if (font)
        font->Text = Compose();
}
