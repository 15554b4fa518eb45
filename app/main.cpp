// The game: builds the engine systems with their hooks and runs them.
#include "app/Game.h"
#include "engine/Engine.h"
#include "engine/WindowSystem.h"

int main()
{
    Engine engine;
    BuildGame(engine);
    engine.Run();
    // Without a window the game could not run at all.
    return WindowSystem::GetInstance().everOpened ? 0 : 1;
}
