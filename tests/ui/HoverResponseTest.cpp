#include "ui/HoverResponse.h"

#include "graphics/Animation.h"
#include "graphics/Sprite.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/LevelFixture.h"
#include "tests/common/ScopedPauseOverlay.h"
#include "tests/common/TraceCapture.h"
#include "tests/ui/ButtonTestKit.h"

#include <gtest/gtest.h>

namespace
{
using json = nlohmann::json;
using ButtonTestKit::Red;

json ButtonWithChildren(const json& children)
{
    return {{"Name", "PlayButton"},
            {"Components",
             {{{"Type", "HoverResponse"}, {"Children", children}},
              {{"Type", "Transform"}, {"Translation", {1, 2, 0}}, {"Scale", {4, 1, 1}}},
              {{"Type", "Sprite"}},
              {{"Type", "ButtonComponent"}}}}};
}

// Two compositions: a waving figure (animated) and a still marker.
class HoverResponseTest : public testing::Test
{
protected:
    HoverResponseTest()
    {
        Composition(
            "Wave",
            {{{"Type", "Animation"}, {"FrameCount", 4}, {"FrameDuration", 0.1}, {"Dimensions", {4, 1}}},
             {{"Type", "Sprite"}},
             {{"Type", "Transform"}, {"Translation", {0.5, 0, 0.1}}}});
        Composition("Marker",
                    {{{"Type", "Sprite"}}, {{"Type", "Transform"}, {"Translation", {-0.5, 0, 0.1}}}});
    }
    void Composition(const std::string& name, const json& components)
    {
        level.data.Write("Compositions/" + name + ".json",
                         json({{"Name", name}, {"IsDestroyed", false}, {"Components", components}}).dump());
    }
    static void Notify(Entity* button, ButtonComponent::state state)
    {
        button->GetComponent<ButtonComponent>()->NotifyState(state);
    }

    LevelFixture level;
};
}   // namespace

TEST_F(HoverResponseTest, NamesFillTheSlotsInOrderAndTheEmptyOnesArePassedOver)
{
    Entity* button = level.Add(ButtonWithChildren({"Wave", "", "Marker"}));
    level.Frame();
    EXPECT_EQ(level.Count("Wave"), 1u);
    EXPECT_EQ(level.Count("Marker"), 1u);
    const HoverResponse& response = *button->GetComponent<HoverResponse>();
    EXPECT_EQ(response.ChildCount, 3);
    EXPECT_EQ(response.Children[2].ChildEntity.Get(), level.Named("Marker")[0]);
    json written;
    response.Write(written);
    EXPECT_EQ(written, json({{"Children", {"Wave", "", "Marker", "", ""}}, {"Type", "HoverResponse"}}));

    struct Case
    {
        json children;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {{"A", "B", "C", "D", "E", "F", "G"}, {"A", "B", "C", "D", "E"}},
        {{{"first", "A"}, {"second", "B"}}, {"A", "B", "", "", ""}},
        {"A", {"A", "", "", "", ""}},
    };
    for (const Case& c : cases)
    {
        HoverResponse read;
        read.Read({{"Children", c.children}});
        std::vector<std::string> names;
        for (const auto& child : read.Children)
            names.push_back(child.ChildName);
        EXPECT_EQ(names, c.names) << c.children.dump();
    }
    HoverResponse bad;
    try
    {
        bad.Read({{"Children", {"A", 7}}});
        ADD_FAILURE() << "a number is no name";
    }
    catch (const DataError& error)
    {
        EXPECT_NE(std::string(error.what()).find("type must be string, but is number"), std::string::npos);
    }
}

TEST_F(HoverResponseTest, AnimationsRestartOnEnterAndPressStillPicturesDarkenWhileHeld)
{
    Entity* button = level.Add(ButtonWithChildren({"Wave", "Marker"}));
    level.Frame();
    Entity* wave = level.Named("Wave")[0];
    Entity* marker = level.Named("Marker")[0];
    Animation* animation = wave->GetComponent<Animation>();
    animation->CurrentFrame = 3;
    animation->Running = false;

    Notify(button, ButtonComponent::Hover);
    EXPECT_EQ(animation->CurrentFrame, 0);
    EXPECT_TRUE(animation->Running);
    EXPECT_FLOAT_EQ(Red(marker), 1.0f);

    animation->CurrentFrame = 2;
    Notify(button, ButtonComponent::Pressed);
    EXPECT_EQ(animation->CurrentFrame, 0) << "restarted on the press";
    EXPECT_FLOAT_EQ(Red(wave), 1.0f) << "an animated child is not tinted";
    EXPECT_FLOAT_EQ(Red(marker), HoverResponse::HeldShade);

    animation->CurrentFrame = 2;
    Notify(button, ButtonComponent::Released);
    EXPECT_EQ(animation->CurrentFrame, 2);
    EXPECT_FLOAT_EQ(Red(marker), 1.0f);
    Notify(button, ButtonComponent::Idle);
    EXPECT_EQ(animation->CurrentFrame, 2);
}

TEST_F(HoverResponseTest, ChildrenMoveWithTheButtonAndAreNeverSaved)
{
    Entity* button = level.Add(ButtonWithChildren({"Marker"}));
    level.Frame();
    Entity* marker = level.Named("Marker")[0];
    EXPECT_TRUE(marker->IsSpawned);
    const auto worldX = [&] { return marker->GetComponent<Transform>()->GetMatrix().At(0, 3); };
    EXPECT_FLOAT_EQ(worldX(), 1 - 0.5f * 4) << "its place is read in the button's own space";
    button->GetComponent<Transform>()->Translation.x = 3;
    button->GetComponent<Transform>()->Dirty = true;
    EXPECT_FLOAT_EQ(worldX(), 3 - 0.5f * 4);

    json saved;
    level.Scene().Write(saved);
    for (const json& e : saved["Entities"])
        EXPECT_TRUE(e.is_null() || e["Name"] != "Marker") << e.dump();
}

TEST_F(HoverResponseTest, AMissingFileEndsTheBuildingAndChildrenLeaveWithTheButton)
{
    TraceCapture trace;
    Entity* button = level.Add(ButtonWithChildren({"Marker", "Nowhere", "Wave"}));
    level.Frame();
    EXPECT_EQ(level.Count("Marker"), 1u);
    EXPECT_EQ(level.Count("Wave"), 0u) << "the slots after the missing one stay empty";
    EXPECT_TRUE(trace.Contains("Invalid Object attempted to be built")) << trace.All();

    // A child deleted first leaves no dangling slot; the rest go with the button.
    Entity* again = level.Add(ButtonWithChildren({"Wave", "Marker"}));
    level.Frame();
    Entity* wave = level.Named("Wave")[0];
    wave->IsDestroyed = true;
    level.Frame();
    EXPECT_EQ(again->GetComponent<HoverResponse>()->Children[0].ChildEntity.Get(), nullptr);
    Notify(again, ButtonComponent::Pressed);
    button->IsDestroyed = again->IsDestroyed = true;
    level.Frame();
    EXPECT_EQ(level.Count("Marker"), 0u) << "deleted with their buttons";

    // Without a button component the children are built and never answer.
    level.Add(
        {{"Name", "Plain"},
         {"Components", {{{"Type", "HoverResponse"}, {"Children", {"Marker"}}}, {{"Type", "Transform"}}}}});
    level.Frame();
    EXPECT_EQ(level.Count("Marker"), 1u);
}

TEST_F(HoverResponseTest, ChildrenJoinTheSceneThatHoldsTheButton)
{
    ScopedPauseOverlay overlay;
    overlay->AddEntity(Entity::CreateFromJSON(ButtonWithChildren({"Marker"})));
    overlay->entities.Update(1.0f / 60);
    EXPECT_NE(overlay->entities.FindByName("Marker"), nullptr);
    EXPECT_EQ(level.Count("Marker"), 0u);
}
