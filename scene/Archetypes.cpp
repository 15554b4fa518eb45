#include "scene/Archetypes.h"

#include "engine/DataPath.h"
#include "engine/JsonFile.h"
#include "engine/TraceSystem.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/ReadingFile.h"
#include "scene/Selection.h"

#include <algorithm>
#include <cassert>
#include <filesystem>

EntityList* ArchetypeCache = nullptr;

namespace
{
const std::string Folder = "Data/Entities/";

EntityList& Cache()
{
    if (!ArchetypeCache)
        ArchetypeCache = new EntityList();
    return *ArchetypeCache;
}

// The "Name" text of a document; empty when there is none.
std::string NameOf(const json& doc)
{
    const auto name = doc.is_object() ? doc.find("Name") : doc.end();
    return name != doc.end() && name->is_string() ? name->get<std::string>() : std::string();
}
}   // namespace

bool ValidateEntityFile(const std::string& file, const json& doc)
{
    const std::string name = NameOf(doc);
    const std::string stem = FileStem(file);
    if (name.empty())
    {
        Log("ERROR: Entity file missing 'Name' field: ", file);
        if (!doc.is_object())
            Log("ARCHETYPE: [", file, "] not a JSON object");
        else if (doc.contains("Name"))
            Log("ARCHETYPE: [", file, "] \"Name\" is not a text, or empty");
        return false;
    }
    if (name != stem)
    {
        Log("ERROR: Entity name '", name, "' doesn't match filename '", stem, "' in: ", file);
        return false;
    }
    if (!doc.contains("Components"))
        Log("WARNING: Entity file has no Components array: ", file);
    return true;
}

std::string EntityNameFromFile(const std::string& stem, const json& doc)
{
    const std::string name = NameOf(doc);
    if (name.empty())
    {
        Log("WARNING: Using filename as entity name for: ", stem);
        return stem;
    }
    if (name != stem)
        Log("NOTE: Entity '", name, "' defined in file: ", stem);
    return name;
}

bool LoadAllArchetypes()
{
    EntityList& cache = Cache();
    Log("Loading all entity archetypes from: ", Folder);
    const std::filesystem::path folder = ResolveDataPath(Folder);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
    {
        Log("ERROR: Entities directory does not exist: ", Folder);
        return false;
    }
    // Sorted, so that the messages and the cache order are the same on every machine.
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().extension() == ".json")
            files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());

    int loaded = 0, invalid = 0, failed = 0;
    for (const std::string& file : files)
    {
        const std::string stem = FileStem(file);
        if (cache.FindByName(stem))
            continue;
        const std::string path = Folder + file;
        const ReadingFile reading(path);
        json doc;
        if (JsonFault fault; !ReadJsonFile(path, doc, &fault))
        {
            Log("Failed to read JSON file: ", path);
            Log("ARCHETYPE: [", path, "] cannot be read: ", fault.why);
            continue;
        }
        if (!ValidateEntityFile(path, doc))
        {
            Log("Skipping invalid archetype file: ", path);
            ++invalid;
            continue;
        }
        const std::string expected = EntityNameFromFile(stem, doc);
        Entity* entity = Entity::CreateFromJSON(doc, Entity::PostCreation::Skip);
        if (!entity)
        {
            Log("Failed to create entity from JSON: ", path);
            ++failed;
            continue;
        }
        if (entity->Name != expected)
        {
            Log("WARNING: Created entity name '", entity->Name, "' doesn't match expected '", expected,
                "'. Correcting.");
            entity->Name = expected;
        }
        cache.Add(entity);
        ++loaded;
        Log("Loaded archetype: ", expected);
    }
    Log("=== ARCHETYPE LOADING SUMMARY ===");
    Log("Successfully loaded: ", loaded, " archetypes");
    if (invalid)
        Log("Validation failed: ", invalid, " files");
    if (failed)
        Log("Creation failed: ", failed, " files");
    return loaded > 0;
}

bool FactoryBuild(Entity& target, const std::string& name)
{
    EntityList& cache = Cache();
    const Entity* source = cache.FindByName(name);
    assert(&target != source && "FactoryBuild fills a new entity, never a cached archetype");
    if (!source)
    {
        const std::string path = Folder + name + ".json";
        const ReadingFile reading(path);
        json doc;
        JsonFault fault;
        if (!ReadJsonFile(path, doc, &fault))
        {
            // The first line is the engine's own text; the second says which file and why.
            Log("JSON load failed, falling back to ConfigSystem for: ", name);
            Log("ARCHETYPE: [", path, "] cannot be read: ", fault.why);
        }
        // The name must be the file's own: "../Entities/Monkey" would fill the cache with a
        // "Monkey" that no later build by that name finds.
        else if (!ValidateEntityFile(path, doc) || NameOf(doc) != name)
            Log("Archetype validation failed for: ", name);
        else if (Entity* made = Entity::CreateFromJSON(doc, Entity::PostCreation::Skip))
        {
            cache.Add(made);
            Log("Loaded archetype via JSON: ", name);
            source = made;
        }
        else
            Log("Failed to create entity from JSON: ", name);
        if (!source)
        {
            Log("FactoryBuild failed: entity not found - ", name);
            return false;
        }
    }
    // The copy is cloned straight from the archetype, which is never handed out or changed.
    target.DeleteComponents();
    target.Name = source->Name;
    target.IsDestroyed = source->IsDestroyed;
    for (const Component* c : source->components)
        if (c)
            target.AddComponent(c->Clone());
    target.PostCreateComponents();
    return true;
}

bool SaveArchetype(const std::string& name)
{
    EntityList& cache = Cache();
    const Entity* selected = CheckedSelection();
    if (!selected)
    {
        Log("ARCHETYPE: [", name, "] no entity is selected in the current scene; nothing saved");
        return false;
    }
    // The name becomes a file name in the archetype folder and nowhere else.
    if (std::string why; !IsPlainFileName(name, &why))
    {
        Log("Validation failed - cannot save archetype: ", name);
        Log("ARCHETYPE: [", name, "] ", why);
        return false;
    }
    // The whole entity is saved, also one made at run time (a spawned bot, say).
    json doc;
    selected->WriteContent(doc);
    doc["Name"] = name;
    const std::string path = Folder + name + ".json";
    if (!ValidateEntityFile(path, doc))
    {
        Log("Validation failed - cannot save archetype: ", name);
        return false;
    }
    if (!WriteJsonFile(path, doc))
    {
        Log("Failed to save archetype file: ", path);
        return false;
    }
    Log("Successfully saved archetype: ", name);
    const ReadingFile reading(path);
    if (Entity* made = Entity::CreateFromJSON(doc, Entity::PostCreation::Skip))
    {
        cache.RemoveByName(name);
        cache.Add(made);
        Log("Reloaded archetype in cache: ", name);
    }
    return true;
}
