// The scene editor's panels in the real game, driven by real key and mouse events: F1, the
// "Scene Editor" from the menu bar, a bot's row clicked in the outliner, a value of the bot typed
// into the inspector, the scene saved and reloaded, and the value read back from the scene file.
// Where each item stands is worked out by a twin of the editor drawn here without a window: the
// same code, style and font over the same scene file lay every item out where the game does.
#include "editor/EditorSystem.h"
#include "engine/DataPath.h"
#include "engine/EditorState.h"
#include "engine/MessagingSystem.h"
#include "scene/SceneSystem.h"
#include "tests/common/GameHarness.h"
#include "tests/common/HeadlessImGui.h"
#include "tests/common/QuietStdout.h"
#include "tests/common/ScopedDataRoot.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <thread>

using namespace std::chrono_literals;
using json = nlohmann::json;

namespace
{
// A level of two entities: the camera, and a bot placed in the scene file (so it is saved with
// the scene), held still: no gravity, no push.
json SmallLevel(const std::string& dataFolder)
{
    json bot = json::parse(TempFolder::ReadFile(dataFolder + "/Entities/Monkey.json"));
    for (json& component : bot.at("Components"))
        if (component.at("Type") == "Physics")
        {
            component["Gravity"] = 0.0;
            component["Acceleration"] = {0.0, 0.0, 0.0};
            component["Velocity"] = {0.0, 0.0, 0.0};
        }
    const json camera = {{"Name", "MainCamera"},
                         {"Components", {{{"Type", "Transform"}, {"Translation", {0.0, 0.0, 15.0}}}}}};
    return {{"SceneFile", "Data/Scenes/LevelScene1.json"}, {"Entities", {camera, bot}}};
}

// The editor drawn here over a copy of the game's scene: it says where an item stands, and is
// given every click and key the game is given, so that it stays in step. Its own saves go to
// its own folder, never to the game's.
class EditorTwin
{
public:
    explicit EditorTwin(const json& scene) : root((folder.Path() / "Data").string())
    {
        TempFolder::WriteFile(folder / "Data/Scenes/LevelScene1.json", scene.dump());
        SceneSystem::GetInstance().LoadScene("Data/Scenes/LevelScene1.json");
        EditorVisible = true;
        imgui.body = [] {
            EditorSystem::GetInstance().DrawWindows();
            EditorSystem::GetInstance().FinishWindows();
            MessagingSystem::GetInstance().Clear();   // the play controls' commands go nowhere here
        };
        imgui.Frame();
    }
    ~EditorTwin()
    {
        EditorVisible = ShowSceneEditor = false;
        SelectedEntity = nullptr;
        HasUnsavedChanges = false;
        SceneSystem::GetInstance().Shutdown();
    }

    // The middle of a menu bar's item, or of any other item of a window.
    std::optional<ImVec2> InMenuBar(const char* window, const char* label)
    {
        return imgui.Locate(window, HeadlessImGui::ItemId(window, {"##menubar", label}));
    }
    std::optional<ImVec2> Item(ImGuiWindow* window, const std::vector<HeadlessImGui::IdPart>& path)
    {
        const std::optional<ImRect> rect = imgui.ItemRect(window, path);
        if (!rect)
            return std::nullopt;
        return ImVec2(rect->Min.x + std::min(12.0f, rect->GetWidth() / 2), rect->GetCenter().y);
    }
    static ImGuiWindow* Column(const char* name) { return HeadlessImGui::ChildWindow("Scene Editor", name); }

    QuietStdout quiet;
    TempFolder folder;
    ScopedDataRoot root;
    HeadlessImGui imgui;
};
}   // namespace

TEST(PanelsE2E, ABotsWalkingSpeedTypedIntoTheInspectorIsSavedAndReadBackAfterAReload)
{
    GameSession game;
    const std::string data = (game.work.Path() / "Data").string();
    const std::string sceneFile = data + "/Scenes/LevelScene1.json";
    const json level = SmallLevel(data);
    TempFolder::WriteFile(sceneFile, level.dump(4));
    ASSERT_EQ(game.StartToMenu(), "");
    const std::string& display = game.Display();
    ClickWorld(display, 0, 1.2);   // "Play"
    ASSERT_TRUE(game.log.WaitFor("SCENE: [Data/Scenes/LevelScene1.json] loaded")) << game.log.Tail();

    EditorTwin twin(level);
    // A click given to both: the game's pointer rests on the item for a few frames first.
    const auto click = [&](std::optional<ImVec2> at, const char* what, bool ctrl = false) {
        ASSERT_TRUE(at) << what << " is not drawn";
        const int x = static_cast<int>(at->x), y = static_cast<int>(at->y);
        Xdotool(display, "mousemove " + std::to_string(x) + " " + std::to_string(y));
        std::this_thread::sleep_for(250ms);
        if (ctrl)
            Xdotool(display, "keydown ctrl");
        ClickAt(display, x, y);
        if (ctrl)
            Xdotool(display, "keyup ctrl");
        std::this_thread::sleep_for(250ms);
        ImGui::GetIO().KeyCtrl = ctrl;
        twin.imgui.Click(*at);
        ImGui::GetIO().KeyCtrl = false;
    };

    PressKey(display, "F1");
    click(twin.InMenuBar("##MainMenuBar", "View"), "View");
    click(twin.Item(HeadlessImGui::TopPopup(), {"Scene Editor"}), "Scene Editor");
    ASSERT_TRUE(ShowSceneEditor);

    click(twin.Item(EditorTwin::Column("OutlinerPanel"), {1, "Monkey##row"}), "the bot's row");
    ASSERT_NE(SelectedEntity, nullptr);
    click(twin.Item(EditorTwin::Column("InspectorPanel"), {"Physics"}), "Physics");
    // The bot's walking speed: its speed limit along x, below the inspector's edge at first. The
    // wheel scrolls the inspector (a notch at a time, in both) until the field is in view.
    ImGuiWindow* inspector = EditorTwin::Column("InspectorPanel");
    const std::vector<HeadlessImGui::IdPart> speed{"##Max Velocity", 0, ""};
    for (int notch = 0; notch < 12; ++notch)
    {
        const std::optional<ImRect> field = twin.imgui.ItemRect(inspector, speed);
        ASSERT_TRUE(field);
        if (inspector->InnerClipRect.Contains(*field))
            break;
        const ImVec2 over = inspector->InnerClipRect.GetCenter();
        Xdotool(display, "mousemove " + std::to_string(static_cast<int>(over.x)) + " " +
                             std::to_string(static_cast<int>(over.y)));
        std::this_thread::sleep_for(150ms);
        Xdotool(display, "click 5");
        std::this_thread::sleep_for(250ms);
        twin.imgui.MoveMouse(over);
        ImGui::GetIO().MouseWheel = -1;
        twin.imgui.Frame();
    }
    // A Control+click makes the drag a text field.
    click(twin.Item(inspector, speed), "Max Velocity", true);
    Xdotool(display, "type --delay 150 2.5");
    PressKey(display, "Return");
    twin.imgui.Type("2.5");
    twin.imgui.Key(GLFW_KEY_ENTER, true);
    twin.imgui.Key(GLFW_KEY_ENTER, false);

    const std::string before = TempFolder::ReadFile(sceneFile);
    click(twin.InMenuBar("Scene Editor", "File"), "the scene editor's File");
    click(twin.Item(HeadlessImGui::TopPopup(), {"Save Scene"}), "Save Scene");
    for (int i = 0; i < 50 && TempFolder::ReadFile(sceneFile) == before; ++i)
        std::this_thread::sleep_for(100ms);
    click(twin.InMenuBar("##MainMenuBar", "File"), "File");
    click(twin.Item(HeadlessImGui::TopPopup(), {"Reload Scene"}), "Reload Scene");
    ASSERT_TRUE(game.log.WaitFor("SCENE: [Data/Scenes/LevelScene1.json] loaded")) << game.log.Tail();

    const json saved = json::parse(TempFolder::ReadFile(sceneFile));
    bool found = false;
    for (const json& entity : saved.at("Entities"))
        if (entity.is_object() && entity.value("Name", "") == "Monkey")
            for (const json& component : entity.at("Components"))
                if (component.value("Type", "") == "Physics")
                {
                    found = true;
                    EXPECT_FLOAT_EQ(component.at("MaxVelocity").at(0).get<float>(), 2.5f);
                }
    EXPECT_TRUE(found) << saved.dump(2);

    Xdotool(display, "key End");
    const auto status = game.WaitForExit(20s);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 0);
}
