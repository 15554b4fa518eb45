#include "scene/GameSystem.h"

#include "engine/TraceSystem.h"
#include "scene/SceneSystem.h"

GameSystem& GameSystem::GetInstance()
{
    static GameSystem instance;
    return instance;
}

bool GameSystem::Init()
{
    Log("Game System: Ready");
    return true;
}

void GameSystem::Shutdown()
{
    Log("Game System: Shutting down");
    lastCompleted = false;
    lastNextScene.clear();
}

void GameSystem::Update(float)
{
    Scene* scene = SceneSystem::GetInstance().CurrentScene();
    if (!scene)
        return;
    const bool completed = scene->IsComplete;
    if (completed != lastCompleted || scene->NextScene != lastNextScene)
    {
        Log("GameSystem Update - Scene complete: ", completed ? "YES" : "NO",
            ", NextScene: ", scene->NextScene);
        lastCompleted = completed;
        lastNextScene = scene->NextScene;
    }
    if (completed)
    {
        Log("GameSystem: Detected scene completion, progressing to next scene");
        ProgressToNextScene();
    }
}

void GameSystem::ProgressToNextScene()
{
    SceneSystem& scenes = SceneSystem::GetInstance();
    Scene* scene = scenes.CurrentScene();
    if (!scene)
    {
        Log("Game System: No active scene");
        return;
    }
    const std::string next = scene->NextScene;
    if (next.empty())
        Log("Game System: No next scene specified - staying in current scene");
    else
    {
        Log("Game System: Progressing to next scene: ", next);
        if (scenes.LoadScene(next))
            return;
    }
    // The scene stays; asking again every frame would only repeat the failure.
    scene->IsComplete = false;
    scene->NextScene.clear();
}
