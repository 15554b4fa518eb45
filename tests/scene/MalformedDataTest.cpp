// Every file of tests/data/malformed is loaded here: each gives its message, nothing crashes,
// nothing is half-loaded (a refused component is left out whole; the sanitizer build sees any
// that leaks), and a file that cannot be read leaves the previous state. A new fixture without
// a row in these tables fails the test.
#include "scene/Archetypes.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/Scene.h"
#include "tests/common/ScopedDataRoot.h"
#include "tests/common/TraceCapture.h"
#include "tests/scene/TestComponents.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

using Lines = std::vector<std::string>;

namespace
{
struct Case
{
    std::string file;
    bool loads;       // false: the file is refused whole
    Lines entities;   // what stands afterwards, as "Name[tags]"
    Lines messages;   // texts that must appear in the log or on the standard output
};

class MalformedDataTest : public testing::Test
{
protected:
    void SetUp() override { TestData::RegisterTestComponents(); }
    void TearDown() override
    {
        if (ArchetypeCache)
            ArchetypeCache->Clear();
        MessagingSystem::GetInstance().Clear();
    }

    static std::string Describe(const Entity& e)
    {
        std::string text = e.Name + "[";
        for (const std::string& tag : TestData::Tags(e))
            text += (text.back() == '[' ? "" : ",") + tag;
        return text + (e.IsDestroyed ? "] destroyed" : "]");
    }

    // Checks that the table covers the folder exactly.
    static void ExpectEveryFileHasARow(const std::string& folder, const std::vector<Case>& cases,
                                       const std::set<std::string>& others = {})
    {
        std::set<std::string> files, rows(others);
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            files.insert(entry.path().filename().string());
        for (const Case& c : cases)
            rows.insert(c.file + ".json");
        EXPECT_EQ(files, rows) << folder;
    }

    ScopedDataRoot root{ScopedDataRoot::TestData("malformed")};
};

// Runs one load with the log and the standard output watched; returns all they said.
template <typename Load> std::string Watch(Load load)
{
    TraceCapture trace;
    testing::internal::CaptureStdout();
    load();
    return trace.All() + testing::internal::GetCapturedStdout();
}
}   // namespace

TEST_F(MalformedDataTest, BrokenSceneFilesAreSkippedPieceByPieceOrRefusedWhole)
{
    const Lines previous = {"Previous[old]"};
    const std::vector<Case> cases = {
        {"Truncated",
         false,
         previous,
         {"Error reading JSON from Data/Scenes/Truncated.json: [json.exception.parse_error",
          "Failed to load scene: Truncated.json"}},
        {"Empty",
         false,
         previous,
         {"Error reading JSON from Data/Scenes/Empty.json", "Failed to load scene: Empty.json"}},
        {"NotAnObject",
         false,
         previous,
         {"SCENE: [Data/Scenes/NotAnObject.json] not a JSON object",
          "Failed to load scene: NotAnObject.json"}},
        {"EntitiesNotArray",
         false,
         previous,
         {"SCENE: [Data/Scenes/EntitiesNotArray.json] \"Entities\" is not an array"}},
        {"EntitiesNull",
         false,
         previous,
         {"SCENE: [Data/Scenes/EntitiesNull.json] \"Entities\" is not an array"}},
        {"EntityNotObject",
         true,
         {"Good[]"},
         {"SCENE: [Data/Scenes/EntityNotObject.json] \"Entities\"[0] is not an entity object",
          "SCENE: [Data/Scenes/EntityNotObject.json] \"Entities\"[1] is not an entity object",
          "SCENE: [Data/Scenes/EntityNotObject.json] \"Entities\"[2] is not an entity object"}},
        {"EntityWithoutName",
         true,
         {"Good[]"},
         {"SCENE: [Data/Scenes/EntityWithoutName.json] \"Entities\"[0] is not an entity object with a "
          "\"Name\""}},
        {"NameNotText",
         true,
         {"Good[]"},
         {"SCENE: [Data/Scenes/NameNotText.json] \"Entities\"[0] \"Name\" is not a text; skipped"}},
        {"UnknownType",
         true,
         {"E[kept]"},
         {"ERROR: NoSuchComponent NOT FOUND in registry!",
          "ENTITY: [Data/Scenes/UnknownType.json: E] \"Components\"[0] \"Type\" \"NoSuchComponent\" is "
          "unknown; skipped"}},
        {"TypeNotText",
         true,
         {"E[kept]"},
         {"ENTITY: [Data/Scenes/TypeNotText.json: E] \"Components\"[0] has no \"Type\" text",
          "ENTITY: [Data/Scenes/TypeNotText.json: E] \"Components\"[1] has no \"Type\" text"}},
        {"ShortArray",
         true,
         {"E[kept]"},
         {"ENTITY: [Data/Scenes/ShortArray.json: E] \"Components\"[0] Transform skipped: \"Translation\": an "
          "array of three numbers was expected, not [1,2]"}},
        {"WrongValueType",
         true,
         {"E[]"},
         {"ENTITY: [Data/Scenes/WrongValueType.json: E] \"Components\"[0] Transform skipped: \"Scale\"",
          "ENTITY: [Data/Scenes/WrongValueType.json: E] \"Components\"[1] TestProbe skipped: \"Timer\"",
          "ENTITY: [Data/Scenes/WrongValueType.json: E] \"Components\"[2] TestPart4 skipped: \"Tag\""}},
        {"ComponentsNotArray",
         true,
         {"E[]"},
         {"ENTITY: [Data/Scenes/ComponentsNotArray.json: E] \"Components\" is not an array"}},
        {"ComponentNotObject",
         true,
         {"E[]"},
         {"ENTITY: [Data/Scenes/ComponentNotObject.json: E] \"Components\"[0] is not an object",
          "ENTITY: [Data/Scenes/ComponentNotObject.json: E] \"Components\"[2] is not an object"}},
        {"DestroyedNotBool",
         true,
         {"E[kept]"},
         {"ENTITY: [Data/Scenes/DestroyedNotBool.json: E] \"IsDestroyed\": true or false was expected, "
          "not \"no\"; kept"}},
        {"FollowingScenesNotText",
         true,
         {},
         {"SCENE: [Data/Scenes/FollowingScenesNotText.json] \"NextScene\": a text was expected, not 7; kept",
          "SCENE: [Data/Scenes/FollowingScenesNotText.json] \"WinScene\": a text was expected, not [\"a\"]; "
          "kept",
          "SCENE: [Data/Scenes/FollowingScenesNotText.json] \"Name_Syntactical_Sugar\": a text was expected, "
          "not false; kept"}},
        // Refused before it is built: nothing this deep is ever copied, compared or printed.
        {"TooDeep",
         false,
         previous,
         {"Error reading JSON from Data/Scenes/TooDeep.json: nested deeper than 64 levels",
          "Failed to load scene: TooDeep.json"}},
        // A message shows a value of any depth or size as a short summary.
        {"DeepValue",
         true,
         {"E[kept]"},
         {"ENTITY: [Data/Scenes/DeepValue.json: E] \"Components\"[0] Transform skipped: \"Scale\": an "
          "array of three numbers was expected, not an array of 1 value"}},
        // No number is converted to a type that cannot hold it.
        {"OutOfRange",
         true,
         {"E[?,kept]"},
         {"COMPONENT: [Animation] \"FrameCount\": an integer from -2147483648 to 2147483647 was expected, "
          "not 99999999999; kept (Data/Scenes/OutOfRange.json)",
          "COMPONENT: [Animation] \"Dimensions\": an array of two numbers from -2147483648 to 2147483647 was "
          "expected, not [2,2.222222222222222e+19]; kept (Data/Scenes/OutOfRange.json)",
          "ENTITY: [Data/Scenes/OutOfRange.json: E] \"Components\"[1] ColliderCircle skipped: \"Collision\": "
          "an integer from -2147483648 to 2147483647 was expected, not 22222222222",
          "ENTITY: [Data/Scenes/OutOfRange.json: E] \"Components\"[2] Transform skipped: \"Translation\": an "
          "array of three numbers from -3.4e+38 to 3.4e+38 was expected, not [1e+39,0,0]"}},
    };
    ExpectEveryFileHasARow(root.TestData("malformed") + "/Scenes", cases, {"Good.json"});

    for (const Case& c : cases)
    {
        MainScene scene;
        bool loaded = false;
        Watch([&] { loaded = scene.LoadFromFile("Good.json"); });
        ASSERT_TRUE(loaded);
        loaded = false;
        const std::string said = Watch([&] { loaded = scene.LoadFromFile(c.file + ".json"); });
        EXPECT_EQ(loaded, c.loads) << c.file;
        Lines standing;
        for (const Entity* e : scene.GetEntityList().GetEntities())
            standing.push_back(Describe(*e));
        EXPECT_EQ(standing, c.entities) << c.file;
        EXPECT_EQ(scene.EntityNames.size(), c.entities.size()) << c.file;
        EXPECT_EQ(scene.NextScene, "before") << c.file;   // never replaced by a bad value
        EXPECT_EQ(scene.Name, "unnamed") << c.file;
        for (const std::string& message : c.messages)
            EXPECT_NE(said.find(message), std::string::npos) << c.file << ": no \"" << message << "\" in\n"
                                                             << said;
    }
}

TEST_F(MalformedDataTest, BrokenArchetypeFilesBuildNothingOrBuildWithoutTheBrokenParts)
{
    const std::vector<Case> cases = {
        {"Truncated",
         false,
         {},
         {"Error reading JSON from Data/Entities/Truncated.json",
          "JSON load failed, falling back to ConfigSystem for: Truncated"}},
        {"NameMismatch",
         false,
         {},
         {"ERROR: Entity name 'Other' doesn't match filename 'NameMismatch'",
          "Archetype validation failed for: NameMismatch"}},
        {"NoName", false, {}, {"ERROR: Entity file missing 'Name' field: Data/Entities/NoName.json"}},
        {"NameNotText", false, {}, {"ARCHETYPE: [Data/Entities/NameNotText.json] \"Name\" is not a text"}},
        {"NotAnObject", false, {}, {"ARCHETYPE: [Data/Entities/NotAnObject.json] not a JSON object"}},
        {"ShortArray",
         true,
         {"ShortArray[kept]"},
         {"ENTITY: [Data/Entities/ShortArray.json: ShortArray] \"Components\"[0] Transform skipped: "
          "\"Rotation\": an array of three numbers was expected, not "}},
        {"UnknownType",
         true,
         {"UnknownType[]"},
         {"ERROR: NoSuchComponent NOT FOUND in registry!",
          "ENTITY: [Data/Entities/UnknownType.json: UnknownType]"}},
        {"ComponentsNotArray",
         true,
         {"ComponentsNotArray[]"},
         {"ENTITY: [Data/Entities/ComponentsNotArray.json: ComponentsNotArray] \"Components\" is not an "
          "array"}},
        {"TooDeep",
         false,
         {},
         {"Error reading JSON from Data/Entities/TooDeep.json: nested deeper than 64 levels",
          "JSON load failed, falling back to ConfigSystem for: TooDeep",
          "ARCHETYPE: [Data/Entities/TooDeep.json] cannot be read: nested deeper than 64 levels"}},
    };
    ExpectEveryFileHasARow(root.TestData("malformed") + "/Entities", cases);

    for (const Case& c : cases)
    {
        Entity target;
        target.Name = "Untouched";
        bool built = false;
        const std::string said = Watch([&] { built = FactoryBuild(target, c.file); });
        EXPECT_EQ(built, c.loads) << c.file;
        EXPECT_EQ(Describe(target), c.loads ? c.entities.front() : "Untouched[]") << c.file;
        for (const std::string& message : c.messages)
            EXPECT_NE(said.find(message), std::string::npos) << c.file << ": no \"" << message << "\" in\n"
                                                             << said;
        if (!c.loads)
        {
            EXPECT_NE(said.find("FactoryBuild failed: entity not found - " + c.file), std::string::npos)
                << said;
        }
    }

    // All at once: the good ones are cached already, the others are counted again.
    ArchetypeCache->Clear();
    bool any = false;
    const std::string said = Watch([&] { any = LoadAllArchetypes(); });
    EXPECT_TRUE(any);
    EXPECT_EQ(ArchetypeCache->Size(), 3u);
    for (const char* message : {"Failed to read JSON file: Data/Entities/Truncated.json",
                                "ARCHETYPE: [Data/Entities/Truncated.json] cannot be read: parse error",
                                "Successfully loaded: 3 archetypes", "Validation failed: 4 files"})
        EXPECT_NE(said.find(message), std::string::npos) << message << " not in\n" << said;
}
