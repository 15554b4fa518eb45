#include "ui/BehaviorHowToPlayDisplayer.h"

#include "graphics/Sprite.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"
#include "tests/common/LevelFixture.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
using json = nlohmann::json;
using Pages = BehaviorHowToPlayDisplayer;

const json ThreeActions = {
    {"Dig", {"HowTo_Digger_1"}}, {"Basics", {"HowTo_Basics_1", "HowTo_Basics_2"}}, {"Empty", json::array()}};

json DisplayerEntity(const json& settings)
{
    json displayer = settings;
    displayer["Type"] = "BehaviorHowToPlayDisplayer";
    return {{"Name", "HowToPlayPage"},
            {"Components", {displayer, {{"Type", "Sprite"}}, {{"Type", "Transform"}}}}};
}

std::string Shown(Entity* e)
{
    return TextureLibrary::GetInstance().GetName(e->GetComponent<Sprite>()->request->texture);
}

class HowToPlayDisplayerTest : public testing::Test
{
protected:
    HowToPlayDisplayerTest()
    {
        Pages::CurrentAction = "Stale";
        Pages::CurrentPage = 5;
        Pages::PageCount = 9;
        Pages::Changed = false;
    }
    LevelFixture level;
};
}   // namespace

TEST_F(HowToPlayDisplayerTest, EachOpeningStartsAtTheFirstPageOfTheFirstAction)
{
    struct Case
    {
        const char* what;
        json settings;
        std::string action;
        uint64_t pages;
    };
    const Case cases[] = {
        {"the first action named", {{"SpritePathMap", ThreeActions}, {"FirstActionName", "Dig"}}, "Dig", 1},
        {"a first action that is none: the first by name",
         {{"SpritePathMap", ThreeActions}, {"FirstActionName", "Swim"}},
         "Basics",
         2},
        {"no first action: the first by name", {{"SpritePathMap", ThreeActions}}, "Basics", 2},
    };
    for (const Case& c : cases)
    {
        Pages::CurrentPage = 5;
        BehaviorHowToPlayDisplayer displayer;
        displayer.Read(c.settings);
        EXPECT_EQ(Pages::CurrentAction, c.action) << c.what;
        EXPECT_EQ(Pages::CurrentPage, 0u) << c.what;
        EXPECT_EQ(Pages::PageCount, c.pages) << c.what;
        EXPECT_TRUE(Pages::Changed) << c.what;
    }

    // An empty map, or none, leaves the shared state as it was.
    Pages::Changed = false;
    BehaviorHowToPlayDisplayer empty;
    empty.Read({{"SpritePathMap", json::object()}});
    empty.Read({{"FirstActionName", "Dig"}});
    EXPECT_EQ(Pages::CurrentAction, "Basics");
    EXPECT_FALSE(Pages::Changed);
    EXPECT_THROW(empty.Read({{"SpritePathMap", {{"Dig", {1, 2}}}}}), DataError);

    json written;
    BehaviorHowToPlayDisplayer displayer;
    displayer.Read({{"SpritePathMap", ThreeActions}, {"FirstActionName", "Dig"}});
    displayer.Write(written);
    EXPECT_EQ(written, json({{"Type", "BehaviorHowToPlayDisplayer"},
                             {"SpritePathMap", ThreeActions},
                             {"FirstActionName", "Dig"}}));
}

TEST_F(HowToPlayDisplayerTest, ThePageShownFollowsTheSharedStateOnceAChangeIsSaid)
{
    Entity* page = level.Add(DisplayerEntity({{"SpritePathMap", ThreeActions}}));
    Entity* second = level.Add(DisplayerEntity({{"SpritePathMap", ThreeActions}}));
    level.Frame();
    EXPECT_EQ(Shown(page), "HowTo_Basics_1");
    EXPECT_EQ(Shown(second), "White") << "only the first displayer after a change redraws";
    EXPECT_FALSE(Pages::Changed);

    Pages::CurrentPage = 1;
    level.Frame();
    EXPECT_EQ(Shown(page), "HowTo_Basics_1") << "no change said, nothing redrawn";
    Pages::Changed = true;
    level.Frame();
    EXPECT_EQ(Shown(page), "HowTo_Basics_2");

    Pages::SetCurrentAction("Dig");
    level.Frame();
    EXPECT_EQ(Shown(page), "HowTo_Digger_1");
    EXPECT_EQ(Pages::PageCount, 1u);

    // A page beyond the action's is brought back to its last; an action without pages shows nothing new.
    TraceCapture trace;
    Pages::CurrentPage = 4;
    Pages::Changed = true;
    level.Frame();
    EXPECT_EQ(Pages::CurrentPage, 0u);
    EXPECT_EQ(Shown(page), "HowTo_Digger_1");
    Pages::SetCurrentAction("Empty");
    level.Frame();
    EXPECT_EQ(Pages::PageCount, 0u);
    EXPECT_EQ(Shown(page), "HowTo_Digger_1");
    EXPECT_TRUE(trace.Contains("\"Empty\", which has 0; nothing shown")) << trace.All();
    Pages::SetCurrentAction("Swim");
    level.Frame();
    EXPECT_EQ(Shown(page), "HowTo_Digger_1") << "an action it does not have changes nothing";
}
