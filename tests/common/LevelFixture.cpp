#include "tests/common/LevelFixture.h"

#include "audio/AudioPlayer.h"
#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorSpawner.h"
#include "scene/Archetypes.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/LevelProgress.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "ui/BehaviorDestructButton.h"

#include <algorithm>
#include <memory>

LevelFixture::LevelFixture(const std::string& sceneFile) : xdg("XDG_DATA_HOME", home.Path().c_str())
{
    ResetShared();
    auto scene = std::make_unique<MainScene>();
    scene->SceneFile = sceneFile;
    SceneSystem::GetInstance().currentScene = std::move(scene);
    AudioPlayer::GetInstance()->SetListener([this](const std::string& name, bool paused, float volume) {
        sounds.push_back({name, paused, volume});
    });
}

LevelFixture::~LevelFixture()
{
    AudioPlayer::GetInstance()->SetListener(nullptr);
    SceneSystem::GetInstance().currentScene.reset();
    ResetShared();
}

void LevelFixture::ResetShared()
{
    SceneSystem& scenes = SceneSystem::GetInstance();
    scenes.pauseKind = SceneSystem::NotPaused;
    scenes.openPauseRequested = false;
    scenes.closePauseRequested = false;
    scenes.gameSpeed = 1.0f;
    BehaviorDestructButton::Armed = false;
    MessagingSystem::GetInstance().Clear();
    std::fill(std::begin(InputSystem::GetInstance().state), std::end(InputSystem::GetInstance().state), 0);
    if (ArchetypeCache)
        ArchetypeCache->Clear();
    BehaviorCountBoard::ResetStatics();
    BehaviorSpawner::MonkeyWaitDuration = 0.2f;
    BehaviorSpawner::ExitOutSpeed = 1.0f;
    BehaviorSpawner::MaxJumpHeight = 0;
    BehaviorSpawner::LastSpawnTotal = 0;
    LevelCompleted = {1};
    LastLevelWon = false;
}

void LevelFixture::WriteArchetype(const nlohmann::json& entity)
{
    data.Write("Entities/" + entity.at("Name").get<std::string>() + ".json", entity.dump(2));
}

void LevelFixture::RemoveArchetype(const std::string& name) { data.Remove("Entities/" + name + ".json"); }

Entity* LevelFixture::Add(const nlohmann::json& entity)
{
    Entity* made = Entity::CreateFromJSON(entity);
    Scene().AddEntity(made);
    return made;
}

void LevelFixture::Frame(float dt)
{
    Scene().entities.Update(dt);
    Scene().entities.Render();
    MessagingSystem::GetInstance().EndFrame();
    Poll();
}

void LevelFixture::Poll()
{
    InputSystem::GetInstance().Poll([this](int code) {
        return std::find(down.begin(), down.end(), code) != down.end() ||
               std::find(tapped.begin(), tapped.end(), code) != tapped.end();
    });
    tapped.clear();
}

void LevelFixture::Hold(int code)
{
    down.push_back(code);
    Poll();
}

void LevelFixture::Release(int code)
{
    down.erase(std::remove(down.begin(), down.end(), code), down.end());
    Poll();
}

void LevelFixture::Tap(int code)
{
    tapped.push_back(code);
    Poll();
}

MainScene& LevelFixture::Scene() const { return *SceneSystem::GetInstance().currentScene; }

std::vector<Entity*> LevelFixture::Named(const std::string& entityName) const
{
    std::vector<Entity*> found;
    for (Entity* e : Scene().entities.GetEntities())
        if (e && e->Name == entityName)
            found.push_back(e);
    return found;
}

size_t LevelFixture::Count(const std::string& entityName) const { return Named(entityName).size(); }

size_t LevelFixture::SoundsNamed(const std::string& sound) const
{
    return std::count_if(sounds.begin(), sounds.end(), [&](const Sound& s) { return s.name == sound; });
}
