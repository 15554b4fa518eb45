#include "tests/editor/EditorTestKit.h"

#include "editor/EditorWindows.h"
#include "engine/EditorState.h"
#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/WindowSystem.h"
#include "scene/Entity.h"
#include "scene/GameSystem.h"
#include "scene/SceneSystem.h"

#include <algorithm>
#include <filesystem>

void ResetEditorState()
{
    EditorVisible = EditorPaused = EditorStopped = DebugDrawing = false;
    ShowImGuiDemo = ShowCheatTerminal = ShowSceneEditor = false;
    ShowOutliner = ShowInspector = true;
    HasUnsavedChanges = UnsavedChangesRequested = false;
    PendingSceneAction = PendingNone;
    PendingSceneName.clear();
    SelectedEntity = nullptr;
    RenameSceneBuffer[0] = '\0';
    SceneEditorMessage.clear();
    InputSystem& input = InputSystem::GetInstance();
    input.overlayHasMouse = input.overlayHasKeyboard = false;
    WindowSystem& window = WindowSystem::GetInstance();
    window.closeRequested = false;
    window.forceDT = 1.0f;
}

EditorTest::EditorTest()
{
    ResetEditorState();
    SceneSystem::GetInstance().ScanSceneFiles();   // as its Init does
    editor.Init();                                 // without a window: no back end, only the hooks
    imgui.body = [this] {
        // The engine's order: beginnings, updates, then the ends in reverse, the editor's first.
        WindowSystem& window = WindowSystem::GetInstance();
        if (window.ShouldClose() && window.closeRequested)
        {
            ++closes;
            window.closeRequested = false;
        }
        MessagingSystem::GetInstance().BeginFrame();
        SceneSystem::GetInstance().BeginFrame();
        EditorSystem::PublishInputCapture();
        GameSystem::GetInstance().Update(1.0f / 60);
        SceneSystem::GetInstance().Update(1.0f / 60);
        // The game polls the same keys and buttons the back end hands to ImGui.
        InputSystem::GetInstance().Poll([](int code) {
            const ImGuiIO& io = ImGui::GetIO();
            return code < InputSystem::MouseButtons ? code < 5 && io.MouseDown[code] : io.KeysDown[code];
        });
        editor.DrawWindows();
        editor.FinishWindows();
        SceneSystem::GetInstance().EndFrame();
        MessagingSystem::GetInstance().EndFrame();
    };
    // The window commands reach the window system as they do in the game.
    MessagingSystem::GetInstance().Subscribe(
        MessageType::Window, "Window System",
        [](std::string text) { return WindowSystem::GetInstance().OnWindowMessage(text); }, this);
    MessagingSystem::GetInstance().Dispatch();   // the "forceDT: 1" of Init
}

EditorTest::~EditorTest()
{
    MessagingSystem::GetInstance().Unsubscribe(this);
    editor.Shutdown();
    ResetEditorState();
}

void EditorTest::Frames(int count)
{
    for (int i = 0; i < count; ++i)
        imgui.Frame();
}

void EditorTest::Choose(const char* window, std::initializer_list<const char*> path)
{
    imgui.Frame();   // the window may not have been drawn yet
    int depth = 0;
    for (const char* item : path)
    {
        // The first level stands in the window's menu bar, each deeper one in a popup window
        // named after its depth.
        const std::string popup = "##Menu_0" + std::to_string(depth - 1);
        const char* holder = depth == 0 ? window : popup.c_str();
        const ImGuiID id = depth == 0 ? HeadlessImGui::ItemId(window, {"##menubar", item})
                                      : HeadlessImGui::ItemId(holder, {item});
        ASSERT_TRUE(imgui.ClickItem(holder, id)) << item << " is not shown in " << holder;
        ++depth;
    }
    // A menu left open (its item was greyed out) is closed by a click beside it; then the
    // pointer rests over the game, clear of every window.
    if (HeadlessImGui::IsShown("##Menu_00"))
        imgui.Click(ImVec2(1900, 1070));
    imgui.MoveMouse(ImVec2(1900, 1070));
}

void EditorTest::ChooseFromMenuBar(std::initializer_list<const char*> path) { Choose("##MainMenuBar", path); }

void EditorTest::ChooseFromSceneEditor(std::initializer_list<const char*> path)
{
    Choose("Scene Editor", path);
}

void EditorTest::PressButton(const char* window, const char* label)
{
    imgui.Frame();
    ASSERT_TRUE(imgui.ClickItem(window, HeadlessImGui::ItemId(window, {label})))
        << label << " is not shown in " << window;
}

void EditorTest::LoadScene(const std::string& path)
{
    ASSERT_TRUE(SceneSystem::GetInstance().LoadScene(path)) << path;
    Frames();
}

void EditorTest::EditScene(const std::string& entityName)
{
    Entity* entity = new Entity();
    entity->Name = entityName;
    SceneSystem::GetInstance().CurrentScene()->AddEntity(entity);
    HasUnsavedChanges = true;
}

std::vector<std::string> EditorTest::SceneFiles() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(flow.DataFolder() + "/Scenes"))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
