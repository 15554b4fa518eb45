// Listing, renaming and creating the scene files of the data folder.
#include "scene/SceneSystem.h"
#include "tests/common/SceneFlowFixture.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace
{
SceneSystem& Scenes() { return SceneSystem::GetInstance(); }

class SceneFilesTest : public testing::Test
{
protected:
    std::string Scene(const std::string& name) const { return flow.DataFolder() + "/Scenes/" + name; }
    SceneFlowFixture flow;
};

TEST_F(SceneFilesTest, TheListHoldsOnlyJsonFilesSortedByName)
{
    fs::create_directory(Scene("Folder.json"));
    TempFolder::WriteFile(Scene("Notes.txt"), "");
    TempFolder::WriteFile(Scene("AAA.json"), "{}");
    Scenes().ScanSceneFiles();
    const std::vector<std::string>& files = Scenes().sceneFiles;
    EXPECT_TRUE(std::is_sorted(files.begin(), files.end()));
    EXPECT_EQ(files.front(), "AAA.json");
    EXPECT_EQ(std::count(files.begin(), files.end(), "Folder.json"), 0);
    EXPECT_EQ(std::count(files.begin(), files.end(), "Notes.txt"), 0);
    EXPECT_EQ(std::count(files.begin(), files.end(), "LevelScene1.json"), 1);
}

TEST_F(SceneFilesTest, RenamingKeepsTheFolderAddsTheExtensionAndNeverOverwrites)
{
    EXPECT_FALSE(Scenes().RenameScene("Anything"));   // no current scene
    ASSERT_TRUE(Scenes().LoadScene("Data/Scenes/LevelScene2.json"));
    EXPECT_TRUE(Scenes().RenameScene("LevelScene2.json"));   // its own name: nothing to do
    EXPECT_TRUE(fs::exists(Scene("LevelScene2.json")));

    const std::string level5 = TempFolder::ReadFile(Scene("LevelScene5.json"));
    for (const char* refused : {"LevelScene5", "../Escaped", "Sub/Name", "", ".."})
        EXPECT_FALSE(Scenes().RenameScene(refused)) << refused;
    EXPECT_EQ(TempFolder::ReadFile(Scene("LevelScene5.json")), level5);

    EXPECT_TRUE(Scenes().RenameScene("Renamed"));
    EXPECT_EQ(Scenes().pendingScenePath, "Data/Scenes/Renamed.json");
    EXPECT_EQ(Scenes().CurrentScene()->SceneFile, "Data/Scenes/Renamed.json");
    EXPECT_TRUE(fs::exists(Scene("Renamed.json")));
    EXPECT_FALSE(fs::exists(Scene("LevelScene2.json")));
    EXPECT_EQ(std::count(Scenes().sceneFiles.begin(), Scenes().sceneFiles.end(), "Renamed.json"), 1);
}

TEST_F(SceneFilesTest, ANewSceneTakesTheFirstFreeUntitledNameAndBecomesCurrent)
{
    TempFolder::WriteFile(Scene("Untitled.json"), "{}");
    TempFolder::WriteFile(Scene("Untitled(2).json"), "{}");
    Scenes().CreateNewScene();
    EXPECT_EQ(flow.Current(), "Data/Scenes/Untitled(3).json");
    const json written = json::parse(TempFolder::ReadFile(Scene("Untitled(3).json")));
    EXPECT_EQ(written,
              json::parse(R"j({"SceneFile": "Data/Scenes/Untitled(3).json", "SceneName": "Untitled(3)",
                                       "Entities": []})j"));
    EXPECT_EQ(TempFolder::ReadFile(Scene("Untitled.json")), "{}");
}
}   // namespace
