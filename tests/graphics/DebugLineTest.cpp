// Debug lines: queued during the frame, drawn over everything by the editor's end of frame
// when its switch is on, dropped when it is off.
#include "editor/EditorSystem.h"
#include "engine/EditorState.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "tests/common/GlWindow.h"

#include <gtest/gtest.h>

namespace
{
using Rgba = GlWindow::Rgba;
const Rgba Clear{18, 129, 61, 255}, Black{0, 0, 0, 255}, Red{255, 0, 0, 255}, Blue{0, 0, 255, 255},
    Yellow{255, 255, 0, 255};

class DebugLineTest : public GlWindowTest
{
protected:
    void TearDown() override
    {
        DebugDrawing = false;
        GlWindowTest::TearDown();
    }

    // Clears, draws a black quad (pixels 64..96 by 29..61) nearer to the camera than the lines' plane over
    // the middle of the window, queues the lines and ends the frame as the editor does.
    void Frame(bool debugDrawing)
    {
        GraphicsSystem& graphics = GraphicsSystem::GetInstance();
        graphics.BeginFrame();
        const Matrix4 model = Matrix4::Multiply(Matrix4::Translation({0, 0, 2}), Matrix4::Scale({4, 4, 1}));
        Graphics::DrawRequest quad;
        quad.mesh = MeshLibrary::GetInstance().FindOrLoad("Prim_Plane");
        quad.shader = ShaderLibrary::GetInstance().FindOrLoad("base");
        quad.texture = 1;
        quad.model = &model;
        graphics.Draw(quad);
        // Window row 45 is clip y 0.0111; in the world, column 94 is x = 2 on the plane z = 0.
        Graphics::SubmitDebugLine({{-1, 0.0111f, 0}, {1, 0.0111f, 0}, {1, 0, 0}, Graphics::UiProj});
        Graphics::SubmitDebugLine({{-1, -0.5f, 0}, {1, -0.5f, 0}, {0, 0, 1}, Graphics::BkgProj});
        Graphics::SubmitDebugLine({{2, -3, 0}, {2, 3, 0}, {1, 1, 0}, Graphics::WorldProj});
        EXPECT_EQ(graphics.QueuedDebugLines(), 3u);
        DebugDrawing = debugDrawing;
        EditorSystem::GetInstance().EndFrame();
        EXPECT_EQ(graphics.QueuedDebugLines(), 0u) << "the queue is empty after every frame";
        EXPECT_EQ(graphics.debugDrawing, debugDrawing) << "the editor's switch is handed over";
    }
};
}   // namespace

TEST_F(DebugLineTest, LinesAppearOverTheSceneInTheirSpace)
{
    Frame(true);
    EXPECT_EQ(gl->PixelAt(10, 45), Red) << "clip-space line";
    EXPECT_EQ(gl->PixelAt(80, 45), Red) << "over the nearer quad";
    EXPECT_EQ(gl->PixelAt(10, 22), Blue) << "clip y -0.5 is row 22";
    EXPECT_EQ(gl->PixelAt(94, 25), Yellow) << "world line through the camera";
    EXPECT_EQ(gl->PixelAt(94, 50), Yellow) << "world line over the quad";
    EXPECT_EQ(gl->PixelAt(10, 60), Clear);
    EXPECT_EQ(gl->PixelAt(80, 55), Black) << "the quad itself";
}

TEST_F(DebugLineTest, LinesQueuedWhileDrawingIsOffNeverAppear)
{
    for (int frame = 0; frame < 3; ++frame)
        Frame(false);
    EXPECT_EQ(gl->PixelAt(10, 45), Clear);
    EXPECT_EQ(gl->PixelAt(94, 25), Clear);
    EXPECT_EQ(gl->PixelAt(80, 45), Black);
}
