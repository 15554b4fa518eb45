#pragma once
// One screen of the game: the entities read from one scene file and the names of the scenes
// that follow it. A file that cannot be read, or is no scene file, leaves the scene as it was;
// a bad entity or component in it is skipped with a line naming the file, the entity and the
// key. MainScene is the one concrete kind.
#include "scene/Component.h"
#include "scene/EntityList.h"

#include <string>
#include <vector>

class Scene
{
public:
    Scene() = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
    virtual ~Scene() = default;

    virtual bool Load() = 0;
    virtual void BeginFrame() = 0;
    virtual void Update(float dt) = 0;
    virtual void EndFrame() = 0;
    virtual void Unload() = 0;
    virtual void Write(json& out) const;
    virtual void Read(const json& in);   // replaces the entities; other scenes' subscriptions stay

    void AddEntity(Entity* entity);   // takes ownership; a "MainCamera" becomes the camera entity
    void RemoveEntity(const std::string& name);
    // Deletes that very entity (whatever its name) and one entry of its name from EntityNames;
    // false when the scene does not hold it.
    bool DeleteEntity(const Entity* entity);
    // Reads the file; false (scene untouched) when it cannot be read or is not a scene file.
    bool LoadFromFile(const std::string& name);
    // The file a scene name stands for: "X.json" and "Data/Scenes/X.json" are the same file.
    static std::string ScenePath(const std::string& name);
    // Writes the scene to the file, whole or not at all; false with the reason in `why`.
    bool OverwriteFile(const std::string& path, std::string* why = nullptr);

    EntityList& GetEntityList() { return entities; }

    EntityList entities;
    std::vector<std::string> EntityNames;
    std::string SceneFile;
    std::string NextScene;
    std::string WinScene;
    std::string LoseScene;
    std::string Name = "unnamed";
    bool NameWasRead = false;   // the display name came from the file and is written back
    bool IsComplete = false;
    int32_t SpotlightsCreated = 0;
};

class MainScene : public Scene
{
public:
    bool Load() override { return SceneFile.empty() ? true : LoadFromFile(SceneFile); }
    void BeginFrame() override {}
    void Update(float) override {}
    void EndFrame() override {}
    void Unload() override {}
};
