#include "scene/EntityList.h"

#include "graphics/Camera.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/scene/TestComponents.h"

#include <gtest/gtest.h>

using TestData::Journal;
using TestData::TestProbe;
using Lines = std::vector<std::string>;

namespace
{
class EntityListTest : public testing::Test
{
protected:
    void SetUp() override { Journal().clear(); }
    void TearDown() override { Camera::GetInstance().SetTarget(nullptr); }

    // An entity with one probe tagged like the entity; the action runs in the probe's OnUpdate.
    Entity* Add(const std::string& name, std::function<void(TestProbe&)> action = nullptr)
    {
        Entity* e = new Entity();
        e->Name = name;
        TestProbe* probe = new TestProbe();
        probe->traits.Tag = name;
        probe->StateCurrent = 0;   // settled: the journal shows only updates
        probe->onUpdate = std::move(action);
        e->AddComponent(probe);
        list.Add(e);
        return e;
    }
    Lines Updated() const
    {
        Lines names;
        for (const std::string& line : Journal())
            if (line.ends_with(" OnUpdate 0"))
                names.push_back(line.substr(0, line.size() - 11));
        return names;
    }
    Lines Names() const
    {
        Lines names;
        for (const Entity* e : list.GetEntities())
            names.push_back(e->Name);
        return names;
    }

    EntityList list;
};
}   // namespace

TEST_F(EntityListTest, DestroyedEntitiesAreDeletedDuringTheWalkAndTheRestStillUpdate)
{
    Add("a");
    Add("self", [](TestProbe& p) { p.Parent->IsDestroyed = true; });
    const auto destroy = [this](const char* name) {
        return [this, name](TestProbe&) {
            if (Entity* e = list.FindByName(name))
                e->IsDestroyed = true;
        };
    };
    Add("b", destroy("later"));
    Add("c", destroy("a"));
    Add("later");
    Add("d");

    list.Update(0.1f);
    // "self" goes at once, "later" is deleted when the walk reaches it (never updated), and "a",
    // destroyed by an entity after it, waits for the next pass.
    EXPECT_EQ(Updated(), (Lines{"a", "self", "b", "c", "d"}));
    EXPECT_EQ(Names(), (Lines{"a", "b", "c", "d"}));
    list.Update(0.1f);
    EXPECT_EQ(Names(), (Lines{"b", "c", "d"}));
}

TEST_F(EntityListTest, EntitiesAddedOrRemovedDuringTheWalkAreHandledInTheSamePass)
{
    Add("first");
    Add("spawner", [this](TestProbe& p) {
        if (p.Timer++ == 0)
            Add("spawned");
    });
    Add("remover", [this](TestProbe&) { list.RemoveByName("first"); });
    Add("next");

    list.Update(0.1f);
    // Removing an entity before the walker does not make the walk skip the one after it.
    EXPECT_EQ(Updated(), (Lines{"first", "spawner", "remover", "next", "spawned"}));
    EXPECT_EQ(Names(), (Lines{"spawner", "remover", "next", "spawned"}));
}

TEST_F(EntityListTest, ComponentsUpdateAlsoAtDtZeroAndRenderDoesNotFilterFlags)
{
    TestData::RegisterTestComponents();
    Entity* e = new Entity();
    e->Read(json{{"Name", "e"}, {"Components", {{{"Type", "TestPart4"}, {"Tag", "part"}}}}});
    list.Add(e);
    Journal().clear();
    list.Update(0.0f);
    EXPECT_EQ(Journal(), (Lines{"part Update 0.000000"}));

    Journal().clear();
    e->IsDestroyed = true;
    list.Render();   // still drawn until the next update pass deletes it
    list.Update(0.0f);
    EXPECT_EQ(Journal(), (Lines{"part Render", "part destroyed"}));
    EXPECT_EQ(list.Size(), 0u);
}

TEST_F(EntityListTest, FindAndRemoveTakeTheFirstOfTheNameAndKeepTheOrder)
{
    Add("x");
    Entity* firstMonkey = Add("Monkey");
    Add("y");
    Entity* secondMonkey = Add("Monkey");
    EXPECT_EQ(list.FindByName("Monkey"), firstMonkey);
    EXPECT_EQ(list.FindByName("monkey"), nullptr);
    list.RemoveByName("Monkey");
    EXPECT_EQ(Names(), (Lines{"x", "y", "Monkey"}));
    EXPECT_EQ(list.FindByName("Monkey"), secondMonkey);
    list.RemoveByName("nobody");
    EXPECT_EQ(list.Size(), 3u);
    EXPECT_FALSE(list.Add(nullptr));
    EXPECT_EQ(list.Size(), 3u);
}

TEST_F(EntityListTest, TheCameraEntityIsTheLastMainCameraAndIsForgottenWhenDeleted)
{
    const auto makeCamera = [this] {
        Entity* e = Add("MainCamera");
        Transform* t = new Transform();
        t->Translation = {4, 5, 15};
        e->AddComponent(t);
        return e;
    };
    struct Case
    {
        const char* path;
        std::function<void(Entity*)> remove;
    } cases[] = {
        {"RemoveByName", [this](Entity*) { list.RemoveByName("MainCamera"); }},
        {"destroyed in Update", [this](Entity* e) { e->IsDestroyed = true, list.Update(0.1f); }},
        {"Clear", [this](Entity*) { list.Clear(); }},
    };
    for (const Case& c : cases)
    {
        list.Clear();
        makeCamera();
        Entity* camera = makeCamera();
        EXPECT_EQ(list.Camera, camera) << c.path;
        list.Render();   // the global camera follows the camera entity
        EXPECT_EQ(Camera::GetInstance().target, camera->GetComponent<Transform>()) << c.path;
        list.RemoveByName("MainCamera");   // the first one: the camera entity stays
        EXPECT_EQ(list.Camera, camera) << c.path;

        c.remove(camera);
        EXPECT_EQ(list.Camera, nullptr) << c.path;
        EXPECT_EQ(Camera::GetInstance().target, nullptr) << c.path;
        list.Update(0.1f);   // nothing left to point at a deleted entity
        list.Render();
    }
}

TEST_F(EntityListTest, RemoveDeletesThatVeryEntityWhateverItsName)
{
    Entity* firstTwin = Add("Twin");
    Entity* secondTwin = Add("Twin");
    Entity* nameless = Add("");
    EXPECT_TRUE(list.Remove(secondTwin));
    EXPECT_TRUE(list.Remove(nameless));
    EXPECT_EQ(Names(), Lines{"Twin"});
    EXPECT_EQ(list.FindByName("Twin"), firstTwin);
    EXPECT_EQ(Journal(), (Lines{"Twin destroyed", " destroyed"}));

    Entity outside;
    EXPECT_FALSE(list.Remove(&outside));
    EXPECT_FALSE(list.Remove(nullptr));
    EXPECT_EQ(list.Size(), 1u);
}
