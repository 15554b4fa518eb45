// The simulation of a busy level: the real level 1 loaded through the scene system from the
// game's own data, N bots built from the bot archetype the spawner uses, ten of them digging: the
// walkers spread over the ground between the exit and the chasm and walking both ways, the
// diggers beyond the chasm, given their job as the measured frames begin (they are through the
// ground in well under the 120 frames, and their dirt flies for most of them). Each iteration is
// 120 frames at 1/60 s in the engine's order (messages, game and scene systems: the entities'
// update, the drawing requests with no window to take them, the collision pass). The time
// reported is the simulation's: the thread's CPU time per frame (which other work on the machine
// barely moves) less that of the walk that hands out the drawing requests, timed again right
// after each frame (with no window it changes nothing). The whole frame is the frame_ms counter.
// No walker reaches the exit, the chasm or a shaft during the run, and the count board asks for
// half of the bots out, so the level is never decided in between; a run that ends paused reports
// an error instead of a figure.
#include "engine/WindowSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorMonkey.h"
#include "game/BehaviorSpawner.h"
#include "graphics/GraphicsSystem.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/QuietStdout.h"
#include "tests/common/SceneFlowFixture.h"

#include <benchmark/benchmark.h>
#include <ctime>
#include <vector>

namespace
{
constexpr float Dt = 1.0f / 60.0f;
constexpr int FramesPerRun = 120;
constexpr int Diggers = 10;

// Where the bots stand on level 1, in world units: the walkers right of the exit and left of the
// chasm by more than the run's walk, the diggers on the ground beyond the chasm, where no walker
// comes to fall into their shafts.
constexpr float WalkersLeft = -5.5f, WalkersRight = 1.0f, DiggersLeft = 8.4f, DiggersRight = 10.4f;
constexpr float DropHeight = 0.5f;

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void Frame()
{
    ++WindowSystem::GetInstance().frameCounter;
    SceneFlowFixture::Frame(Dt);
    GraphicsSystem::GetInstance().DrawDebugLines();   // without a window: only empties the queue
}

BehaviorMonkey* AddBot(MainScene& level, float x, int direction)
{
    Entity* bot = BehaviorSpawner::SpawnBot(nullptr);
    if (Transform* at = bot->GetComponent<Transform>())
    {
        at->Translation = {x, DropHeight, 0};
        at->Dirty = true;
    }
    BehaviorMonkey* monkey = bot->GetComponent<BehaviorMonkey>();
    monkey->Direction = direction;
    level.AddEntity(bot);
    return monkey;
}

void AddBots(MainScene& level, int count)
{
    const auto across = [](int i, int n, float left, float right) {
        return left + (right - left) * (static_cast<float>(i) + 0.5f) / static_cast<float>(n);
    };
    const int walkers = count - Diggers;
    for (int i = 0; i < walkers; ++i)
        AddBot(level, across(i, walkers, WalkersLeft, WalkersRight),
               i % 2 == 0 ? MonkeyDirection::Right : MonkeyDirection::Left);
    std::vector<BehaviorMonkey*> diggers;
    for (int i = 0; i < Diggers; ++i)
        diggers.push_back(
            AddBot(level, across(i, Diggers, DiggersLeft, DiggersRight), MonkeyDirection::Left));
    // The bots land first; then the diggers take their job, as a click gives it.
    for (int i = 0; i < 30; ++i)
        Frame();
    for (BehaviorMonkey* digger : diggers)
        digger->Job = MonkeyJob::Dig;
}
}   // namespace

static void BM_LevelSimulation(benchmark::State& state)
{
    QuietStdout quiet;
    SceneFlowFixture flow(SceneFlowFixture::GameData);
    SceneSystem& scenes = SceneSystem::GetInstance();
    const int count = static_cast<int>(state.range(0));
    bool ended = false;
    double wholeFrames = 0;
    for (auto _ : state)
    {
        if (!scenes.LoadScene("Data/Scenes/LevelScene1.json"))
        {
            state.SkipWithError("level 1 did not load");
            break;
        }
        Frame();   // the level's entities start
        BehaviorCountBoard::DeadMax = BehaviorCountBoard::ExitMax = count / 2;
        if (BehaviorSpawner* spawner = BehaviorSpawner::FindLevelSpawner())
            spawner->MonkeySpawnCountMax = count;
        AddBots(*scenes.CurrentScene(), count);
        double frames = 0, drawing = 0;
        for (int frame = 0; frame < FramesPerRun; ++frame)
        {
            const double start = ThreadSeconds();
            Frame();
            const double framed = ThreadSeconds();
            scenes.CurrentScene()->entities.Render();
            drawing += ThreadSeconds() - framed;
            frames += framed - start;
        }
        state.SetIterationTime((frames - drawing) / FramesPerRun);
        wholeFrames += frames;
        ended = ended || scenes.pauseKind != SceneSystem::NotPaused;
    }
    if (ended)
        state.SkipWithError("the level was decided during the run");
    state.counters["frame_ms"] = 1000 * wholeFrames / static_cast<double>(state.iterations() * FramesPerRun);
}
BENCHMARK(BM_LevelSimulation)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
