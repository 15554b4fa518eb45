// The editor system: F1 shows and hides the main menu bar, the play controls hold and release
// game time through "forceDT:", and what an editor window takes never reaches the game.
#include "editor/EditorWindows.h"
#include "engine/EditorState.h"
#include "engine/Engine.h"
#include "engine/InputSystem.h"
#include "engine/WindowSystem.h"
#include "scene/SceneSystem.h"
#include "tests/editor/EditorTestKit.h"

#include <GLFW/glfw3.h>

namespace
{
const char* const PlayControl = "||###PlayControl";   // the ID stays when the label turns to ">"

bool MenuBarShown() { return HeadlessImGui::IsShown("##MainMenuBar"); }

class EditorSystemTest : public EditorTest
{
};

TEST_F(EditorSystemTest, F1TogglesTheMenuBarOnReleaseOnly)
{
    Frames();
    EXPECT_FALSE(EditorVisible);
    imgui.Key(GLFW_KEY_F1, true);
    Frames(3);
    EXPECT_FALSE(EditorVisible) << "held down, nothing changes";
    imgui.Key(GLFW_KEY_F1, false);
    EXPECT_TRUE(EditorVisible);
    Frames();
    EXPECT_TRUE(MenuBarShown());
    EXPECT_TRUE(imgui.Shows("File")) << imgui.Shown();

    imgui.Key(GLFW_KEY_F1, true);
    imgui.Key(GLFW_KEY_F1, false);
    EXPECT_FALSE(EditorVisible);
    Frames();
    EXPECT_FALSE(MenuBarShown());
}

TEST_F(EditorSystemTest, OpenWindowsStayOnScreenWithTheMenuBarHidden)
{
    EditorVisible = true;
    ChooseFromMenuBar({"View", "Scene Editor"});
    ChooseFromMenuBar({"View", "Terminal"});
    ChooseFromMenuBar({"Settings", "Open Demo"});
    EXPECT_TRUE(editor.AssertHook() && !editor.AssertHook()(AssertRecord{"x", "here.cpp", 1}));
    Frames();
    EditorVisible = false;
    Frames(2);
    EXPECT_FALSE(HeadlessImGui::IsShown("##MainMenuBar"));
    for (const char* window : {"Scene Editor", "Cheat Terminal", "Dear ImGui Demo", "ASSERT TRIGGERED"})
        EXPECT_TRUE(HeadlessImGui::IsShown(window)) << window;
}

TEST_F(EditorSystemTest, PlayControlsHoldAndReleaseGameTimeThroughForceDT)
{
    LoadScene("Data/Scenes/LevelScene1.json");
    EditorVisible = true;
    Frames();
    WindowSystem& window = WindowSystem::GetInstance();
    EXPECT_EQ(window.forceDT, 1.0f);
    EXPECT_TRUE(imgui.Shows("||"));

    ChooseFromMenuBar({PlayControl});   // pause
    EXPECT_TRUE(EditorPaused);
    Frames();
    EXPECT_EQ(window.forceDT, 0.0f) << "the command follows one frame later";
    EXPECT_TRUE(imgui.Shows(">"));

    window.OnWindowMessage("forceDT: 1");   // any other command is overridden every frame
    Frames();
    EXPECT_EQ(window.forceDT, 0.0f);

    ChooseFromMenuBar({PlayControl});   // resume, by the same ID under its other label
    EXPECT_FALSE(EditorPaused);
    Frames();
    EXPECT_EQ(window.forceDT, 1.0f);

    // Stop: paused, and the scene read again from its file.
    const MainScene* before = SceneSystem::GetInstance().CurrentScene();
    ChooseFromMenuBar({"[]"});
    EXPECT_TRUE(EditorStopped);
    EXPECT_TRUE(EditorPaused);
    EXPECT_NE(SceneSystem::GetInstance().CurrentScene(), before) << "reloaded at the end of the frame";
    EXPECT_EQ(flow.Current(), "Data/Scenes/LevelScene1.json");
    Frames();
    EXPECT_EQ(window.forceDT, 0.0f);
    const MainScene* stopped = SceneSystem::GetInstance().CurrentScene();
    ChooseFromMenuBar({"[]"});   // greyed out while stopped
    EXPECT_EQ(SceneSystem::GetInstance().CurrentScene(), stopped);

    ChooseFromMenuBar({PlayControl});
    Frames();   // one running frame clears the stop
    EXPECT_FALSE(EditorStopped);
    EXPECT_EQ(window.forceDT, 1.0f);

    // Hidden, the bar sends nothing: the last factor stays.
    ChooseFromMenuBar({PlayControl});
    EditorVisible = false;
    Frames(2);
    window.OnWindowMessage("forceDT: 1");
    Frames(2);
    EXPECT_EQ(window.forceDT, 1.0f);
    EditorVisible = true;
    Frames(2);
    EXPECT_EQ(window.forceDT, 0.0f);
}

TEST_F(EditorSystemTest, ClicksOverAnEditorWindowAndKeysTypedIntoAFieldNeverReachTheGame)
{
    LoadScene("Data/Scenes/LevelScene1.json");
    ShowSceneEditor = true;
    Frames();
    InputSystem& input = InputSystem::GetInstance();
    ImGuiIO& io = ImGui::GetIO();

    // The pointer over the scene editor: its clicks are the editor's.
    imgui.Click(ImVec2(600, 700));
    EXPECT_TRUE(input.overlayHasMouse);
    io.MouseDown[0] = true;
    Frames(2);
    EXPECT_EQ(input.GetState(0), 0);
    io.MouseDown[0] = false;
    imgui.MoveMouse(ImVec2(1900, 1070));
    Frames();   // ImGui lets go of the pointer one frame after the release
    EXPECT_FALSE(input.overlayHasMouse);
    io.MouseDown[0] = true;
    Frames();
    EXPECT_EQ(input.GetState(0), 1) << "over the game, a click is the game's";
    io.MouseDown[0] = false;
    Frames();

    // A text field with focus: every key is the field's, End included.
    PressButton("Scene Editor", "Rename##scene");
    ASSERT_TRUE(
        imgui.ClickItem("Rename Scene File", HeadlessImGui::ItemId("Rename Scene File", {"New name"})));
    imgui.MoveMouse(ImVec2(1900, 1070));
    imgui.Type("Level");
    imgui.Type(" one");
    EXPECT_STREQ(RenameSceneBuffer, "Level one") << "the field keeps its focus from frame to frame";
    EXPECT_TRUE(input.overlayHasKeyboard);
    const int gameKeys[] = {Key::End, Key::Space, Key::Escape, Key::Left, Key::F3, Key::F5, '1', 'X'};
    for (int key : gameKeys)
        io.KeysDown[key] = true;
    io.KeysDown[Key::LeftControl] = true;
    Frames(3);
    for (int key : gameKeys)
        EXPECT_EQ(input.GetState(key), 0) << "key " << key;
    EXPECT_FALSE(Engine::OnKeyMessage("269, 1")) << "End typed into the field";
    EXPECT_FALSE(WindowSystem::GetInstance().closeRequested);
    EXPECT_EQ(SceneSystem::GetInstance().pauseKind, SceneSystem::NotPaused) << "Escape did not pause";
    for (int key : gameKeys)
        io.KeysDown[key] = false;
    io.KeysDown[Key::LeftControl] = false;
    Frames();

    // Enter lets go of the field, and the popup closes; held on, it stays the field's until it is
    // released.
    io.KeysDown[Key::Enter] = true;
    Frames();
    PressButton("Rename Scene File", "Cancel");
    imgui.MoveMouse(ImVec2(1900, 1070));
    Frames(2);
    EXPECT_FALSE(input.overlayHasKeyboard);
    EXPECT_EQ(input.GetState(Key::Enter), 0);
    io.KeysDown[Key::Enter] = false;
    Frames();
    io.KeysDown[Key::Escape] = true;
    Frames(2);
    io.KeysDown[Key::Escape] = false;
    Frames(2);
    EXPECT_EQ(SceneSystem::GetInstance().pauseKind, SceneSystem::MenuPause)
        << "a fresh Escape pauses the level";
    EXPECT_TRUE(Engine::OnKeyMessage("269, 1"));
    EXPECT_TRUE(WindowSystem::GetInstance().closeRequested);
}
}   // namespace
