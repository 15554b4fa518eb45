#include "game/CheatKeys.h"

#include "engine/InputSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorMonkey.h"
#include "game/BehaviorSpawner.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"

namespace
{
bool Pressed(int code) { return InputSystem::GetInstance().GetState(code) == 1; }

void SpawnExtraBot()
{
    Scene* scene = SceneSystem::GetInstance().CurrentScene();
    BehaviorSpawner* spawner = BehaviorSpawner::FindLevelSpawner(scene);
    if (!spawner)
        return;
    Entity* bot = BehaviorSpawner::SpawnBot(spawner);
    // Made at run time: a saved scene must not keep it.
    bot->IsSpawned = true;
    if (BehaviorMonkey* walker = bot->GetComponent<BehaviorMonkey>())
        walker->Direction = MonkeyDirection::Right;
    scene->AddEntity(bot);
    // The extra bot is one more of the level's bots, released already.
    spawner->SpawnCount += 1;
    spawner->MonkeySpawnCountMax += 1;
}
}   // namespace

void CheatKeys::Update()
{
    if (InputSystem::GetInstance().GetState(Key::LeftControl) != 2)
        return;
    using Board = BehaviorCountBoard;
    if (Pressed(Key::F3))
    {
        Board::AlwaysEvaluate = true;
        Board::ExitedCount = 1;
        Board::ExitMax = 1;
    }
    if (Pressed(Key::F4))
    {
        Board::AlwaysEvaluate = true;
        Board::DeadCount = 1;
        Board::DeadMax = 1;
    }
    if (Pressed(Key::F5))
        SpawnExtraBot();
    else if (Pressed(Key::F7))
        LevelCompleted = LevelList;
    else if (Pressed(Key::F8))
    {
        LevelCompleted = {1};
        LastLevelWon = false;
    }
}
