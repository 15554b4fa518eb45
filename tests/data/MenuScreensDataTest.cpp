// The game's own menu screens, read from their real files and clicked without a window: the
// how-to-play pages of every action, the texts the screens fill in, the settings screen's file
// written back, and the credits' end.
#include "engine/InputSystem.h"
#include "engine/WindowSystem.h"
#include "game/BehaviorCountBoard.h"
#include "graphics/Font.h"
#include "graphics/Sprite.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/SceneFlowFixture.h"
#include "tests/common/TempFolder.h"
#include "ui/BehaviorCredits.h"
#include "ui/BehaviorHowToPlayDisplayer.h"
#include "ui/BehaviorSliderButton.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace
{
using Pages = BehaviorHowToPlayDisplayer;
SceneSystem& Scenes() { return SceneSystem::GetInstance(); }

class MenuScreensDataTest : public testing::Test
{
protected:
    void Open(const std::string& scene, int kind)
    {
        ASSERT_TRUE(Scenes().LoadScene(scene));
        flow.Frame();
        Scenes().TogglePause(kind);
        flow.Frame();
        flow.Frame();
        ASSERT_NE(Scenes().PauseOverlay(), nullptr);
    }
    std::string Text(const std::string& name) const
    {
        Entity* entity = flow.Find(name);
        const Font* font = entity ? entity->GetComponent<Font>() : nullptr;
        return font ? font->Text : "no " + name;
    }
    std::string Page() const
    {
        return TextureLibrary::GetInstance().GetName(
            flow.Find("HowToPlayPage")->GetComponent<Sprite>()->request->texture);
    }

    SceneFlowFixture flow{SceneFlowFixture::GameData};
};
}   // namespace

TEST_F(MenuScreensDataTest, HowToPlayTurnsEveryActionsPagesAndStopsAtBothEnds)
{
    Open("Data/Scenes/MainMenuScene.json", SceneSystem::HowToPlayPause);
    const json map = [&] {
        json saved;
        flow.Find("HowToPlayPage")->GetComponent<BehaviorHowToPlayDisplayer>()->Write(saved);
        return saved["SpritePathMap"];
    }();
    ASSERT_GE(map.size(), 6u);
    EXPECT_EQ(Pages::CurrentAction, "HowToPlayBasics") << "the screen opens on its first action";
    for (const auto& [action, pages] : map.items())
    {
        SCOPED_TRACE(action);
        ASSERT_TRUE(flow.Click(action + "Button"));
        const size_t count = pages.size();
        ASSERT_EQ(Pages::PageCount, count);
        ASSERT_TRUE(flow.Click("HowToPlayLeftButton"));
        EXPECT_EQ(Pages::CurrentPage, 0u) << "no page before the first";
        for (size_t page = 0; page < count; ++page)
        {
            EXPECT_EQ(Page(), pages[page].get<std::string>());
            EXPECT_EQ(Text("HowToPlayPageText"), std::to_string(page + 1) + "/" + std::to_string(count));
            ASSERT_TRUE(flow.Click("HowToPlayRightButton"));
        }
        EXPECT_EQ(Pages::CurrentPage, count - 1) << "no page after the last";
        for (size_t page = count - 1; page > 0; --page)
            ASSERT_TRUE(flow.Click("HowToPlayLeftButton"));
        EXPECT_EQ(Page(), pages[0].get<std::string>());
    }

    // Opened again, it starts afresh.
    Scenes().TogglePause(SceneSystem::HowToPlayPause);
    flow.Frame();
    Scenes().TogglePause(SceneSystem::HowToPlayPause);
    flow.Frame();
    flow.Frame();
    EXPECT_EQ(Pages::CurrentAction, "HowToPlayBasics");
    EXPECT_EQ(Text("HowToPlayPageText"), "1/2");
}

TEST_F(MenuScreensDataTest, TheScreensFillInTheirTexts)
{
    LevelCompleted = {1, 2, 3};
    Open("Data/Scenes/LevelScene3.json", SceneSystem::MenuPause);
    EXPECT_EQ(Text("LevelNameText"), "Level 3");

    Open("Data/Scenes/LevelScene2.json", SceneSystem::LosePause);
    EXPECT_EQ(Text("LevelNameText"), "Level 2");
    EXPECT_EQ(Text("ScoreText"), "10/10");
    BehaviorCountBoard::DeadCount = 4;
    Open("Data/Scenes/LevelScene2.json", SceneSystem::WinPause);
    EXPECT_EQ(Text("ScoreText"), "10/10") << "the counts start afresh with the level";

    WindowSystem::GetInstance().fullscreen = true;
    Open("Data/Scenes/MainMenuScene.json", SceneSystem::SettingsPause);
    EXPECT_EQ(Text("ScreenSizeButtonText"), " Windowed ");
    WindowSystem::GetInstance().fullscreen = false;
    flow.Frame();
    EXPECT_EQ(Text("ScreenSizeButtonText"), "Fullscreen");
    WindowSystem::GetInstance().fullscreen = true;

    // The level's own interface: the time and the counts with what they count.
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelScene1.json"));
    for (int frame = 0; frame < 65; ++frame)
        flow.Frame(1.0f);
    EXPECT_EQ(Text("LevelTime"), "01:05");
    EXPECT_EQ(Text("ExitText"), "6");
    EXPECT_EQ(Text("LostText"), "0/3");
}

TEST_F(MenuScreensDataTest, TheSettingsFileChangesOnlyWhereTheScreenChanged)
{
    const std::string file = flow.DataFolder() + "/Scenes/SettingMenuScene.json";
    const std::string original = TempFolder::ReadFile(file);
    Open("Data/Scenes/MainMenuScene.json", SceneSystem::SettingsPause);
    Scenes().TogglePause(SceneSystem::SettingsPause);
    flow.Frame();
    EXPECT_EQ(TempFolder::ReadFile(file), original) << "opened and closed untouched";

    Scenes().TogglePause(SceneSystem::SettingsPause);
    flow.Frame();
    flow.Frame();
    flow.Find("MusicVolumeSlider")->GetComponent<BehaviorSliderButton>()->Index = 0.5f;
    flow.Frame();   // the thumb follows
    Scenes().TogglePause(SceneSystem::SettingsPause);
    flow.Frame();
    std::istringstream before(original), after(TempFolder::ReadFile(file));
    std::vector<std::string> changed;
    for (std::string a, b; std::getline(before, a) && std::getline(after, b);)
        if (a != b)
            changed.push_back(a + " -> " + b);
    // The file as the game writes it, with the slider's value and its thumb's place changed.
    ASSERT_EQ(changed.size(), 2u) << ::testing::PrintToString(changed);
    EXPECT_NE(changed[0].find("\"Index\": 0.5"), std::string::npos) << changed[0];
    EXPECT_NE(changed[1].find("5.6, -> "), std::string::npos) << changed[1];
}

TEST_F(MenuScreensDataTest, TheCreditsEndWithTheirLastLineInTheMiddleAndLeave)
{
    Open("Data/Scenes/MainMenuScene.json", SceneSystem::CreditsPause);
    Entity* text = flow.Find("CreditsText");
    ASSERT_NE(text, nullptr);
    InputSystem::GetInstance().state[Key::Space] = 2;
    int frames = 0;
    while (!BehaviorCredits::ReachedEnd && frames++ < 3000)
        flow.Frame();
    InputSystem::GetInstance().state[Key::Space] = 0;
    ASSERT_TRUE(BehaviorCredits::ReachedEnd);
    const Transform* at = text->GetComponent<Transform>();
    const std::string lines = text->GetComponent<Font>()->Text;
    const auto count = std::count(lines.begin(), lines.end(), '\n');
    const float last = at->Translation.y - static_cast<float>(count) * at->Scale.y;
    EXPECT_NEAR(last, 0.0f, 0.5f) << "the last line stands in the middle of the view";
    EXPECT_NE(lines.find("THANK YOU FOR PLAYING!"), std::string::npos);

    for (int frame = 0; frame < 240 && Scenes().PauseOverlay(); ++frame)
        flow.Frame();
    EXPECT_EQ(Scenes().PauseOverlay(), nullptr) << "they leave after standing a while";
    EXPECT_EQ(flow.Current(), "Data/Scenes/MainMenuScene.json");
}
