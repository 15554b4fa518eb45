#include "editor/EditorSystem.h"

#include "graphics/GraphicsSystem.h"

bool EditorVisible = false;
Entity* SelectedEntity = nullptr;
bool DebugDrawing = false;

EditorSystem& EditorSystem::GetInstance()
{
    static EditorSystem instance;
    return instance;
}

void EditorSystem::EndFrame()
{
    GraphicsSystem& graphics = GraphicsSystem::GetInstance();
    graphics.debugDrawing = DebugDrawing;
    graphics.DrawDebugLines();
}
