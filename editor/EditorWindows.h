#pragma once
// The editor's windows and the commands behind them, shared by the EditorSystem_*.cpp files.
// Every Draw function runs inside an ImGui frame; the commands run anywhere. A command that would
// replace an edited scene (load, new, reload, rename, quit) is held back behind the "Unsaved
// Changes" modal instead of running.
#include <string>

// Main menu bar: play controls, "File", "View", "Tools", "Settings".
void DrawMainMenuBar();
void DrawPauseButton();
// "Load Scene": one item per scene file; the active scene's item reloads it.
void DrawLoadSceneMenu();

// "Scene Editor" window: scene info, save, new, rename, and the outliner beside the inspector.
void DrawSceneEditorWindow();
void DrawSceneEditorLayout();
// "Unsaved Changes": opened when a command was held back; its answer runs or drops the command.
void DrawUnsavedChangesModal();

// Writes the active scene to the file it was read from; false (with the reason in
// SceneEditorMessage, the unsaved flag kept) when there is no scene or the write fails.
bool SaveActiveScene();
// The commands of the menus, each held back behind the modal while there are unsaved changes.
void ReloadActiveScene();
void LoadSceneEntry(const std::string& fileName);   // an entry of the scene file list
void NewScene();
// Renames the active scene's file; false with the reason in `why` (the name is refused, the
// target exists, the file system said no). Held back while there are unsaved changes (true).
bool RenameActiveScene(const std::string& newName, std::string& why);

// Text of the rename field, and a message of the scene editor (why a save, load or rename
// failed); empty when all went well.
extern char RenameSceneBuffer[256];
extern std::string SceneEditorMessage;
