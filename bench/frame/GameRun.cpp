#include "bench/frame/GameRun.h"

#include "app/Game.h"
#include "engine/Engine.h"
#include "engine/WindowSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorMonkey.h"
#include "game/BehaviorSpawner.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"

#include <chrono>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace
{
constexpr int BotCount = 200;
constexpr int Diggers = 10;
// The flat ground of level 1 between the exit and the hill, in world units, where the bots are
// set down just above it. Bots still leave during the run (by the exit, by digging, at the
// hill's steps): the driver reports how many were out when the measuring began and ended.
constexpr float GroundLeft = -5.3f, GroundRight = -2.5f, DropHeight = -0.3f;

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double WallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Runs the game; `step(frame)` is asked before each frame (0 before the first) and ends the run
// by returning false. Measures the frames from Begin() to End().
class MeasuredRun
{
public:
    // `frameTime` fixes the game time of every frame (0: the window's measured time).
    RunFigures Run(const std::function<bool(MeasuredRun&, int frame)>& step, float frameTime = 0)
    {
        Engine engine;
        BuildGame(engine);
        if (frameTime > 0)
            engine.frameTime = [frameTime] { return frameTime; };
        int frame = 0;
        engine.shouldClose = [&] { return !step(*this, frame++); };
        engine.Run();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        figures.peakKilobytes = usage.ru_maxrss;
        if (!WindowSystem::GetInstance().everOpened)
            figures.error = "no window";
        return figures;
    }
    void Begin(int frame)
    {
        firstFrame = frame;
        cpu = CpuSeconds();
        wall = WallSeconds();
    }
    void End(int frame)
    {
        figures.frames = frame - firstFrame;
        figures.cpuSeconds = CpuSeconds() - cpu;
        figures.wallSeconds = WallSeconds() - wall;
    }
    RunFigures figures;

private:
    int firstFrame = 0;
    double cpu = 0, wall = 0;
};

// Spreads the bots over the ground walking both ways, every twentieth of them picked to dig.
std::vector<BehaviorMonkey*> AddBots(MainScene& level)
{
    std::vector<BehaviorMonkey*> diggers;
    const int digEvery = BotCount / Diggers;
    for (int i = 0; i < BotCount; ++i)
    {
        Entity* bot = BehaviorSpawner::SpawnBot(nullptr);
        const float across = (static_cast<float>(i) + 0.5f) / BotCount;
        if (Transform* at = bot->GetComponent<Transform>())
        {
            at->Translation = {GroundLeft + (GroundRight - GroundLeft) * across, DropHeight, 0};
            at->Dirty = true;
        }
        BehaviorMonkey* walker = bot->GetComponent<BehaviorMonkey>();
        walker->Direction = i % 2 == 0 ? MonkeyDirection::Right : MonkeyDirection::Left;
        if (i % digEvery == digEvery / 2)
            diggers.push_back(walker);
        level.AddEntity(bot);
    }
    return diggers;
}
int Bots(const SceneSystem& scenes)
{
    int count = 0;
    if (const MainScene* level = scenes.CurrentScene())
        for (const Entity* entity : level->entities.GetEntities())
            count += entity && entity->Name == "Monkey" && !entity->IsDestroyed;
    return count;
}
}   // namespace

RunFigures RunBusyLevel()
{
    // The bots land before the diggers start. Every frame is 1/60 s of game time however fast
    // it runs, so each frame has the same work to do on any machine and in any version.
    constexpr int Landed = 31, WarmUp = 30, Measured = 240;
    SceneSystem& scenes = SceneSystem::GetInstance();
    std::vector<BehaviorMonkey*> diggers;
    return MeasuredRun().Run(
        [&](MeasuredRun& run, int frame) {
            if (frame == 0)
            {
                WindowSystem::GetInstance().framePeriod = 0;   // as fast as the frames go
                if (!scenes.LoadScene("Data/Scenes/LevelScene1.json"))
                    return run.figures.error = "level 1 did not load", false;
            }
            else if (frame == 1)
            {
                // The hatch is open and has let every bot out; the count board decides nothing
                // while they walk, and no death settles the level (which would close the
                // end-of-level spotlight over the picture).
                BehaviorSpawner* spawner = BehaviorSpawner::FindLevelSpawner();
                if (!spawner || !scenes.CurrentScene())
                    return run.figures.error = "level 1 has no spawner", false;
                spawner->Started = true;
                spawner->SpawnCount = BotCount;
                spawner->SpawnTimer = 1e9f;   // no more bots come out
                spawner->MonkeySpawnCountMax = 100 * BotCount;
                BehaviorCountBoard::DeadMax = 100 * BotCount;
                BehaviorCountBoard::SpawnTotal = 100 * BotCount;
                BehaviorCountBoard::ExitMax = 2 * BotCount;
                diggers = AddBots(*scenes.CurrentScene());
            }
            else if (frame == Landed)
            {
                for (BehaviorMonkey* digger : diggers)
                    digger->Job = MonkeyJob::Dig;
            }
            else if (frame == Landed + WarmUp)
            {
                run.Begin(frame);
                run.figures.botsAtStart = Bots(scenes);
            }
            else if (frame == Landed + WarmUp + Measured)
            {
                run.End(frame);
                run.figures.botsAtEnd = Bots(scenes);
                if (scenes.pauseKind != SceneSystem::NotPaused)
                    run.figures.error = "the level was paused or decided during the run (pause kind " +
                                        std::to_string(scenes.pauseKind) + ", " +
                                        std::to_string(BehaviorCountBoard::DeadCount) + " dead, " +
                                        std::to_string(BehaviorCountBoard::ExitedCount) + " out)";
                else if (scenes.CurrentScene() && scenes.CurrentScene()->SpotlightsCreated > 0)
                    run.figures.error = "the level was settled during the run: its spotlight opened";
                return false;
            }
            return true;
        },
        1.0f / 60.0f);
}

RunFigures RunIdleMenu()
{
    constexpr int WarmUp = 60;
    constexpr double Seconds = 4;
    SceneSystem& scenes = SceneSystem::GetInstance();
    double until = 0;
    return MeasuredRun().Run([&](MeasuredRun& run, int frame) {
        if (frame == 0 && !scenes.LoadScene(SceneSystem::MainMenuScene))
            return run.figures.error = "the main menu did not load", false;
        if (frame == WarmUp)
        {
            run.Begin(frame);
            until = WallSeconds() + Seconds;
        }
        if (frame > WarmUp && WallSeconds() >= until)
        {
            run.End(frame);
            return false;
        }
        return true;
    });
}
