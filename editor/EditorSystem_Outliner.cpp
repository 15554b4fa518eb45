#include "editor/EditorPanels.h"

void DrawOutlinerPanel() {}
