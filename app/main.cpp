// The game: builds the ten engine systems in start-up order and runs them.
#include "audio/AudioSystem.h"
#include "editor/EditorSystem.h"
#include "engine/Engine.h"
#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/SerializationSystem.h"
#include "engine/TraceSystem.h"
#include "engine/WindowSystem.h"
#include "graphics/GraphicsSystem.h"
#include "scene/GameSystem.h"
#include "scene/SceneSystem.h"

int main()
{
    Engine engine;
    engine.Add(&TraceSystem::GetInstance());
    engine.Add(&WindowSystem::GetInstance());
    engine.Add(&GraphicsSystem::GetInstance());
    engine.Add(&AudioSystem::GetInstance());
    engine.Add(&MessagingSystem::GetInstance());
    engine.Add(&GameSystem::GetInstance());
    engine.Add(&SceneSystem::GetInstance());
    engine.Add(&SerializationSystem::GetInstance());
    engine.Add(&InputSystem::GetInstance());
    engine.Add(&EditorSystem::GetInstance());
    engine.Run();
    // Without a window the game could not run at all.
    return WindowSystem::GetInstance().everOpened ? 0 : 1;
}
