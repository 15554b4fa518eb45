// The scene editor window: saving to the file the scene was read from, renaming its file safely,
// the "Unsaved Changes" modal before anything that would replace an edited scene, and a window
// that stays usable without any scene.
#include "editor/EditorWindows.h"
#include "engine/EditorState.h"
#include "engine/WindowSystem.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "tests/editor/EditorTestKit.h"

#include <filesystem>
#include <imgui_internal.h>
#include <nlohmann/json.hpp>
#include <set>

namespace fs = std::filesystem;
using nlohmann::json;

namespace
{
constexpr const char* RenamePopup = "Rename Scene File";

SceneSystem& Scenes() { return SceneSystem::GetInstance(); }

bool SceneHolds(const std::string& entity)
{
    const MainScene* scene = Scenes().CurrentScene();
    if (!scene)
        return false;
    for (const Entity* e : scene->entities.GetEntities())
        if (e && e->Name == entity)
            return true;
    return false;
}

// The entity names a scene file holds.
std::set<std::string> NamesInFile(const std::string& file)
{
    std::set<std::string> names;
    const json document = json::parse(TempFolder::ReadFile(file));
    for (const json& entity : document.at("Entities"))
        if (entity.is_object())
            names.insert(entity.value("Name", ""));
    return names;
}

class SceneEditorTest : public EditorTest
{
protected:
    SceneEditorTest()
    {
        ShowSceneEditor = true;
        EditorVisible = true;
    }

    // The name typed into the rename popup (opened when it is not), then "Rename".
    void RenameThroughPopup(const std::string& name)
    {
        if (!HeadlessImGui::IsShown(RenamePopup))
            PressButton("Scene Editor", "Rename##scene");
        ASSERT_LT(name.size(), sizeof RenameSceneBuffer);
        name.copy(RenameSceneBuffer, name.size());
        RenameSceneBuffer[name.size()] = '\0';
        PressButton(RenamePopup, "Rename");
        imgui.MoveMouse(ImVec2(1900, 1070));
    }
};

TEST_F(SceneEditorTest, SaveWritesTheFileTheSceneWasReadFromAndReadsBackTheSame)
{
    // Read by its short name: the loader found it in the scene folder, and the save writes there.
    LoadScene("LevelScene2.json");
    EditScene("Added");
    Frames();
    EXPECT_TRUE(HeadlessImGui::Window("Scene Editor")->Flags & ImGuiWindowFlags_UnsavedDocument);
    const std::vector<std::string> files = SceneFiles();

    ChooseFromSceneEditor({"File", "Save Scene"});
    EXPECT_FALSE(HasUnsavedChanges);
    EXPECT_FALSE(HeadlessImGui::Window("Scene Editor")->Flags & ImGuiWindowFlags_UnsavedDocument);
    EXPECT_EQ(SceneFiles(), files) << "no other file, no temporary file left behind";
    EXPECT_FALSE(fs::exists("LevelScene2.json")) << "nothing written in the working folder";
    const std::string saved = TempFolder::ReadFile(SceneFile("LevelScene2.json"));
    EXPECT_EQ(NamesInFile(SceneFile("LevelScene2.json")),
              (std::set<std::string>{"MainCamera", "Marker", "PauseButton", "Added"}));

    // Read back and saved again, the file does not change.
    LoadScene("LevelScene2.json");
    EXPECT_TRUE(SceneHolds("Added"));
    EXPECT_TRUE(SaveActiveScene());
    EXPECT_EQ(TempFolder::ReadFile(SceneFile("LevelScene2.json")), saved);
}

TEST_F(SceneEditorTest, AFailedSaveLeavesTheFileAndTheUnsavedFlagAndSaysWhy)
{
    LoadScene("Data/Scenes/LevelScene2.json");
    EditScene("Added");
    const std::string before = TempFolder::ReadFile(SceneFile("LevelScene2.json"));
    // The scene folder taken away underneath: nothing can be written there.
    const std::string folder = flow.DataFolder() + "/Scenes";
    fs::rename(folder, folder + "-away");
    ChooseFromSceneEditor({"File", "Save Scene"});
    fs::rename(folder + "-away", folder);
    Frames();
    EXPECT_TRUE(HasUnsavedChanges);
    EXPECT_EQ(TempFolder::ReadFile(SceneFile("LevelScene2.json")), before);
    EXPECT_TRUE(imgui.Shows("Not saved")) << imgui.Shown();
    EXPECT_TRUE(imgui.Shows("No such file or directory")) << imgui.Shown();

    ChooseFromSceneEditor({"File", "Save Scene"});
    EXPECT_FALSE(HasUnsavedChanges);
    EXPECT_FALSE(imgui.Shows("Not saved"));
    EXPECT_EQ(NamesInFile(SceneFile("LevelScene2.json")).count("Added"), 1u);
}

TEST_F(SceneEditorTest, RenamingRefusesUnsafeNamesAndNeverReplacesAFile)
{
    LoadScene("Data/Scenes/LevelScene2.json");
    const std::string level5 = TempFolder::ReadFile(SceneFile("LevelScene5.json"));
    std::vector<std::string> files = SceneFiles();
    std::string current = "LevelScene2.json";
    struct Case
    {
        std::string name;
        std::string renamedTo;   // empty: refused
        std::string message;     // shown in the popup when refused
    };
    const Case cases[] = {
        {"LevelScene5", "", "LevelScene5.json already exists"},
        {"LevelScene5.json", "", "LevelScene5.json already exists"},
        {"../Escaped", "", "cannot hold '/'"},
        {"Sub/Name", "", "cannot hold '/'"},
        {"Back\\slash", "", "cannot hold '/' or '\\'"},
        {"/tmp/Absolute", "", "cannot hold '/'"},
        {"", "", "Enter a name"},
        {".", "", "\".\" is not a file name"},
        {"..", "", "\"..\" is not a file name"},
        {"Bad\xff\xfe", "", "not valid UTF-8"},
        {"Cut\xc3", "", "not valid UTF-8"},
        {"Tab\there", "", "control characters"},
        {"Trailing ", "", "begin or end with a blank"},
        {"Level.JSON", "Level.JSON.json", ""},
        {"Wie\xc3\xa4n", "Wie\xc3\xa4n.json", ""},
        {"Wie\xc3\xa4n.json", "Wie\xc3\xa4n.json", ""},   // its own name: nothing to do
        {"Renamed", "Renamed.json", ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("name \"" + c.name + "\"");
        RenameThroughPopup(c.name);
        Frames();
        if (c.renamedTo.empty())
        {
            EXPECT_TRUE(HeadlessImGui::IsShown(RenamePopup)) << "stays open for another name";
            EXPECT_TRUE(imgui.Shows(c.message)) << imgui.Shown();
            EXPECT_EQ(SceneFiles(), files);
        }
        else
        {
            EXPECT_FALSE(HeadlessImGui::IsShown(RenamePopup));
            EXPECT_STREQ(RenameSceneBuffer, "");
            files.erase(std::find(files.begin(), files.end(), current));
            files.push_back(c.renamedTo);
            std::sort(files.begin(), files.end());
            EXPECT_EQ(SceneFiles(), files);
            current = c.renamedTo;
            EXPECT_EQ(flow.Current(), "Data/Scenes/" + current);
            EXPECT_EQ(Scenes().pendingScenePath, "Data/Scenes/" + current);
            EXPECT_EQ(std::count(Scenes().sceneFiles.begin(), Scenes().sceneFiles.end(), current), 1);
        }
    }
    EXPECT_EQ(TempFolder::ReadFile(SceneFile("LevelScene5.json")), level5);
    EXPECT_FALSE(fs::exists(flow.DataFolder() + "/Escaped.json"));
    EXPECT_FALSE(fs::exists("/tmp/Absolute.json"));
    EXPECT_EQ(NamesInFile(SceneFile("Renamed.json")),
              (std::set<std::string>{"MainCamera", "Marker", "PauseButton"}));

    // A file that appears under the name between the check and the rename is not replaced.
    TempFolder::WriteFile(SceneFile("Late.json"), "{}");
    std::string why;
    EXPECT_FALSE(Scenes().RenameScene("Late", &why));
    EXPECT_EQ(why, "Late.json already exists");
    EXPECT_EQ(TempFolder::ReadFile(SceneFile("Late.json")), "{}");
    EXPECT_TRUE(fs::exists(SceneFile("Renamed.json")));
}

// What an answer to the modal leaves behind for each command it held back.
TEST_F(SceneEditorTest, TheModalStandsBeforeEveryCommandThatWouldReplaceAnEditedScene)
{
    const char* const commands[] = {"load", "new", "reload", "rename", "quit"};
    const char* const answers[] = {"Save", "Don't Save", "Cancel"};
    int round = 0;
    for (const char* command : commands)
        for (const char* answer : answers)
        {
            SCOPED_TRACE(std::string(command) + ", then " + answer);
            const std::string name = "Edited" + std::to_string(++round);
            const std::string file = SceneFile(name + ".json");
            fs::copy_file(SceneFile("LevelScene2.json"), file);
            const std::string original = TempFolder::ReadFile(file);
            LoadScene("Data/Scenes/" + name + ".json");
            EditScene("Added");
            const int closesBefore = closes;

            const std::string command_ = command;
            if (command_ == "load")
                ChooseFromMenuBar({"File", "Load Scene", "LevelScene5.json"});
            else if (command_ == "new")
                ChooseFromSceneEditor({"File", "New Scene"});
            else if (command_ == "reload")
                ChooseFromMenuBar({"File", "Reload Scene"});
            else if (command_ == "rename")
                RenameThroughPopup("Renamed" + std::to_string(round));
            else
                WindowSystem::GetInstance().RequestClose();   // End, the close box, "shutdown"
            Frames(2);
            ASSERT_TRUE(HeadlessImGui::IsShown("Unsaved Changes"));
            const ImGuiWindow* modal = HeadlessImGui::Window("Unsaved Changes");
            EXPECT_NEAR(modal->Pos.y + modal->Size.y / 2, 540, 2) << "in the middle of the screen";
            EXPECT_TRUE(imgui.Shows("You have unsaved changes.")) << imgui.Shown();
            EXPECT_TRUE(EditorPaused);
            EXPECT_EQ(flow.Current(), "Data/Scenes/" + name + ".json") << "nothing happened yet";
            EXPECT_TRUE(SceneHolds("Added"));
            EXPECT_EQ(TempFolder::ReadFile(file), original);
            EXPECT_EQ(closes, closesBefore);

            PressButton("Unsaved Changes", answer);
            imgui.MoveMouse(ImVec2(1900, 1070));
            Frames(2);
            EXPECT_FALSE(HeadlessImGui::IsShown("Unsaved Changes"));
            EXPECT_EQ(PendingSceneAction, PendingNone);
            const std::string answer_ = answer;
            const bool ran = answer_ != "Cancel";
            const std::string renamed = SceneFile("Renamed" + std::to_string(round) + ".json");
            const std::string written = command_ == "rename" && ran ? renamed : file;
            EXPECT_EQ(NamesInFile(written).count("Added"), answer_ == "Save" ? 1u : 0u);
            EXPECT_EQ(HasUnsavedChanges, !ran);
            if (command_ == "load")
                EXPECT_EQ(flow.Current(),
                          ran ? "Data/Scenes/LevelScene5.json" : "Data/Scenes/" + name + ".json");
            else if (command_ == "new")
                EXPECT_EQ(flow.Current().find("Data/Scenes/Untitled") == 0, ran) << flow.Current();
            else if (command_ == "reload" || command_ == "rename")
            {
                EXPECT_EQ(flow.Current(), "Data/Scenes/" + fs::path(written).filename().string());
                EXPECT_EQ(SceneHolds("Added"), answer_ != "Don't Save")
                    << "edits dropped only by \"Don't Save\"";
                EXPECT_EQ(fs::exists(file), !ran || command_ != "rename");
            }
            else
                EXPECT_EQ(closes, closesBefore + (ran ? 1 : 0));
            HasUnsavedChanges = false;
        }
}

TEST_F(SceneEditorTest, WithoutAnActiveSceneTheCommandsThatNeedOneAreDisabled)
{
    ASSERT_EQ(flow.Current(), "none");
    Frames();
    EXPECT_TRUE(imgui.Shows("No active scene")) << imgui.Shown();
    EXPECT_FALSE(imgui.Shows("Active Scene:"));
    EXPECT_FALSE(imgui.Locate("Scene Editor", HeadlessImGui::ItemId("Scene Editor", {"Rename##scene"})));
    const std::vector<std::string> files = SceneFiles();
    ChooseFromSceneEditor({"File", "Save Scene"});   // greyed out
    ChooseFromMenuBar({"File", "Reload Scene"});     // greyed out
    ChooseFromMenuBar({"[]"});                       // pauses; there is nothing to reload
    EXPECT_TRUE(EditorPaused);
    EXPECT_EQ(SceneFiles(), files);
    EXPECT_FALSE(SaveActiveScene());
    std::string why;
    EXPECT_FALSE(Scenes().RenameScene("Anything", &why));
    EXPECT_EQ(why, "No active scene");

    // A new scene needs none, and becomes the active one.
    ChooseFromSceneEditor({"File", "New Scene"});
    Frames();
    EXPECT_EQ(flow.Current(), "Data/Scenes/Untitled.json");
    EXPECT_TRUE(imgui.Shows("Active Scene: Untitled.json")) << imgui.Shown();
}
}   // namespace
