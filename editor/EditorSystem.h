#pragma once
// The developer overlay over the running scene.
#include "engine/BaseSystem.h"

class EditorSystem : public BaseSystem
{
public:
    static EditorSystem& GetInstance();

private:
    EditorSystem() : BaseSystem("Editor System") {}
};

extern bool EditorVisible;   // the editor's menu bar is shown
