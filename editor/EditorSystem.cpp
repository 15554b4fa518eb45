#include "editor/EditorSystem.h"

bool EditorVisible = false;

EditorSystem& EditorSystem::GetInstance()
{
    static EditorSystem instance;
    return instance;
}
