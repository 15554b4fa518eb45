// A small scene read from its file and drawn as the game draws it: through its "MainCamera",
// every sprite at its place, nearer ones over farther ones whatever the list order.
#include "engine/JsonFile.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsSystem.h"
#include "scene/Scene.h"
#include "tests/common/GlWindow.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
using Rgba = GlWindow::Rgba;
class SceneDrawTest : public GlWindowTest
{
protected:
    void TearDown() override
    {
        Camera::GetInstance().SetTarget(nullptr);
        GlWindowTest::TearDown();
    }
};
}   // namespace

TEST_F(SceneDrawTest, SpritesAppearAtTheirPlacesThroughTheSceneCamera)
{
    json document;
    ASSERT_TRUE(ReadJsonFile(ZOVERAV_SOURCE_DIR "/tests/data/scenes/SpriteScene.json", document));
    TraceCapture trace;
    MainScene scene;
    scene.Read(document);
    ASSERT_EQ(scene.entities.Size(), 6u);
    ASSERT_NE(scene.entities.Camera, nullptr);

    GraphicsSystem::GetInstance().BeginFrame();
    scene.entities.Render();
    // The camera stands at (0, 1, 15): a point (x, y, 0) lands on pixel
    // (80 + 7.2436 x, 45 + 7.2436 (y - 1)); at z = 1 the factor is 7.7599.
    struct Probe
    {
        const char* what;
        int x, y;
        Rgba expected;
    } probes[] = {
        {"Left, tinted red", 58, 37, {255, 0, 0, 255}},
        {"Right, tinted blue", 96, 37, {0, 0, 255, 255}},
        {"Front, nearer than Right though listed before it", 103, 37, {0, 0, 0, 255}},
        {"Top, its missing picture drawn white, tinted green", 80, 59, {0, 255, 0, 255}},
        {"between Left and Right, where the unplaced sprite would be", 80, 37, {18, 129, 61, 255}},
        {"far corner", 10, 80, {18, 129, 61, 255}},
        {"below everything", 80, 15, {18, 129, 61, 255}},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(gl->PixelAt(p.x, p.y), p.expected) << p.what;
    EXPECT_TRUE(trace.Contains("NoSuchPicture.png")) << trace.All();
}
