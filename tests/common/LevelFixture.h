#pragma once
// A level without a window: a fresh scene stands as the scene system's current scene, entities
// are read from JSON objects as a scene file's would be, and frames run the entity updates and
// the message delivery in the engine's order. Every sound asked for is recorded. The data
// folder is the test's own (the real one, linked), where a test replaces or removes archetypes.
// Everything it touches is put back: the current scene and pause state, the input states, the
// message bus, the archetype cache, the count board's and spawner's shared values, the game
// speed, the destruct mode, the unlocked levels and the per-user folder.
#include "tests/common/TempFolder.h"
#include "tests/common/TestDataFolder.h"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

class Entity;
class MainScene;

class LevelFixture
{
public:
    explicit LevelFixture(const std::string& sceneFile = "Data/Scenes/LevelScene1.json");
    ~LevelFixture();
    LevelFixture(const LevelFixture&) = delete;
    LevelFixture& operator=(const LevelFixture&) = delete;

    // Writes (or replaces) the archetype file "Entities/<Name>.json" of the test's data folder.
    void WriteArchetype(const nlohmann::json& entity);
    void RemoveArchetype(const std::string& name);
    // Reads an entity (post-created) and adds it to the current scene.
    Entity* Add(const nlohmann::json& entity);

    // One frame: the entities update and draw, then the frame's messages are delivered, then
    // the input is polled (so a key held down reads 1 in the next frame, 2 after).
    void Frame(float dt = 1.0f / 60.0f);
    void Hold(int code);   // down from the next frame on
    void Release(int code);
    void Tap(int code);   // down for exactly the next frame

    MainScene& Scene() const;
    size_t Count(const std::string& entityName) const;   // entities of that name in the scene
    std::vector<Entity*> Named(const std::string& entityName) const;
    size_t SoundsNamed(const std::string& sound) const;

    struct Sound
    {
        std::string name;
        bool paused;
        float volume;
    };
    std::vector<Sound> sounds;

    TestDataFolder data;
    TempFolder home;

private:
    void Poll();
    void ResetShared();

    std::vector<int> down;
    std::vector<int> tapped;
    ScopedEnv xdg;
};
