#include "tests/common/SceneFlowFixture.h"

#include "editor/EditorSystem.h"
#include "engine/DataPath.h"
#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/WindowSystem.h"
#include "graphics/Camera.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "scene/GameSystem.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"

#include <algorithm>
#include <filesystem>

namespace
{
// What the fixture touches, at its starting value.
void ResetFlow()
{
    SceneSystem::GetInstance().Shutdown();
    GameSystem::GetInstance().Shutdown();
    MessagingSystem::GetInstance().Clear();
    LevelCompleted = {1};
    EditorVisible = false;
    InputSystem& input = InputSystem::GetInstance();
    std::fill(std::begin(input.state), std::end(input.state), 0);
    input.cursorX = input.cursorY = 0;
    Camera::GetInstance().SetTarget(nullptr);
}
} // namespace

SceneFlowFixture::SceneFlowFixture(const std::string& fixture)
    : oldRoot(DataRoot()), xdg("XDG_DATA_HOME", home.Path().c_str())
{
    std::filesystem::copy(std::string(ZOVERAV_SOURCE_DIR) + "/tests/data/" + fixture, data.Path() / "Data",
                          std::filesystem::copy_options::recursive);
    SetDataRoot(DataFolder());
    ComponentRegistry::Register("FrameCounter", [] { return new FrameCounter(); });
    ResetFlow();
    WindowSystem& windows = WindowSystem::GetInstance();
    windows.width = 1600;
    windows.height = 900;
}

SceneFlowFixture::~SceneFlowFixture()
{
    ResetFlow();
    WindowSystem::GetInstance().width = WindowSystem::GetInstance().height = 0;
    SetDataRoot(oldRoot);
}

std::string SceneFlowFixture::SettingsFolder() const { return (home.Path() / "Vostrel/Zoverav").string(); }

void SceneFlowFixture::Frame(float dt)
{
    MessagingSystem::GetInstance().BeginFrame();
    SceneSystem::GetInstance().BeginFrame();
    GameSystem::GetInstance().Update(dt);
    SceneSystem::GetInstance().Update(dt);
    SceneSystem::GetInstance().EndFrame();
    MessagingSystem::GetInstance().EndFrame();
}

void SceneFlowFixture::Tap(int code, int frames)
{
    InputSystem& input = InputSystem::GetInstance();
    input.state[code] = 1;
    Frame();
    for (int i = 1; i < frames; ++i)
    {
        input.state[code] = 2;
        Frame();
    }
    input.state[code] = 0;
    Frame();
}

void SceneFlowFixture::Cursor(double x, double y)
{
    InputSystem::GetInstance().cursorX = x;
    InputSystem::GetInstance().cursorY = y;
}

std::string SceneFlowFixture::Current() const
{
    const MainScene* scene = SceneSystem::GetInstance().CurrentScene();
    return scene ? scene->SceneFile : "none";
}

Entity* SceneFlowFixture::Find(const std::string& name) const
{
    const SceneSystem& scenes = SceneSystem::GetInstance();
    for (const MainScene* scene : {scenes.ConfirmOverlay(), scenes.PauseOverlay(), scenes.CurrentScene()})
        if (scene)
            if (Entity* entity = scene->entities.FindByName(name))
                return entity;
    return nullptr;
}

FrameCounter* SceneFlowFixture::Marker(const MainScene* scene)
{
    const Entity* marker = scene ? scene->entities.FindByName("Marker") : nullptr;
    return marker ? marker->GetComponent<FrameCounter>() : nullptr;
}
