#include "scene/Archetypes.h"

#include "engine/EditorState.h"
#include "engine/JsonFile.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/QuietStdout.h"
#include "tests/common/ScopedDataRoot.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TraceCapture.h"
#include "tests/scene/TestComponents.h"

#include <gtest/gtest.h>

using TestData::Journal;
using TestData::Tags;
using Lines = std::vector<std::string>;

namespace
{
// A copy of the archetype fixtures in a temporary data folder, which saving may change.
class ArchetypesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        TestData::RegisterTestComponents();
        std::filesystem::copy(ScopedDataRoot::TestData("fixtures") + "/Entities", folder.Path() / "Entities");
        Journal().clear();
    }
    void TearDown() override
    {
        if (ArchetypeCache)
            ArchetypeCache->Clear();
        SelectedEntity = nullptr;
        SceneSystem::GetInstance().currentScene.reset();
    }

    // Places the entity in a current scene of its own and selects it, as the editor would.
    static Entity* Select(Entity* entity)
    {
        auto& current = SceneSystem::GetInstance().currentScene;
        if (!current)
            current = std::make_unique<MainScene>();
        current->AddEntity(entity);
        SelectedEntity = entity;
        return entity;
    }

    static Lines CachedNames()
    {
        Lines names;
        if (ArchetypeCache)
            for (const Entity* e : ArchetypeCache->GetEntities())
                names.push_back(e->Name);
        return names;
    }
    std::string File(const std::string& name) const { return folder / ("Entities/" + name + ".json"); }

    TempFolder folder;
    ScopedDataRoot root{folder.Path().string()};
    QuietStdout quiet;
};
}   // namespace

TEST_F(ArchetypesTest, BuildsHandOutIndependentPostCreatedCopiesOfAnArchetypeNeverPostCreated)
{
    TraceCapture trace;
    Entity first;
    first.IsSpawned = true;
    ASSERT_TRUE(FactoryBuild(first, "Monkey"));
    EXPECT_TRUE(trace.Contains("Loaded archetype via JSON: Monkey"));
    // Read once into the cache, post-created only as the copy: the brain adds its part there.
    EXPECT_EQ(Journal(), (Lines{"monkey brain Read", "monkey brain PostCreate"}));
    EXPECT_EQ(Tags(first), (Lines{"monkey brain", "Transform", "added by monkey brain"}));
    EXPECT_TRUE(first.IsSpawned);
    for (const Component* c : first.components)
        EXPECT_EQ(c->Parent, &first);

    Journal().clear();
    Entity second;
    ASSERT_TRUE(FactoryBuild(second, "Monkey"));
    EXPECT_EQ(Journal(), (Lines{"monkey brain PostCreate"}));   // from the cache, not the file
    EXPECT_EQ(second.Name, "Monkey");

    first.GetComponent<Transform>()->Translation.x = 50;
    EXPECT_EQ(second.GetComponent<Transform>()->Translation.x, 1);
    ASSERT_EQ(CachedNames(), (Lines{"Monkey"}));
    const Entity* cached = ArchetypeCache->FindByName("Monkey");
    EXPECT_EQ(cached->GetComponent<Transform>()->Translation.x, 1);
    EXPECT_EQ(Tags(*cached), (Lines{"monkey brain", "Transform"}));
}

TEST_F(ArchetypesTest, ABuildThatFindsNoArchetypeLeavesTheTargetAsItWas)
{
    struct Case
    {
        const char* name;
        Lines messages;
    } cases[] = {
        {"Nobody",
         {"JSON load failed, falling back to ConfigSystem for: Nobody",
          "FactoryBuild failed: entity not found - Nobody"}},
        {"Renamed",
         {"ERROR: Entity name 'Other' doesn't match filename 'Renamed' in: Data/Entities/Renamed.json",
          "Archetype validation failed for: Renamed", "FactoryBuild failed: entity not found - Renamed"}},
        {"../Entities/Monkey", {"Archetype validation failed for: ../Entities/Monkey"}},
    };
    for (const Case& c : cases)
    {
        TraceCapture trace;
        Entity target;
        target.Name = "Keep";
        target.AddComponent(new Transform());
        EXPECT_FALSE(FactoryBuild(target, c.name)) << c.name;
        EXPECT_EQ(target.Name, "Keep");
        EXPECT_EQ(Tags(target), (Lines{"Transform"}));
        for (const std::string& message : c.messages)
            EXPECT_TRUE(trace.Contains(message)) << message << "\n" << trace.All();
    }
    EXPECT_EQ(CachedNames(), Lines{});
}

TEST_F(ArchetypesTest, LoadingAllReadsOnlyWhatIsNotCachedAndSaysHowItWent)
{
    Entity monkey;
    FactoryBuild(monkey, "Monkey");
    {
        TraceCapture trace;
        EXPECT_TRUE(LoadAllArchetypes());
        EXPECT_EQ(CachedNames(), (Lines{"Monkey", "Plain"}));
        for (const char* message :
             {"Loading all entity archetypes from: Data/Entities/",
              "WARNING: Entity file has no Components array: Data/Entities/Plain.json",
              "Loaded archetype: Plain", "Skipping invalid archetype file: Data/Entities/Renamed.json",
              "=== ARCHETYPE LOADING SUMMARY ===", "Successfully loaded: 1 archetypes",
              "Validation failed: 1 files"})
            EXPECT_TRUE(trace.Contains(message)) << message << "\n" << trace.All();
        EXPECT_FALSE(trace.Contains("Creation failed"));
        EXPECT_TRUE(ArchetypeCache->FindByName("Plain")->components.empty());
    }
    // Cached archetypes are never post-created, also when loaded all at once.
    EXPECT_EQ(Journal(), (Lines{"monkey brain Read", "monkey brain PostCreate"}));

    TraceCapture trace;
    EXPECT_FALSE(LoadAllArchetypes());
    EXPECT_TRUE(trace.Contains("Successfully loaded: 0 archetypes"));
    EXPECT_EQ(CachedNames(), (Lines{"Monkey", "Plain"}));

    std::filesystem::remove_all(folder.Path() / "Entities");
    TraceCapture missing;
    EXPECT_FALSE(LoadAllArchetypes());
    EXPECT_TRUE(missing.Contains("ERROR: Entities directory does not exist: Data/Entities/"));
}

TEST_F(ArchetypesTest, SavingWritesTheSelectedEntityAndReplacesTheCachedArchetype)
{
    Entity before;
    FactoryBuild(before, "Monkey");

    Entity& selected = *Select(new Entity());
    selected.Read(json{
        {"Name", "Whatever"},
        {"Components",
         {{{"Type", "Transform"}, {"Translation", {7, 7, 7}}}, {{"Type", "TestProbe"}, {"Tag", "saved"}}}}});
    selected.IsSpawned = true;   // made at run time: saved whole all the same
    TraceCapture trace;
    ASSERT_TRUE(SaveArchetype("Monkey"));
    EXPECT_TRUE(trace.Contains("Successfully saved archetype: Monkey"));
    EXPECT_TRUE(trace.Contains("Reloaded archetype in cache: Monkey"));

    json saved;
    ASSERT_TRUE(ReadJsonFile(File("Monkey"), saved));
    EXPECT_EQ(saved.value("Name", ""), "Monkey");
    EXPECT_EQ(saved["Components"].size(), 2u);
    EXPECT_EQ(CachedNames(), (Lines{"Monkey"}));

    Journal().clear();
    Entity after;
    ASSERT_TRUE(FactoryBuild(after, "Monkey"));
    EXPECT_EQ(after.Name, "Monkey");
    EXPECT_EQ(Tags(after), (Lines{"saved", "Transform"}));
    EXPECT_EQ(after.GetComponent<Transform>()->Translation.x, 7);
    EXPECT_EQ(Journal(), (Lines{"saved PostCreate"}));   // the cached replacement was not post-created

    ASSERT_TRUE(SaveArchetype("Fresh"));
    EXPECT_TRUE(std::filesystem::exists(File("Fresh")));
    EXPECT_EQ(CachedNames(), (Lines{"Monkey", "Fresh"}));
}

TEST_F(ArchetypesTest, SavingRefusesBadNamesNoSelectionAndFailedWrites)
{
    {
        TraceCapture trace;
        EXPECT_FALSE(SaveArchetype("Lonely"));
        EXPECT_TRUE(trace.Contains("no entity is selected")) << trace.All();
    }
    {
        // Selected, but no entity of the current scene: an archetype's copy, a deleted scene's
        // entity. The pointer is compared, not followed, and the selection is cleared.
        Entity outside;
        outside.Name = "Outside";
        SelectedEntity = &outside;
        TraceCapture trace;
        EXPECT_FALSE(SaveArchetype("Outside"));
        EXPECT_TRUE(trace.Contains("no entity is selected")) << trace.All();
        EXPECT_EQ(SelectedEntity, nullptr);
        EXPECT_FALSE(std::filesystem::exists(File("Outside")));
    }
    Entity& selected = *Select(new Entity());
    selected.Name = "Sel";
    for (const std::string name :
         {"", ".", "..", "../Escape", "sub/Name", "..\\Escape", "Bad\xC3(", "\xED\xA0\x80"})
    {
        TraceCapture trace;
        EXPECT_FALSE(SaveArchetype(name)) << name;
        EXPECT_TRUE(trace.Contains("Validation failed - cannot save archetype: " + name)) << trace.All();
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "Escape.json"));

    const std::string old = TempFolder::ReadFile(File("Plain"));
    std::filesystem::create_directory(File("Blocked"));   // a folder where the file should go
    TraceCapture trace;
    EXPECT_FALSE(SaveArchetype("Blocked"));
    EXPECT_TRUE(trace.Contains("Failed to save archetype file: Data/Entities/Blocked.json")) << trace.All();
    EXPECT_EQ(CachedNames(), Lines{});
    EXPECT_EQ(TempFolder::ReadFile(File("Plain")), old);
}

TEST(ArchetypeFiles, ValidationWantsANameTextEqualToTheFileName)
{
    struct Case
    {
        json doc;
        bool valid;
        std::string message;
    } cases[] = {
        {{{"Name", "Bot"}, {"Components", json::array()}}, true, ""},
        {{{"Name", "Bot"}}, true, "WARNING: Entity file has no Components array: Data/Entities/Bot.json"},
        {{{"Components", json::array()}},
         false,
         "ERROR: Entity file missing 'Name' field: Data/Entities/Bot.json"},
        {{{"Name", ""}}, false, "ERROR: Entity file missing 'Name' field: Data/Entities/Bot.json"},
        {{{"Name", 12}}, false, "ARCHETYPE: [Data/Entities/Bot.json] \"Name\" is not a text"},
        {json::array({1, 2}), false, "ARCHETYPE: [Data/Entities/Bot.json] not a JSON object"},
        {{{"Name", "bot"}},
         false,
         "ERROR: Entity name 'bot' doesn't match filename 'Bot' in: Data/Entities/Bot.json"},
    };
    for (const Case& c : cases)
    {
        TraceCapture trace;
        EXPECT_EQ(ValidateEntityFile("Data/Entities/Bot.json", c.doc), c.valid) << c.doc;
        if (c.message.empty())
            EXPECT_TRUE(trace.lines.empty()) << trace.All();
        else
            EXPECT_TRUE(trace.Contains(c.message)) << c.doc << "\n" << trace.All();
    }
}

TEST(ArchetypeFiles, TheEntityNameIsTheDocumentsNameElseTheFileName)
{
    struct Case
    {
        json doc;
        std::string name, message;
    } cases[] = {
        {{{"Name", "Bot"}}, "Bot", ""},
        {{{"Name", "Other"}}, "Other", "NOTE: Entity 'Other' defined in file: Bot"},
        {json::object(), "Bot", "WARNING: Using filename as entity name for: Bot"},
        {{{"Name", false}}, "Bot", "WARNING: Using filename as entity name for: Bot"},
    };
    for (const Case& c : cases)
    {
        TraceCapture trace;
        EXPECT_EQ(EntityNameFromFile("Bot", c.doc), c.name) << c.doc;
        EXPECT_EQ(trace.lines, c.message.empty() ? Lines{} : Lines{c.message}) << c.doc;
    }
}
