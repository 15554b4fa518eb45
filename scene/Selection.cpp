#include "scene/Selection.h"

#include "engine/EditorState.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"

Entity* CheckedSelection()
{
    const MainScene* scene = SceneSystem::GetInstance().CurrentScene();
    if (!scene || !scene->entities.Contains(SelectedEntity) || SelectedEntity->IsDestroyed)
        SelectedEntity = nullptr;
    return SelectedEntity;
}
