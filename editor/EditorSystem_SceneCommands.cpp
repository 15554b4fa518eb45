// The scene commands of the editor and the "Unsaved Changes" modal that stands between an edited
// scene and any command that would replace it. A held-back command waits in PendingSceneAction
// (and PendingSceneName) until the modal is answered: "Save" runs it after a successful save,
// "Don't Save" drops the edits and runs it, "Cancel" drops the command.
#include "editor/EditorWidgets.h"
#include "editor/EditorWindows.h"
#include "engine/EditorState.h"
#include "engine/WindowSystem.h"
#include "game/BehaviorCountBoard.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"

#include <imgui.h>

char RenameSceneBuffer[256] = "";
std::string SceneEditorMessage;

namespace
{
void HoldBack(int action, std::string name)
{
    PendingSceneAction = action;
    PendingSceneName = std::move(name);
    UnsavedChangesRequested = true;
    EditorPaused = true;
}

// Reloads the scene loaded last at the end of this frame.
void RequestReload()
{
    SceneSystem& scenes = SceneSystem::GetInstance();
    if (scenes.HasCurrentScene())
        scenes.loadRequested = true;
    SelectedEntity = nullptr;
}

// A scene of its own replaced the edited one: nothing is selected and nothing is unsaved.
void SceneReplaced()
{
    SelectedEntity = nullptr;
    HasUnsavedChanges = false;
    SceneEditorMessage.clear();
}

bool LoadNow(const std::string& path)
{
    if (!SceneSystem::GetInstance().LoadScene(path))
    {
        SceneEditorMessage = "Could not load " + path + "; the scene stays as it was (see the log)";
        return false;
    }
    SceneReplaced();
    return true;
}

bool CreateNow()
{
    if (!SceneSystem::GetInstance().CreateNewScene())
    {
        SceneEditorMessage = "Could not create a new scene file in Data/Scenes (see the log)";
        return false;
    }
    SceneReplaced();
    return true;
}

// The command held back, run once; `discardEdits` when the answer was "Don't Save".
bool RunHeldBack(bool discardEdits)
{
    const int action = PendingSceneAction;
    const std::string name = PendingSceneName;
    PendingSceneAction = PendingNone;
    PendingSceneName.clear();
    switch (action)
    {
    case PendingNewScene:
        return CreateNow();
    case PendingLoadScene:
        return name.empty() || LoadNow(name);
    case PendingReloadScene:
        RequestReload();
        return true;
    case PendingRenameScene:
        if (!SceneSystem::GetInstance().RenameScene(name, &SceneEditorMessage))
            return false;
        // The edits were dropped: the scene is read again from its renamed file.
        if (discardEdits)
            RequestReload();
        return true;
    case PendingQuit:
        WindowSystem::GetInstance().RequestClose();
        return true;
    default:
        return true;
    }
}
}   // namespace

bool SaveActiveScene()
{
    MainScene* scene = SceneSystem::GetInstance().CurrentScene();
    if (!scene)
    {
        SceneEditorMessage = "No active scene";
        return false;
    }
    scene->EntityNames.clear();
    for (const Entity* entity : scene->entities.GetEntities())
        if (entity && !entity->IsDestroyed)
            scene->EntityNames.push_back(entity->Name);
    // The file the scene was read from, however its name was spelled.
    const std::string path = Scene::ScenePath(scene->SceneFile);
    std::string why;
    if (!scene->OverwriteFile(path, &why))
    {
        SceneEditorMessage =
            "Not saved: " + path + " could not be written (" + why + "); the file is as it was";
        return false;
    }
    HasUnsavedChanges = false;
    SceneEditorMessage.clear();
    return true;
}

void ReloadActiveScene()
{
    if (!SceneSystem::GetInstance().HasCurrentScene())
        return;
    if (HasUnsavedChanges)
        return HoldBack(PendingReloadScene, "");
    RequestReload();
    HasUnsavedChanges = false;
    EditorPaused = true;
}

void LoadSceneEntry(const std::string& fileName)
{
    SceneSystem& scenes = SceneSystem::GetInstance();
    const MainScene* scene = scenes.CurrentScene();
    // The active scene's own entry reloads it rather than loading it a second time by path.
    if (scene && FileNameOf(scene->SceneFile) == fileName)
    {
        if (HasUnsavedChanges)
            return HoldBack(PendingReloadScene, "");
        EditorPaused = true;
        BehaviorCountBoard::DeadCount = BehaviorCountBoard::ExitedCount = 0;
        RequestReload();
        return;
    }
    const std::string path = "Data/Scenes/" + fileName;
    if (HasUnsavedChanges)
        return HoldBack(PendingLoadScene, path);
    EditorPaused = true;
    BehaviorCountBoard::DeadCount = BehaviorCountBoard::ExitedCount = 0;
    LoadNow(path);
}

void NewScene()
{
    if (HasUnsavedChanges)
        return HoldBack(PendingNewScene, "");
    CreateNow();
}

bool RenameActiveScene(const std::string& newName, std::string& why)
{
    SceneSystem& scenes = SceneSystem::GetInstance();
    // Refused names are refused before the modal asks anything.
    if (!scenes.CheckRename(newName, &why))
        return false;
    if (HasUnsavedChanges)
    {
        HoldBack(PendingRenameScene, newName);
        return true;
    }
    return SceneSystem::GetInstance().RenameScene(newName, &why);
}

void DrawUnsavedChangesModal()
{
    if (UnsavedChangesRequested)
    {
        ImGui::OpenPopup("Unsaved Changes");
        UnsavedChangesRequested = false;
        SceneEditorMessage.clear();
    }
    CentreNextWindow();
    if (!ImGui::BeginPopupModal("Unsaved Changes", nullptr, ImGuiWindowFlags_AlwaysAutoResize))
        return;
    // A window that sizes itself to its content cannot wrap at its own edge: texts wrap at a
    // width of their own.
    ImGui::PushTextWrapPos(PopupTextWidth());
    ImGui::TextWrapped("You have unsaved changes.\nWould you like to save before continuing?");
    ImGui::Separator();
    if (!SceneEditorMessage.empty())
        ProblemText(SceneEditorMessage);
    if (ImGui::Button("Save", ImVec2(120, 0)) && SaveActiveScene())
    {
        RunHeldBack(false);
        ImGui::CloseCurrentPopup();
    }
    ImGui::SameLine();
    if (ImGui::Button("Don't Save", ImVec2(150, 0)))
    {
        HasUnsavedChanges = false;
        // A command that fails leaves the scene and its edits where they were.
        if (!RunHeldBack(true))
            HasUnsavedChanges = true;
        ImGui::CloseCurrentPopup();
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(120, 0)))
    {
        PendingSceneName.clear();
        PendingSceneAction = PendingNone;
        ImGui::CloseCurrentPopup();
    }
    ImGui::PopTextWrapPos();
    ImGui::EndPopup();
}
