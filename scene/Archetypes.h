#pragma once
// Archetypes: ready-made entities, one JSON file each in "Data/Entities/", named after the
// archetype ("Monkey" is "Data/Entities/Monkey.json", whose "Name" is "Monkey"). Loaded ones stay
// in ArchetypeCache; they are never post-created, changed or placed in a scene. Building from
// an archetype hands out a deep copy, post-created. A bad file is reported (file, entity, key)
// and skipped; nothing here throws or ends the program.
#include "scene/Component.h"

#include <string>

class Entity;
class EntityList;

// The loaded archetypes; null until first needed. The scene system clears it whenever it
// replaces the current scene and at shutdown, so the files are read again on first use.
extern EntityList* ArchetypeCache;

// An archetype document is an object whose "Name" text is the file's name without extension.
bool ValidateEntityFile(const std::string& file, const json& doc);
// The document's "Name" when it has one, else the file's stem.
std::string EntityNameFromFile(const std::string& stem, const json& doc);

// Reads every "*.json" of the folder not cached yet; true when this call loaded at least one.
bool LoadAllArchetypes();
// Makes target a post-created copy of the named archetype, loading it from its file when it is
// not cached. False (target unchanged) when there is no such archetype. The caller places the
// entity (position, IsSpawned) and adds it to its scene.
bool FactoryBuild(Entity& target, const std::string& name);
// Writes the editor's SelectedEntity (checked: CheckedSelection) as the archetype of that name,
// atomically, and replaces the cached one. The name must be a plain file name (IsPlainFileName).
bool SaveArchetype(const std::string& name);
