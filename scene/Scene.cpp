#include "scene/Scene.h"

#include "engine/TraceSystem.h"
#include "scene/Entity.h"
#include "scene/JsonFile.h"

#include <filesystem>

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

std::string Stem(const std::string& path) { return std::filesystem::path(path).stem().string(); }
} // namespace

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

void Scene::Write(json& out) const
{
    out["SceneFile"] = SceneFile;
    out["SceneName"] = Stem(SceneFile);
    json list = json::array();
    for (const Entity* e : entities.GetEntities())
    {
        if (!e || e->IsDestroyed)
            continue;
        json value;
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
    Log("=== SCENE DESERIALIZATION ===");
    entities.Clear();
    EntityNames.clear();
    if (const auto list = in.find("Entities"); list != in.end() && list->is_array())
    {
        Log("Loading ", list->size(), " entities from JSON:");
        for (const json& element : *list)
        {
            if (!element.is_object() || !element.contains("Name"))
                continue;
            if (!element.at("Name").is_string())
            {
                Log("SCENE: [", SceneFile, "] an entity's \"Name\" is not a text; skipped");
                continue;
            }
            const std::string name = element.at("Name").get<std::string>();
            Log(" - ", name);
            if (const auto components = element.find("Components"); components != element.end() && components->is_array())
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
    const auto text = [&](const char* key, std::string& field) {
        if (const auto value = in.find(key); value != in.end())
        {
            if (value->is_string())
                field = value->get<std::string>();
            else
                Log("SCENE: [", SceneFile, "] \"", key, "\" is not a text; ignored");
        }
    };
    text("NextScene", NextScene);
    if (in.contains("NextScene"))
        Log("Next scene set to: ", NextScene);
    text("WinScene", WinScene);
    text("LoseScene", LoseScene);
    if (in.contains("Name_Syntactical_Sugar"))
    {
        text("Name_Syntactical_Sugar", Name);
        NameWasRead = true;
    }
    Log("Total entities loaded: ", EntityNames.size());
}

bool Scene::LoadFromFile(const std::string& name)
{
    const std::string path = FoldedDirectory(name) == "Data/Scenes/" ? name : "Data/Scenes/" + name;
    Log("Loading scene from: ", path);
    json document;
    if (!ReadJsonFile(path, document) || !document.is_object())
    {
        Log("Failed to load scene: ", name);
        return false;
    }
    if (const auto sceneName = document.find("SceneName"); sceneName != document.end() && sceneName->is_string())
        Log("Scene name: ", sceneName->get<std::string>());
    if (const auto list = document.find("Entities"); list != document.end())
    {
        Log("Found ", list->is_array() ? list->size() : 0, " entities");
        Read(document);
    }
    Log("Scene loaded successfully: ", name);
    return true;
}

bool Scene::OverwriteFile(const std::string& path)
{
    json document;
    Write(document);
    TraceMessage("Attempting to overwrite scene file: %s", path.c_str());
    const bool written = WriteJsonFile(path, document);
    if (written)
        TraceMessage("Scene overwritten successfully: %s", path.c_str());
    else
        TraceMessage("Failed to overwrite scene: %s", path.c_str());
    return written;
}
