#include "ui/BehaviorLevelSelectTint.h"

#include "graphics/Sprite.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "scene/Scene.h"
#include "tests/common/LevelFixture.h"
#include "tests/ui/ButtonTestKit.h"
#include "ui/Button.h"
#include "ui/HoverResponse.h"

#include <climits>
#include <gtest/gtest.h>

namespace
{
using json = nlohmann::json;
using ButtonTestKit::Red;

// A level button as the level selection has it: the button, the tint, and its mark composition.
json LevelButton(int level)
{
    return {{"Name", "LoadLevelScene" + std::to_string(level) + "Button"},
            {"Components",
             {{{"Type", "BehaviorPauseButton"}},
              {{"Type", "BehaviorLevelSelectTint"}, {"Mark", "LevelMark"}},
              {{"Type", "HoverResponse"}, {"Children", {"LevelMark"}}},
              {{"Type", "Sprite"}},
              {{"Type", "Transform"}},
              {{"Type", "ButtonComponent"}}}}};
}

class LevelSelectTest : public testing::Test
{
protected:
    LevelSelectTest()
    {
        level.data.Write(
            "Compositions/LevelMark.json",
            json({{"Name", "LevelMark"}, {"Components", {{{"Type", "Sprite"}}, {{"Type", "Transform"}}}}})
                .dump());
    }
    static std::string MarkOf(Entity* button)
    {
        Entity* mark = button->GetComponent<HoverResponse>()->ChildNamed("LevelMark");
        return mark ? TextureLibrary::GetInstance().GetName(mark->GetComponent<Sprite>()->request->texture)
                    : "none";
    }

    LevelFixture level{"Data/Scenes/LevelLoaderScene.json"};
};
}   // namespace

TEST_F(LevelSelectTest, EachButtonShowsItsLevelLockedOpenOrCompletedByProgress)
{
    struct Case
    {
        std::vector<int> unlocked;
        std::vector<const char*> marks;   // of levels 1 to 5
        std::vector<float> shades;
        bool lastWon = false;
    };
    const Case cases[] = {
        {{1}, {"Clear", "Icon_Lock", "Icon_Lock", "Icon_Lock", "Icon_Lock"}, {1, 0.2f, 0.2f, 0.2f, 0.2f}},
        {{1, 2, 3}, {"Icon_Star", "Icon_Star", "Clear", "Icon_Lock", "Icon_Lock"}, {1, 1, 1, 0.2f, 0.2f}},
        {{1, 2, 3, 4, 5}, {"Icon_Star", "Icon_Star", "Icon_Star", "Icon_Star", "Clear"}, {1, 1, 1, 1, 1}},
        {{1, 2, 3, 4, 5},
         {"Icon_Star", "Icon_Star", "Icon_Star", "Icon_Star", "Icon_Star"},
         {1, 1, 1, 1, 1},
         true},
    };
    std::vector<Entity*> buttons;
    for (int n = 1; n <= 5; ++n)
        buttons.push_back(level.Add(LevelButton(n)));
    level.Frame();   // the marks are built
    for (const Case& c : cases)
    {
        LevelCompleted = c.unlocked;
        LastLevelWon = c.lastWon;
        level.Frame();
        for (size_t i = 0; i < buttons.size(); ++i)
        {
            EXPECT_EQ(MarkOf(buttons[i]), c.marks[i]) << "level " << i + 1 << " of " << c.unlocked.size();
            EXPECT_FLOAT_EQ(Red(buttons[i]), c.shades[i]) << "level " << i + 1 << " of " << c.unlocked.size();
        }
    }
    LastLevelWon = false;
}

TEST_F(LevelSelectTest, ALockedButtonStaysGreyUnderTheCursorAndSaysSoWhenClicked)
{
    Entity* locked = level.Add(LevelButton(3));
    level.Frame();
    EXPECT_FLOAT_EQ(Red(locked), BehaviorLevelSelectTint::LockedGrey);
    locked->GetComponent<ButtonComponent>()->NotifyState(ButtonComponent::Hover);
    level.Frame();
    EXPECT_FLOAT_EQ(Red(locked), BehaviorLevelSelectTint::LockedGrey);
    ButtonTestKit::Click(locked);
    level.Frame();
    EXPECT_EQ(level.SoundsNamed("Locked"), 1u);
    EXPECT_FALSE(level.Scene().IsComplete) << "a locked level is not loaded";

    // Unlocking brightens it once; its own hover tint then works again.
    LevelCompleted = {1, 2, 3};
    level.Frame();
    EXPECT_FLOAT_EQ(Red(locked), 1.0f);
    EXPECT_FALSE(locked->GetComponent<Button>()->Perpetual);
    locked->GetComponent<ButtonComponent>()->NotifyState(ButtonComponent::Hover);
    level.Frame();
    EXPECT_FLOAT_EQ(Red(locked), Button::HoverTint[0]);
    ButtonTestKit::Click(locked);
    level.Frame();
    EXPECT_EQ(level.SoundsNamed("Locked"), 1u);
    EXPECT_EQ(level.Scene().NextScene, "Data/Scenes/LevelScene3.json");
}

TEST_F(LevelSelectTest, NumbersFromNamesAndTheSavedForm)
{
    const struct
    {
        const char* name;
        int number;
    } names[] = {{"Level12Button", 12}, {"L1x2", 1}, {"NoDigits", 0}, {"Level99999999999Button", 0}};
    for (const auto& n : names)
        EXPECT_EQ(BehaviorLevelSelectTint::LevelNumberOf(n.name), n.number) << n.name;
    EXPECT_FALSE(IsLevelCompleted(INT_MAX));

    BehaviorLevelSelectTint tint;
    json plain;
    tint.Write(plain);
    EXPECT_EQ(plain, json({{"Type", "BehaviorLevelSelectTint"}}));
    tint.Read({{"Mark", "LevelMark"}});
    json marked;
    tint.Write(marked);
    EXPECT_EQ(marked, json({{"Type", "BehaviorLevelSelectTint"}, {"Mark", "LevelMark"}}));
}
