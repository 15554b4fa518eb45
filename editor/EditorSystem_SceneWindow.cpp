// The "Scene Editor" window: which scene is active, saving it, a new scene, renaming its file,
// and the outliner beside the inspector; also the "Load Scene" submenu of the main menu bar.
#include "editor/EditorPanels.h"
#include "editor/EditorWidgets.h"
#include "editor/EditorWindows.h"
#include "engine/EditorState.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"

#include <imgui.h>
#include <vector>

namespace
{
const ImVec4 SceneNameColour(0.6f, 1.0f, 0.6f, 1.0f);
constexpr const char* RenamePopup = "Rename Scene File";

// Messages of the rename popup, kept apart from the window's: the popup shows why a name was
// refused while it stays open for another try.
std::string RenameMessage;

void DrawRenamePopup()
{
    CentreNextWindow();
    if (!ImGui::BeginPopupModal(RenamePopup, nullptr, ImGuiWindowFlags_AlwaysAutoResize))
        return;
    ImGui::PushTextWrapPos(PopupTextWidth());
    ImGui::InputText("New name", RenameSceneBuffer, sizeof RenameSceneBuffer);
    ImGui::TextDisabled(".json will be appended if missing");
    ImGui::Spacing();
    if (!RenameMessage.empty())
        ProblemText(RenameMessage);
    if (ImGui::Button("Rename", ImVec2(100, 0)))
    {
        std::string why;
        if (RenameActiveScene(RenameSceneBuffer, why))
        {
            RenameSceneBuffer[0] = '\0';
            RenameMessage.clear();
            ImGui::CloseCurrentPopup();
        }
        else
            RenameMessage = why;
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(100, 0)))
    {
        RenameSceneBuffer[0] = '\0';
        RenameMessage.clear();
        ImGui::CloseCurrentPopup();
    }
    ImGui::PopTextWrapPos();
    ImGui::EndPopup();
}

void DrawSceneEditorMenuBar(bool hasScene)
{
    if (!ImGui::BeginMenuBar())
        return;
    if (ImGui::BeginMenu("File"))
    {
        ImGui::BeginDisabled(!hasScene);
        if (ImGui::MenuItem("Save Scene"))
            SaveActiveScene();
        ImGui::EndDisabled();
        if (ImGui::MenuItem("New Scene"))
            NewScene();
        ImGui::EndMenu();
    }
    if (ImGui::BeginMenu("View"))
    {
        ImGui::MenuItem("Entities", nullptr, &ShowOutliner);
        ImGui::MenuItem("Inspector", nullptr, &ShowInspector);
        ImGui::EndMenu();
    }
    ImGui::EndMenuBar();
}
}   // namespace

void DrawSceneEditorWindow()
{
    ImGuiWindowFlags flags = ImGuiWindowFlags_MenuBar;
    if (HasUnsavedChanges)
        flags |= ImGuiWindowFlags_UnsavedDocument;
    ImGui::SetNextWindowPos(ImVec2(40, 80), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowSize(ImVec2(1200, 800), ImGuiCond_FirstUseEver);
    if (ImGui::Begin("Scene Editor", &ShowSceneEditor, flags))
    {
        const MainScene* scene = SceneSystem::GetInstance().CurrentScene();
        DrawSceneEditorMenuBar(scene != nullptr);
        SeparatorText("Scene Info");
        if (!scene)
            ImGui::TextDisabled("No active scene");
        else
        {
            ImGui::TextUnformatted("Active Scene: ");
            ImGui::SameLine();
            ImGui::TextColored(SceneNameColour, "%s", std::string(FileNameOf(scene->SceneFile)).c_str());
            ImGui::SameLine();
            if (ImGui::SmallButton("Rename##scene"))
            {
                RenameMessage.clear();
                ImGui::OpenPopup(RenamePopup);
            }
            DrawRenamePopup();
        }
        if (!SceneEditorMessage.empty())
            ProblemText(SceneEditorMessage);
        ImGui::Spacing();
        // The panels work on the active scene; without one there is nothing to lay out.
        if (scene)
            DrawSceneEditorLayout();
    }
    ImGui::End();
}

void DrawSceneEditorLayout()
{
    if (!ImGui::BeginTable("SceneEditorLayout", 2,
                           ImGuiTableFlags_Resizable | ImGuiTableFlags_SizingStretchProp))
        return;
    ImGui::TableSetupColumn("Outliner", ImGuiTableColumnFlags_WidthStretch, 0.5f);
    ImGui::TableSetupColumn("Inspector", ImGuiTableColumnFlags_WidthStretch, 0.5f);
    ImGui::TableNextRow(ImGuiTableRowFlags_Headers);
    ImGui::TableSetColumnIndex(0);
    ImGui::TextUnformatted("Outliner");
    ImGui::TableSetColumnIndex(1);
    ImGui::TextUnformatted("Inspector");
    ImGui::TableNextRow();
    // The panels fill the window down to its edge, the cell's own padding left out.
    const ImVec2 panel(0, -ImGui::GetStyle().CellPadding.y);
    ImGui::TableSetColumnIndex(0);
    if (ShowOutliner)
    {
        ImGui::BeginChild("OutlinerPanel", panel, true);
        DrawOutlinerPanel();
        ImGui::EndChild();
    }
    ImGui::TableSetColumnIndex(1);
    if (ShowInspector)
    {
        ImGui::BeginChild("InspectorPanel", panel, true);
        DrawInspectorPanel();
        ImGui::EndChild();
    }
    ImGui::EndTable();
}

void DrawLoadSceneMenu()
{
    if (!ImGui::BeginMenu("Load Scene"))
        return;
    // A copy: choosing an entry can rescan the list.
    const std::vector<std::string> files = SceneSystem::GetInstance().sceneFiles;
    for (const std::string& file : files)
        if (ImGui::MenuItem(file.c_str()))
            LoadSceneEntry(file);
    ImGui::EndMenu();
}
