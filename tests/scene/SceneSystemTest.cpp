// Scene flow without a window: loads, overlays, pause kinds, the confirm screen, game speed, the
// level timer and focus loss, driven frame by frame in the engine's order.
#include "scene/SceneSystem.h"

#include "audio/AudioPlayer.h"
#include "engine/EditorState.h"
#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/WindowSystem.h"
#include "game/BehaviorCountBoard.h"
#include "graphics/Camera.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/common/SceneFlowFixture.h"
#include "tests/common/TraceCapture.h"
#include "ui/BehaviorSliderButton.h"
#include "ui/Button.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{
constexpr const char* Level1 = "Data/Scenes/LevelScene1.json";
constexpr const char* Level2 = "Data/Scenes/LevelScene2.json";
constexpr const char* MainMenu = "Data/Scenes/MainMenuScene.json";
constexpr const char* Loader = "Data/Scenes/LevelLoaderScene.json";

SceneSystem& Scenes() { return SceneSystem::GetInstance(); }

std::string OverlayFile()
{
    const MainScene* overlay = Scenes().PauseOverlay();
    return overlay ? overlay->SceneFile : "none";
}

// Records the sounds asked for while it lives.
struct SoundLog
{
    SoundLog()
    {
        AudioPlayer::GetInstance()->SetListener(
            [this](const std::string& name, bool, float) { names.push_back(name); });
    }
    ~SoundLog() { AudioPlayer::GetInstance()->SetListener(nullptr); }
    std::vector<std::string> names;
};

class SceneSystemTest : public testing::Test
{
protected:
    void Remove(const std::string& scene) { std::filesystem::remove(flow.DataFolder() + "/Scenes/" + scene); }
    void Load(const char* path) { ASSERT_TRUE(Scenes().LoadScene(path)) << path; }

    SceneFlowFixture flow;
};

// The game starts on the splash screen; when it is missing or does not load, on the main menu,
// then on any scene that loads, never on an overlay such as the quit confirmation.
TEST_F(SceneSystemTest, StartsWithTheSplashSceneElseTheMainMenuElseAnySceneNeverAnOverlay)
{
    const std::string broken = "{\"Entities\": [";
    struct Case
    {
        std::vector<std::string> removed;
        std::vector<std::string> damaged;
        std::string first;   // "" for none
        std::string said;
    };
    const Case cases[] = {
        {{}, {}, "Data/Scenes/SplashScreen.json", ""},
        {{"SplashScreen.json"},
         {},
         MainMenu,
         "SCENE: [Data/Scenes/SplashScreen.json] is missing; the game starts on another scene"},
        {{},
         {"SplashScreen.json"},
         MainMenu,
         "SCENE: [Data/Scenes/MainMenuScene.json] is the first scene shown, in place of the splash screen"},
        {{"SplashScreen.json"},
         {"MainMenuScene.json"},
         "Data/Scenes/GameEndScene.json",
         "SCENE: [Data/Scenes/GameEndScene.json] is the first scene shown"},
        {{"SplashScreen.json", "MainMenuScene.json", "GameEndScene.json", "LevelLoaderScene.json",
          "LevelScene1.json", "LevelScene2.json", "LevelScene5.json"},
         {},
         "",
         "SCENE: [Data/Scenes] holds no scene that loads; nothing to show"},
    };
    const std::string scenes = flow.DataFolder() + "/Scenes/";
    const std::string saved = flow.DataFolder() + "/Saved/";
    std::filesystem::copy(scenes, saved);
    for (const Case& c : cases)
    {
        std::filesystem::remove_all(scenes);
        std::filesystem::copy(saved, scenes);
        for (const std::string& file : c.removed)
            Remove(file);
        for (const std::string& file : c.damaged)
            TempFolder::WriteFile(scenes + file, broken);
        TraceCapture trace;
        Scenes().Init();
        EXPECT_EQ(Scenes().HasCurrentScene() ? flow.Current() : "", c.first) << c.first;
        EXPECT_TRUE(trace.Contains(c.said)) << c.said << "\n" << trace.All();
        Scenes().Shutdown();
    }

    std::filesystem::remove_all(scenes);
    Scenes().Init();
    EXPECT_FALSE(Scenes().HasCurrentScene());
    EXPECT_TRUE(Scenes().sceneFiles.empty());
}

TEST_F(SceneSystemTest, ASceneThatFailsToLoadLeavesTheCurrentOneInPlace)
{
    TraceCapture trace;
    Load(Level1);
    MainScene* level = Scenes().CurrentScene();
    EXPECT_FALSE(Scenes().LoadScene("Data/Scenes/Broken.json"));
    EXPECT_FALSE(Scenes().LoadScene("Data/Scenes/Missing.json"));
    EXPECT_EQ(Scenes().CurrentScene(), level);
    EXPECT_EQ(Scenes().pendingScenePath, Level1);
    EXPECT_TRUE(trace.Contains("SCENE: [Data/Scenes/Broken.json] failed to load; the current scene stays"))
        << trace.All();
    flow.Frame();
    EXPECT_EQ(SceneFlowFixture::Marker(level)->updates, 1);
}

TEST_F(SceneSystemTest, LoadsAreTracedInTheSystemsOwnWordsWithTheDetailNext)
{
    // Each outcome: the system's own trace, and the detail on the very next line.
    const auto expectPair = [](const TraceCapture& trace, const std::string& first,
                               const std::string& second) {
        const auto at = std::find(trace.lines.begin(), trace.lines.end(), first);
        ASSERT_NE(at, trace.lines.end()) << first << "\n" << trace.All();
        ASSERT_NE(at + 1, trace.lines.end()) << first << "\n" << trace.All();
        EXPECT_EQ(*(at + 1), second) << trace.All();
    };
    TraceCapture trace;
    Load(Level1);
    EXPECT_FALSE(Scenes().LoadScene("Data/Scenes/Missing.json"));
    Scenes().TogglePause(SceneSystem::MenuPause);
    Scenes().confirmActive = Scenes().openConfirmRequested = true;
    flow.Frame();
    expectPair(trace, "Scene System: Successfully loaded scene Data/Scenes/LevelScene1.json",
               "SCENE: [Data/Scenes/LevelScene1.json] loaded");
    expectPair(trace, "Scene System: Failed to load scene file Data/Scenes/Missing.json",
               "SCENE: [Data/Scenes/Missing.json] failed to load; the current scene stays");
    expectPair(trace, "Scene System: Pause scene loaded: Data/Scenes/PauseMenuScene.json",
               "SCENE: [Data/Scenes/PauseMenuScene.json] loaded as the pause overlay");
    expectPair(trace, "Scene System: Confirm scene loaded: Data/Scenes/ConfirmScene.json",
               "SCENE: [Data/Scenes/ConfirmScene.json] loaded as the confirm overlay");

    Remove("PauseMenuScene.json");
    Remove("ConfirmScene.json");
    Scenes().TogglePause(SceneSystem::NotPaused);
    Scenes().confirmActive = false;
    Scenes().closeConfirmRequested = true;
    flow.Frame();
    Scenes().TogglePause(SceneSystem::MenuPause);
    Scenes().confirmActive = Scenes().openConfirmRequested = true;
    flow.Frame();
    expectPair(trace, "Scene System: pause scene fail loading from Data/Scenes/PauseMenuScene.json",
               "SCENE: [Data/Scenes/PauseMenuScene.json] the pause overlay failed to load; the game goes on "
               "without it");
    expectPair(trace, "Scene System: confirm scene fail loading from Data/Scenes/ConfirmScene.json",
               "SCENE: [Data/Scenes/ConfirmScene.json] the confirm overlay failed to load; the game goes on "
               "without it");
}

TEST_F(SceneSystemTest, ASceneWithoutCameraGetsOneAtTheDefaultEye)
{
    Load(MainMenu);
    Entity* camera = Scenes().CurrentScene()->entities.Camera;
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->Name, "MainCamera");
    const Vec3 eye = camera->GetComponent<Transform>()->Translation;
    EXPECT_EQ(eye.z, 15);
    EXPECT_EQ(Camera::GetInstance().target, camera->GetComponent<Transform>());
}

TEST_F(SceneSystemTest, LoadingResetsCompletionSpeedOverlaysAndTheLevelsCounts)
{
    BehaviorCountBoard::DeadCount = 4;
    BehaviorCountBoard::ExitedCount = 2;
    Load(MainMenu);
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 4) << "only a level starts the counts afresh";
    Load(Level1);
    EXPECT_EQ(BehaviorCountBoard::DeadCount, 0);
    EXPECT_EQ(BehaviorCountBoard::ExitedCount, 0);
    Scenes().TogglePause(SceneSystem::MenuPause);
    Scenes().confirmActive = Scenes().openConfirmRequested = true;
    flow.Frame();
    ASSERT_NE(Scenes().PauseOverlay(), nullptr);
    ASSERT_NE(Scenes().ConfirmOverlay(), nullptr);
    Scenes().gameSpeed = 3;

    Load(Level2);
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NotPaused);
    EXPECT_FALSE(Scenes().confirmActive);
    EXPECT_EQ(Scenes().gameSpeed, 1.0f);
    EXPECT_FALSE(Scenes().CurrentScene()->IsComplete);
    EXPECT_TRUE(Scenes().CurrentScene()->NextScene.empty());
    flow.Frame();
    EXPECT_EQ(Scenes().PauseOverlay(), nullptr);
    EXPECT_EQ(Scenes().ConfirmOverlay(), nullptr);
    EXPECT_EQ(Camera::GetInstance().target,
              Scenes().CurrentScene()->entities.Camera->GetComponent<Transform>());
}

TEST_F(SceneSystemTest, EndFrameClosesBeforeItOpensAndLoadsOnlyWithNoOverlayOnTop)
{
    Load(Level1);
    // Two kinds in one frame: the first overlay is never built, the second stands.
    Scenes().TogglePause(SceneSystem::MenuPause);
    Scenes().TogglePause(SceneSystem::SettingsPause);
    flow.Frame();
    EXPECT_EQ(OverlayFile(), "Data/Scenes/SettingMenuScene.json");

    // A load asked for under the overlay waits for it to close.
    Scenes().queuedScenePath = Level2;
    Scenes().queuedLoadRequested = true;
    flow.Frame();
    flow.Frame();
    EXPECT_EQ(flow.Current(), Level1);
    Scenes().TogglePause(SceneSystem::SettingsPause);
    flow.Frame();
    EXPECT_EQ(OverlayFile(), "none");
    EXPECT_EQ(flow.Current(), Level2);
    EXPECT_TRUE(Scenes().queuedScenePath.empty());

    // Both channels at once: the reload happens, then the queued load replaces it.
    Scenes().loadRequested = true;
    Scenes().queuedScenePath = MainMenu;
    Scenes().queuedLoadRequested = true;
    TraceCapture trace;
    flow.Frame();
    EXPECT_EQ(flow.Current(), MainMenu);
    EXPECT_TRUE(trace.Contains("SCENE: [Data/Scenes/LevelScene2.json] loaded")) << trace.All();
}

TEST_F(SceneSystemTest, PauseKindsOpenSwitchAndResume)
{
    struct Case
    {
        int paused;   // kind shown before the toggle
        int toggle;
        int kind;   // kind afterwards
        const char* overlay;
    };
    const Case cases[] = {
        {0, 1, 1, "Data/Scenes/PauseMenuScene.json"},
        {0, 2, 2, "Data/Scenes/PauseNoMenuScene.json"},
        {0, 4, 4, "Data/Scenes/WinScene.json"},
        {0, 5, 5, "Data/Scenes/LoseScene.json"},
        {0, 6, 6, "Data/Scenes/HowToPlayScene.json"},
        {0, 7, 7, "Data/Scenes/CreditsScene.json"},
        {3, 3, 0, "none"},
        {1, 3, 3, "Data/Scenes/SettingMenuScene.json"},
        {3, 1, 1, "Data/Scenes/PauseMenuScene.json"},
        {2, 0, 0, "none"},
        {0, 0, 0, "none"},
    };
    for (const Case& c : cases)
    {
        Load(Level1);
        flow.Frame();
        if (c.paused)
        {
            Scenes().TogglePause(c.paused);
            flow.Frame();
        }
        Scenes().TogglePause(c.toggle);
        flow.Frame();
        EXPECT_EQ(Scenes().pauseKind, c.kind) << c.paused << " then " << c.toggle;
        EXPECT_EQ(OverlayFile(), c.overlay) << c.paused << " then " << c.toggle;
    }
}

TEST_F(SceneSystemTest, APausedLevelIsDrawnButNotUpdatedAndTheOverlayRuns)
{
    Load(Level1);
    FrameCounter* level = SceneFlowFixture::Marker(Scenes().CurrentScene());
    flow.Frame();
    EXPECT_EQ(level->updates, 1);
    EXPECT_EQ(level->renders, 1);

    Scenes().TogglePause(SceneSystem::MenuPause);
    flow.Frame();   // the overlay opens at the end of this frame
    FrameCounter* overlay = SceneFlowFixture::Marker(Scenes().PauseOverlay());
    ASSERT_NE(overlay, nullptr);
    flow.Frame();
    flow.Frame();
    EXPECT_EQ(level->updates, 1);
    EXPECT_EQ(level->renders, 4);
    EXPECT_EQ(overlay->updates, 2);
    EXPECT_EQ(overlay->renders, 2);

    // The confirm screen stands in front: level and pause screen are drawn, only it runs.
    Scenes().confirmActive = Scenes().openConfirmRequested = true;
    flow.Frame();
    FrameCounter* confirm = SceneFlowFixture::Marker(Scenes().ConfirmOverlay());
    ASSERT_NE(confirm, nullptr);
    flow.Frame();
    EXPECT_EQ(level->updates, 1);
    EXPECT_EQ(overlay->updates, 2);
    EXPECT_EQ(overlay->renders, 4);
    EXPECT_EQ(confirm->updates, 1);
    EXPECT_EQ(confirm->renders, 1);

    Scenes().confirmActive = false;
    Scenes().closeConfirmRequested = true;
    flow.Frame();
    EXPECT_EQ(Scenes().ConfirmOverlay(), nullptr);
    Scenes().TogglePause(SceneSystem::MenuPause);   // resumed at once, the overlay goes at the end
    flow.Frame();
    EXPECT_EQ(level->updates, 2);
}

TEST_F(SceneSystemTest, EscapePausesALevelWithTheMenuOnceAndPlaysTheSound)
{
    SoundLog sounds;
    Load(Level1);
    flow.Frame();
    flow.Tap(Key::Escape);
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::MenuPause);
    EXPECT_EQ(OverlayFile(), "Data/Scenes/PauseMenuScene.json");
    EXPECT_EQ(sounds.names, std::vector<std::string>{"Pause"});

    MainScene* overlay = Scenes().PauseOverlay();
    flow.Tap(Key::Escape);
    EXPECT_EQ(Scenes().PauseOverlay(), overlay);
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::MenuPause);
    EXPECT_EQ(sounds.names.size(), 1u);
}

TEST_F(SceneSystemTest, EscapeInTheLevelSelectionGoesBackToTheMainMenu)
{
    Load(Loader);
    flow.Frame();
    flow.Tap(Key::Escape);
    EXPECT_EQ(flow.Current(), MainMenu);
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NotPaused);
}

TEST_F(SceneSystemTest, LosingFocusPausesALevelUnlessTheEditorIsUp)
{
    Load(Level1);
    flow.Frame();
    EditorVisible = true;
    Scenes().windowFocused = false;
    flow.Frame();
    flow.Frame();
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NotPaused);
    EXPECT_TRUE(Scenes().lastWindowFocused) << "a focus change waits while the editor is up";

    EditorVisible = false;
    flow.Frame();
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::MenuPause);
    EXPECT_FALSE(Scenes().lastWindowFocused);

    // Focus back: the sound may resume, the game stays paused.
    Scenes().windowFocused = true;
    flow.Frame();
    flow.Frame();
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::MenuPause);
    EXPECT_TRUE(Scenes().lastWindowFocused);

    // Outside a level focus loss pauses nothing.
    Load(MainMenu);
    Scenes().windowFocused = false;
    flow.Frame();
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NotPaused);
}

TEST_F(SceneSystemTest, GameSpeedScalesTimeAndTheLevelTimerHoldsWhilePaused)
{
    Load(Level1);
    EXPECT_TRUE(Scenes().levelTimerRunning);
    EXPECT_EQ(Scenes().levelTimerLimit, 10000);
    Scenes().gameSpeed = 2;
    for (int i = 0; i < 4; ++i)
        flow.Frame(1.0f / 60);
    EXPECT_FLOAT_EQ(Scenes().levelTimer, 4.0f / 30);
    EXPECT_FLOAT_EQ(SceneFlowFixture::Marker(Scenes().CurrentScene())->lastDt, 1.0f / 30);
    // A faster game never steps further than the longest frame the window hands out, so that
    // nothing moves further in one step than it can at normal speed: the game then runs slower
    // than its speed asks on a machine that draws slowly.
    Scenes().gameSpeed = 4;
    flow.Frame(1.0f / 20);
    EXPECT_FLOAT_EQ(SceneFlowFixture::Marker(Scenes().CurrentScene())->lastDt, WindowSystem::FrameTimeCap);
    EXPECT_FLOAT_EQ(Scenes().levelTimer, 4.0f / 30 + WindowSystem::FrameTimeCap);
    Scenes().gameSpeed = 0.5f;
    flow.Frame(0.1f);
    EXPECT_FLOAT_EQ(SceneFlowFixture::Marker(Scenes().CurrentScene())->lastDt, 0.05f);
    Scenes().levelTimer = 2.0f;

    Scenes().gameSpeed = 2;
    Scenes().TogglePause(SceneSystem::MenuPause);
    EXPECT_TRUE(Scenes().levelTimerHalted);
    flow.Frame(0.05f);
    flow.Frame(0.05f);
    EXPECT_FLOAT_EQ(Scenes().levelTimer, 2.0f);
    Scenes().TogglePause(SceneSystem::MenuPause);
    EXPECT_FALSE(Scenes().levelTimerHalted);
    flow.Frame(0.025f);
    EXPECT_FLOAT_EQ(Scenes().levelTimer, 2.05f);

    // The timer stops at its limit; outside a level it does not count.
    Scenes().levelTimer = 9999.9f;
    flow.Frame(0.25f);
    EXPECT_EQ(Scenes().levelTimer, 10000);
    EXPECT_FALSE(Scenes().levelTimerRunning);
    Load(MainMenu);
    Scenes().levelTimerRunning = true;
    Scenes().levelTimer = 0;
    flow.Frame(0.25f);
    EXPECT_EQ(Scenes().levelTimer, 0);
}

TEST_F(SceneSystemTest, AnOverlayThatFailsToLoadLeavesTheLevelRunning)
{
    Remove("PauseMenuScene.json");
    Remove("ConfirmScene.json");
    TraceCapture trace;
    Load(Level1);
    flow.Frame();
    flow.Tap(Key::Escape);
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NotPaused);
    EXPECT_FALSE(Scenes().levelTimerHalted);
    EXPECT_TRUE(trace.Contains("SCENE: [Data/Scenes/PauseMenuScene.json] the pause overlay failed to load"))
        << trace.All();
    const int updates = SceneFlowFixture::Marker(Scenes().CurrentScene())->updates;
    flow.Frame();
    EXPECT_EQ(SceneFlowFixture::Marker(Scenes().CurrentScene())->updates, updates + 1);

    Scenes().confirmActive = Scenes().openConfirmRequested = true;
    flow.Frame();   // drawn only, until the confirm screen would stand
    EXPECT_FALSE(Scenes().confirmActive);
    flow.Frame();
    EXPECT_EQ(SceneFlowFixture::Marker(Scenes().CurrentScene())->updates, updates + 2);
}

TEST_F(SceneSystemTest, WithoutACurrentSceneEveryOperationIsHarmless)
{
    EXPECT_FALSE(Scenes().HasCurrentScene());
    Scenes().TogglePause(SceneSystem::MenuPause);
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NotPaused);
    Scenes().loadRequested = true;
    Scenes().confirmActive = Scenes().openConfirmRequested = true;
    InputSystem::GetInstance().state[Key::Escape] = 1;
    Scenes().windowFocused = false;
    flow.Frame();
    flow.Frame();
    EXPECT_FALSE(Scenes().HasCurrentScene());

    // An overlay left over from a scene that went away closes without one.
    Scenes().confirmActive = false;
    Scenes().closeConfirmRequested = true;
    Scenes().closePauseRequested = true;
    flow.Frame();
    EXPECT_EQ(Scenes().ConfirmOverlay(), nullptr);
}

TEST_F(SceneSystemTest, ClosingTheSettingsScreenWritesBackOnlyWhatChangedOnIt)
{
    const std::string file = flow.DataFolder() + "/Scenes/SettingMenuScene.json";
    const auto open = [&] {
        Scenes().TogglePause(SceneSystem::SettingsPause);
        flow.Frame();
        flow.Frame();   // its first update
    };
    const auto close = [&] {
        Scenes().TogglePause(SceneSystem::SettingsPause);
        flow.Frame();
    };
    Load(MainMenu);
    // Written by hand, keys in no order, with a key and a component this build does not know.
    const std::string original = R"({"Entities": [
  {"Name": "Slider", "Comment": "kept", "Components": [
      {"Type": "NoSuchComponent", "Index": 0.3},
      {"Type": "BehaviorSliderButton", "Index": 0.3, "MinIndex": 0, "ThumbName": "Knob"}]},
  {"Name": "Slider", "Components": [{"Type": "BehaviorSliderButton", "Index": 0.7}]}],
 "SceneName": "SettingMenuScene", "Unknown": [1, 2]})";
    TempFolder::WriteFile(file, original);
    open();
    close();
    EXPECT_EQ(TempFolder::ReadFile(file), original) << "untouched: the file stays byte for byte";

    open();
    std::vector<Entity*> sliders;
    for (Entity* e : Scenes().PauseOverlay()->entities.GetEntities())
        if (e->Name == "Slider")
            sliders.push_back(e);
    ASSERT_EQ(sliders.size(), 2u);
    sliders[1]->GetComponent<BehaviorSliderButton>()->Index = 0.25f;
    close();
    const json written = json::parse(TempFolder::ReadFile(file));
    json expected = json::parse(original);
    expected["Entities"][1]["Components"][0]["Index"] = 0.25f;
    EXPECT_EQ(written, expected) << "only the changed value; the rest as the file had it";
    EXPECT_EQ(TempFolder::ReadFile(file), expected.dump(4)) << "keys in their sorted order";

    // A file that cannot be written is said once, and the game goes on.
    const std::string blocked = file + ".tmp" + std::to_string(::getpid());
    std::filesystem::create_directory(blocked);
    TraceCapture trace;
    for (float index : {0.5f, 0.75f})
    {
        open();
        Scenes().PauseOverlay()->entities.FindByName("Slider")->GetComponent<BehaviorSliderButton>()->Index =
            index;
        close();
    }
    std::filesystem::remove(blocked);
    EXPECT_EQ(std::count_if(trace.lines.begin(), trace.lines.end(),
                            [](const std::string& line) {
                                return line.find("cannot be written") != std::string::npos;
                            }),
              1)
        << trace.All();
    EXPECT_EQ(json::parse(TempFolder::ReadFile(file)), expected);
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NotPaused);
}

TEST_F(SceneSystemTest, ASettingsValueThatComesBackToTheFilesLeavesTheFileAlone)
{
    // A button under the cursor when the screen opens is tinted at its first update and back to
    // normal when the cursor leaves: the file still holds what the screen shows.
    const std::string file = flow.DataFolder() + "/Scenes/SettingMenuScene.json";
    const std::string original = R"({"Entities": [{"Name": "Back", "Components": [
  {"Type": "Sprite", "Texture": "White", "tint": [1, 1, 1]}]}]})";
    TempFolder::WriteFile(file, original);
    Load(MainMenu);
    Scenes().TogglePause(SceneSystem::SettingsPause);
    flow.Frame();
    Entity* back = Scenes().PauseOverlay()->entities.FindByName("Back");
    ASSERT_NE(back, nullptr);
    TintSprite(back, 0.75f, 0.75f, 0.75f);
    flow.Frame();   // its first update, hovered
    TintSprite(back, 1, 1, 1);
    Scenes().TogglePause(SceneSystem::SettingsPause);
    flow.Frame();
    EXPECT_EQ(TempFolder::ReadFile(file), original);
}

TEST_F(SceneSystemTest, OverlaysLeaveTheLevelsSubscriptionsInPlace)
{
    Load(Level1);
    const FrameCounter* owner = SceneFlowFixture::Marker(Scenes().CurrentScene());
    MessagingSystem::GetInstance().SubscribeWithPayload(
        "Marker", [](std::string, Msg::MessagePayload*) { return true; }, owner);
    Scenes().TogglePause(SceneSystem::MenuPause);
    flow.Frame();
    Scenes().confirmActive = Scenes().openConfirmRequested = true;
    flow.Frame();
    ASSERT_NE(Scenes().ConfirmOverlay(), nullptr);
    const auto& subscribers = MessagingSystem::GetInstance().Subscribers();
    EXPECT_TRUE(std::any_of(subscribers.begin(), subscribers.end(),
                            [&](const Subscriber& s) { return s.owner == owner; }));
}
}   // namespace
