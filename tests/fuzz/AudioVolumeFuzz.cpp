// The volume settings file: read into the sound groups at start, then saved at exit.
#include "scene/SceneSystem.h"
#include "tests/common/TempFolder.h"
#include "tests/fuzz/FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzKit::OpenOfflineAudio();
    TempFolder::WriteFile(FuzzKit::EmptySettingsFolder() + "/AudioVolume.json", FuzzKit::Text(data, size));
    SceneSystem& scenes = SceneSystem::GetInstance();
    scenes.LoadAudioVolume();
    scenes.SaveAudioVolume();
    scenes.loadedVolumes = {};
    return 0;
}
