#include "tests/common/SceneFlowFixture.h"

#include "engine/DataPath.h"
#include "engine/EditorState.h"
#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/TraceSystem.h"
#include "engine/WindowSystem.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsSystem.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "scene/GameSystem.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"
#include "ui/ButtonComponent.h"

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
    LastLevelWon = false;
    EditorVisible = false;
    InputSystem& input = InputSystem::GetInstance();
    std::fill(std::begin(input.state), std::end(input.state), 0);
    input.cursorX = input.cursorY = 0;
    Camera::GetInstance().SetTarget(nullptr);
    GraphicsSystem::GetInstance().DrawDebugLines();   // without a context this only empties the queue
}
}   // namespace

SceneFlowFixture::SceneFlowFixture(const std::string& fixture)
    : oldRoot(DataRoot()), xdg("XDG_DATA_HOME", home.Path().c_str())
{
    const std::string source = fixture == GameData
                                   ? std::string(ZOVERAV_SOURCE_DIR) + "/Data"
                                   : std::string(ZOVERAV_SOURCE_DIR) + "/tests/data/" + fixture;
    std::filesystem::copy(source, data.Path() / "Data", std::filesystem::copy_options::recursive);
    SetDataRoot(DataFolder());
    ComponentRegistry::Register("FrameCounter", [] { return new FrameCounter(); });
    ResetFlow();
    // The log of the fixture's run goes to its own per-user folder rather than piling up unwritten.
    TraceSystem& trace = TraceSystem::GetInstance();
    openedLog = !trace.IsOpen() && trace.Init();
    MessagingSystem::GetInstance().Subscribe(
        MessageType::Window, "SceneFlowFixture",
        [this](std::string text) { return windowCommands.push_back(text), true; }, this);
    WindowSystem& windows = WindowSystem::GetInstance();
    windows.width = 1600;
    windows.height = 900;
}

SceneFlowFixture::~SceneFlowFixture()
{
    ResetFlow();
    if (openedLog)
        TraceSystem::GetInstance().Close();
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

bool SceneFlowFixture::Click(const std::string& name)
{
    Entity* entity = Find(name);
    ButtonComponent* button = entity ? entity->GetComponent<ButtonComponent>() : nullptr;
    if (!button)
        return false;
    button->NotifyState(ButtonComponent::Released);
    // Pause buttons act in the next update; a scene they complete loads in the frame after.
    Frame();
    Frame();
    return true;
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
