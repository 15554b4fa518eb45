#pragma once
// The editor in a headless Dear ImGui context over the real scene system on a private copy of
// the scene-flow data: each frame runs the systems that move scenes, the input poll and the
// editor's windows in the engine's order; the game polls the keys and buttons that ImGui is
// given, as both get them from GLFW. Menus and buttons are clicked with the pointer where they
// are drawn. The editor's state is reset before and after each test.
#include "editor/EditorSystem.h"
#include "tests/common/HeadlessImGui.h"
#include "tests/common/SceneFlowFixture.h"

#include <gtest/gtest.h>
#include <string>

class EditorTest : public testing::Test
{
protected:
    EditorTest();
    ~EditorTest() override;

    void Frames(int count = 1);
    // A menu of the main menu bar opened, then one of its items chosen (a path through submenus).
    void ChooseFromMenuBar(std::initializer_list<const char*> path);
    // The same in the "Scene Editor" window's own menu bar.
    void ChooseFromSceneEditor(std::initializer_list<const char*> path);
    // A button of a window or popup pressed.
    void PressButton(const char* window, const char* label);

    // Loads a scene as the game does, and marks it edited as the panels would (a new entity).
    void LoadScene(const std::string& path);
    void EditScene(const std::string& entityName = "Added");
    // The files of the scene folder, by name.
    std::vector<std::string> SceneFiles() const;
    std::string SceneFile(const std::string& name) const { return flow.DataFolder() + "/Scenes/" + name; }

    SceneFlowFixture flow;
    HeadlessImGui imgui;
    EditorSystem& editor = EditorSystem::GetInstance();
    // The closes the window system carried out (through its confirmation hook).
    int closes = 0;

private:
    void Choose(const char* window, std::initializer_list<const char*> path);
};

// Every editor global at its starting value.
void ResetEditorState();
