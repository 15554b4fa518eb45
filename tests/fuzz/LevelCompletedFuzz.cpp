// The completed-levels settings file: read into the unlocked levels at start, then saved at exit.
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"
#include "tests/common/TempFolder.h"
#include "tests/fuzz/FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TempFolder::WriteFile(FuzzKit::EmptySettingsFolder() + "/LevelCompleted.json", FuzzKit::Text(data, size));
    SceneSystem& scenes = SceneSystem::GetInstance();
    scenes.LoadLevelCompleted();
    scenes.SaveLevelCompleted();
    LevelCompleted = {1};
    LastLevelWon = false;
    return 0;
}
