#pragma once
// The developer overlay over the running scene. At the end of every frame it hands its
// debug-drawing switch to the graphics system and has the queued debug lines drawn (or only
// dropped, when the switch is off), so the queue never grows from frame to frame.
#include "engine/BaseSystem.h"

class EditorSystem : public BaseSystem
{
public:
    static EditorSystem& GetInstance();

    void EndFrame() override;

private:
    EditorSystem() : BaseSystem("Editor System") {}
};
