#include "scene/SceneSystem.h"

#include "audio/AudioPlayer.h"
#include "engine/EditorState.h"
#include "engine/InputSystem.h"
#include "engine/JsonFile.h"
#include "engine/TraceSystem.h"
#include "engine/WindowSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/CheatKeys.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsSystem.h"
#include "scene/Archetypes.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "scene/Transform.h"

#include <algorithm>
#include <cassert>

namespace
{
std::string Folded(const std::string& path)
{
    std::string folded = path;
    for (char& c : folded)
        if (c == '\\')
            c = '/';
    return folded;
}

// Overlays are drawn over the level with a fresh depth buffer.
void ClearDepth() { GraphicsSystem::GetInstance().ClearDepth(); }

// Archetype files are read again on first use in the next scene.
void ClearArchetypes()
{
    if (ArchetypeCache)
        ArchetypeCache->Clear();
}

// Unloads and deletes a scene with its entities; a null pointer is left alone.
void DeleteScene(std::unique_ptr<MainScene>& scene)
{
    if (!scene)
        return;
    scene->Unload();
    scene->entities.Clear();
    scene.reset();
}

// The scene's camera entity; one at (0, 0, 15) is added when the file has none.
Entity* EnsureCamera(Scene& scene)
{
    if (Entity* camera = scene.entities.Camera)
        return camera;
    Entity* camera = new Entity();
    camera->Name = "MainCamera";
    Transform* transform = new Transform();
    transform->Translation = {0, 0, 15};
    camera->AddComponent(transform);
    scene.AddEntity(camera);
    return camera;
}

// Reads an overlay scene file; null when it fails. Traces the outcome (the loaded or failed
// text followed by the path), then says what it means for the game.
std::unique_ptr<MainScene> ReadOverlay(const std::string& path, const char* what, const char* loaded,
                                       const char* failed)
{
    auto overlay = std::make_unique<MainScene>();
    overlay->SceneFile = path;
    if (path.empty() || !overlay->Load())
    {
        TraceMessage("%s%s", failed, path.c_str());
        Log("SCENE: [", path, "] the ", what, " failed to load; the game goes on without it");
        return nullptr;
    }
    EnsureCamera(*overlay);
    TraceMessage("%s%s", loaded, path.c_str());
    Log("SCENE: [", path, "] loaded as the ", what);
    return overlay;
}
}   // namespace

SceneSystem& SceneSystem::GetInstance()
{
    static SceneSystem instance;
    return instance;
}

bool SceneSystem::SamePath(const std::string& a, const std::string& b) { return Folded(a) == Folded(b); }

std::string SceneSystem::PauseSceneFile(int kind)
{
    static const char* const files[] = {
        "",
        "Data/Scenes/PauseMenuScene.json",
        "Data/Scenes/PauseNoMenuScene.json",
        "Data/Scenes/SettingMenuScene.json",
        "Data/Scenes/WinScene.json",
        "Data/Scenes/LoseScene.json",
        "Data/Scenes/HowToPlayScene.json",
        "Data/Scenes/CreditsScene.json",
    };
    return kind >= 0 && kind < static_cast<int>(std::size(files)) ? files[kind] : "";
}

bool SceneSystem::Init()
{
    LoadAudioVolume();
    LoadLevelCompleted();
    ScanSceneFiles();
    if (sceneFiles.empty())
    {
        Log("SCENE: [Data/Scenes] holds no scene file; nothing to show");
        return true;
    }
    LoadFirstScene();
    return true;
}

bool SceneSystem::IsOverlayScene(const std::string& path)
{
    for (int kind = MenuPause; kind <= CreditsPause; ++kind)
        if (SamePath(path, PauseSceneFile(kind)))
            return true;
    return SamePath(path, ConfirmScene);
}

void SceneSystem::LoadFirstScene()
{
    // The splash screen, else the main menu, else any scene that loads, in name order; never an
    // overlay, which is shown over a scene (the quit confirmation would greet the player).
    std::vector<std::string> candidates = {SplashScene, MainMenuScene};
    if (std::find(sceneFiles.begin(), sceneFiles.end(), FileNameOf(SplashScene)) == sceneFiles.end())
    {
        Log("SCENE: [", SplashScene, "] is missing; the game starts on another scene");
        candidates.erase(candidates.begin());
    }
    for (const std::string& file : sceneFiles)
        if (const std::string path = "Data/Scenes/" + file;
            !IsOverlayScene(path) && !SamePath(path, SplashScene) && !SamePath(path, MainMenuScene))
            candidates.push_back(path);
    for (const std::string& path : candidates)
        if (LoadScene(path))
        {
            if (path != SplashScene)
                Log("SCENE: [", path, "] is the first scene shown, in place of the splash screen");
            return;
        }
    Log("SCENE: [Data/Scenes] holds no scene that loads; nothing to show");
}

MainScene* SceneSystem::SceneOf(const Entity* entity) const
{
    for (MainScene* scene : {currentScene.get(), pauseOverlay.get(), confirmOverlay.get()})
        if (scene && scene->entities.Contains(entity))
            return scene;
    return nullptr;
}

MainScene* SceneSystem::ShownScene() const
{
    return pauseKind != NotPaused && pauseOverlay ? pauseOverlay.get() : currentScene.get();
}

Scene* SceneSystem::TopOverlay() const
{
    if (confirmActive && confirmOverlay)
        return confirmOverlay.get();
    if (pauseKind != NotPaused && pauseOverlay)
        return pauseOverlay.get();
    return nullptr;
}

void SceneSystem::OnWindowFocus(bool focused)
{
    if (HasCurrentScene())
        windowFocused = focused;
}

void SceneSystem::BeginFrame()
{
    if (Scene* top = TopOverlay())
        top->BeginFrame();
    else if (currentScene)
        currentScene->BeginFrame();
}

void SceneSystem::Update(float dt)
{
    // A faster game never takes a longer step than the longest frame (unless the frame itself
    // was longer): bots fall through the ground and land through each other in longer steps.
    float scaledDt = dt * gameSpeed;
    if (gameSpeed > 1)
        scaledDt = std::min(scaledDt, std::max(dt, WindowSystem::FrameTimeCap));
    if (!currentScene)
        return;
    const bool editorActive = EditorVisible;

    // Sound follows the focus at once; while the editor is up the change waits.
    if (windowFocused != lastWindowFocused && !editorActive)
    {
        AudioPlayer* player = AudioPlayer::GetInstance();
        if (player && player->MasterGroup)
            player->SetPaused(player->MasterGroup, !windowFocused);
        lastWindowFocused = windowFocused;
    }

    const bool escape = InputSystem::GetInstance().GetState(Key::Escape) == 1;
    if (escape && IsLevelLoaderScene(currentScene->SceneFile))
    {
        currentScene->NextScene = MainMenuScene;
        currentScene->IsComplete = true;
    }

    if (IsLevelScene(currentScene->SceneFile))
    {
        if (levelTimerRunning && !levelTimerHalted)
        {
            levelTimer += std::max(scaledDt, 0.0f);
            if (levelTimer >= levelTimerLimit)
            {
                levelTimer = levelTimerLimit;
                levelTimerRunning = false;
            }
        }
        if ((escape || (!windowFocused && !editorActive)) && pauseKind == NotPaused)
        {
            AudioPlayer::GetInstance()->PlaySound("Pause", false, 0.75f);
            if (!SamePath(currentScene->SceneFile, PauseSceneFile(MenuPause)))
            {
                if (levelTimerRunning && !levelTimerHalted)
                    levelTimerHalted = true;
                pauseKind = MenuPause;
                openPauseRequested = true;
                closePauseRequested = true;
            }
            TraceMessage("Scene System: Game %s", pauseKind != NotPaused ? "Paused" : "Resumed");
            return;
        }
    }

    EntityList& level = currentScene->entities;
    if (confirmActive)
    {
        level.Render();
        // The pause overlay stands in front of the level here too, as it did before the confirm
        // screen opened over it.
        if (pauseOverlay)
        {
            ClearDepth();
            pauseOverlay->entities.Render();
        }
        if (!confirmOverlay)
            return;
        confirmOverlay->Update(scaledDt);
        ClearDepth();
        confirmOverlay->entities.Update(scaledDt);
        confirmOverlay->entities.Render();
    }
    else if (pauseKind != NotPaused)
    {
        level.Render();
        ClearDepth();
        if (!pauseOverlay)
            return;
        pauseOverlay->Update(scaledDt);
        pauseOverlay->entities.Update(scaledDt);
        if (settingsAsReadDue)
        {
            settingsAsReadDue = false;
            settingsAsRead = json::object();
            pauseOverlay->Write(settingsAsRead);
        }
        pauseOverlay->entities.Render();
    }
    else
    {
        currentScene->Update(scaledDt);
        updatingEntities = true;
        level.Update(scaledDt);
        updatingEntities = false;
        Camera::GetInstance().Update();
        level.Render();
        level.CheckCollisions(scaledDt);
        RunCheatKeys(scaledDt);
    }
}

void SceneSystem::RunCheatKeys(float) { CheatKeys::Update(); }

void SceneSystem::EndFrame()
{
    if (closePauseRequested)
    {
        closePauseRequested = false;
        ClosePauseOverlay();
    }
    if (openPauseRequested)
    {
        openPauseRequested = false;
        LoadOverlayScene();
    }
    if (closeConfirmRequested)
    {
        closeConfirmRequested = false;
        DeleteScene(confirmOverlay);
    }
    if (openConfirmRequested)
    {
        openConfirmRequested = false;
        LoadConfirmScene();
    }

    // A scene change requested meanwhile waits until no overlay stands on top.
    if (Scene* top = TopOverlay())
    {
        top->EndFrame();
        return;
    }
    if (!currentScene)
        return;
    currentScene->EndFrame();
    if (loadRequested)
    {
        loadRequested = false;
        const std::string path = pendingScenePath;
        LoadScene(path);
    }
    if (queuedLoadRequested)
    {
        queuedLoadRequested = false;
        std::string path;
        path.swap(queuedScenePath);
        LoadScene(path);
    }
}

void SceneSystem::Shutdown()
{
    DeleteScene(confirmOverlay);
    DeleteScene(pauseOverlay);
    DeleteScene(currentScene);
    ClearArchetypes();
    Camera::GetInstance().SetTarget(nullptr);
    // The singleton outlives the run; every field returns to its starting value.
    pendingScenePath.clear();
    sceneFiles.clear();
    loadRequested = openPauseRequested = closePauseRequested = false;
    confirmActive = openConfirmRequested = closeConfirmRequested = false;
    pauseKind = NotPaused;
    levelTimer = levelTimerLimit = 0;
    levelTimerRunning = levelTimerHalted = false;
    windowFocused = lastWindowFocused = true;
    queuedLoadRequested = false;
    queuedScenePath.clear();
    gameSpeed = 1.0f;
    loadedVolumes = {};
    volumeFile = levelFile = {};
}

bool SceneSystem::LoadScene(const std::string& path)
{
    assert(!updatingEntities &&
           "LoadScene deletes the scene whose entities are updating: set loadRequested instead");
    TraceMessage("Scene System: Attempting to load scene from %s", path.c_str());
    // The new scene is read beside the old one, so a file that fails leaves the game as it was.
    auto next = std::make_unique<MainScene>();
    next->SceneFile = path;
    if (!next->Load())
    {
        TraceMessage("Scene System: Failed to load scene file %s", path.c_str());
        Log("SCENE: [", path, "] failed to load; ",
            currentScene ? "the current scene stays" : "there is no scene to show");
        return false;
    }

    if (confirmActive)
    {
        closeConfirmRequested = true;
        confirmActive = false;
    }
    if (pauseKind != NotPaused)
    {
        closePauseRequested = true;
        pauseKind = NotPaused;
    }
    gameSpeed = 1.0f;

    if (currentScene)
    {
        currentScene->Unload();
        Camera::GetInstance().SetTarget(nullptr);
        currentScene->entities.Clear();
        currentScene.reset();
        ClearArchetypes();
    }
    if (IsLevelScene(path))
    {
        levelTimer = 0;
        levelTimerLimit = 10000;
        levelTimerRunning = true;
        levelTimerHalted = false;
    }
    currentScene = std::move(next);
    pendingScenePath = path;
    currentScene->IsComplete = false;
    currentScene->NextScene.clear();
    Log("SceneSystem: Reset completion and next scene state");
    if (IsLevelScene(path))
    {
        BehaviorCountBoard::DeadCount = 0;
        BehaviorCountBoard::ExitedCount = 0;
        Log("SceneSystem: Reset game counters for MainScene");
    }
    FollowCamera(*currentScene);
    TraceMessage("Scene System: Successfully loaded scene %s", path.c_str());
    Log("SCENE: [", path, "] loaded");
    return true;
}

void SceneSystem::FollowCamera(Scene& scene)
{
    Camera& camera = Camera::GetInstance();
    camera.SetTarget(EnsureCamera(scene));
    camera.Update();
}

void SceneSystem::TogglePause(int kind)
{
    assert(kind >= NotPaused && kind <= CreditsPause && "TogglePause takes a pause kind from 0 to 7");
    // Nothing to pause without a scene, and the pause menu itself is never paused over.
    if (!currentScene || SamePath(currentScene->SceneFile, PauseSceneFile(MenuPause)))
        return;
    if (kind != NotPaused && pauseKind == NotPaused && levelTimerRunning && !levelTimerHalted)
        levelTimerHalted = true;
    const int previous = pauseKind;
    pauseKind = kind == previous ? NotPaused : kind;
    if (kind != NotPaused && kind != previous)
        openPauseRequested = true;
    else if (levelTimerHalted && levelTimerRunning)
        levelTimerHalted = false;
    closePauseRequested = true;
}

void SceneSystem::LoadOverlayScene()
{
    settingsAsReadDue = false;
    DeleteScene(pauseOverlay);
    if (pauseKind == NotPaused)
        return;   // resumed in the same frame
    pauseOverlay =
        ReadOverlay(PauseSceneFile(pauseKind), "pause overlay",
                    "Scene System: Pause scene loaded: ", "Scene System: pause scene fail loading from ");
    if (!pauseOverlay)
    {
        pauseKind = NotPaused;
        if (levelTimerHalted && levelTimerRunning)
            levelTimerHalted = false;
        return;
    }
    // The screen's state is taken once its first update has put what follows the game (thumbs,
    // texts) in place: what differs from it when the screen closes is what the player changed.
    settingsAsReadDue = SamePath(pauseOverlay->SceneFile, SettingsScene);
}

void SceneSystem::ClosePauseOverlay()
{
    if (!pauseOverlay)
        return;
    if (SamePath(pauseOverlay->SceneFile, SettingsScene))
        WriteBackSettingsScreen(*pauseOverlay);
    Log("SCENE: [", pauseOverlay->SceneFile, "] closed");
    DeleteScene(pauseOverlay);
    if (currentScene)
        FollowCamera(*currentScene);
}

void SceneSystem::LoadConfirmScene()
{
    DeleteScene(confirmOverlay);
    if (!confirmActive)
        return;
    confirmOverlay =
        ReadOverlay(ConfirmScene, "confirm overlay",
                    "Scene System: Confirm scene loaded: ", "Scene System: confirm scene fail loading from ");
    if (!confirmOverlay)
        confirmActive = false;
}
