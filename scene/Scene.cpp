#include "scene/Scene.h"

#include "engine/DataPath.h"
#include "engine/JsonFile.h"
#include "engine/TraceSystem.h"
#include "scene/Entity.h"
#include "scene/ReadingFile.h"

#include <algorithm>

namespace
{
// The directory part of a path, separators folded: "Data\\Scenes\\" and "Data//Scenes/" are equal.
std::string FoldedDirectory(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string folded;
    for (char c : directory)
    {
        const char d = c == '\\' ? '/' : c;
        if (d == '/' && !folded.empty() && folded.back() == '/')
            continue;
        folded += d;
    }
    return folded;
}

// What makes a document a scene file at all; anything less is refused whole, before the scene
// is touched.
bool IsSceneDocument(const json& document, const std::string& file)
{
    if (!document.is_object())
    {
        Log("SCENE: [", file, "] not a JSON object");
        return false;
    }
    if (const auto list = document.find("Entities"); list != document.end() && !list->is_array())
    {
        Log("SCENE: [", file, "] \"Entities\" is not an array");
        return false;
    }
    return true;
}
}   // namespace

std::string Scene::ScenePath(const std::string& name)
{
    // Any spelling of the data folder counts ("./data/Scenes/" too): compare where they lead.
    const bool inScenes = ResolveDataPath(FoldedDirectory(name)) == ResolveDataPath("Data/Scenes/");
    return inScenes ? name : "Data/Scenes/" + name;
}

void Scene::AddEntity(Entity* entity)
{
    if (!entity)
        return;
    entities.Add(entity);
    EntityNames.push_back(entity->Name);
}

void Scene::RemoveEntity(const std::string& name)
{
    if (name.empty())
        return;
    entities.RemoveByName(name);
    for (auto it = EntityNames.begin(); it != EntityNames.end(); ++it)
        if (*it == name)
        {
            EntityNames.erase(it);
            break;
        }
}

bool Scene::DeleteEntity(const Entity* entity)
{
    if (!entities.Contains(entity))
        return false;
    const std::string name = entity->Name;
    entities.Remove(entity);
    if (const auto listed = std::find(EntityNames.begin(), EntityNames.end(), name);
        listed != EntityNames.end())
        EntityNames.erase(listed);
    return true;
}

void Scene::Write(json& out) const
{
    out["SceneFile"] = SceneFile;
    out["SceneName"] = FileStem(SceneFile);
    json list = json::array();
    for (const Entity* e : entities.GetEntities())
    {
        if (!e || e->IsDestroyed)
            continue;
        json value;   // a spawned entity writes nothing: it stays null
        e->Write(value);
        list.push_back(std::move(value));
    }
    out["Entities"] = std::move(list);
    if (!NextScene.empty())
        out["NextScene"] = NextScene;
    if (!WinScene.empty())
        out["WinScene"] = WinScene;
    if (!LoseScene.empty())
        out["LoseScene"] = LoseScene;
    if (NameWasRead)
        out["Name_Syntactical_Sugar"] = Name;
}

void Scene::Read(const json& in)
{
    const std::string file = ReadingFile::Current().empty() ? SceneFile : ReadingFile::Current();
    if (!IsSceneDocument(in, file))
        return;
    // Payload subscriptions belong to the components that made them: deleting the old entities
    // ends theirs, and those of other scenes (the level under an overlay) stay.
    Log("=== SCENE DESERIALIZATION ===");
    entities.Clear();
    EntityNames.clear();
    if (const auto list = in.find("Entities"); list != in.end())
    {
        Log("Loading ", list->size(), " entities from JSON:");
        for (size_t index = 0; index < list->size(); ++index)
        {
            const json& element = list->at(index);
            if (element.is_null())
                continue;   // where a spawned entity stood when the scene was written
            if (!element.is_object() || !element.contains("Name"))
            {
                Log("SCENE: [", file, "] \"Entities\"[", index,
                    "] is not an entity object with a \"Name\"; skipped");
                continue;
            }
            if (!element.at("Name").is_string())
            {
                Log("SCENE: [", file, "] \"Entities\"[", index, "] \"Name\" is not a text; skipped");
                continue;
            }
            Log(" - ", element.at("Name").get<std::string>());
            if (const auto components = element.find("Components");
                components != element.end() && components->is_array())
                for (const json& c : *components)
                    if (c.is_object() && c.contains("Type") && c.at("Type").is_string())
                        Log("   Component: ", c.at("Type").get<std::string>());
            if (Entity* entity = Entity::CreateFromJSON(element))
            {
                entities.Add(entity);
                EntityNames.push_back(entity->Name);
            }
        }
    }
    const std::string where = "SCENE: [" + file + "]";
    const auto text = [&](const char* key, std::string& field) {
        return ReadKeyOrKeep(in, key, field, where);
    };
    if (text("NextScene", NextScene))
        Log("Next scene set to: ", NextScene);
    text("WinScene", WinScene);
    text("LoseScene", LoseScene);
    if (text("Name_Syntactical_Sugar", Name))
        NameWasRead = true;
    Log("Total entities loaded: ", EntityNames.size());
}

bool Scene::LoadFromFile(const std::string& name)
{
    const std::string path = ScenePath(name);
    Log("Loading scene from: ", path);
    json document;
    if (!ReadJsonFile(path, document) || !IsSceneDocument(document, path))
    {
        Log("Failed to load scene: ", name);
        return false;
    }
    if (const auto sceneName = document.find("SceneName");
        sceneName != document.end() && sceneName->is_string())
        Log("Scene name: ", sceneName->get<std::string>());
    if (const auto list = document.find("Entities"); list != document.end())
    {
        Log("Found ", list->size(), " entities");
        const ReadingFile reading(path);
        Read(document);
    }
    Log("Scene loaded successfully: ", name);
    return true;
}

bool Scene::OverwriteFile(const std::string& path, std::string* why)
{
    json document;
    Write(document);
    TraceMessage("Attempting to overwrite scene file: %s", path.c_str());
    const bool written = WriteJsonFile(path, document, why);
    if (written)
        TraceMessage("Scene overwritten successfully: %s", path.c_str());
    else
        TraceMessage("Failed to overwrite scene: %s", path.c_str());
    return written;
}
