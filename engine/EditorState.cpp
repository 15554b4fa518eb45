#include "engine/EditorState.h"

bool EditorVisible = false;
bool EditorPaused = false;
bool EditorStopped = false;
bool DebugDrawing = false;
bool ShowImGuiDemo = false;
bool ShowCheatTerminal = false;
bool ShowSceneEditor = false;
bool ShowOutliner = true;
bool ShowInspector = true;
bool HasUnsavedChanges = false;
bool UnsavedChangesRequested = false;
int PendingSceneAction = PendingNone;
std::string PendingSceneName;
Entity* SelectedEntity = nullptr;
