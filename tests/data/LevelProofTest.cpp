// The five levels played from their real scene files without a window, frame by frame at a fixed
// 1/60 s through the scene and game systems: Space opens the hatch, and each click of a plan
// arms a job with its hotkey and presses the bot with the cursor, as a player would. A winning
// plan must win, with the counts given; playing without clicks, or with a plan that falls short,
// must lose. Each level also offers exactly the jobs its winning plan uses, and shows its whole
// terrain and its controls in the 16:9 view.
#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/WindowSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorMonkey.h"
#include "game/BehaviorSpawner.h"
#include "game/PixelGrid.h"
#include "graphics/Camera.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/GameSystem.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/QuietStdout.h"
#include "tests/common/SceneFlowFixture.h"
#include "tests/common/TempFolder.h"
#include "ui/ButtonComponent.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>

namespace
{
constexpr float Dt = 1.0f / 60.0f;
constexpr int MouseLeft = 0;
constexpr int SpaceKey = 32;

// What a job button of the art is called in a level and the key its picture shows.
struct JobButton
{
    const char* entity;
    int hotkey;
    int job;   // the bot's job number; none for the umbrella, which is a flag
};
const std::map<std::string, JobButton> JobButtons = {
    {"Blocker", {"MonkeyBlockerButton", '1', MonkeyJob::Blocker}},
    {"Digger", {"MonkeyDigButton", '2', MonkeyJob::Dig}},
    {"Tunneller", {"MonkeyTunnelButton", '3', MonkeyJob::Tunnel}},
    {"Bridge", {"MonkeyBridgeButton", '4', MonkeyJob::Bridge}},
    {"Umbrella", {"MonkeyUmbrellaButton", '5', MonkeyJob::None}},
};

// Seconds after Space, the job, and the bot by the order it left the hatch (0 is the first).
struct Click
{
    float at;
    const char* job;
    int bot;
};

enum class Outcome
{
    Won,
    Lost
};

struct Proof
{
    const char* name;
    int level;
    std::vector<Click> plan;
    Outcome outcome;
    int dead;     // the count board's counts when the level is decided: bots keep walking while the
    int exited;   // end-of-level view closes in on the deciding bot
};

std::ostream& operator<<(std::ostream& out, const Proof& proof) { return out << proof.name; }

std::vector<Click> Umbrellas(std::initializer_list<int> bots, float firstAt, float apart)
{
    std::vector<Click> clicks;
    for (int bot : bots)
        clicks.push_back({firstAt + apart * static_cast<float>(bot), "Umbrella", bot});
    return clicks;
}

std::vector<Click> Joined(std::vector<Click> a, const std::vector<Click>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Level 1: one blocker turns the bots away from the chasm, back to the exit.
// Level 2: a digger opens the sand over the cave, between its quicksand and the exit's alcove.
// Level 3: a bridge over each of the two chasms.
// Level 4: a tunnel through the wall, and umbrellas down the shaft.
// Level 5: dig, bridge, tunnel, and a blocker before the lava on the lowest floor.
const std::vector<Click> Level4Tunnel = {{7.02f, "Tunneller", 0}};
const std::vector<Click> Level5Way = {{4.0f, "Digger", 0}, {9.85f, "Bridge", 0}, {14.42f, "Tunneller", 0}};

const Proof Proofs[] = {
    {"Level1Wins", 1, {{3.5f, "Blocker", 0}}, Outcome::Won, 1, 6},
    {"Level1LostWithoutClicks", 1, {}, Outcome::Lost, 4, 0},
    // The blocker counts as lost: with two bots gone already, the level is lost when the board
    // next looks, as the bots it saves head for the exit.
    {"Level1LostByALateBlocker", 1, {{11.6f, "Blocker", 2}}, Outcome::Lost, 3, 6},
    {"Level2Wins", 2, {{6.5f, "Digger", 0}}, Outcome::Won, 0, 7},
    {"Level2LostWithoutClicks", 2, {}, Outcome::Lost, 4, 0},
    {"Level2LostByDiggingOverTheQuicksand", 2, {{4.0f, "Digger", 0}}, Outcome::Lost, 4, 0},
    {"Level2LostByDiggingOverTheAlcove", 2, {{11.6f, "Digger", 0}}, Outcome::Lost, 4, 0},
    {"Level3Wins", 3, {{5.45f, "Bridge", 0}, {12.2f, "Bridge", 0}}, Outcome::Won, 0, 7},
    {"Level3LostWithoutClicks", 3, {}, Outcome::Lost, 4, 0},
    {"Level3LostWithOneBridge", 3, {{5.45f, "Bridge", 0}}, Outcome::Lost, 4, 0},
    {"Level4Wins", 4, Joined(Level4Tunnel, Umbrellas({0, 1, 2, 3, 4, 5, 6, 7}, 1.0f, 2.0f)), Outcome::Won, 0,
     5},
    {"Level4LostWithoutClicks", 4, {}, Outcome::Lost, 4, 0},
    {"Level4LostWithoutUmbrellas", 4, Level4Tunnel, Outcome::Lost, 4, 0},
    {"Level5Wins", 5, Joined(Level5Way, {{20.6f, "Blocker", 0}}), Outcome::Won, 1, 7},
    {"Level5LostWithoutClicks", 5, {}, Outcome::Lost, 4, 0},
    {"Level5LostWithoutTheBlocker", 5, Level5Way, Outcome::Lost, 4, 0},
};

std::string LevelScene(int level) { return "Data/Scenes/LevelScene" + std::to_string(level) + ".json"; }

// The real scene and game systems on the real data, without a window: a private per-user folder,
// a 16:9 window size for the camera, and every shared state put back at both ends.
class LevelPlay
{
public:
    LevelPlay() : xdg("XDG_DATA_HOME", home.Path().c_str())
    {
        Reset();
        WindowSystem::GetInstance().width = 1600;
        WindowSystem::GetInstance().height = 900;
    }
    ~LevelPlay()
    {
        Reset();
        WindowSystem::GetInstance().width = WindowSystem::GetInstance().height = 0;
    }
    LevelPlay(const LevelPlay&) = delete;
    LevelPlay& operator=(const LevelPlay&) = delete;

    bool Load(int level) { return SceneSystem::GetInstance().LoadScene(LevelScene(level)); }

    // One frame in the engine's order, with this frame's keys and button.
    void Frame()
    {
        InputSystem& input = InputSystem::GetInstance();
        for (auto& [code, frames] : held)
            input.state[code] = frames++ == 0 ? 1 : 2;
        ++WindowSystem::GetInstance().frameCounter;
        SceneFlowFixture::Frame(Dt);
        time += Dt;
        NoteBots();
    }
    void Frames(int count)
    {
        for (int i = 0; i < count; ++i)
            Frame();
    }

    void Press(int code) { held[code] = 0; }
    void Release(int code)
    {
        held.erase(code);
        InputSystem::GetInstance().state[code] = 0;
    }

    // Puts the cursor on the middle of an entity as the camera shows it (an interface element
    // hangs from the camera: its place is its world matrix's).
    void PointAt(Entity& entity)
    {
        const Vec3 at = WorldPosition(entity);
        const Vec4 clip = WorldToClip().Transform({at.x, at.y, at.z, 1});
        InputSystem::GetInstance().cursorX = (clip.x / clip.w + 1) / 2;
        InputSystem::GetInstance().cursorY = (1 - clip.y / clip.w) / 2;
    }
    static Vec3 WorldPosition(Entity& entity)
    {
        const Matrix4& world = entity.GetComponent<Transform>()->GetMatrix();
        return {world.At(0, 3), world.At(1, 3), world.At(2, 3)};
    }
    static Matrix4 WorldToClip()
    {
        Camera& camera = Camera::GetInstance();
        return Matrix4::Multiply(camera.GetProjectionMatrix(), camera.GetViewMatrix());
    }
    void PointAway()
    {
        InputSystem::GetInstance().cursorX = 0.99;
        InputSystem::GetInstance().cursorY = 0.5;
    }

    // A click of an entity: the cursor comes over it, the button goes down for two frames and
    // comes up, the cursor following the entity while it moves.
    void ClickOn(Entity*& entity)
    {
        for (int step = 0; step < 4 && entity; ++step)
        {
            PointAt(*entity);
            if (step == 1)
                Press(MouseLeft);
            if (step == 3)
                Release(MouseLeft);
            Frame();
        }
        PointAway();
    }

    // Arms the job with its hotkey, then clicks the bot. What went wrong, or empty.
    std::string Give(const Click& click)
    {
        const JobButton& button = JobButtons.at(click.job);
        MainScene* scene = SceneSystem::GetInstance().CurrentScene();
        if (!scene || !scene->entities.FindByName(button.entity))
            return std::string("the level has no ") + button.entity;
        Press(button.hotkey);
        Frame();
        Release(button.hotkey);
        Entity* bot = Bot(click.bot);
        if (!bot)
            return "bot " + std::to_string(click.bot) + " is not in the level";
        ClickOn(bot);
        BehaviorMonkey* monkey = bot ? bot->GetComponent<BehaviorMonkey>() : nullptr;
        // A job that ended on the spot (a bridge started away from an edge) counts as not taken.
        const bool given =
            monkey && (button.job == MonkeyJob::None ? monkey->Umbrella : monkey->Job == button.job);
        if (!given)
            return "bot " + std::to_string(click.bot) + " did not take the job (" +
                   (bot ? bot->Name : "gone") + ")";
        return "";
    }

    // A bot by the order it left the hatch; null once it has gone.
    Entity* Bot(int index) const
    {
        const auto found = bots.find(index);
        return found == bots.end() ? nullptr : found->second;
    }

    // Follows the bots: a new one gets the next number, a gone one is forgotten.
    void NoteBots()
    {
        std::set<Entity*> present;
        if (MainScene* scene = SceneSystem::GetInstance().CurrentScene())
            for (Entity* entity : scene->entities.GetEntities())
                if (entity && entity->GetComponent<BehaviorMonkey>())
                {
                    present.insert(entity);
                    if (!seen.count(entity))
                        seen.insert(entity), bots[spawned++] = entity;
                }
        for (auto it = bots.begin(); it != bots.end();)
            it = present.count(it->second) ? std::next(it) : bots.erase(it);
        for (auto it = seen.begin(); it != seen.end();)
            it = present.count(*it) ? std::next(it) : seen.erase(it);
    }

    float time = 0;

private:
    static void Reset()
    {
        SceneSystem::GetInstance().Shutdown();
        GameSystem::GetInstance().Shutdown();
        MessagingSystem::GetInstance().Clear();
        InputSystem& input = InputSystem::GetInstance();
        std::fill(std::begin(input.state), std::end(input.state), 0);
        input.cursorX = input.cursorY = 0;
        Camera::GetInstance().SetTarget(nullptr);
        BehaviorCountBoard::ResetStatics();
        LevelCompleted = {1};
    }

    QuietStdout quiet;
    TempFolder home;
    ScopedEnv xdg;
    std::map<int, int> held;   // code -> frames it has been down
    std::map<int, Entity*> bots;
    std::set<Entity*> seen;
    int spawned = 0;
};

std::string Counts()
{
    std::ostringstream out;
    out << "dead " << BehaviorCountBoard::DeadCount << ", exited " << BehaviorCountBoard::ExitedCount
        << ", spawned " << BehaviorSpawner::GetSpawnedCount();
    return out.str();
}

// Loads the level, opens the hatch and plays the plan until the level is decided (or time runs
// out), then lets the overlay open.
void PlayOut(LevelPlay& play, const Proof& proof)
{
    ASSERT_TRUE(play.Load(proof.level));
    play.Press(SpaceKey);
    play.Frame();
    play.Release(SpaceKey);

    SceneSystem& scenes = SceneSystem::GetInstance();
    std::vector<Click> plan = proof.plan;
    std::sort(plan.begin(), plan.end(), [](const Click& a, const Click& b) { return a.at < b.at; });
    size_t next = 0;
    constexpr float Limit = 90;   // seconds: every level is decided well before
    while (scenes.pauseKind == SceneSystem::NotPaused && play.time < Limit)
    {
        if (next < plan.size() && play.time >= plan[next].at)
        {
            const Click& click = plan[next++];
            const std::string problem = play.Give(click);
            EXPECT_EQ(problem, "") << click.job << " at " << click.at << " s: " << Counts();
            continue;
        }
        play.Frame();
    }
    play.Frames(2);   // the overlay opens at the end of the deciding frame
    EXPECT_EQ(next, plan.size()) << "the level was decided before the plan was played out";
}

const Proof& ProofNamed(const std::string& name)
{
    return *std::find_if(std::begin(Proofs), std::end(Proofs),
                         [&](const Proof& p) { return p.name == name; });
}

class LevelProof : public ::testing::TestWithParam<Proof>
{
};
}   // namespace

TEST_P(LevelProof, PlaysToItsOutcome)
{
    const Proof& proof = GetParam();
    LevelPlay play;
    PlayOut(play, proof);

    const SceneSystem& scenes = SceneSystem::GetInstance();
    const SceneSystem::PauseKind expected =
        proof.outcome == Outcome::Won ? SceneSystem::WinPause : SceneSystem::LosePause;
    EXPECT_EQ(scenes.pauseKind, expected) << "after " << play.time << " s: " << Counts();
    ASSERT_NE(scenes.PauseOverlay(), nullptr);
    EXPECT_EQ(scenes.PauseOverlay()->SceneFile, SceneSystem::PauseSceneFile(expected));
    EXPECT_EQ(BehaviorCountBoard::DeadCount, proof.dead) << Counts();
    EXPECT_EQ(BehaviorCountBoard::ExitedCount, proof.exited) << Counts();
    if (proof.outcome == Outcome::Won)
    {
        EXPECT_TRUE(IsLevelUnlocked(proof.level + 1)) << "winning a level unlocks the next one";
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelProof, ::testing::ValuesIn(Proofs),
                         [](const ::testing::TestParamInfo<Proof>& info) {
                             return std::string(info.param.name);
                         });

TEST(LevelProofs, WinningTheLastLevelLeadsToTheEndOfTheGame)
{
    LevelPlay play;
    PlayOut(play, ProofNamed("Level5Wins"));
    ASSERT_EQ(SceneSystem::GetInstance().pauseKind, SceneSystem::WinPause) << Counts();
    Entity* next = SceneSystem::GetInstance().PauseOverlay()->entities.FindByName("NextSceneButton");
    ASSERT_NE(next, nullptr);
    play.ClickOn(next);
    play.Frames(2);
    EXPECT_EQ(SceneSystem::GetInstance().CurrentScene()->SceneFile, "Data/Scenes/GameEndScene.json");
    EXPECT_EQ(SceneSystem::GetInstance().pauseKind, SceneSystem::NotPaused);
}

// Each level offers the jobs its winning plan uses and no other; the camera shows the whole
// terrain and every control, hatch and exit at 16:9.
TEST(LevelProofs, EachLevelOffersItsJobsAndShowsItsWholeTerrain)
{
    for (int level = 1; level <= 5; ++level)
    {
        SCOPED_TRACE("level " + std::to_string(level));
        LevelPlay play;
        ASSERT_TRUE(play.Load(level));
        play.Frame();
        const MainScene& scene = *SceneSystem::GetInstance().CurrentScene();

        std::set<std::string> offered, used;
        for (const auto& [job, button] : JobButtons)
            if (scene.entities.FindByName(button.entity))
                offered.insert(job);
        for (const Click& click : ProofNamed("Level" + std::to_string(level) + "Wins").plan)
            used.insert(click.job);
        EXPECT_EQ(offered, used);
        for (const char* control :
             {"PauseButton", "DestructButton", "SpeedButton2x", "SpeedButton4x", "CountBoardPanel"})
            EXPECT_NE(scene.entities.FindByName(control), nullptr) << control;

        const Matrix4 toClip = LevelPlay::WorldToClip();
        const auto inView = [&](float x, float y, float z) {
            const Vec4 clip = toClip.Transform({x, y, z, 1});
            return std::abs(clip.x / clip.w) <= 1.0f && std::abs(clip.y / clip.w) <= 1.0f;
        };
        Entity* terrain = scene.entities.FindByName("Terrain");
        ASSERT_NE(terrain, nullptr);
        const PixelGrid& grid = *terrain->GetComponent<PixelGrid>();
        const Vec2 low = grid.CellToWorld(0, 0),
                   high = grid.CellToWorld(float(grid.Width), float(grid.Height));
        for (const Vec2& corner : {low, high, Vec2{low.x, high.y}, Vec2{high.x, low.y}})
            EXPECT_TRUE(inView(corner.x, corner.y, 0)) << "terrain corner " << corner.x << ", " << corner.y;
        for (Entity* entity : scene.entities.GetEntities())
        {
            const bool shown = entity->GetComponent<ButtonComponent>() || entity->Name == "Spawner" ||
                               entity->Name == "Exit" || entity->Name == "CountBoardPanel";
            Transform* at = entity->GetComponent<Transform>();
            if (!shown || !at)
                continue;
            for (float sx : {-0.5f, 0.5f})
                for (float sy : {-0.5f, 0.5f})
                {
                    const Vec3 corner = at->GetMatrix().TransformPoint({sx, sy, 0});
                    EXPECT_TRUE(inView(corner.x, corner.y, corner.z)) << entity->Name;
                }
        }
    }
}
