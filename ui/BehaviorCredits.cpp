#include "ui/BehaviorCredits.h"

#include "engine/InputSystem.h"
#include "engine/TraceSystem.h"
#include "game/Physics.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"

void BehaviorCredits::OnUpdate(float dt)
{
    Transform* transform = Parent ? Parent->GetComponent<Transform>() : nullptr;
    Physics* physics = Parent ? Parent->GetComponent<Physics>() : nullptr;
    if (!transform || !physics)
        return;
    const InputSystem& input = InputSystem::GetInstance();
    if (!ReachedEnd)
    {
        if (transform->Translation.y < EndY)
            physics->Velocity = {0, input.GetState(Key::Space) == 2 ? FastSpeed : Speed, 0};
        else
        {
            ReachedEnd = true;
            Log("CREDITS: [", Parent->Name, "] reached their end");
        }
    }
    if (ReachedEnd)
    {
        EndWait -= dt;
        physics->Velocity = {0, 0, 0};
    }
    if ((input.GetState(Key::Escape) == 1 || EndWait <= 0) && !Leaving)
    {
        SceneSystem& scenes = SceneSystem::GetInstance();
        if (Scene* below = scenes.CurrentScene();
            below && below->SceneFile != "Data\\Scenes\\MainMenuScene.json")
        {
            below->NextScene = SceneSystem::MainMenuScene;
            below->IsComplete = true;
        }
        scenes.TogglePause(SceneSystem::CreditsPause);
        Leaving = true;
    }
}

void BehaviorCredits::OnExit() { Log("BehaviorCredits: Shutting down"); }
