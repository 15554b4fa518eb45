#include "ui/BehaviorFontChange.h"

#include "engine/WindowSystem.h"
#include "game/BehaviorCountBoard.h"
#include "graphics/Font.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "tests/common/LevelFixture.h"
#include "ui/BehaviorHowToPlayDisplayer.h"

#include <functional>
#include <gtest/gtest.h>

namespace
{
using json = nlohmann::json;

json TextEntity(const std::string& name)
{
    return {{"Name", name},
            {"Components", {{{"Type", "BehaviorFontChange"}}, {{"Type", "Font"}, {"InputText", "?"}}}}};
}

std::string Text(Entity* e) { return e->GetComponent<Font>()->Text; }

// Puts back the shared values the texts read.
class FontChangeTest : public testing::Test
{
protected:
    void SetUp() override
    {
        level.Add({{"Name", "Spawner"},
                   {"Components", {{{"Type", "BehaviorSpawner"}, {"MonkeySpawnCountMax", 10}}}}});
    }
    void TearDown() override
    {
        SceneSystem::GetInstance().levelTimer = 0;
        WindowSystem::GetInstance().fullscreen = true;
        BehaviorHowToPlayDisplayer::CurrentPage = BehaviorHowToPlayDisplayer::PageCount = 0;
    }

    LevelFixture level{"Data/Scenes/LevelScene3.json"};
};
}   // namespace

TEST_F(FontChangeTest, EachNameShowsItsText)
{
    using Pages = BehaviorHowToPlayDisplayer;
    struct Case
    {
        const char* name;
        std::function<void()> set;
        const char* text;
    };
    SceneSystem& scenes = SceneSystem::GetInstance();
    WindowSystem& window = WindowSystem::GetInstance();
    const Case cases[] = {
        {"LevelNameText", [] {}, "Level 3"},
        {"ScoreText", [] { BehaviorCountBoard::DeadCount = 3; }, "7/10"},
        {"LevelTime", [&] { scenes.levelTimer = 0; }, "00:00"},
        {"LevelTime", [&] { scenes.levelTimer = 65.9f; }, "01:05"},
        {"LevelTime", [&] { scenes.levelTimer = 3600; }, "60:00"},
        {"LevelTime", [&] { scenes.levelTimer = -2; }, "00:00"},
        {"HowToPlayPageText", [] { Pages::CurrentPage = 1, Pages::PageCount = 3; }, "2/3"},
        {"HowToPlayPageText", [] { Pages::CurrentPage = 7, Pages::PageCount = 3; }, "3/3"},
        {"HowToPlayPageText", [] { Pages::CurrentPage = 0, Pages::PageCount = 0; }, ""},
        {"ScreenSizeButtonText", [&] { window.fullscreen = true; }, " Windowed "},
        {"ScreenSizeButtonText", [&] { window.fullscreen = false; }, "Fullscreen"},
        {"SomeOtherText", [] {}, "?"},
    };
    for (const Case& c : cases)
    {
        c.set();
        Entity* first = level.Add(TextEntity(c.name));
        Entity* second = level.Add(TextEntity(c.name));
        level.Frame();
        EXPECT_EQ(Text(first), c.text) << c.name;
        EXPECT_EQ(Text(second), c.text) << c.name << ": a second of the same name";
        first->IsDestroyed = second->IsDestroyed = true;
        level.Frame();
    }
}

TEST_F(FontChangeTest, TheLevelNameAndScoreAreSetOncePerReadTheOthersEveryFrame)
{
    Entity* score = level.Add(TextEntity("ScoreText"));
    Entity* time = level.Add(TextEntity("LevelTime"));
    level.Frame();
    EXPECT_EQ(Text(score), "10/10");
    BehaviorCountBoard::DeadCount = 1;
    SceneSystem::GetInstance().levelTimer = 61;
    level.Frame();
    EXPECT_EQ(Text(score), "10/10") << "a bot lost later does not change the score shown";
    EXPECT_EQ(Text(time), "01:01");
    score->GetComponent<BehaviorFontChange>()->Read(json::object());
    level.Frame();
    EXPECT_EQ(Text(score), "9/10") << "the next reading computes it afresh";

    // Outside a level the label says so; without a font nothing happens.
    SceneSystem::GetInstance().currentScene->SceneFile = "Data/Scenes/MainMenuScene.json";
    Entity* label = level.Add(TextEntity("LevelNameText"));
    level.Add({{"Name", "LevelTime"}, {"Components", {{{"Type", "BehaviorFontChange"}}}}});
    level.Frame();
    EXPECT_EQ(Text(label), "error");

    json saved;
    label->GetComponent<BehaviorFontChange>()->Write(saved);
    EXPECT_EQ(saved, json({{"Type", "BehaviorFontChange"}}));
}
