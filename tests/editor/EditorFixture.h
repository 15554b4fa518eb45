#pragma once
// The scene editor's two panels against a real scene: the scene system over a private copy of
// tests/data/editor (scenes and archetypes; meshes and pictures copied in from the game's data),
// the outliner and the inspector side by side in a headless Dear ImGui, as the scene editor
// window lays them out (in a window tall enough that neither column scrolls). The editor's globals and the
// archetype cache are put back at the end.
#include "tests/common/HeadlessImGui.h"
#include "tests/common/QuietStdout.h"
#include "tests/common/SceneFlowFixture.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class Entity;
class MainScene;

// The outliner and the inspector in two child regions of a window of that name, filling the display.
void DrawEditorColumns(const char* host);

class EditorFixture : public testing::Test
{
protected:
    static constexpr const char* ScenePath = "Data/Scenes/EditorScene.json";
    static constexpr const char* Host = "Editor Columns";   // the window holding the two columns

    EditorFixture();
    ~EditorFixture() override;

    MainScene& Scene() const;
    std::vector<Entity*> Entities() const;
    std::vector<Entity*> Named(const std::string& name) const;   // in list order
    // The scene as saved to its own file, and read back from it into a new current scene.
    void SaveAndReload();
    json SavedScene() const;   // the scene file's content

    static ImGuiWindow* Outliner() { return HeadlessImGui::ChildWindow(Host, "OutlinerPanel"); }
    static ImGuiWindow* Inspector() { return HeadlessImGui::ChildWindow(Host, "InspectorPanel"); }
    // The outliner's row of the entity (its place in the scene's list).
    std::vector<HeadlessImGui::IdPart> Row(const Entity* entity) const;
    bool SelectRow(const Entity* entity);
    // Opens the row's context menu and chooses the item; false when something is not there.
    bool ChooseFromRowMenu(const Entity* entity, const std::string& item);
    // Opens an inspector header (they start closed) so that its content is drawn.
    bool OpenHeader(const std::vector<HeadlessImGui::IdPart>& path);
    void Frames(int count = 2);

    const int32_t deadMax, exitMax;
    QuietStdout quiet;
    SceneFlowFixture flow{"editor"};
    HeadlessImGui ui;
};
