// A scene file: loaded as the current scene (its entities read, archetypes built, pictures and
// meshes found), run for two frames, written back out, then dropped with the scene system reset.
#include "scene/Scene.h"
#include "scene/SceneSystem.h"
#include "tests/common/SceneFlowFixture.h"
#include "tests/fuzz/FuzzKit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzKit::Setup().Write("Scenes/Fuzz.json", FuzzKit::Text(data, size));
    SceneSystem& scenes = SceneSystem::GetInstance();
    if (scenes.LoadScene("Data/Scenes/Fuzz.json"))
    {
        SceneFlowFixture::Frame();
        SceneFlowFixture::Frame();
        if (MainScene* scene = scenes.CurrentScene())
        {
            json out;
            scene->Write(out);
            (void)out.dump();
        }
    }
    scenes.Shutdown();
    return 0;
}
