#include "editor/EditorSystem.h"

#include "engine/EditorState.h"
#include "graphics/GraphicsSystem.h"

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
