// The end-of-level spotlight: its closing motion and the count board request, its edges, and
// the spotlight a bot places when its death settles the level.
#include "game/BehaviorSpotlight.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorMonkey.h"
#include "game/BehaviorSpotlightEdge.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Scene.h"
#include "scene/Transform.h"
#include "tests/common/BotFixture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <vector>

namespace
{
// A spotlight entity of the given size, its behaviour read from the settings.
struct Light
{
    explicit Light(float size, const json& settings = json::object())
    {
        BehaviorCountBoard::EvaluateRequested = false;
        transform = new Transform();
        transform->Scale = {size, size, 7};
        behavior = new BehaviorSpotlight();
        behavior->Read(settings);
        entity.AddComponent(behavior);
        entity.AddComponent(transform);
    }
    ~Light() { BehaviorCountBoard::EvaluateRequested = false; }
    float Step(float dt)
    {
        behavior->Update(dt);
        return transform->Scale.x;
    }

    Entity entity;
    Transform* transform = nullptr;
    BehaviorSpotlight* behavior = nullptr;
};
}   // namespace

TEST(BehaviorSpotlight, ItShrinksToItsSizeHoldsThereThenClosesAndAsksForTheVerdict)
{
    Light light(40, {{"ShrinkSpeed", 2}, {"SpotlightSize", 5}, {"TimeStayInZoomIn", 1}});
    const float dt = 0.25f;
    std::vector<float> sizes;
    for (int frame = 0; frame < 60 && !BehaviorCountBoard::EvaluateRequested; ++frame)
    {
        sizes.push_back(light.Step(dt));
        EXPECT_EQ(light.transform->Scale.y, light.transform->Scale.x);
        EXPECT_EQ(light.transform->Scale.z, 7);
    }
    ASSERT_TRUE(BehaviorCountBoard::EvaluateRequested) << "it never closed";

    // Halved each quarter second down to exactly 5; held there on that frame and while a second
    // of holding passes; closed at twice the rate but never below 0.1; asking on the frame after.
    EXPECT_EQ(sizes, (std::vector<float>{20, 10, 5, 5, 5, 5, 5, 0.1f, 0.1f}));

    // The board takes the request and clears it: closed, the spotlight asks again.
    BehaviorCountBoard::EvaluateRequested = false;
    light.Step(dt);
    EXPECT_TRUE(BehaviorCountBoard::EvaluateRequested);
}

TEST(BehaviorSpotlight, StartsHoldsAndBadScales)
{
    {
        SCOPED_TRACE("starting inside its size it snaps to it and holds");
        Light light(3);
        EXPECT_EQ(light.Step(0.1f), 5.0f);
        EXPECT_TRUE(light.behavior->ShrinkDone);
        EXPECT_EQ(light.Step(0.1f), 5.0f);
        EXPECT_FALSE(light.behavior->StayDone);
    }
    {
        SCOPED_TRACE("no hold: the close starts on the frame after the shrink");
        Light light(5, {{"TimeStayInZoomIn", 0}});
        EXPECT_EQ(light.Step(0.1f), 5.0f);
        EXPECT_LT(light.Step(0.1f), 5.0f);
        EXPECT_TRUE(light.behavior->StayDone);
    }
    {
        SCOPED_TRACE("a paused game holds everything");
        Light light(40);
        EXPECT_EQ(light.Step(0), 40.0f);
    }
    {
        SCOPED_TRACE("while the board has a request pending nothing moves");
        Light light(40);
        BehaviorCountBoard::EvaluateRequested = true;
        EXPECT_EQ(light.Step(0.1f), 40.0f);
    }
    const float bad[] = {-1, 10001, std::numeric_limits<float>::quiet_NaN()};
    for (float size : bad)
    {
        SCOPED_TRACE(testing::Message() << "scale " << size);
        Light light(size);
        light.Step(0.1f);
        EXPECT_TRUE(BehaviorCountBoard::EvaluateRequested);
    }
    {
        SCOPED_TRACE("reading again starts the phases over");
        Light light(3, {{"TimeStayInZoomIn", 0}});
        light.Step(0.1f);
        light.Step(0.1f);
        light.behavior->Read({{"ShrinkSpeed", 3}});
        EXPECT_FALSE(light.behavior->ShrinkDone);
        EXPECT_FALSE(light.behavior->StayDone);
        EXPECT_EQ(light.behavior->StayTimer, 0);
    }
}

TEST(BehaviorSpotlight, SavedFormsOfTheSpotlightAndItsEdge)
{
    std::unique_ptr<Component> light(ComponentRegistry::Create("BehaviorSpotlight"));
    ASSERT_NE(light, nullptr);
    light->Read({{"ShrinkSpeed", 3}, {"SpotlightSize", 4}, {"TimeStayInZoomIn", 0.5}, {"Timer", 2}});
    json written;
    light->Write(written);
    EXPECT_EQ(written, json({{"Type", "BehaviorSpotlight"},
                             {"ShrinkSpeed", 3.0},
                             {"SpotlightSize", 4.0},
                             {"TimeStayInZoomIn", 0.5}}));
    EXPECT_THROW(light->Read({{"SpotlightSize", "big"}}), DataError);

    std::unique_ptr<Component> edge(ComponentRegistry::Create("BehaviorSpotlightEdge"));
    ASSERT_NE(edge, nullptr);
    json edgeForm;
    edge->Write(edgeForm);
    EXPECT_EQ(edgeForm, json({{"Type", "BehaviorSpotlightEdge"}}));
}

TEST(BehaviorSpotlightEdge, EachEdgeStandsAgainstItsSideOfTheOpening)
{
    Entity light;
    auto* spotlight = new Transform();
    light.AddComponent(spotlight);
    spotlight->Translation = {1, 2, 3};
    spotlight->Scale = {4, 9, 1};   // only the x scales count
    struct Case
    {
        int index;
        Vec3 at;
    } cases[] = {
        {0, {1, 5, 3}}, {1, {4, 2, 3}}, {2, {1, -1, 3}}, {3, {-2, 2, 3}}, {4, {0, 0, 0}}, {-1, {0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        Entity entity;
        auto* edge = new BehaviorSpotlightEdge();
        auto* own = new Transform();
        own->Translation = {9, 9, 9};
        own->Scale = {2, 50, 1};
        entity.AddComponent(edge);
        entity.AddComponent(own);
        edge->Update(0.1f);
        EXPECT_EQ(own->Translation.x, 9) << "without a spotlight it stays";
        edge->SpotlightTransform = spotlight;
        edge->EdgeIndex = c.index;
        own->Dirty = false;
        edge->Update(0.1f);
        EXPECT_TRUE(own->Dirty);
        EXPECT_EQ(own->Translation.x, c.at.x) << c.index;
        EXPECT_EQ(own->Translation.y, c.at.y) << c.index;
        EXPECT_EQ(own->Translation.z, c.at.z) << c.index;
    }
}

TEST(BehaviorSpotlightEdge, AnEdgeWhoseSpotlightIsGoneStaysWhereItIs)
{
    auto light = std::make_unique<Entity>();
    auto* spotlight = new Transform();
    light->AddComponent(spotlight);
    Entity entity;
    auto* edge = new BehaviorSpotlightEdge();
    auto* own = new Transform();
    entity.AddComponent(edge);
    entity.AddComponent(own);
    edge->SpotlightTransform = spotlight;
    edge->Update(0.1f);
    EXPECT_EQ(own->Translation.y, 1.0f);   // above the opening
    light.reset();
    own->Translation = {7, 7, 7};
    edge->Update(0.1f);
    EXPECT_EQ(own->Translation.x, 7);
    EXPECT_EQ(edge->SpotlightTransform.Get(), nullptr);
}

TEST(BehaviorSpotlight, TheBotWhoseDeathSettlesTheLevelGetsASpotlightThatClosesOnIt)
{
    BotFixture level;
    level.Terrain({
        "R.............",
        "R.............",
        "##############",
        "RRRRRRRRRRRRRR",
    });
    BehaviorCountBoard::DeadMax = 1;
    BehaviorCountBoard::ExitMax = 0;
    BehaviorCountBoard::SpawnTotal = 10;
    BehaviorMonkey& bot = level.AddBot({6.5f, 2.5f, 0}, 1);
    level.Run(1);
    const Vec3 where = bot.Parent->GetComponent<Transform>()->Translation;
    bot.StateNext = 1;
    level.Run(1);
    ASSERT_EQ(level.scene.SpotlightsCreated, 1);

    EntityList& entities = level.scene.GetEntityList();
    Entity* spotlight = entities.FindByName("Spotlight");
    ASSERT_NE(spotlight, nullptr);
    Transform* light = spotlight->GetComponent<Transform>();
    EXPECT_EQ(light->Translation.x, where.x);
    EXPECT_EQ(light->Translation.y, where.y);
    std::vector<int> indices;
    for (Entity* e : entities.GetEntities())
        if (e->Name == "SpotlightEdge")
        {
            const auto* edge = e->GetComponent<BehaviorSpotlightEdge>();
            ASSERT_NE(edge, nullptr);
            EXPECT_EQ(edge->SpotlightTransform, light);
            indices.push_back(edge->EdgeIndex);
        }
    EXPECT_EQ(indices, (std::vector<int>{0, 1, 2, 3}));

    // The opening closes within a few seconds, the edges keeping to it; then the board is asked.
    ASSERT_GT(level.RunUntil(64 * 6, [] { return BehaviorCountBoard::EvaluateRequested; }), 0);
    EXPECT_FLOAT_EQ(light->Scale.x, BehaviorSpotlight::ClosedSize);
    for (Entity* e : entities.GetEntities())
        if (e->Name == "SpotlightEdge" && e->GetComponent<BehaviorSpotlightEdge>()->EdgeIndex == 1)
        {
            const Transform* edge = e->GetComponent<Transform>();
            EXPECT_NEAR(edge->Translation.x, light->Translation.x + (light->Scale.x + edge->Scale.x) / 2,
                        1e-3f);
        }
    // The bot's death throws its particles, and they are gone a little later.
    level.Run(64 * 2);
    EXPECT_EQ(entities.FindByName("Particle_Death"), nullptr);
}
