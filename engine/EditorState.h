#pragma once
// The developer overlay's switches and selection, shared by the editor's panels and by the lower
// layers that react to them (the scene system, entities, archetypes, the debug-line pass). Plain
// values on the one thread; the editor system sets most of them.
#include <string>

class Entity;

extern bool EditorVisible;             // the editor's menu bar is shown
extern bool EditorPaused;              // game time is held: the play control posts "forceDT: 0"
extern bool EditorStopped;             // the stop item was used; cleared when the game runs
extern bool DebugDrawing;              // debug lines are drawn over the game
extern bool ShowImGuiDemo;             // draw the Dear ImGui demo window
extern bool ShowCheatTerminal;         // draw the "Cheat Terminal" window
extern bool ShowSceneEditor;           // draw the "Scene Editor" window
extern bool ShowOutliner;              // draw the outliner column of the scene editor
extern bool ShowInspector;             // draw the inspector column of the scene editor
extern bool HasUnsavedChanges;         // the active scene was edited since its last save or load
extern bool UnsavedChangesRequested;   // open the "Unsaved Changes" modal at this frame's end
// The action held back behind the unsaved-changes modal.
enum PendingAction : int
{
    PendingNone = 0,
    PendingNewScene = 1,
    PendingLoadScene = 2,   // load PendingSceneName
    PendingReloadScene = 3,
    PendingQuit = 4,          // close the program
    PendingRenameScene = 5,   // rename the active scene's file to PendingSceneName
};
extern int PendingSceneAction;
extern std::string PendingSceneName;   // a scene path (load) or a new file name (rename)
// The entity shown in the inspector and saved by SaveArchetype; not owned. An entity that is
// deleted clears it.
extern Entity* SelectedEntity;
