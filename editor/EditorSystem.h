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

class Entity;

extern bool EditorVisible;   // the editor's menu bar is shown
// The entity shown in the inspector and saved by SaveArchetype; not owned. An entity that is
// deleted clears it.
extern Entity* SelectedEntity;
