// The five levels played from their real scene files without a window, frame by frame at a fixed
// 1/60 s through the scene and game systems: Space opens the hatch, and each click of a plan
// arms a job (or destruct mode) with its hotkey and presses the bot with the cursor, as a player
// would: the cursor comes to rest on the bot, then the button goes down and up while the bot
// walks on under it. A winning plan must win, with the counts given; playing without clicks, or
// with a plan that falls short, must lose. A winning plan also wins when any one of its clicks
// comes up to a quarter of a second early or late, or all of them do, and wherever on the bot it
// lands: a player's timing, not a machine's. Each level offers exactly the jobs its winning plan
// uses, and shows its whole terrain and its controls in the 16:9 view.
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
#include "scene/EntityRef.h"
#include "scene/GameSystem.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/QuietStdout.h"
#include "tests/common/SceneFlowFixture.h"
#include "tests/common/TempFolder.h"
#include "ui/ButtonComponent.h"

#include <algorithm>
#include <cmath>
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

constexpr const char* Destruct = "Destruct";   // a click that destroys the bot instead
constexpr int DestructHotkey = 'X';

// Where on the bot a click lands, as fractions of its size from its centre.
struct Spot
{
    const char* name;
    float x, y;
};
constexpr Spot Centre = {"Centre", 0, 0};
constexpr Spot Corners[] = {{"TopLeft", -0.4f, 0.4f},
                            {"BottomRight", 0.4f, -0.4f},
                            {"TopRight", 0.4f, 0.4f},
                            {"BottomLeft", -0.4f, -0.4f}};

// Seconds after Space, the job (or Destruct), and the bot by the order it left the hatch (0 is
// the first).
struct Click
{
    float at;
    const char* job;
    int bot;
    Spot spot = Centre;
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
    const char* without = nullptr;   // an entity of the level taken away before the hatch opens
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
const std::vector<Click> Level4Tunnel = {{6.9f, "Tunneller", 0}};
const std::vector<Click> Level4Way = Joined(Level4Tunnel, Umbrellas({0, 1, 2, 3, 4, 5, 6, 7}, 1.25f, 2.0f));
const std::vector<Click> Level5Way = {{4.0f, "Digger", 0}, {9.5f, "Bridge", 0}, {14.4f, "Tunneller", 0}};

const Proof Proofs[] = {
    {"Level1Wins", 1, {{3.5f, "Blocker", 0}}, Outcome::Won, 1, 6},
    {"Level1LostWithoutClicks", 1, {}, Outcome::Lost, 4, 0},
    // A second blocker on the way back to the exit would keep the bots pacing between the two
    // for ever; destroyed, it lets them on (both blockers count as lost, once each).
    {"Level1WinsAfterAMisplacedBlockerIsDestroyed",
     1,
     {{3.5f, "Blocker", 0}, {8.5f, "Blocker", 1}, {10.5f, Destruct, 1}},
     Outcome::Won,
     2,
     6},
    // The blocker counts as lost: with two bots gone already, the level is lost when the board
    // next looks, as the bots it saves head for the exit.
    {"Level1LostByALateBlocker", 1, {{11.6f, "Blocker", 2}}, Outcome::Lost, 3, 6},
    {"Level2Wins", 2, {{6.6f, "Digger", 0}}, Outcome::Won, 0, 7},
    {"Level2LostWithoutClicks", 2, {}, Outcome::Lost, 4, 0},
    {"Level2LostByDiggingOverTheQuicksand", 2, {{4.0f, "Digger", 0}}, Outcome::Lost, 4, 0},
    {"Level2LostByDiggingOverTheAlcove", 2, {{11.6f, "Digger", 0}}, Outcome::Lost, 4, 0},
    {"Level3Wins", 3, {{4.95f, "Bridge", 0}, {11.7f, "Bridge", 0}}, Outcome::Won, 0, 7},
    {"Level3LostWithoutClicks", 3, {}, Outcome::Lost, 4, 0},
    {"Level3LostWithOneBridge", 3, {{4.95f, "Bridge", 0}}, Outcome::Lost, 4, 0},
    {"Level4Wins", 4, Level4Way, Outcome::Won, 0, 5},
    {"Level4LostWithoutClicks", 4, {}, Outcome::Lost, 4, 0},
    {"Level4LostWithoutUmbrellas", 4, Level4Tunnel, Outcome::Lost, 4, 0},
    // The dock is too high to climb: without its lift the bots walk into the empty shaft.
    {"Level4LostWithoutItsLift", 4, Level4Way, Outcome::Lost, 4, 0, "Lift"},
    {"Level5Wins", 5, Joined(Level5Way, {{20.7f, "Blocker", 0}}), Outcome::Won, 1, 7},
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

    // Puts the cursor on a spot of an entity as the camera shows it (an interface element hangs
    // from the camera: its place is its world matrix's).
    void PointAt(Entity& entity, const Spot& spot = Centre)
    {
        const Vec3 at = WorldPosition(entity);
        const Vec3& size = entity.GetComponent<Transform>()->Scale;
        const Vec4 clip = WorldToClip().Transform({at.x + spot.x * size.x, at.y + spot.y * size.y, at.z, 1});
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

    // A click as a hand makes it: the cursor comes to rest on the spot, then the button goes
    // down for two frames and comes up, the cursor staying where it is while the entity moves.
    void ClickOn(Entity& entity, const Spot& spot = Centre)
    {
        PointAt(entity, spot);
        Frame();
        Press(MouseLeft);
        Frames(2);
        Release(MouseLeft);
        Frame();
        PointAway();
    }

    // Arms the job (or destruct mode) with its hotkey, then clicks the bot. What went wrong, or
    // empty.
    std::string Give(const Click& click)
    {
        const bool destruct = click.job == std::string(Destruct);
        const int hotkey = destruct ? DestructHotkey : JobButtons.at(click.job).hotkey;
        const char* control = destruct ? "DestructButton" : JobButtons.at(click.job).entity;
        MainScene* scene = SceneSystem::GetInstance().CurrentScene();
        if (!scene || !scene->entities.FindByName(control))
            return std::string("the level has no ") + control;
        Press(hotkey);
        Frame();
        Release(hotkey);
        Entity* bot = Bot(click.bot);
        if (!bot)
            return "bot " + std::to_string(click.bot) + " is not in the level";
        ClickOn(*bot, click.spot);
        bot = Bot(click.bot);
        const BehaviorMonkey* monkey = bot ? bot->GetComponent<BehaviorMonkey>() : nullptr;
        if (destruct)
            return !monkey || monkey->StateNext == MonkeyState::Leaving
                       ? ""
                       : "bot " + std::to_string(click.bot) + " was not destroyed";
        // A job that ended on the spot (a bridge given far from a gap) counts as not taken.
        const int job = JobButtons.at(click.job).job;
        const bool given = monkey && (job == MonkeyJob::None ? monkey->Umbrella : monkey->Job == job);
        if (!given)
            return "bot " + std::to_string(click.bot) + " did not take the job (" +
                   (bot ? bot->Name : "gone") + ")";
        return "";
    }

    // A bot by the order it left the hatch; null once it has gone.
    Entity* Bot(int index) const
    {
        const auto found = bots.find(index);
        return found == bots.end() ? nullptr : found->second.Get();
    }

    // Follows the bots: a new one gets the next number.
    void NoteBots()
    {
        if (MainScene* scene = SceneSystem::GetInstance().CurrentScene())
            for (Entity* entity : scene->entities.GetEntities())
                if (entity && entity->GetComponent<BehaviorMonkey>() && seen.insert(entity->Serial).second)
                    bots[spawned++] = entity;
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
    std::map<int, EntityRef<Entity>> bots;
    std::set<uint64_t> seen;
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
    if (proof.without)
    {
        Entity* taken = SceneSystem::GetInstance().CurrentScene()->entities.FindByName(proof.without);
        ASSERT_NE(taken, nullptr) << "the level has no " << proof.without;
        taken->IsDestroyed = true;
    }
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
        const bool last = proof.level == LevelList.back();
        EXPECT_EQ(IsLevelUnlocked(proof.level + 1), !last) << "winning a level unlocks the next one, if any";
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelProof, ::testing::ValuesIn(Proofs),
                         [](const ::testing::TestParamInfo<Proof>& info) {
                             return std::string(info.param.name);
                         });

namespace
{
// A winning plan played at a player's timing: one of its clicks (or every one, click -1) moved
// by `shift` seconds and landing on `spot` of the bot.
struct Timing
{
    const Proof* proof;
    int click;
    float shift;
    Spot spot;
};

std::string TimingName(const Timing& t)
{
    std::string shift = (t.shift < 0 ? "Minus" : "Plus") +
                        std::to_string(static_cast<int>(std::lround(std::fabs(t.shift) * 100)));
    return std::string(t.proof->name) + (t.click < 0 ? "_EveryClick" : "_Click" + std::to_string(t.click)) +
           "_" + shift + "cs_" + t.spot.name;
}

// The window every click of a winning plan is proved across: a quarter of a second either way.
constexpr float HalfWindow = 0.25f;

std::vector<Timing> Timings()
{
    std::vector<Timing> timings;
    for (const Proof& proof : Proofs)
    {
        if (proof.outcome != Outcome::Won || proof.without)
            continue;
        int corner = 0;
        for (int click = 0; click < static_cast<int>(proof.plan.size()); ++click)
            for (float shift : {-HalfWindow, -0.1f, 0.1f, HalfWindow})
                timings.push_back({&proof, click, shift, Corners[corner++ % std::size(Corners)]});
        for (float shift : {-HalfWindow, HalfWindow})
            timings.push_back({&proof, -1, shift, Centre});
    }
    return timings;
}

void PrintTo(const Timing& t, std::ostream* out) { *out << TimingName(t); }

class LevelTiming : public ::testing::TestWithParam<Timing>
{
};
}   // namespace

TEST_P(LevelTiming, AWinningPlanStillWinsAtAPlayersTiming)
{
    const Timing& timing = GetParam();
    Proof moved = *timing.proof;
    for (int i = 0; i < static_cast<int>(moved.plan.size()); ++i)
        if (timing.click < 0 || timing.click == i)
        {
            moved.plan[i].at += timing.shift;
            moved.plan[i].spot = timing.spot;
        }
    LevelPlay play;
    PlayOut(play, moved);
    EXPECT_EQ(SceneSystem::GetInstance().pauseKind, SceneSystem::WinPause)
        << "after " << play.time << " s: " << Counts();
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelTiming, ::testing::ValuesIn(Timings()),
                         [](const ::testing::TestParamInfo<Timing>& info) { return TimingName(info.param); });

TEST(LevelProofs, WinningTheLastLevelLeadsToTheEndOfTheGame)
{
    LevelPlay play;
    PlayOut(play, ProofNamed("Level5Wins"));
    ASSERT_EQ(SceneSystem::GetInstance().pauseKind, SceneSystem::WinPause) << Counts();
    Entity* next = SceneSystem::GetInstance().PauseOverlay()->entities.FindByName("NextSceneButton");
    ASSERT_NE(next, nullptr);
    play.ClickOn(*next);
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
