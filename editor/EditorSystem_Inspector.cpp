#include "editor/EditorPanels.h"

void DrawInspectorPanel() {}
