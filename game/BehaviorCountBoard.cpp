#include "game/BehaviorCountBoard.h"

#include "audio/AudioPlayer.h"
#include "engine/TraceSystem.h"
#include "game/BehaviorSpawner.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"

int32_t BehaviorCountBoard::DeadCount = 0;
int32_t BehaviorCountBoard::ExitedCount = 0;
int32_t BehaviorCountBoard::DeadMax = 0;
int32_t BehaviorCountBoard::ExitMax = 0;
int32_t BehaviorCountBoard::SpawnTotal = 0;
bool BehaviorCountBoard::EvaluateRequested = false;
bool BehaviorCountBoard::AlwaysEvaluate = false;

namespace
{
// A limit from the file; a value that is not a count (an integer from 0 up) leaves the limit
// as it was.
void ReadLimit(const json& in, const char* key, int32_t& limit)
{
    int64_t value = limit;
    if (!ReadKeyOrKeep(in, key, value, "COUNTBOARD: [BehaviorCountBoard]"))
        return;
    if (value < 0 || value > INT32_MAX)
    {
        Log("COUNTBOARD: [", key, "] is not a count: ", value, "; the limit stays ", limit);
        return;
    }
    limit = static_cast<int32_t>(value);
}
}   // namespace

BehaviorCountBoard::BehaviorCountBoard(const BehaviorCountBoard& other)
    : Behavior(other), Decided(other.Decided)
{
}

void BehaviorCountBoard::ResetStatics()
{
    DeadCount = 0;
    ExitedCount = 0;
    DeadMax = 0;
    ExitMax = 0;
    SpawnTotal = 0;
    EvaluateRequested = false;
    AlwaysEvaluate = false;
}

void BehaviorCountBoard::Write(json& out) const
{
    out["Type"] = "BehaviorCountBoard";
    out["DeadMax"] = DeadMax;
    out["ExitMax"] = ExitMax;
}

void BehaviorCountBoard::Read(const json& in)
{
    ReadLimit(in, "DeadMax", DeadMax);
    ReadLimit(in, "ExitMax", ExitMax);
}

void BehaviorCountBoard::OnInit()
{
    DeadCount = 0;
    ExitedCount = 0;
    SpawnTotal = BehaviorSpawner::GetSpawnTotal();
}

void BehaviorCountBoard::OnExit() { TraceMessage("BehaviorCountBoard: Shutting down"); }

BehaviorCountBoard::Verdict BehaviorCountBoard::Decide(int32_t spawnTotal)
{
    // Wide enough that no count the program can hold overflows the margin.
    const int64_t notDead = int64_t{spawnTotal} - DeadCount;
    const bool feasible = DeadCount < DeadMax && notDead > ExitMax;
    if (!feasible)
        return Verdict::Lost;
    if (ExitedCount >= ExitMax)
        return Verdict::Won;
    return Verdict::Undecided;
}

void BehaviorCountBoard::OnUpdate(float)
{
    if (Decided)
        return;
    const Scene* scene = SceneSystem::GetInstance().CurrentScene();
    if (!scene || scene->IsComplete)
        return;   // the scene is about to be left
    if (EvaluateRequested)
        EvaluateRequested = false;
    else if (!AlwaysEvaluate)
        return;

    const Verdict verdict = Decide(BehaviorSpawner::GetSpawnTotal());
    if (verdict == Verdict::Undecided)
        return;
    const bool won = verdict == Verdict::Won;
    if (won)
        TraceMessage("WIN CONDITION: Exit monkeys (%d) reached max (%d)", ExitedCount, ExitMax);
    AudioPlayer::GetInstance()->StopAll();
    AudioPlayer::GetInstance()->PlaySound(won ? "Cheer" : "Trombone", false, 1.0f);
    if (won)
        UnlockNextLevel();   // lays the win screen over the level
    else
        SceneSystem::GetInstance().TogglePause(SceneSystem::LosePause);
    Decided = true;
    TraceMessage(won ? "Scene marked as won" : "Scene marked as lost");
}
