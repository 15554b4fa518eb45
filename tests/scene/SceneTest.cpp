#include "scene/Scene.h"

#include "engine/JsonFile.h"
#include "engine/MessagingSystem.h"
#include "graphics/Camera.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/common/QuietStdout.h"
#include "tests/common/ScopedDataRoot.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TraceCapture.h"
#include "tests/scene/TestComponents.h"

#include <gtest/gtest.h>

using TestData::Journal;
using Lines = std::vector<std::string>;

namespace
{
class SceneTest : public testing::Test
{
protected:
    void SetUp() override
    {
        TestData::RegisterTestComponents();
        MessagingSystem::GetInstance().Clear();
        Journal().clear();
    }
    void TearDown() override
    {
        MessagingSystem::GetInstance().Clear();
        Camera::GetInstance().SetTarget(nullptr);
    }

    static Entity* Named(const std::string& name)
    {
        Entity* e = new Entity();
        e->Name = name;
        return e;
    }
    static Lines Names(Scene& scene)
    {
        Lines names;
        for (const Entity* e : scene.GetEntityList().GetEntities())
            names.push_back(e->Name);
        return names;
    }
    // Delivers one button click to every payload subscriber; returns who heard it.
    static Lines Heard()
    {
        MessagingSystem& bus = MessagingSystem::GetInstance();
        Journal().clear();
        bus.PostButtonClicked("", std::make_unique<ButtonClickedMessage>(nullptr));
        bus.EndFrame();
        bus.BeginFrame();
        return Journal();
    }

    ScopedDataRoot root{ScopedDataRoot::TestData("fixtures")};
    QuietStdout quiet;
};
}   // namespace

TEST_F(SceneTest, ASceneFileLoadsItsEntitiesCameraAndFollowingScenes)
{
    for (const std::string name : {"Level.json", "Data/Scenes/Level.json", "Data\\Scenes\\Level.json"})
    {
        MainScene scene;
        scene.SceneFile = name;
        ASSERT_TRUE(scene.Load()) << name;
        EXPECT_EQ(Names(scene), (Lines{"MainCamera", "Listener", "Monkey"})) << name;
        EXPECT_EQ(scene.EntityNames, (Lines{"MainCamera", "Listener", "Monkey"}));
        EXPECT_EQ(scene.GetEntityList().Camera, scene.GetEntityList().FindByName("MainCamera"));
        EXPECT_EQ(scene.NextScene, "Data/Scenes/Overlay.json");
        EXPECT_EQ(scene.LoseScene, "Data/Scenes/LoseScene.json");
        EXPECT_EQ(scene.WinScene, "");
        EXPECT_EQ(scene.Name, "Test Level");
        EXPECT_EQ(scene.GetEntityList().FindByName("Listener")->GetComponent<Transform>()->Translation.x, -3);
    }
}

TEST_F(SceneTest, SceneNamesResolveIntoTheScenesFolderWhateverTheSpelling)
{
    struct Case
    {
        const char* name;
        const char* path;
    } cases[] = {
        {"X.json", "Data/Scenes/X.json"},
        {"Data/Scenes/X.json", "Data/Scenes/X.json"},
        {"Data\\Scenes\\X.json", "Data\\Scenes\\X.json"},
        {"Data//Scenes/X.json", "Data//Scenes/X.json"},
        {"./data/Scenes/X.json", "./data/Scenes/X.json"},
        {"Levels/X.json", "Data/Scenes/Levels/X.json"},
        {"Data/X.json", "Data/Scenes/Data/X.json"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Scene::ScenePath(c.name), c.path) << c.name;
}

TEST_F(SceneTest, AFileWithoutEntitiesLoadsAnEmptySceneAndReadsNothingElse)
{
    MainScene scene;
    scene.SceneFile = "NoEntities.json";
    ASSERT_TRUE(scene.Load());
    EXPECT_EQ(scene.GetEntityList().Size(), 0u);
    EXPECT_EQ(scene.NextScene, "");
    EXPECT_EQ(scene.WinScene, "");

    MainScene none;   // no file at all: nothing to load, and that is fine
    EXPECT_TRUE(none.Load());
}

TEST_F(SceneTest, WriteLeavesOutDestroyedEntitiesAndPutsNullForSpawnedOnes)
{
    MainScene scene;
    scene.SceneFile = "Data\\Scenes\\Written.json";
    scene.AddEntity(Named("kept"));
    scene.AddEntity(Named("gone"));
    scene.AddEntity(Named("spawned"));
    scene.GetEntityList().FindByName("gone")->IsDestroyed = true;
    scene.GetEntityList().FindByName("spawned")->IsSpawned = true;
    scene.AddEntity(nullptr);
    scene.WinScene = "Data/Scenes/WinScene.json";
    json out;
    scene.Write(out);
    EXPECT_EQ(
        out.dump(),
        R"({"Entities":[{"Components":[],"IsDestroyed":false,"Name":"kept"},null],)"
        R"("SceneFile":"Data\\Scenes\\Written.json","SceneName":"Written","WinScene":"Data/Scenes/WinScene.json"})");

    // Read back: the null is skipped.
    MainScene again;
    again.Read(out);
    EXPECT_EQ(Names(again), (Lines{"kept"}));
    EXPECT_EQ(again.WinScene, "Data/Scenes/WinScene.json");
}

TEST_F(SceneTest, TheDisplayNameIsWrittenBackOnlyWhenItWasRead)
{
    MainScene plain;
    json out;
    plain.Write(out);
    EXPECT_FALSE(out.contains("Name_Syntactical_Sugar"));

    MainScene named;
    named.Read(json{{"Entities", json::array()}, {"Name_Syntactical_Sugar", "Level 3"}});
    json written;
    named.Write(written);
    EXPECT_EQ(written.value("Name_Syntactical_Sugar", ""), "Level 3");
}

TEST_F(SceneTest, OverwriteFileWritesWhatReadsBackTheSame)
{
    MainScene scene;
    scene.SceneFile = "Level.json";
    ASSERT_TRUE(scene.Load());
    TempFolder folder;
    ASSERT_TRUE(scene.OverwriteFile(folder / "Level.json"));

    json first, second;
    scene.Write(first);
    ASSERT_TRUE(ReadJsonFile(folder / "Level.json", second));
    MainScene copy;
    copy.SceneFile = scene.SceneFile;
    copy.Read(second);
    json third;
    copy.Write(third);
    EXPECT_EQ(first, second);
    EXPECT_EQ(third, first);
    EXPECT_EQ(first.value("Name_Syntactical_Sugar", ""), "Test Level");

    EXPECT_FALSE(scene.OverwriteFile(folder / "missing/Level.json"));
}

TEST_F(SceneTest, CamerasAndRemovalGoByNameTheLaterCameraAndTheFirstOfAName)
{
    MainScene scene;
    scene.AddEntity(Named("MainCamera"));
    Entity* later = Named("MainCamera");
    scene.AddEntity(later);
    EXPECT_EQ(scene.GetEntityList().Camera, later);

    for (int i = 0; i < 3; ++i)
        scene.AddEntity(Named("Monkey"));
    scene.AddEntity(Named("Exit"));
    Entity* secondMonkey = scene.GetEntityList().GetEntities()[3];
    scene.RemoveEntity("Monkey");
    scene.RemoveEntity("");
    EXPECT_EQ(scene.EntityNames, (Lines{"MainCamera", "MainCamera", "Monkey", "Monkey", "Exit"}));
    EXPECT_EQ(scene.GetEntityList().FindByName("Monkey"), secondMonkey);
    scene.RemoveEntity("MainCamera");
    EXPECT_EQ(scene.GetEntityList().Camera, later);
    scene.RemoveEntity("MainCamera");
    EXPECT_EQ(scene.GetEntityList().Camera, nullptr);
}

TEST_F(SceneTest, ReadingAnOverlayEndsOnlyTheSubscriptionsOfTheEntitiesItReplaces)
{
    MainScene level, overlay;
    level.SceneFile = "Level.json";
    overlay.SceneFile = "Overlay.json";
    ASSERT_TRUE(level.Load());
    ASSERT_TRUE(overlay.Load());
    EXPECT_EQ(Heard(), (Lines{"level listener heard", "overlay listener heard"}));

    // The overlay is replaced by another: its own listener goes, the level's stays.
    ASSERT_TRUE(overlay.LoadFromFile("OtherOverlay.json"));
    EXPECT_EQ(Heard(), (Lines{"level listener heard", "other listener heard"}));

    // Reading the level again replaces its listener by a new one, heard once.
    ASSERT_TRUE(level.LoadFromFile("Level.json"));
    EXPECT_EQ(Heard(), (Lines{"other listener heard", "level listener heard"}));
}
