// The scene editor's changes to the running scene: entities added, copied and deleted,
// components added and removed. What other components keep of them reads null once they are
// gone (EntityRef), callbacks and subscriptions go with their owners; adding anything sorts it
// in and post-creates it, so what the editor makes works at once, as if read from a file.
#include "editor/EditorPanels_Shared.h"
#include "engine/DataPath.h"
#include "engine/EditorState.h"
#include "engine/TraceSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorSpawner.h"
#include "game/Collider.h"
#include "game/MusicPlayer.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Selection.h"
#include "ui/BehaviorDestructButton.h"
#include "ui/BehaviorJobButton.h"
#include "ui/BehaviorSceneButton.h"

#include <algorithm>
#include <filesystem>

namespace
{
// A copy of the entity as a scene would hold one read from a file.
Entity* PlayableCopy(const Entity& source)
{
    Entity* copy = new Entity(source);
    copy->SortComponents();
    copy->PostCreateComponents();
    return copy;
}

template <typename T> bool RemoveSelected()
{
    Entity* entity = CheckedSelection();
    return entity && RemoveComponent(*entity, entity->GetComponent<T>());
}
}   // namespace

void AddEntityToScene(Entity* entity)
{
    MainScene* scene = SceneSystem::GetInstance().CurrentScene();
    if (!scene)
    {
        delete entity;
        return;
    }
    scene->AddEntity(entity);
    SelectedEntity = entity;
    HasUnsavedChanges = true;
}

void DuplicateEntity(const Entity& source)
{
    Entity* copy = PlayableCopy(source);
    copy->Name = (source.Name.empty() ? "Entity" : source.Name) + "_copy";
    AddEntityToScene(copy);
}

void SpawnArchetype(const Entity& archetype)
{
    AddEntityToScene(PlayableCopy(archetype));
    TraceMessage("Created entity from archetype: %s", archetype.Name.c_str());
}

void DeleteEntityFromScene(Entity* entity)
{
    MainScene* scene = SceneSystem::GetInstance().CurrentScene();
    if (!scene || !scene->entities.Contains(entity))
        return;
    if (SelectedEntity == entity)
        SelectedEntity = nullptr;
    scene->DeleteEntity(entity);
    HasUnsavedChanges = true;
}

void AddComponentInPlay(Entity& entity, Component* component)
{
    entity.AddAndPostCreate(component);
    HasUnsavedChanges = true;
}

bool RemoveComponent(Entity& entity, const Component* component)
{
    const auto at = std::find(entity.components.begin(), entity.components.end(), component);
    if (!component || at == entity.components.end())
        return false;
    entity.components.erase(at);
    delete component;
    return true;
}

bool RemoveSelectedCollider() { return RemoveSelected<Collider>(); }
bool RemoveSelectedBehaviorSpawner() { return RemoveSelected<BehaviorSpawner>(); }
bool RemoveSelectedBehaviorCountBoard() { return RemoveSelected<BehaviorCountBoard>(); }
bool RemoveSelectedMusicPlayer() { return RemoveSelected<MusicPlayer>(); }
bool RemoveSelectedButton() { return RemoveSelected<Button>(); }
bool RemoveSelectedBehaviorJobButton() { return RemoveSelected<BehaviorJobButton>(); }
bool RemoveSelectedBehaviorSceneButton() { return RemoveSelected<BehaviorSceneButton>(); }
bool RemoveSelectedBehaviorDestructButton() { return RemoveSelected<BehaviorDestructButton>(); }

void RemoveBehaviorsOfKind(int kind)
{
    switch (kind)
    {
    case 0:
        RemoveSelectedBehaviorSpawner();
        break;
    case 1:
        RemoveSelectedBehaviorCountBoard();
        break;
    case 2:
        RemoveSelectedMusicPlayer();
        break;
    case 3:
        RemoveSelectedButton();
        RemoveSelectedBehaviorJobButton();
        RemoveSelectedBehaviorSceneButton();
        RemoveSelectedBehaviorDestructButton();
        break;
    default:
        break;
    }
}

MusicPlayer* FindSelectedMusicPlayer()
{
    const Entity* entity = CheckedSelection();
    return entity ? entity->GetComponent<MusicPlayer>() : nullptr;
}

std::vector<std::string> ListDataFiles(const std::string& folder, const std::string& extension)
{
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(ResolveDataPath(folder), error), end; !error && it != end;
         it.increment(error))
    {
        std::error_code statusError;
        if (it->is_regular_file(statusError) && it->path().extension() == extension)
            names.push_back(it->path().stem().string());
    }
    // Directory order differs between file systems; the choosers must not.
    std::sort(names.begin(), names.end());
    return names;
}
