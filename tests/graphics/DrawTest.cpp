// The draw path on a real context: what reaches the frame, read back at probe pixels.
#include "engine/WindowSystem.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"
#include "tests/common/GlWindow.h"
#include "tests/common/TestDataFolder.h"
#include "tests/common/TraceCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

namespace
{
using Rgba = GlWindow::Rgba;
const Rgba Clear{18, 129, 61, 255};

// The default camera sits at (0, 0, 15) looking at the origin: on the plane z = 0 the window
// (160 x 90, 45 degree field of view) shows y within +-15 tan(22.5) = +-6.2132 and x within
// +-6.2132 * 16 / 9 = +-11.0457. So a world point (x, y, 0) lands on pixel
// (80 + x * 7.2436, 45 + y * 7.2436).
constexpr float HalfHeight = 6.2132f, HalfWidth = 11.0457f;

class DrawTest : public GlWindowTest
{
protected:
    void SetUp() override
    {
        GlWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        plane = MeshLibrary::GetInstance().FindOrLoad("Prim_Plane");
        base = ShaderLibrary::GetInstance().FindOrLoad("base");
        ASSERT_GE(plane, 0);
    }

    Graphics::DrawRequest Request(int texture, const Matrix4& model) const
    {
        Graphics::DrawRequest r;
        r.mesh = plane;
        r.shader = base;
        r.texture = texture;
        r.model = &model;
        return r;
    }

    GraphicsSystem& graphics = GraphicsSystem::GetInstance();
    int plane = -1, base = -1;
};

// A 2 x 2 picture, top row red and green, bottom row blue and white.
const unsigned char Quadrants[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
} // namespace

TEST_F(DrawTest, FrameIsClearedToTheGameColour)
{
    graphics.BeginFrame();
    for (auto [x, y] : {std::pair{0, 0}, {width - 1, height - 1}, {80, 45}})
        EXPECT_EQ(gl->PixelAt(x, y), Clear) << x << ", " << y;
}

TEST_F(DrawTest, TexturedQuadThroughTheCamera)
{
    TestDataFolder data;
    data.WritePng("Textures/Quadrants.png", 2, 2, 4, Quadrants);
    const int texture = TextureLibrary::GetInstance().FindOrLoad("Quadrants");
    // A 6 x 6 quad centred at (2, 1): x from -1 to 5, y from -2 to 4, pixels 72.8..116.2 by 30.5..74.0.
    const Matrix4 model = Matrix4::Multiply(Matrix4::Translation({2, 1, 0}), Matrix4::Scale({6, 6, 1}));
    struct Case
    {
        const char* what;
        float tint[3];
        Rgba topLeft, topRight, bottomLeft, bottomRight;
    } cases[] = {
        {"untinted: the picture's top row is at the top",
         {1, 1, 1},
         {255, 0, 0, 255},
         {0, 255, 0, 255},
         {0, 0, 255, 255},
         {255, 255, 255, 255}},
        {"tinted", {0.5f, 1, 0}, {128, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 0, 255}, {128, 255, 0, 255}},
    };
    for (const Case& c : cases)
    {
        graphics.BeginFrame();
        Graphics::DrawRequest r = Request(texture, model);
        std::copy(std::begin(c.tint), std::end(c.tint), r.tint);
        graphics.Draw(r);
        // Quadrant centres at x 0.5 and 3.5, y -0.5 and 2.5.
        EXPECT_EQ(gl->PixelAt(84, 41), c.bottomLeft) << c.what;
        EXPECT_EQ(gl->PixelAt(105, 41), c.bottomRight) << c.what;
        EXPECT_EQ(gl->PixelAt(84, 63), c.topLeft) << c.what;
        EXPECT_EQ(gl->PixelAt(105, 63), c.topRight) << c.what;
        // Just outside each edge.
        for (auto [x, y] : {std::pair{71, 50}, {118, 50}, {95, 29}, {95, 76}})
            EXPECT_EQ(gl->PixelAt(x, y), Clear) << c.what << " outside at " << x << ", " << y;
    }
}
