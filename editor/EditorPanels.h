#pragma once
// The scene editor's two columns. Each draws into the child region the scene editor window
// opened for it, inside the current ImGui frame, and reads the active scene and the selection
// from the scene system and the editor state.

// The active scene's entities and the archetypes: select, add, duplicate, delete, spawn, save.
void DrawOutlinerPanel();
// The selected entity's name, components and behaviours, edited in place.
void DrawInspectorPanel();
