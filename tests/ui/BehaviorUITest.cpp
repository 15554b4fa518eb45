#include "ui/BehaviorUI.h"

#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/LevelFixture.h"
#include "tests/common/ScopedPauseOverlay.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
using json = nlohmann::json;

json At(float x, float y, float z) { return {{"Type", "Transform"}, {"Translation", {x, y, z}}}; }

json UiEntity(const std::vector<std::string>& elements, float z = -15)
{
    return {{"Name", "HUD"},
            {"Components", {{{"Type", "BehaviorUI"}, {"UIElements", elements}}, At(0, 0, z)}}};
}

Vec3 WorldPosition(Entity* entity)
{
    const Matrix4& world = entity->GetComponent<Transform>()->GetMatrix();
    return {world.At(0, 3), world.At(1, 3), world.At(2, 3)};
}

class BehaviorUITest : public testing::Test
{
protected:
    void SetUp() override
    {
        level.WriteArchetype(
            {{"Name", "Counter"}, {"Components", {At(2, 5, 0.2f), {{"Type", "Font"}, {"InputText", "7"}}}}});
        level.WriteArchetype({{"Name", "Marker"}, {"Components", {At(-3, 4, 0)}}});
    }
    Entity* Camera(float x = 0)
    {
        return level.Add({{"Name", "MainCamera"}, {"Components", {At(x, 0, 15)}}});
    }

    LevelFixture level;
};
}   // namespace

TEST_F(BehaviorUITest, BuildsItsElementsAtItsFirstUpdateAndTheyFollowTheCamera)
{
    Entity* camera = Camera();
    Entity* hud = level.Add(UiEntity({"Counter", "Marker"}));
    EXPECT_EQ(level.Count("Counter"), 0u) << "nothing before the first update";
    level.Frame();

    ASSERT_EQ(level.Count("Counter"), 1u);
    ASSERT_EQ(level.Count("Marker"), 1u);
    Entity* counter = level.Named("Counter")[0];
    EXPECT_TRUE(counter->IsSpawned);
    EXPECT_EQ(counter->GetComponent<Transform>()->ParentEntity, hud);
    EXPECT_EQ(hud->GetComponent<Transform>()->ParentEntity, camera);
    const auto& created = hud->GetComponent<BehaviorUI>()->CreatedEntities;
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[0].Get(), counter);
    EXPECT_EQ(created[1].Get(), level.Named("Marker")[0]);

    // Its own place through the camera at (0, 0, 15) and the interface entity at its depth below.
    Vec3 at = WorldPosition(counter);
    EXPECT_FLOAT_EQ(at.x, 2);
    EXPECT_FLOAT_EQ(at.y, 5);
    EXPECT_FLOAT_EQ(at.z, 0.2f);
    camera->GetComponent<Transform>()->Translation.x = 4;
    camera->GetComponent<Transform>()->Dirty = true;
    at = WorldPosition(counter);
    EXPECT_FLOAT_EQ(at.x, 6) << "the camera carries the interface with it";

    level.Frame();
    EXPECT_EQ(level.Count("Counter"), 1u) << "built once";
}

TEST_F(BehaviorUITest, EdgeCasesOfTheListAndTheCamera)
{
    {
        SCOPED_TRACE("an empty list builds nothing and still hangs from the camera");
        Entity* camera = Camera();
        Entity* hud = level.Add(UiEntity({}));
        level.Frame();
        EXPECT_EQ(level.Scene().entities.Size(), 2u);
        EXPECT_EQ(hud->GetComponent<Transform>()->ParentEntity, camera);
        camera->IsDestroyed = hud->IsDestroyed = true;
        level.Frame();
    }
    {
        SCOPED_TRACE("without a camera the interface entity stands alone");
        Entity* hud = level.Add(UiEntity({"Marker"}, 0));
        level.Frame();
        EXPECT_EQ(hud->GetComponent<Transform>()->ParentEntity, nullptr);
        EXPECT_FLOAT_EQ(WorldPosition(level.Named("Marker")[0]).x, -3);
        hud->IsDestroyed = true;
        level.Frame();
    }
    {
        SCOPED_TRACE("an element named MainCamera becomes the scene's camera; an unknown one is skipped");
        level.WriteArchetype({{"Name", "MainCamera"}, {"Components", {At(0, 0, 15)}}});
        TraceCapture trace;
        level.Add(UiEntity({"Nowhere", "MainCamera"}));
        level.Frame();
        ASSERT_EQ(level.Count("MainCamera"), 1u);
        EXPECT_EQ(level.Scene().entities.Camera, level.Named("MainCamera")[0]);
        EXPECT_TRUE(trace.Contains("no archetype \"Nowhere\"")) << trace.All();
    }
}

TEST_F(BehaviorUITest, TheSceneIsSavedWithTheListButNotTheElements)
{
    Camera();
    level.Add(UiEntity({"Counter"}));
    level.Frame();
    json saved;
    level.Scene().Write(saved);
    size_t written = 0;
    for (const json& e : saved["Entities"])
        if (!e.is_null())
        {
            ++written;
            EXPECT_NE(e["Name"], "Counter");
            if (e["Name"] == "HUD")
            {
                EXPECT_EQ(e["Components"][0]["Type"], "BehaviorUI");
                EXPECT_EQ(e["Components"][0]["UIElements"], json({"Counter"}));
            }
        }
    EXPECT_EQ(written, 2u);

    BehaviorUI ui;
    EXPECT_EQ(ui.Clone(), nullptr) << "a copied entity builds no second interface";
    ui.Read({{"UIElements", {"A", "B"}}});
    ui.Read({{"Timer", 0}});
    EXPECT_EQ(ui.UIElements, (std::vector<std::string>{"A", "B"})) << "absent: kept";
    EXPECT_THROW(ui.Read({{"UIElements", {1, 2}}}), DataError);
}

TEST_F(BehaviorUITest, TheElementsJoinTheSceneThatHoldsTheInterfaceAndLeaveWithIt)
{
    // An interface in an overlay builds into the overlay, not into the level beneath.
    ScopedPauseOverlay overlay;
    Entity* hud = Entity::CreateFromJSON(UiEntity({"Counter", "Marker"}));
    overlay->AddEntity(hud);
    overlay->entities.Update(1.0f / 60);
    EXPECT_EQ(level.Count("Counter"), 0u);
    ASSERT_NE(overlay->entities.FindByName("Counter"), nullptr);
    Entity* marker = overlay->entities.FindByName("Marker");

    // A deleted element leaves no dangling link; the others leave with the interface.
    overlay->entities.RemoveByName("Counter");
    const auto& created = hud->GetComponent<BehaviorUI>()->CreatedEntities;
    EXPECT_EQ(created[0].Get(), nullptr);
    EXPECT_EQ(created[1].Get(), marker);
    overlay->entities.RemoveByName("HUD");
    EXPECT_TRUE(marker->IsDestroyed);
    EXPECT_EQ(marker->GetComponent<Transform>()->ParentEntity, nullptr);
    overlay->entities.Update(1.0f / 60);
    EXPECT_EQ(overlay->entities.Size(), 0u);
}
