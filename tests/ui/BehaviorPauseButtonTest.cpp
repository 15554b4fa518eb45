// Pause buttons act by their entity's name, one update after the click; the how-to-play arrows
// and actions keep their tints. One test clicks the level's pause button with the real cursor.
#include "ui/BehaviorPauseButton.h"

#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "graphics/Sprite.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/SceneFlowFixture.h"
#include "tests/common/TraceCapture.h"
#include "ui/BehaviorHowToPlayDisplayer.h"

#include <functional>
#include <gtest/gtest.h>

namespace
{
using Pages = BehaviorHowToPlayDisplayer;
SceneSystem& Scenes() { return SceneSystem::GetInstance(); }

class BehaviorPauseButtonTest : public testing::Test
{
protected:
    BehaviorPauseButtonTest()
    {
        Pages::CurrentAction.clear();
        Pages::CurrentPage = Pages::PageCount = 0;
        Pages::Changed = false;
    }

    // A button of that name in the top scene, with a sprite to tint.
    BehaviorPauseButton* Add(const std::string& name)
    {
        Entity* entity = new Entity();
        entity->Name = name;
        auto* button = new BehaviorPauseButton();
        entity->AddComponent(button);
        entity->AddComponent(MakeDefaultPlaneSprite());
        button->PostCreate();
        MainScene* top = Scenes().PauseOverlay() ? Scenes().PauseOverlay() : Scenes().CurrentScene();
        top->AddEntity(entity);
        return button;
    }
    // A click, then the update that acts on it, then the end of the frame.
    void Click(BehaviorPauseButton* button)
    {
        button->OnReleased();
        button->Update(0.016f);
        Scenes().EndFrame();
        MessagingSystem::GetInstance().EndFrame();
    }
    void Paused(int kind)
    {
        Scenes().TogglePause(kind);
        Scenes().EndFrame();
    }
    float Grey(BehaviorPauseButton* button) { return (*SpriteTint(button->GetParent()))[0]; }

    SceneFlowFixture flow;
    std::vector<std::string>& windowCommands = flow.windowCommands;
};

TEST_F(BehaviorPauseButtonTest, EveryNameHasItsAction)
{
    struct Case
    {
        const char* scene;
        int pausedWith;   // pause kind open before the click
        const char* name;
        std::function<bool(const Case&, const std::vector<std::string>&)> done;
    };
    const auto kind = [](int k) {
        return [k](const Case&, const std::vector<std::string>&) { return Scenes().pauseKind == k; };
    };
    const auto next = [](const char* scene) {
        return [scene](const Case&, const std::vector<std::string>&) {
            const MainScene* current = Scenes().CurrentScene();
            return current->IsComplete && current->NextScene == scene;
        };
    };
    const auto posted = [](const char* text) {
        return [text](const Case&, const std::vector<std::string>& commands) {
            return commands == std::vector<std::string>{text};
        };
    };
    const auto nothing = [](const Case&, const std::vector<std::string>& commands) {
        return commands.empty() && !Scenes().CurrentScene()->IsComplete && !Scenes().confirmActive;
    };
    const char* level = "Data/Scenes/LevelScene1.json";
    const char* menu = "Data/Scenes/MainMenuScene.json";
    const Case cases[] = {
        {level, 0, "PauseButton", kind(2)},
        {level, 2, "PauseButton", kind(0)},
        {menu, 3, "ResumeButton", kind(0)},
        {level, 3, "ResumeButton", kind(1)},
        {level, 1, "ResumeButton", kind(0)},
        {menu, 0, "SettingButton", kind(3)},
        {menu, 0, "CreditsButton", kind(7)},
        {level, 1, "HowToPlayButton", kind(6)},
        {menu, 0, "QuitButton",
         [](const Case&, const std::vector<std::string>&) {
             return Scenes().confirmActive && Scenes().ConfirmOverlay() != nullptr;
         }},
        {menu, 0, "ConfirmYesButton", posted("shutdown")},
        {level, 1, "ConfirmYesButton", next("Data/Scenes/MainMenuScene.json")},
        {menu, 0, "LoadButton", next("Data/Scenes/LevelLoaderScene.json")},
        {menu, 0, "LoadLevelScene1Button", next("Data/Scenes/LevelScene1.json")},
        {menu, 0, "LoadLevelScene3Button", nothing},   // locked
        {menu, 0, "LoadLevelSceneButton", nothing},
        {menu, 0, "LoadLevelScene1HowToPlayButton", next("Data/Scenes/LevelScene1HowToPlay.json")},
        {menu, 0, "ScreenSizeButton", posted("fullscreen")},
        {menu, 3, "ResetVolumeButton", kind(3)},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(Scenes().LoadScene(c.scene));
        Scenes().EndFrame();
        if (c.pausedWith)
            Paused(c.pausedWith);
        windowCommands.clear();
        TraceCapture trace;
        Click(Add(c.name));
        EXPECT_TRUE(c.done(c, windowCommands)) << c.name << " in " << c.scene << " paused " << c.pausedWith;
        EXPECT_FALSE(trace.Contains("Unknown button name")) << c.name;
    }

    // The confirm screen's "No" closes it.
    Click(Add("ConfirmNoButton"));
    Scenes().confirmActive = true;
    Scenes().openConfirmRequested = true;
    Scenes().EndFrame();
    ASSERT_NE(Scenes().ConfirmOverlay(), nullptr);
    Click(Add("ConfirmNoButton"));
    EXPECT_FALSE(Scenes().confirmActive);
    EXPECT_EQ(Scenes().ConfirmOverlay(), nullptr);

    TraceCapture trace;
    Click(Add("Nonsense"));
    EXPECT_TRUE(trace.Contains("BehaviorPauseButton: Unknown button name Nonsense")) << trace.All();
}

TEST_F(BehaviorPauseButtonTest, AnUnlockedLevelButtonLeadsToItsLevel)
{
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelLoaderScene.json"));
    BehaviorPauseButton* button = Add("LoadLevelScene2Button");
    Click(button);
    EXPECT_FALSE(Scenes().CurrentScene()->IsComplete);
    LevelCompleted = {1, 2};
    Click(button);
    flow.Frame();
    EXPECT_EQ(flow.Current(), "Data/Scenes/LevelScene2.json");
}

TEST_F(BehaviorPauseButtonTest, AClickWaitsForAnUpdateWithTimeRunning)
{
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelScene1.json"));
    BehaviorPauseButton* button = Add("PauseButton");
    button->OnReleased();
    button->Update(0);
    EXPECT_TRUE(button->Clicked);
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NotPaused);
    button->Update(0.016f);
    EXPECT_FALSE(button->Clicked);
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NoMenuPause);
}

TEST_F(BehaviorPauseButtonTest, HowToPlayArrowsTurnPagesAndGreyAtTheEnds)
{
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/MainMenuScene.json"));
    BehaviorPauseButton* left = Add("HowToPlayLeftButton");
    BehaviorPauseButton* right = Add("HowToPlayRightButton");
    BehaviorPauseButton* dig = Add("HowToPlayDigButton");
    BehaviorPauseButton* block = Add("HowToPlayBlockButton");
    Pages::SetCurrentAction("HowToPlayDig");
    Pages::PageCount = 3;

    // On the first page the left arrow is grey and a click on it is dropped: it does not turn
    // the page back later, once there is a page to go to.
    Click(left);
    EXPECT_FLOAT_EQ(Grey(left), BehaviorPauseButton::GreyedOut);
    EXPECT_FALSE(left->Clicked);
    EXPECT_EQ(Pages::CurrentPage, 0u);
    Pages::CurrentPage = 2;
    Pages::Changed = false;
    left->Update(0.016f);
    EXPECT_EQ(Pages::CurrentPage, 2u);
    EXPECT_FALSE(Pages::Changed);
    Click(left);
    EXPECT_EQ(Pages::CurrentPage, 1u);
    EXPECT_TRUE(Pages::Changed);

    Click(right);
    EXPECT_EQ(Pages::CurrentPage, 2u);
    right->Update(0.016f);
    EXPECT_FLOAT_EQ(Grey(right), BehaviorPauseButton::GreyedOut);
    EXPECT_FALSE(right->ArrowLit);
    Click(right);
    EXPECT_EQ(Pages::CurrentPage, 2u);
    EXPECT_FALSE(right->Clicked) << "dropped on the last page too";
    left->Update(0.016f);
    EXPECT_FLOAT_EQ(Grey(left), 1.0f);

    // The action buttons show which action's pages are up; a click picks another.
    dig->Update(0.016f);
    block->Update(0.016f);
    EXPECT_FLOAT_EQ(Grey(dig), BehaviorPauseButton::Selected);
    EXPECT_FLOAT_EQ(Grey(block), 1.0f);
    Click(block);
    EXPECT_EQ(Pages::CurrentAction, "HowToPlayBlock");
    EXPECT_EQ(Pages::CurrentPage, 0u);
    dig->Update(0.016f);
    block->Update(0.016f);
    EXPECT_FLOAT_EQ(Grey(dig), 1.0f);
    EXPECT_FLOAT_EQ(Grey(block), BehaviorPauseButton::Selected);
}

TEST_F(BehaviorPauseButtonTest, TheLevelsPauseButtonClickedWithTheCursorOpensThePauseScreen)
{
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelScene1.json"));
    // The button's quad is centred at (5, 3) and 2 x 1 wide: through the camera at (0, 0, 15) in a
    // 1600 x 900 window its centre lies at window fractions (0.7263, 0.2586).
    flow.Cursor(0.7263, 0.2586);
    flow.Frame();
    flow.Tap(0, 2);
    flow.Frame();
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NoMenuPause);
    ASSERT_NE(Scenes().PauseOverlay(), nullptr);
    EXPECT_EQ(Scenes().PauseOverlay()->SceneFile, "Data/Scenes/PauseNoMenuScene.json");

    // The screen's own pause button, in the same place, resumes.
    flow.Tap(0, 2);
    flow.Frame();
    EXPECT_EQ(Scenes().pauseKind, SceneSystem::NotPaused);
    EXPECT_EQ(Scenes().PauseOverlay(), nullptr);
}
}   // namespace
