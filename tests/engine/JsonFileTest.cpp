#include "engine/JsonFile.h"

#include "tests/common/FileSizeLimit.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using json = nlohmann::json;

namespace
{
testing::AssertionResult Has(const std::string& text, const std::string& part)
{
    if (text.find(part) != std::string::npos)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "\"" << part << "\" not in:\n" << text;
}

std::vector<std::string> FolderEntries(const TempFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}   // namespace

TEST(ReadJsonFile, AMissingFileNamesItsFolderAndLeavesTheValue)
{
    json out = {{"kept", true}};
    testing::internal::CaptureStdout();
    EXPECT_FALSE(ReadJsonFile("Data/Scenes/NoSuchScene.json", out));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "=== SERIALIZATION SYSTEM DEBUG ===\n"
                       "Attempting to open: Data/Scenes/NoSuchScene.json\n"
                       "ERROR: File does not exist: Data/Scenes/NoSuchScene.json\n"
                       "Let me check the directory...\n"
                       "Directory: Data/Scenes\n");
    EXPECT_EQ(out, (json{{"kept", true}}));

    testing::internal::CaptureStdout();
    ReadJsonFile("NoSeparator.json", out);
    EXPECT_TRUE(Has(testing::internal::GetCapturedStdout(), "Directory: NoSeparator.json\n"));
}

TEST(ReadJsonFile, InvalidJsonIsReportedWithTheParserMessageAndLeavesTheValue)
{
    TempFolder folder;
    for (const std::string text : {"", "{", "{\"a\": }", "[1,]", "{} extra", "\xff"})
    {
        const std::string path = folder / "bad.json";
        TempFolder::WriteFile(path, text);
        json out = 5;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(ReadJsonFile(path, out)) << text;
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(Has(printed, "SUCCESS: File opened successfully!\n"));
        EXPECT_TRUE(Has(printed, "Error reading JSON from " + path + ": [json.exception.parse_error"))
            << text;
        EXPECT_EQ(out, 5) << text;
    }
}

TEST(ReadJsonFile, AGoodFileIsParsedWhole)
{
    TempFolder folder;
    TempFolder::WriteFile(folder / "good.json", R"({"b": [1, 2], "a": "x"})");
    json out;
    testing::internal::CaptureStdout();
    EXPECT_TRUE(ReadJsonFile(folder / "good.json", out));
    EXPECT_TRUE(Has(testing::internal::GetCapturedStdout(), "SUCCESS: JSON parsed and converted\n"));
    EXPECT_EQ(out, (json{{"a", "x"}, {"b", {1, 2}}}));
}

// Nesting is refused past the limit, before any value is built, so no value from a file is too
// deep for the library's recursive copy, comparison and printing; and a file that is there but
// cannot be read is told apart from one that is missing or not JSON.
TEST(ReadJsonFile, SaysWhyOfWhichKindAndRefusesNestingPastTheLimit)
{
    const auto nested = [](int depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    std::string objects;
    for (int i = 0; i < 100000; ++i)
        objects += "{\"a\":";
    TempFolder folder;
    std::filesystem::create_directory(folder / "folder.json");
    std::filesystem::create_symlink("loop.json", folder / "loop.json");
    struct Case
    {
        std::string name;
        std::string content;   // written unless empty
        bool read;
        JsonFault::Kind kind;
        std::string why;       // the start of it
        std::string printed;   // a part of what goes to the standard output
    };
    const Case cases[] = {
        {"limit.json", nested(MaxJsonDepth), true, JsonFault::None, "", "SUCCESS: JSON parsed and converted"},
        {"past.json", nested(MaxJsonDepth + 1), false, JsonFault::Malformed, "nested deeper than 64 levels",
         ": nested deeper than 64 levels"},
        {"objects.json", objects, false, JsonFault::Malformed, "nested deeper than 64 levels", ""},
        {"huge.json", nested(1000000), false, JsonFault::Malformed, "nested deeper than 64 levels", ""},
        {"syntax.json", "[1,", false, JsonFault::Malformed, "parse error at line 1, column 4", ""},
        {"missing.json", "", false, JsonFault::Missing, "no such file", "ERROR: File does not exist"},
        {"folder.json", "", false, JsonFault::Unreadable, "is a folder, not a file",
         "ERROR: File exists but cannot be opened (permissions?)"},
        {"loop.json", "", false, JsonFault::Unreadable, "Too many levels of symbolic links",
         "ERROR: File exists but cannot be opened (permissions?)"},
    };
    for (const Case& c : cases)
    {
        if (!c.content.empty())
            TempFolder::WriteFile(folder / c.name, c.content);
        json out = "before";
        JsonFault fault;
        testing::internal::CaptureStdout();
        EXPECT_EQ(ReadJsonFile(folder / c.name, out, &fault), c.read) << c.name;
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(fault.kind, c.kind) << c.name;
        EXPECT_TRUE(fault.why.starts_with(c.why)) << c.name << ": " << fault.why;
        EXPECT_TRUE(Has(printed, c.printed)) << c.name;
        if (!c.read)
        {
            EXPECT_EQ(out, "before") << c.name;
        }
    }
}

// Whatever the value, a message gets one short line: small values as written, large ones by
// kind and size, never the whole value.
TEST(JsonSummary, IsShortAndFlatForAnyValue)
{
    json deep = 1;
    for (int i = 0; i < 60; ++i)
        deep = json::array({deep});
    struct Case
    {
        json value;
        std::string shown;
    };
    const Case cases[] = {
        {json(2.5), "2.5"},
        {json(-7), "-7"},
        {json(nullptr), "null"},
        {json("loud"), "\"loud\""},
        {json(std::string(5000, 'x')), "\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx..."},
        {json("\xff\xfe"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},   // not UTF-8: replaced, not refused
        {json::array({1, 2}), "[1,2]"},
        {json{{"a", true}}, "{\"a\":true}"},
        {json::array({1, 2, 3, 4, 5, 6, 7, 8, 9}), "an array of 9 values"},
        {json::array({json::array({1})}), "an array of 1 value"},
        {json::array({std::string(100, 'y')}), "an array of 1 value"},
        {json(std::vector<int>(100000, 0)), "an array of 100000 values"},
        {json{{"a", {1}}, {"b", 2}}, "an object of 2 keys"},
        {deep, "an array of 1 value"},
    };
    for (const Case& c : cases)
    {
        const std::string shown = JsonSummary(c.value);
        EXPECT_EQ(shown, c.shown);
        EXPECT_LE(shown.size(), 40u);
    }
}

TEST(WriteJsonFile, WritesFourSpaceIndentedSortedKeysWithoutAFinalLineEnd)
{
    TempFolder folder;
    ASSERT_TRUE(WriteJsonFile(folder / "one.json", json{{"a", 1}}));
    EXPECT_EQ(TempFolder::ReadFile(folder / "one.json"), "{\n    \"a\": 1\n}");
    ASSERT_TRUE(WriteJsonFile(folder / "one.json", json{{"b", {true}}, {"a", nullptr}}));
    EXPECT_EQ(TempFolder::ReadFile(folder / "one.json"),
              "{\n    \"a\": null,\n    \"b\": [\n        true\n    ]\n}");
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"one.json"}));
}

TEST(WriteJsonFile, AFailedWriteLeavesTheOldFileWholeAndSaysSo)
{
    TempFolder folder;
    const std::string path = folder / "settings.json";
    const std::string old = "{\n    \"old\": true\n}";
    TempFolder::WriteFile(path, old);

    // A value the printer cannot write (a text that is not UTF-8): nothing is touched.
    testing::internal::CaptureStdout();
    EXPECT_FALSE(WriteJsonFile(path, json{{"name", "\xff\xfe"}}));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error writing JSON to " + path + "\n");
    EXPECT_EQ(TempFolder::ReadFile(path), old);

    // The disk takes only part of the new text; the caller learns why.
    std::string why;
    {
        const FileSizeLimit limit(64);
        EXPECT_FALSE(WriteJsonFile(path, json{{"new", std::string(1000, 'x')}}, &why));
    }
    EXPECT_EQ(why, "File too large");
    EXPECT_EQ(TempFolder::ReadFile(path), old);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"settings.json"}));   // no temporary left

    // A folder that does not exist.
    testing::internal::CaptureStdout();
    EXPECT_FALSE(WriteJsonFile(folder / "missing/settings.json", json{{"a", 1}}, &why));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Failed to create file: " + (folder / "missing/settings.json") + "\n");
    EXPECT_EQ(why, "No such file or directory");
}

TEST(WriteJsonFile, RemovesTheTemporaryFilesOfWritersThatDiedMidWrite)
{
    // A process that has ended: its number names no living process (until the system reuses it).
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string dead = std::to_string(child);

    TempFolder folder;
    struct Case
    {
        std::string name;
        bool kept;
        bool folder = false;
    };
    const std::vector<Case> cases = {
        {"settings.json.tmp" + dead, false},                         // its writer died
        {"settings.json.tmp" + std::to_string(::getpid()), false},   // this write's own, renamed
        {"settings.json.tmp1", true},                                // a living writer's write in progress
        {"settings.json.tmp", true},                                 // not a writer's name
        {"settings.json.tmpx" + dead, true},
        {"settings.json.tmp" + dead + ".json", true},
        {"other.json.tmp" + dead, true},                  // another file's: its own next write sees to it
        {"settings.json.tmp" + dead + "0", true, true},   // a folder, which no write makes
    };
    for (const Case& c : cases)
        if (c.folder)
            std::filesystem::create_directory(folder / c.name);
        else
            TempFolder::WriteFile(folder / c.name, "{\"half\": ");
    ASSERT_TRUE(WriteJsonFile(folder / "settings.json", json{{"a", 1}}));
    std::vector<std::string> expected = {"settings.json"};
    for (const Case& c : cases)
        if (c.kept)
            expected.push_back(c.name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(folder), expected);
}

TEST(FileStem, IsTheLastElementWithoutItsExtensionWhicheverSeparator)
{
    struct Case
    {
        const char* path;
        const char* stem;
    } cases[] = {{"Data/Scenes/MainMenuScene.json", "MainMenuScene"},
                 {"Data\\Scenes\\Level1.json", "Level1"},
                 {"Monkey.json", "Monkey"},
                 {"Data/Entities/a.b.json", "a.b"},
                 {"NoExtension", "NoExtension"},
                 {"Data/.json", ".json"},
                 {"", ""}};
    for (const Case& c : cases)
        EXPECT_EQ(FileStem(c.path), c.stem) << c.path;
}
