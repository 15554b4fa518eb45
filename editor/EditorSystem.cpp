#include "editor/EditorSystem.h"

bool EditorVisible = false;
Entity* SelectedEntity = nullptr;

EditorSystem& EditorSystem::GetInstance()
{
    static EditorSystem instance;
    return instance;
}
