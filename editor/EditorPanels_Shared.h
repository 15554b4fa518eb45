#pragma once
// What the scene editor's panel files share: their globals, a few widgets beyond those of
// EditorWidgets.h, and the operations behind the panels' buttons. Every operation works on the
// current scene and on an entity the caller has just checked (CheckedSelection, or a row of the
// scene's list), keeps the scene consistent (nothing left calling into what it deletes, what it
// adds sorted in and post-created as a loaded entity's would be) and marks the scene changed.
#include "editor/EditorWidgets.h"

#include <string>
#include <vector>

class Component;
class Entity;
class MusicPlayer;

extern char ArchetypeNameBuffer[256];   // the name typed for "Save Selection as Archetype"
extern int SelectedSongIndex;           // registry index of the song shown for the music player; -1 none

// ---- Widgets
// The tooltip of the item just drawn, while it is hovered; overDisabled also while it is greyed out.
void ItemTooltip(const char* text, bool overDisabled = false);
// Edits a component through its saved form: one widget per key, but for "Type", the fixed state
// keys of a behaviour and the keys in `shown` (which the caller edits with widgets of its own).
// Lists of names are shown but not edited. A change is read back into the live component as a
// file would be; a value the component refuses leaves it as it was, with a line in the log.
// True when the component took a change.
bool DrawSavedFields(Component& component, const std::vector<std::string>& shown = {});

// ---- The scene's entities
// Adds an entity (owned) to the current scene and selects it; deleted at once without a scene.
void AddEntityToScene(Entity* entity);
// A copy of the entity, post-created, named as "Duplicate" names it, added and selected.
void DuplicateEntity(const Entity& source);
// A copy of the archetype, post-created under its own name, added and selected.
void SpawnArchetype(const Entity& archetype);
// Deletes that very entity from the current scene; the selection is cleared when it was that entity.
void DeleteEntityFromScene(Entity* entity);

// ---- Components of the selected entity
// Adds a component (owned) to the entity, in its place and post-created.
void AddComponentInPlay(Entity& entity, Component* component);
// Deletes the component from its entity; false when the entity does not hold it.
bool RemoveComponent(Entity& entity, const Component* component);

// The removal family: each deletes the first component of its class (derived classes included)
// from SelectedEntity and gives true, or false when there is none.
bool RemoveSelectedCollider();
bool RemoveSelectedBehaviorSpawner();
bool RemoveSelectedBehaviorCountBoard();
bool RemoveSelectedMusicPlayer();
bool RemoveSelectedButton();
bool RemoveSelectedBehaviorJobButton();
bool RemoveSelectedBehaviorSceneButton();
bool RemoveSelectedBehaviorDestructButton();
// 0 spawner, 1 count board, 2 music player, 3 the four button removals in turn; else nothing.
void RemoveBehaviorsOfKind(int kind);
MusicPlayer* FindSelectedMusicPlayer();   // the first music player of SelectedEntity, or null

// The behaviour section at the end of the inspector, and the component it edits (the first of
// the entity's behaviour kind), or null.
void DrawBehaviorSection();
const Component* BehaviorSectionComponent(const Entity& entity);

// ---- Folders the choosers list
// The regular files of a data folder whose extension is exactly `extension` (".png"), as names
// without the extension, sorted. A folder that is missing or cannot be read gives an empty list.
std::vector<std::string> ListDataFiles(const std::string& folder, const std::string& extension);
