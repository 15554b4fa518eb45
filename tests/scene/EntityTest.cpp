#include "scene/Entity.h"

#include "engine/EditorState.h"
#include "scene/Transform.h"
#include "tests/common/TraceCapture.h"
#include "tests/scene/TestComponents.h"

#include <gtest/gtest.h>
#include <memory>

using TestData::Journal;
using TestData::Tags;
using Lines = std::vector<std::string>;

namespace
{
class EntityTest : public testing::Test
{
protected:
    void SetUp() override
    {
        TestData::RegisterTestComponents();
        Journal().clear();
    }
    void TearDown() override { MessagingSystem::GetInstance().Clear(); }
};

json Part(const char* type, const char* tag, json extra = json::object())
{
    extra["Type"] = type;
    extra["Tag"] = tag;
    return extra;
}
}   // namespace

TEST_F(EntityTest, ReadSortsByTypeIdKeepingFileOrderAndThenPostCreatesInThatOrder)
{
    const json in = {{"Name", "Bot"},
                     {"Components",
                      {{{"Type", "Transform"}},
                       Part("TestPart6", "six"),
                       Part("TestProbe", "probeA"),
                       Part("TestPart4", "four"),
                       Part("TestProbe", "probeB")}}};
    Entity entity;
    entity.Read(in);
    EXPECT_EQ(entity.Name, "Bot");
    EXPECT_EQ(Tags(entity), (Lines{"probeA", "probeB", "four", "six", "Transform"}));
    for (const Component* c : entity.components)
        EXPECT_EQ(c->Parent, &entity);
    // Every component is read before it joins the entity, and post-created once all are in.
    EXPECT_EQ(Journal(), (Lines{"six Read", "probeA Read", "four Read", "probeB Read", "probeA PostCreate",
                                "probeB PostCreate", "four PostCreate", "six PostCreate"}));
}

TEST_F(EntityTest, ReadDeletesTheOldComponentsFirstAndPostCreatesOnlyWhatItRead)
{
    Entity entity;
    entity.Name = "Kept";
    entity.IsDestroyed = true;
    entity.Read(json{{"Components", {Part("TestPart4", "old")}}});
    Journal().clear();

    // A PostCreate that adds a component: the added one is not post-created in the same pass.
    entity.Read(json{{"Components", {Part("TestProbe", "new", {{"AddsPart", true}})}}});
    EXPECT_EQ(Journal(), (Lines{"old destroyed", "new Read", "new PostCreate"}));
    EXPECT_EQ(Tags(entity), (Lines{"new", "added by new"}));
    EXPECT_EQ(entity.components.back()->Parent, &entity);

    // {} empties the entity and leaves its name and flags alone.
    entity.Read(json::object());
    EXPECT_TRUE(entity.components.empty());
    EXPECT_EQ(entity.Name, "Kept");
    EXPECT_TRUE(entity.IsDestroyed);

    Journal().clear();
    entity.Read(json{{"Components", {Part("TestProbe", "cached")}}}, Entity::PostCreation::Skip);
    EXPECT_EQ(Journal(), (Lines{"cached Read"}));
    entity.PostCreateComponents();
    EXPECT_EQ(Journal(), (Lines{"cached Read", "cached PostCreate"}));
}

TEST_F(EntityTest, ElementsThatAreNoUsableComponentsAreSkippedWithTheirKeyNamed)
{
    struct Case
    {
        json element;
        std::string message;   // empty: skipped without a word
    } cases[] = {
        {nullptr, ""},
        {7, "[Odd] \"Components\"[0] is not an object; skipped"},
        {json::object(), "[Odd] \"Components\"[0] has no \"Type\" text; skipped"},
        {{{"Type", 5}}, "[Odd] \"Components\"[0] has no \"Type\" text; skipped"},
        {{{"Type", "NoSuchThing"}}, "[Odd] \"Components\"[0] \"Type\" \"NoSuchThing\" is unknown; skipped"},
        {{{"Type", "Transform"}, {"Scale", {1, 2}}},
         "[Odd] \"Components\"[0] Transform skipped: \"Scale\": an array of three numbers was expected, not "
         "[1,2]"},
        {{{"Type", "TestProbe"}, {"Timer", true}}, "[Odd] \"Components\"[0] TestProbe skipped: \"Timer\": "},
    };
    for (const Case& c : cases)
    {
        TraceCapture trace;
        Journal().clear();
        Entity entity;
        entity.Read(json{{"Name", "Odd"}, {"Components", {c.element}}});
        EXPECT_TRUE(entity.components.empty()) << c.element;
        if (c.message.empty())
            EXPECT_TRUE(trace.lines.empty()) << trace.All();
        else
            EXPECT_TRUE(trace.Contains("ENTITY: " + c.message)) << trace.All();
    }
    // The half-read probe was deleted, not leaked or kept.
    EXPECT_EQ(Journal(), (Lines{" destroyed"}));
}

TEST_F(EntityTest, MistypedNameFlagOrComponentListKeepWhatTheEntityHad)
{
    TraceCapture trace;
    Entity entity;
    entity.Name = "Before";
    entity.Read(json{{"Name", 3}, {"IsDestroyed", "yes"}, {"Components", {{"Type", "Transform"}}}});
    EXPECT_EQ(entity.Name, "Before");
    EXPECT_FALSE(entity.IsDestroyed);
    EXPECT_TRUE(entity.components.empty());
    EXPECT_TRUE(trace.Contains("ENTITY: [Before] \"Name\": a text was expected, not 3; kept")) << trace.All();
    EXPECT_TRUE(
        trace.Contains("ENTITY: [Before] \"IsDestroyed\": true or false was expected, not \"yes\"; kept"))
        << trace.All();
    EXPECT_TRUE(trace.Contains("ENTITY: [Before] \"Components\" is not an array")) << trace.All();
}

TEST_F(EntityTest, CreateFromJSONNeedsAnObjectWithANameText)
{
    for (const json& in :
         {json(nullptr), json(4), json::array(), json{{"Components", json::array()}}, json{{"Name", 1}}})
    {
        TraceCapture trace;
        EXPECT_EQ(Entity::CreateFromJSON(in), nullptr) << in;
        EXPECT_TRUE(trace.Contains("Invalid JSON for entity creation")) << in;
    }
    TraceCapture trace;
    std::unique_ptr<Entity> made(
        Entity::CreateFromJSON(json{{"Name", "Made"}, {"Components", {Part("TestPart4", "a")}}}));
    ASSERT_TRUE(made);
    EXPECT_EQ(trace.lines.front(), "Entity::CreateFromJSON - Creating entity directly from JSON");
    EXPECT_EQ(trace.lines.back(), "Entity created: Made with 1 components");
    EXPECT_EQ(Journal(), (Lines{"a Read", "a PostCreate"}));
}

TEST_F(EntityTest, WriteGivesSortedKeysNullForSilentComponentsAndNothingWhenSpawned)
{
    Entity entity;
    entity.Read(json{{"Name", "W"},
                     {"Components",
                      {{{"Type", "Transform"}},
                       Part("TestPart4", "loud"),
                       Part("TestPart6", "quiet", {{"Silent", true}})}}});
    json out;
    entity.Write(out);
    EXPECT_EQ(
        out.dump(),
        R"({"Components":[{"Tag":"loud","Type":"TestPart4"},null,)"
        R"({"Rotation":[0.0,0.0,0.0],"Scale":[1.0,1.0,1.0],"Translation":[0.0,0.0,0.0],"Type":"Transform"}],)"
        R"("IsDestroyed":false,"Name":"W"})");

    // Written, read back, written again: the same document (the null is skipped on the way).
    Entity again;
    again.Read(out);
    json second;
    again.Write(second);
    json expected = out;
    expected["Components"].erase(1);
    EXPECT_EQ(second, expected);

    entity.IsSpawned = true;
    json spawned;
    entity.Write(spawned);
    EXPECT_TRUE(spawned.is_null());
    json content;
    entity.WriteContent(content);
    EXPECT_EQ(content, out);
}

TEST_F(EntityTest, ACopyClonesComponentsUnderItselfWithoutPostCreateAndIsNotSpawned)
{
    Entity original;
    original.Read(json{
        {"Name", "O"},
        {"IsDestroyed", true},
        {"Components",
         {Part("TestProbe", "p"), Part("TestPart4", "gone", {{"NoClone", true}}), {{"Type", "Transform"}}}}});
    original.IsSpawned = true;
    original.GetComponent<Transform>()->Translation = {1, 2, 3};
    Journal().clear();

    Entity copy(original);
    EXPECT_TRUE(Journal().empty());   // nothing read, nothing post-created
    EXPECT_EQ(copy.Name, "O");
    EXPECT_TRUE(copy.IsDestroyed);
    EXPECT_FALSE(copy.IsSpawned);
    EXPECT_EQ(Tags(copy), (Lines{"p", "Transform"}));
    for (size_t i = 0; i < copy.components.size(); ++i)
    {
        EXPECT_EQ(copy.components[i]->Parent, &copy);
        EXPECT_NE(copy.components[i], original.components[i == 0 ? 0 : 2]);
    }
    copy.GetComponent<Transform>()->Translation.x = 9;
    EXPECT_EQ(original.GetComponent<Transform>()->Translation.x, 1);
}

TEST_F(EntityTest, GetComponentFindsTheFirstOfTheClassOrDerivedFromIt)
{
    Entity entity;
    EXPECT_EQ(entity.GetComponent<Behavior>(), nullptr);
    entity.Read(json{
        {"Components", {{{"Type", "Transform"}}, Part("TestProbe", "first"), Part("TestProbe", "second")}}});
    ASSERT_NE(entity.GetComponent<Behavior>(), nullptr);
    EXPECT_EQ(static_cast<TestData::TestProbe*>(entity.GetComponent<Behavior>())->traits.Tag, "first");
    EXPECT_EQ(entity.GetComponent<Transform>(), entity.components.back());
    EXPECT_EQ(entity.GetComponent<TestData::TestPart>(), nullptr);

    // A component of another class that shares a class's type id is not taken for it.
    Entity mixed;
    mixed.AddComponent(new TestData::TestPart(ComponentType::Behavior));
    mixed.AddComponent(new TestData::TestPart(ComponentType::Transform));
    EXPECT_EQ(mixed.GetComponent<Behavior>(), nullptr);
    EXPECT_EQ(mixed.GetComponent<Transform>(), nullptr);
    mixed.AddComponent(new Transform());
    EXPECT_EQ(mixed.GetComponent<Transform>(), mixed.components.back());
    EXPECT_EQ(mixed.GetComponent<TestData::TestPart>(), mixed.components.front());
}

TEST_F(EntityTest, DeletingTheSelectedEntityClearsTheSelection)
{
    Entity* kept = new Entity();
    Entity* selected = new Entity();
    SelectedEntity = selected;
    delete kept;
    EXPECT_EQ(SelectedEntity, selected);
    delete selected;
    EXPECT_EQ(SelectedEntity, nullptr);
}

TEST_F(EntityTest, ATransformWhoseParentEntityWasDeletedStandsAlone)
{
    auto parent = std::make_unique<Entity>();
    parent->AddComponent(new Transform());
    parent->GetComponent<Transform>()->Translation = {3, 0, 0};
    Entity child;
    auto* place = new Transform();
    child.AddComponent(place);
    ASSERT_TRUE(place->SetParentEntity(parent.get()));
    EXPECT_FLOAT_EQ(place->GetMatrix().At(0, 3), 3);

    parent.reset();
    EXPECT_EQ(place->ParentEntity.Get(), nullptr);
    EXPECT_FLOAT_EQ(place->GetMatrix().At(0, 3), 0) << "the deleted parent is never read";
}

TEST_F(EntityTest, AComponentAddedInPlayIsSortedInAndPostCreatedAloneAsReadingWouldHave)
{
    Entity entity;
    entity.Read(json{{"Name", "Live"}, {"Components", {Part("TestPart4", "four"), {{"Type", "Transform"}}}}});
    Journal().clear();

    auto* probe = dynamic_cast<TestData::TestProbe*>(ComponentRegistry::Create("TestProbe"));
    probe->traits.Tag = "probe";
    probe->traits.AddsPart = true;   // its PostCreate adds a part, which must find its place too
    entity.AddAndPostCreate(probe);
    EXPECT_EQ(probe->Parent, &entity);
    EXPECT_EQ(Tags(entity), (Lines{"probe", "four", "added by probe", "Transform"}));
    EXPECT_EQ(Journal(), (Lines{"probe PostCreate"})) << "the others are not post-created again";

    entity.AddAndPostCreate(nullptr);
    EXPECT_EQ(entity.components.size(), 4u);
}
