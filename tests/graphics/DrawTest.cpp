// The draw path on a real context: what reaches the frame, read back at probe pixels.
#include "engine/WindowSystem.h"
#include "graphics/Animation.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/Shader.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"
#include "tests/common/GlWindow.h"
#include "tests/common/TestDataFolder.h"
#include "tests/common/TraceCapture.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <utility>
#include <vector>

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
        if (IsSkipped() || HasFatalFailure())
            return;
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
}   // namespace

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

namespace
{
// A quad that fills the window exactly.
const Matrix4 FullWindow = Matrix4::Scale({2 * HalfWidth, 2 * HalfHeight, 1});
}   // namespace

TEST_F(DrawTest, PicturesOfAnyWidthAndChannelCountUploadWithoutSkew)
{
    struct Case
    {
        const char* name;
        int width, height, channels;
        std::vector<unsigned char> pixels;   // rows top first, as in the file
        std::vector<Rgba> expected;          // the same order, as drawn
    } cases[] = {
        // clang-format off
        {"OddRgb", 3, 2, 3,
         {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180},
         {{10, 20, 30, 255}, {40, 50, 60, 255}, {70, 80, 90, 255},
          {100, 110, 120, 255}, {130, 140, 150, 255}, {160, 170, 180, 255}}},
        {"NarrowRgb", 1, 3, 3, {255, 0, 0, 0, 255, 0, 0, 0, 255},
         {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}}},
        {"OddRgba", 3, 1, 4, {1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255},
         {{1, 2, 3, 255}, {4, 5, 6, 255}, {7, 8, 9, 255}}},
        {"Grey", 3, 2, 1, {0, 100, 200, 50, 150, 250},
         {{0, 0, 0, 255}, {100, 100, 100, 255}, {200, 200, 200, 255},
          {50, 50, 50, 255}, {150, 150, 150, 255}, {250, 250, 250, 255}}},
        {"GreyAlpha", 3, 1, 2, {20, 255, 120, 255, 220, 255},
         {{20, 20, 20, 255}, {120, 120, 120, 255}, {220, 220, 220, 255}}},
        // clang-format on
    };
    TestDataFolder data;
    for (const Case& c : cases)
        data.WritePng(std::string("Textures/") + c.name + ".png", c.width, c.height, c.channels,
                      c.pixels.data());
    for (const Case& c : cases)
    {
        const int texture = TextureLibrary::GetInstance().FindOrLoad(c.name);
        ASSERT_FALSE(TextureLibrary::GetInstance().IsFallback(texture)) << c.name;
        graphics.BeginFrame();
        graphics.Draw(Request(texture, FullWindow));
        for (int row = 0; row < c.height; ++row)
            for (int column = 0; column < c.width; ++column)
            {
                // The file's top row is drawn at the top of the window.
                const int x = static_cast<int>((column + 0.5f) / c.width * width);
                const int y = static_cast<int>((c.height - row - 0.5f) / c.height * height);
                EXPECT_EQ(gl->PixelAt(x, y), c.expected[static_cast<size_t>(row * c.width + column)])
                    << c.name << " texel " << column << ", " << row << " from the top";
            }
    }
}

TEST_F(DrawTest, WrapFilterAndTextureMatrixOfTheRequest)
{
    TestDataFolder data;
    data.WritePng("Textures/Quadrants.png", 2, 2, 4, Quadrants);
    const int texture = TextureLibrary::GetInstance().FindOrLoad("Quadrants");
    const float twice[9] = {2, 0, 0, 0, 2, 0, 0, 0, 1};
    const Rgba blue{0, 0, 255, 255}, white{255, 255, 255, 255}, green{0, 255, 0, 255};
    struct Case
    {
        const char* what;
        int wrap;
        Rgba lowerRight, upperRight;   // at 5/8 of the width, 1/8 and 5/8 of the height
    } cases[] = {
        {"repeat tiles the picture", 0, blue, blue},
        {"clamp stretches its last texels", 1, white, green},
    };
    for (const Case& c : cases)
    {
        graphics.BeginFrame();
        Graphics::DrawRequest r = Request(texture, FullWindow);
        r.uv = twice;
        r.wrap = c.wrap;
        graphics.Draw(r);
        EXPECT_EQ(gl->PixelAt(100, 11), c.lowerRight) << c.what;
        EXPECT_EQ(gl->PixelAt(100, 56), c.upperRight) << c.what;
        EXPECT_EQ(gl->PixelAt(20, 11), blue) << c.what << ": the first tile is the picture itself";
    }

    // Across the middle of the top row, nearest gives red or green, linear a mix of both.
    for (int filter : {0, 1})
    {
        graphics.BeginFrame();
        Graphics::DrawRequest r = Request(texture, FullWindow);
        r.filter = filter;
        graphics.Draw(r);
        const Rgba p = gl->PixelAt(80, 67);
        const bool mixed = p.r > 60 && p.r < 195 && p.g > 60 && p.g < 195 && p.b < 60;
        EXPECT_EQ(mixed, filter == 1) << "filter " << filter << " gave " << p;
    }
}

TEST_F(DrawTest, RequestsWithIndicesOutsideTheLibrariesAreSkippedWithOneMessage)
{
    TraceCapture trace;
    struct Case
    {
        int mesh, shader, texture;
        const char* library;
    } cases[] = {{99, base, 0, "mesh"},
                 {plane, 99, 0, "shader"},
                 {plane, base, 99, "texture"},
                 {plane, base, -5, "texture"},
                 {-7, base, 0, "mesh"}};
    graphics.BeginFrame();
    for (int frame = 0; frame < 3; ++frame)
        for (const Case& c : cases)
        {
            Graphics::DrawRequest r = Request(c.texture, FullWindow);
            r.mesh = c.mesh;
            r.shader = c.shader;
            r.name = "Stray";
            graphics.Draw(r);
        }
    EXPECT_EQ(gl->PixelAt(80, 45), Clear);
    // One report per bad index: the system's own line, then what was wrong.
    ASSERT_EQ(trace.lines.size(), 2 * std::size(cases)) << "one report per bad index:\n" << trace.All();
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        EXPECT_EQ(trace.lines[2 * i], "Stray draw failed because:");
        EXPECT_TRUE(trace.lines[2 * i + 1].find("[Stray]") != std::string::npos &&
                    trace.lines[2 * i + 1].find(cases[i].library) != std::string::npos)
            << trace.lines[2 * i + 1];
    }

    // A request with no mesh draws nothing and says nothing; a good one still draws.
    Graphics::DrawRequest none = Request(0, FullWindow);
    none.mesh = -1;
    graphics.Draw(none);
    EXPECT_EQ(gl->PixelAt(80, 45), Clear);
    graphics.Draw(Request(-1, FullWindow));
    EXPECT_EQ(gl->PixelAt(80, 45), (Rgba{255, 255, 255, 255})) << "texture -1 is White";
    EXPECT_EQ(trace.lines.size(), 2 * std::size(cases)) << trace.All();
}

TEST_F(DrawTest, AMissingPictureDrawsWhiteWithoutATextureOfItsOwn)
{
    TextureLibrary& textures = TextureLibrary::GetInstance();
    TraceCapture trace;
    const int missing = textures.FindOrLoad("NoSuchPicture");
    EXPECT_EQ(textures.GlId(missing), textures.GlId(0));
    graphics.BeginFrame();
    Graphics::DrawRequest r = Request(missing, FullWindow);
    r.tint[1] = 0;
    for (int frame = 0; frame < 3; ++frame)
    {
        graphics.Draw(r);
        textures.FindOrLoad("NoSuchPicture");
    }
    EXPECT_EQ(gl->PixelAt(80, 45), (Rgba{255, 0, 255, 255}));
    EXPECT_EQ(trace.lines.size(), 2u)
        << "reported once (the system's line, then the detail), never retried:\n"
        << trace.All();
}

TEST_F(DrawTest, ShadersThatCannotBuildAreReportedAndDrawNothing)
{
    TestDataFolder data;
    const std::string vertex = ReadTextFile(ZOVERAV_SOURCE_DIR "/Data/shaders/base.vert");
    ASSERT_FALSE(vertex.empty());
    data.Write("shaders/BadCompile.vert", vertex);
    data.Write("shaders/BadCompile.frag", "#version 430 core\nout vec4 c;\nvoid main() { c = vec4(1.0) }\n");
    data.Write("shaders/BadLink.vert", vertex);
    data.Write("shaders/BadLink.frag", "#version 430 core\nin vec3 vNeverWritten;\nout vec4 c;\n"
                                       "void main() { c = vec4(vNeverWritten, 1.0); }\n");
    data.Write("shaders/NoFragment.vert", vertex);
    struct Case
    {
        const char* name;
        const char* message;
    } cases[] = {{"BadCompile", "Shader Compilation Error: Fragment"},
                 {"BadLink", "Shader Program Link Error:"},
                 {"NoFragment", "NoFragment.frag] cannot be read"},
                 {"NoSuchShader", "NoSuchShader.vert] cannot be read"}};
    ShaderLibrary& shaders = ShaderLibrary::GetInstance();
    for (const Case& c : cases)
    {
        TraceCapture trace;
        const int index = shaders.FindOrLoad(c.name);
        ASSERT_GE(index, 0) << c.name;
        EXPECT_EQ(shaders.Prepare(index)->program, 0u) << c.name;
        EXPECT_TRUE(trace.Contains(c.message)) << c.name << " gave:\n" << trace.All();
        if (c.name == std::string("BadCompile") || c.name == std::string("BadLink"))
        {
            // The driver's own log follows on the next line.
            ASSERT_EQ(trace.lines.size(), 2u) << trace.All();
            EXPECT_TRUE(trace.lines[1].starts_with(std::string("SHADER: [") + c.name + "] ")) << trace.All();
            EXPECT_GT(trace.lines[1].size(), std::string("SHADER: [] ").size() + strlen(c.name))
                << trace.All();
        }
        graphics.BeginFrame();
        Graphics::DrawRequest r = Request(0, FullWindow);
        r.shader = index;
        graphics.Draw(r);
        graphics.Draw(r);
        EXPECT_EQ(gl->PixelAt(80, 45), Clear) << c.name;
        EXPECT_EQ(shaders.FindOrLoad(c.name), index) << c.name;
        EXPECT_LE(trace.lines.size(), 2u) << "built once:\n" << trace.All();
    }
}

TEST_F(DrawTest, ResizingTheWindowMovesTheViewport)
{
    GraphicsSystem::OnFramebufferResize(nullptr, 80, 40);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 80);
    EXPECT_EQ(viewport[3], 40);
    EXPECT_EQ(WindowSystem::GetInstance().width, 80);
    EXPECT_EQ(WindowSystem::GetInstance().height, 40);
    // The quad that filled the window now fills the lower-left part the viewport covers.
    graphics.BeginFrame();
    graphics.Draw(Request(1, Matrix4::Scale({2 * HalfHeight * 2, 2 * HalfHeight, 1})));
    EXPECT_EQ(gl->PixelAt(40, 20), (Rgba{0, 0, 0, 255}));
    EXPECT_NE(gl->PixelAt(120, 60), (Rgba{0, 0, 0, 255})) << "outside the viewport nothing is drawn";
}

TEST_F(DrawTest, TheGridShaderReadsPackedMaterialWords)
{
    // Colour words R<<24 | G<<16 | B<<8 | A as little-endian memory: bytes A, B, G, R. The
    // empty material (black) lets what lies behind show.
    const unsigned char words[] = {0xFF, 0x32, 0x32, 0xAC, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0xC0, 0x60, 0x30};
    TestDataFolder data;
    data.WritePng("Textures/Cells.png", 3, 1, 4, words);
    Graphics::DrawRequest r = Request(TextureLibrary::GetInstance().FindOrLoad("Cells"), Matrix4::Identity());
    const Matrix4 model = Matrix4::Multiply(Matrix4::Translation({-HalfWidth, -HalfHeight, 0}),
                                            Matrix4::Scale({2 * HalfWidth, 2 * HalfHeight, 1}));
    r.model = &model;
    r.mesh = MeshLibrary::GetInstance().FindOrLoad("Prim_UnitPlane");
    r.shader = ShaderLibrary::GetInstance().FindOrLoad("Grid");
    graphics.BeginFrame();
    graphics.Draw(r);
    EXPECT_EQ(gl->PixelAt(26, 45), (Rgba{0xAC, 0x32, 0x32, 255}));
    EXPECT_EQ(gl->PixelAt(80, 45), Clear);
    EXPECT_EQ(gl->PixelAt(133, 45), (Rgba{0x30, 0x60, 0xC0, 255}));
}

TEST(DeferredUpload, WhatWasRequestedBeforeAContextDrawsOnceOneExists)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no X display";
    GraphicsSystem::GetInstance().Shutdown();
    Camera::GetInstance().SetTarget(nullptr);
    TestDataFolder data;
    data.WritePng("Textures/Quadrants.png", 2, 2, 4, Quadrants);
    const int texture = TextureLibrary::GetInstance().FindOrLoad("Quadrants");
    const int shader = ShaderLibrary::GetInstance().FindOrLoad("base");
    const int mesh = MeshLibrary::GetInstance().FindOrLoad("Prim_Plane");

    GlWindow gl(160, 90);
    ASSERT_TRUE(gl.IsOpen()) << gl.Error();
    EXPECT_EQ(TextureLibrary::GetInstance().FindOrLoad("Quadrants"), texture);
    EXPECT_EQ(ShaderLibrary::GetInstance().FindOrLoad("base"), shader);
    Graphics::DrawRequest r;
    r.mesh = mesh;
    r.shader = shader;
    r.texture = texture;
    r.model = &FullWindow;
    GraphicsSystem::GetInstance().BeginFrame();
    GraphicsSystem::GetInstance().Draw(r);
    EXPECT_EQ(gl.PixelAt(40, 67), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(gl.PixelAt(120, 67), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(gl.PixelAt(40, 22), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(gl.PixelAt(120, 22), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

namespace
{
// "Quadrants", and "Glass" whose half-transparent texels show whatever lies under them and the
// order it was drawn in.
void WriteQuadrantsAndGlass(const TestDataFolder& data)
{
    data.WritePng("Textures/Quadrants.png", 2, 2, 4, Quadrants);
    const unsigned char glass[] = {255, 255, 0, 128, 0, 255, 255, 64, 255, 0, 255, 200, 0, 0, 0, 0};
    data.WritePng("Textures/Glass.png", 2, 2, 4, glass);
}

// The whole frame read back, queued draws issued first.
std::vector<unsigned char> Frame(int width, int height)
{
    GraphicsSystem::GetInstance().Flush();
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
}   // namespace

TEST_F(DrawTest, QueuedDrawsGiveThePixelsOfDrawsIssuedOneByOne)
{
    TestDataFolder data;
    WriteQuadrantsAndGlass(data);
    // A shader that takes everything as uniforms is drawn at once, between the queued ones.
    data.Write("shaders/Uniforms.vert", "#version 430 core\n"
                                        "layout(location = 0) in vec3 aPosition;\n"
                                        "layout(location = 3) in vec2 aTexCoord;\n"
                                        "uniform mat4 mTw;\nuniform mat4 wTc;\nuniform mat3 uvT;\n"
                                        "out vec2 vTexCoord;\n"
                                        "void main() { vTexCoord = (uvT * vec3(aTexCoord, 1.0)).xy;\n"
                                        "  gl_Position = wTc * mTw * vec4(aPosition, 1.0); }\n");
    data.Write("shaders/Uniforms.frag",
               "#version 430 core\nin vec2 vTexCoord;\nuniform sampler2D baseColor;\n"
               "uniform vec3 tint;\nout vec4 c;\n"
               "void main() { vec4 t = texture(baseColor, vTexCoord);\n"
               "  c = vec4(t.rgb * tint, 0.5); }\n");
    TextureLibrary& textures = TextureLibrary::GetInstance();
    const int quadrants = textures.FindOrLoad("Quadrants"), glassTexture = textures.FindOrLoad("Glass");
    const int alpha = ShaderLibrary::GetInstance().FindOrLoad("alpha");
    const int uniforms = ShaderLibrary::GetInstance().FindOrLoad("Uniforms");
    const int cube = MeshLibrary::GetInstance().FindOrLoad("Prim_Cube");
    ASSERT_GE(cube, 0);

    // Overlapping quads at nearer and farther depths, tinted, through texture matrices.
    std::vector<Matrix4> models;
    std::vector<Graphics::DrawRequest> requests;
    const float shifted[9] = {1.5f, 0, 0, 0, 0.75f, 0, 0.25f, 0.5f, 1};
    for (int i = 0; i < 40; ++i)
        models.push_back(Matrix4::Multiply(Matrix4::Translation({-8.0f + 0.4f * static_cast<float>(i),
                                                                 2.0f * static_cast<float>(i % 5) - 4.0f,
                                                                 0.1f * static_cast<float>(i % 3) - 0.1f}),
                                           Matrix4::Scale({3.0f + static_cast<float>(i % 4), 3.0f, 1})));
    // After the run, each request differs from the one before in one thing (texture, shader, mesh,
    // wrap, filter) or goes through a shader drawn at once.
    Graphics::DrawRequest r = Request(glassTexture, models[0]);
    for (int i = 0; i < 40; ++i)
    {
        if (i >= 10)
        {
            switch (i % 6)
            {
            case 0:
                r.shader = r.shader == base ? alpha : base;
                break;
            case 1:
                r.texture = r.texture == glassTexture ? quadrants : glassTexture;
                break;
            case 2:
                r.mesh = r.mesh == plane ? cube : plane;
                break;
            case 3:
                r.wrap = 1 - r.wrap;
                break;
            case 4:
                r.filter = 1 - r.filter;
                break;
            default:
                break;
            }
            r.uv = shifted;
        }
        r.model = &models[static_cast<size_t>(i)];
        r.tint[1] = i % 2 ? 0.5f : 1.0f;
        requests.push_back(r);
        if (i % 6 == 5 && i >= 10)
            requests.back().shader = uniforms;
    }

    graphics.BeginFrame();
    for (const Graphics::DrawRequest& r : requests)
    {
        graphics.Draw(r);
        graphics.Flush();
    }
    const std::vector<unsigned char> oneByOne = Frame(width, height);

    graphics.BeginFrame();
    for (const Graphics::DrawRequest& r : requests)
        graphics.Draw(r);
    const std::vector<unsigned char> queued = Frame(width, height);
    size_t differing = 0;
    for (size_t i = 0; i < queued.size(); ++i)
        differing += queued[i] != oneByOne[i];
    EXPECT_EQ(differing, 0u);

    // A run of one look, however long, is one draw.
    const size_t drawsBefore = graphics.IssuedDraws();
    for (int i = 0; i < 10; ++i)
        graphics.Draw(requests[static_cast<size_t>(i)]);
    graphics.Flush();
    EXPECT_EQ(graphics.IssuedDraws() - drawsBefore, 1u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(DrawTest, AQueueLargerThanItsVertexBufferKeepsEveryRequestInOrder)
{
    TestDataFolder data;
    WriteQuadrantsAndGlass(data);
    const int glassTexture = TextureLibrary::GetInstance().FindOrLoad("Glass");
    // Thousands of half-transparent quads over each other, more vertices than the queue's first
    // buffer holds: the buffer grows in the middle of the run.
    std::vector<Matrix4> models;
    for (int i = 0; i < 3000; ++i)
        models.push_back(Matrix4::Multiply(Matrix4::Translation({-9.0f + 0.006f * static_cast<float>(i),
                                                                 4.0f - 0.0027f * static_cast<float>(i), 0}),
                                           Matrix4::Scale({2.5f, 2.5f, 1})));
    std::vector<unsigned char> frames[2];
    for (int oneByOne : {1, 0})
    {
        graphics.BeginFrame();
        for (size_t i = 0; i < models.size(); ++i)
        {
            Graphics::DrawRequest r = Request(glassTexture, models[i]);
            r.tint[i % 3] = 0.4f;
            graphics.Draw(r);
            if (oneByOne)
                graphics.Flush();
        }
        frames[oneByOne] = Frame(width, height);
    }
    size_t differing = 0;
    for (size_t i = 0; i < frames[0].size(); ++i)
        differing += frames[0][i] != frames[1][i];
    EXPECT_EQ(differing, 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

namespace
{
// The game's "base" and "alpha" shaders, each paired with a copy of it drawn at once: the
// vertices go through what the batched shaders' vertices went through before the queue did it
// for them (model matrix, camera and UV matrix applied per vertex on the GPU, with uniforms), in
// front of the same fragment shader.
// Each of `more` (a name and a fragment shader of the test's own) is paired the same way, its
// batched copy reading the game's batched vertex stream.
std::vector<std::pair<int, int>>
WriteReferenceShaders(const TestDataFolder& data,
                      const std::vector<std::pair<std::string, std::string>>& more = {})
{
    const std::string reference =
        "#version 430 core\n"
        "layout(location = 0) in vec3 aPosition;\n"
        "layout(location = 1) in vec3 aColor;\n"
        "layout(location = 3) in vec2 aTexCoord;\n"
        "uniform mat4 mTw;\nuniform mat4 wTc;\nuniform mat3 uvT;\nuniform vec3 tint;\n"
        "out vec3 vColor;\nout vec2 vTexCoord;\nflat out vec3 vTint;\n"
        "void main() { vColor = aColor; vTint = tint;\n"
        "  vTexCoord = (uvT * vec3(aTexCoord, 1.0)).xy;\n"
        "  gl_Position = wTc * mTw * vec4(aPosition, 1.0); }\n";
    ShaderLibrary& shaders = ShaderLibrary::GetInstance();
    std::vector<std::pair<int, int>> batchedAndReference;
    for (const std::string name : {"base", "alpha"})
    {
        data.Write("shaders/Reference" + name + ".vert", reference);
        data.Write("shaders/Reference" + name + ".frag",
                   ReadTextFile(ZOVERAV_SOURCE_DIR "/Data/shaders/" + name + ".frag"));
        batchedAndReference.emplace_back(shaders.FindOrLoad(name), shaders.FindOrLoad("Reference" + name));
    }
    for (const auto& [name, fragment] : more)
    {
        data.Write("shaders/" + name + ".vert", ReadTextFile(ZOVERAV_SOURCE_DIR "/Data/shaders/base.vert"));
        data.Write("shaders/" + name + ".frag", fragment);
        data.Write("shaders/Reference" + name + ".vert", reference);
        data.Write("shaders/Reference" + name + ".frag", fragment);
        batchedAndReference.emplace_back(shaders.FindOrLoad(name), shaders.FindOrLoad("Reference" + name));
    }
    return batchedAndReference;
}
}   // namespace

TEST_F(DrawTest, BatchedDrawsGiveThePixelsOfTheirShaderMathDoneOnTheGpu)
{
    TestDataFolder data;
    WriteQuadrantsAndGlass(data);
    // A quad whose corners have colours of their own.
    data.Write("Parts/Shaded.xobj", "o Shaded\n"
                                    "v -0.5 -0.5 0 1 0.25 0.5\nv 0.5 -0.5 0 0.75 1 0\n"
                                    "v 0.5 0.5 0 0.2 0.4 1\nv -0.5 0.5 0 1 1 1\n"
                                    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
                                    "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n");
    const std::vector<std::pair<int, int>> batchedAndReference = WriteReferenceShaders(data);
    TextureLibrary& textures = TextureLibrary::GetInstance();
    const int quadrants = textures.FindOrLoad("Quadrants"), glassTexture = textures.FindOrLoad("Glass");
    const int meshes[] = {plane, MeshLibrary::GetInstance().FindOrLoad("Prim_Cube"),
                          MeshLibrary::GetInstance().FindOrLoad("Shaded")};
    ASSERT_GE(meshes[1], 0);
    ASSERT_GE(meshes[2], 0);

    // Turned, sheared and scaled unevenly, at several depths, seen by a camera off the axis;
    // texture matrices that scale, shear and move.
    const float uvs[3][9] = {{1, 0, 0, 0, 1, 0, 0, 0, 1},
                             {0.125f, 0, 0, 0, 1, 0, 0.375f, 0, 1},
                             {1.5f, 0.25f, 0, -0.5f, 0.75f, 0, 0.25f, 0.5f, 1}};
    std::vector<Matrix4> models;
    for (int i = 0; i < 24; ++i)
    {
        const float f = static_cast<float>(i);
        Matrix4 m =
            Matrix4::Translation({-7.0f + 0.6f * f, 3.0f * static_cast<float>(i % 3) - 3.0f, -0.3f * f});
        m = Matrix4::Multiply(m, Matrix4::Rotation(17.0f * f, {static_cast<float>(i % 2), 0.5f, 1}));
        models.push_back(Matrix4::Multiply(m, Matrix4::Scale({2.5f + 0.1f * f, 1.5f, 2})));
    }
    Camera& camera = Camera::GetInstance();
    camera.eye = {3, -2, 13};
    camera.lookAt = {1, 0.5f, -2};
    std::vector<unsigned char> frames[2];
    for (int drawnAtOnce : {0, 1})
    {
        graphics.BeginFrame();
        for (size_t i = 0; i < models.size(); ++i)
        {
            Graphics::DrawRequest r = Request(i % 4 == 1 ? quadrants : glassTexture, models[i]);
            r.mesh = meshes[i % 3];
            const auto [batched, drawn] = batchedAndReference[i / 12];
            r.shader = drawnAtOnce ? drawn : batched;
            r.uv = uvs[i % 3];
            r.filter = static_cast<int>(i % 5 == 0);
            r.tint[0] = i % 2 ? 0.6f : 1.0f;
            r.tint[2] = 0.3f + 0.05f * static_cast<float>(i % 7);
            graphics.Draw(r);
        }
        frames[drawnAtOnce] = Frame(width, height);
    }
    camera.SetTarget(nullptr);
    const unsigned char clear[] = {18, 129, 61};
    size_t differing = 0, drawn = 0;
    for (size_t i = 0; i < frames[0].size(); i += 4)
    {
        differing += std::memcmp(&frames[0][i], &frames[1][i], 4) != 0;
        drawn += std::memcmp(&frames[1][i], clear, 3) != 0;
    }
    EXPECT_EQ(differing, 0u);
    EXPECT_GT(drawn, frames[0].size() / 4 / 8) << "the requests cover too little of the frame to tell";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Quads whose pictures have fully transparent edges (the frames of a sheet, as bots are drawn)
// are queued without those edges where their shader drops clear texels; what they draw is what
// the whole quads drawn at once give.
TEST_F(DrawTest, QuadsLeftWithoutTheirClearEdgesGiveThePixelsOfTheWholeQuads)
{
    TestDataFolder data;
    // Four 16 x 16 frames side by side, each a figure of 2 x 2 blocks inside clear margins of
    // its own width, with a few clear and half-transparent blocks inside.
    std::mt19937 random(7);
    const auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    constexpr int SheetWidth = 64, Side = 16;
    std::vector<unsigned char> sheet(static_cast<size_t>(SheetWidth) * Side * 4, 0);
    for (int frame = 0; frame < 4; ++frame)
    {
        const int left = 2 * below(3), right = Side - 2 * below(3), bottom = 2 * below(3),
                  top = Side - 2 * below(2);
        for (int y = bottom; y < top; y += 2)
            for (int x = left; x < right; x += 2)
            {
                const int kind = below(10);
                const unsigned char block[4] = {static_cast<unsigned char>(below(256)),
                                                static_cast<unsigned char>(below(256)),
                                                static_cast<unsigned char>(below(256)),
                                                static_cast<unsigned char>(kind < 2   ? 0
                                                                           : kind < 3 ? 128
                                                                                      : 255)};
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        std::memcpy(
                            &sheet[(static_cast<size_t>(y + dy) * SheetWidth + frame * Side + x + dx) * 4],
                            block, 4);
            }
    }
    data.WritePng("Textures/Sheet.png", SheetWidth, Side, 4, sheet.data());
    const int texture = TextureLibrary::GetInstance().FindOrLoad("Sheet");
    // Besides the game's shaders, which drop clear texels and say so, one that draws every texel
    // and says nothing: its quads are drawn whole.
    const std::vector<std::pair<int, int>> batchedAndReference = WriteReferenceShaders(
        data, {{"Solid", "#version 430 core\n#pragma alpha(one)\nin vec3 vColor;\nin vec2 vTexCoord;\n"
                         "uniform sampler2D baseColor;\nflat in vec3 vTint;\nout vec4 fragColor;\n"
                         "void main() { vec4 t = texture(baseColor, vTexCoord);\n"
                         "  fragColor = vec4(t.rgb * vTint * vColor + vec3(0.2), 1.0); }\n"}});
    ASSERT_EQ(batchedAndReference.size(), 3u);

    // Rounds of overlapping quads at random places and sizes (half a pixel to three pixels a
    // texel), at two depths, showing a frame of the sheet (mirrored or not) or the whole sheet.
    const auto uniform = [&random](float low, float high) {
        return low + (high - low) * static_cast<float>(random()) / static_cast<float>(std::mt19937::max());
    };
    size_t differing = 0, drawn = 0;
    for (int round = 0; round < 12; ++round)
    {
        struct Quad
        {
            Matrix4 model;
            float uv[9];
            int shader;
        };
        std::vector<Quad> quads(40);
        for (Quad& q : quads)
        {
            const float size = uniform(1.0f, 6.5f);
            q.model = Matrix4::Multiply(
                Matrix4::Translation({uniform(-11, 11), uniform(-6, 6), below(3) == 0 ? 0.25f : 0.0f}),
                Matrix4::Scale({size * (below(2) ? 1.0f : 4.0f), size, 1}));
            const float whole[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
            std::copy(std::begin(whole), std::end(whole), q.uv);
            if (below(6) != 0)
                Animation::WriteFrameUV(q.uv, below(4), 4, 1, below(2) ? 1 : -1, below(4) ? 1 : -1);
            q.shader = below(3);
        }
        std::vector<unsigned char> frames[2];
        for (int drawnAtOnce : {0, 1})
        {
            graphics.BeginFrame();
            for (const Quad& q : quads)
            {
                Graphics::DrawRequest r = Request(texture, q.model);
                const auto [batched, reference] = batchedAndReference[static_cast<size_t>(q.shader)];
                r.shader = drawnAtOnce ? reference : batched;
                r.uv = q.uv;
                graphics.Draw(r);
            }
            frames[drawnAtOnce] = Frame(width, height);
        }
        for (size_t i = 0; i < frames[0].size(); i += 4)
        {
            differing += std::memcmp(&frames[0][i], &frames[1][i], 4) != 0;
            drawn += frames[1][i] != Clear.r || frames[1][i + 1] != Clear.g || frames[1][i + 2] != Clear.b;
        }
    }
    EXPECT_EQ(differing, 0u);
    EXPECT_GT(drawn, 12u * static_cast<size_t>(width) * height / 3) << "too little was drawn to tell";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(DrawTest, TheEditorOverlayAfterTheDebugLinesLiesOverEveryQueuedDraw)
{
    for (bool lines : {false, true})
    {
        graphics.debugDrawing = lines;
        graphics.BeginFrame();
        graphics.Draw(Request(0, FullWindow));
        graphics.DrawDebugLines();
        // As the editor does: the frame so far to the window, then the overlay over it, which a
        // scissored clear of the window's left half stands in for.
        graphics.CopyFrameToWindow();
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, width / 2, height);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        graphics.EndFrame();
        EXPECT_EQ(gl->PixelAt(20, 45), (Rgba{0, 0, 255, 255})) << "debug drawing " << lines;
        EXPECT_EQ(gl->PixelAt(140, 45), (Rgba{255, 255, 255, 255})) << "debug drawing " << lines;
    }
    graphics.debugDrawing = true;
}

TEST_F(DrawTest, AStillPictureIsNeitherDrawnNorPresentedAgainUntilItChanges)
{
    WindowSystem& windows = WindowSystem::GetInstance();
    const auto savedClock = windows.clock;
    const auto savedPresent = windows.present;
    double now = 0;
    windows.clock = [&now] { return now += 0.01; };   // every frame is past the frame period
    int presented = 0;
    windows.present = [&presented] { ++presented; };
    // Draws are counted as they reach GL: the kept frame would draw nothing again where
    // nothing changed.
    graphics.keepingLayers = false;
    Matrix4 model = Matrix4::Scale({2, 2, 1});
    // One frame of the game's order: the graphics system clears and draws the quad; the
    // draws that reach GL and whether the frame was presented.
    const auto frame = [&] {
        const size_t draws = graphics.IssuedDraws();
        const int before = presented;
        windows.BeginFrame();
        graphics.BeginFrame();
        graphics.Draw(Request(-1, model));
        graphics.ClearDepth();
        graphics.EndFrame();
        windows.EndFrame();
        return std::pair{graphics.IssuedDraws() - draws, presented - before};
    };
    EXPECT_EQ(frame(), std::pair(size_t{1}, 1)) << "the first frame";
    EXPECT_EQ(frame(), std::pair(size_t{1}, 1)) << "the same again: now known to be still";
    EXPECT_EQ(frame(), std::pair(size_t{0}, 0)) << "rehearsed";
    EXPECT_EQ(frame(), std::pair(size_t{0}, 0)) << "rehearsed";
    model = Matrix4::Scale({3, 2, 1});
    EXPECT_EQ(frame(), std::pair(size_t{0}, 0)) << "the rehearsal finds the quad changed";
    EXPECT_EQ(frame(), std::pair(size_t{1}, 1)) << "and the next frame draws it";
    const Rgba inside = gl->PixelAt(80 + 10, 45), outside = gl->PixelAt(80 + 20, 45);
    EXPECT_NE(inside, Clear) << "the wider quad is in the frame";
    EXPECT_EQ(outside, Clear);
    windows.width += 2;
    EXPECT_EQ(frame(), std::pair(size_t{1}, 1)) << "a new window size is a new picture";
    windows.width -= 2;
    windows.clock = savedClock;
    windows.present = savedPresent;
    graphics.keepingLayers = true;
    windows.picture.Reset();
}

namespace
{
extern "C" unsigned long glfwGetX11Window(GLFWwindow* window);   // GLFW's own, past its native header

// What the screen shows of an X window, rows from the bottom as GL reads them, RGB.
std::vector<unsigned char> OnScreen(Display* x, unsigned long window, int width, int height)
{
    XImage* image = XGetImage(x, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    std::vector<unsigned char> rgb;
    if (!image)
        return rgb;
    for (int y = height - 1; y >= 0; --y)
        for (int column = 0; column < width; ++column)
        {
            const unsigned long p = XGetPixel(image, column, y);
            rgb.insert(rgb.end(), {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                   static_cast<unsigned char>(p)});
        }
    XDestroyImage(image);
    return rgb;
}

// The window's back buffer as it stands, RGB, rows from the bottom.
std::vector<unsigned char> BackBuffer(int width, int height)
{
    glFinish();
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}
}   // namespace

// Where the window can present parts of itself, a frame's present copies to the screen only
// what the frame drew again; the screen still shows every frame whole.
TEST_F(DrawTest, PresentsCopyOnlyWhatChangedAndTheScreenShowsEveryFrameWhole)
{
    WindowSystem& windows = WindowSystem::GetInstance();
    if (!windows.PresentsParts())
        GTEST_SKIP() << "this display presents whole frames only";
    Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    const unsigned long xWindow = glfwGetX11Window(windows.window);
    glfwShowWindow(windows.window);
    XWindowAttributes attributes{};
    for (int wait = 0; wait < 200 && attributes.map_state != IsViewable; ++wait)
    {
        glfwPollEvents();
        XGetWindowAttributes(x, xWindow, &attributes);
    }
    ASSERT_EQ(attributes.map_state, IsViewable);
    TestDataFolder data;
    data.WritePng("Textures/Quadrants.png", 2, 2, 4, Quadrants);
    const int texture = TextureLibrary::GetInstance().FindOrLoad("Quadrants");
    const float savedPeriod = windows.framePeriod;
    windows.framePeriod = 0;
    // One frame of the game's order: a quad over the window, a small one over it at `at`.
    const Matrix4 back = FullWindow;
    const auto frame = [&](float at, bool markBeforePresent) {
        const Matrix4 small =
            Matrix4::Multiply(Matrix4::Translation({at, 0, 0.1f}), Matrix4::Scale({2, 2, 1}));
        windows.BeginFrame();
        graphics.BeginFrame();
        graphics.Draw(Request(-1, back));
        graphics.Draw(Request(texture, small));
        graphics.EndFrame();
        if (markBeforePresent)
        {
            // Straight into the window, far from the small quad: no present of this frame
            // copies it.
            glEnable(GL_SCISSOR_TEST);
            glScissor(2, 2, 6, 6);
            glClearColor(1, 0, 1, 1);
            glClear(GL_COLOR_BUFFER_BIT);
            glDisable(GL_SCISSOR_TEST);
        }
        windows.EndFrame();
        XSync(x, False);
    };
    frame(-6, false);
    EXPECT_EQ(OnScreen(x, xWindow, width, height), BackBuffer(width, height)) << "the first frame, whole";
    for (float at : {-3.0f, 1.5f, 6.0f})
    {
        frame(at, false);
        EXPECT_EQ(OnScreen(x, xWindow, width, height), BackBuffer(width, height))
            << "the quad moved to " << at;
    }
    frame(3, true);
    const auto onScreen = OnScreen(x, xWindow, width, height), backBuffer = BackBuffer(width, height);
    EXPECT_NE(onScreen, backBuffer) << "the mark was presented: the present copied the whole window";
    for (size_t i = 0; i < backBuffer.size(); i += 3)
    {
        const bool marked = backBuffer[i] == 255 && backBuffer[i + 1] == 0 && backBuffer[i + 2] == 255;
        if (!marked)
        {
            ASSERT_TRUE(std::equal(&onScreen[i], &onScreen[i] + 3, &backBuffer[i])) << "pixel " << i / 3;
        }
    }
    // A whole present (the window uncovered) shows all of it.
    windows.PresentWhole();
    windows.picture.Invalidate();
    windows.EndFrame();
    XSync(x, False);
    EXPECT_EQ(OnScreen(x, xWindow, width, height), BackBuffer(width, height)) << "presented whole";
    windows.framePeriod = savedPeriod;
    XCloseDisplay(x);
}

TEST_F(DrawTest, BlendingIsLeftOutOnlyWhereItChangesNothing)
{
    TestDataFolder data;
    WriteQuadrantsAndGlass(data);
    const unsigned char holes[] = {255, 128, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0, 40, 90, 200, 255};
    data.WritePng("Textures/Holes.png", 2, 2, 4, holes);
    // The same shaders taking everything as uniforms: drawn at once, always blended.
    const std::string vertex =
        "#version 430 core\n"
        "layout(location = 0) in vec3 aPosition;\nlayout(location = 1) in vec3 aColor;\n"
        "layout(location = 3) in vec2 aTexCoord;\n"
        "uniform mat4 mTw;\nuniform mat4 wTc;\nuniform mat3 uvT;\n"
        "out vec3 vColor;\nout vec2 vTexCoord;\n"
        "void main() { vColor = aColor; vTexCoord = (uvT * vec3(aTexCoord, 1.0)).xy;\n"
        "  gl_Position = wTc * mTw * vec4(aPosition, 1.0); }\n";
    const std::string fragmentStart =
        "#version 430 core\nin vec3 vColor;\nin vec2 vTexCoord;\n"
        "uniform sampler2D baseColor;\nuniform vec3 tint;\nout vec4 fragColor;\n"
        "void main() { vec4 texel = texture(baseColor, vTexCoord);\n";
    data.Write("shaders/BlendedBase.vert", vertex);
    data.Write("shaders/BlendedBase.frag", fragmentStart +
                                               "  if (texel.a < 1.0 / 255.0) discard;\n"
                                               "  fragColor = vec4(texel.rgb * tint * vColor, texel.a); }\n");
    data.Write("shaders/BlendedAlpha.vert", vertex);
    data.Write("shaders/BlendedAlpha.frag", fragmentStart +
                                                "  if (texel.a < 0.5) discard;\n"
                                                "  fragColor = vec4(texel.rgb * tint * vColor, 1.0); }\n");
    TextureLibrary& textures = TextureLibrary::GetInstance();
    ShaderLibrary& shaders = ShaderLibrary::GetInstance();
    const int alpha = shaders.FindOrLoad("alpha");
    const std::pair<int, int> pairs[] = {{base, shaders.FindOrLoad("BlendedBase")},
                                         {alpha, shaders.FindOrLoad("BlendedAlpha")}};
    const int pictures[] = {textures.FindOrLoad("Quadrants"), textures.FindOrLoad("Glass"),
                            textures.FindOrLoad("Holes")};

    // A tinted floor, then each picture with each filter over it and over each other.
    std::vector<Matrix4> models;
    for (int i = 0; i < 13; ++i)
        models.push_back(
            i == 0 ? FullWindow
                   : Matrix4::Multiply(Matrix4::Translation({-9.0f + 1.5f * static_cast<float>(i),
                                                             static_cast<float>(i % 3) * 2.0f - 2.0f, 0}),
                                       Matrix4::Scale({5, 5, 1})));
    const auto drawAll = [&](bool blended) {
        graphics.BeginFrame();
        for (int i = 0; i < 13; ++i)
        {
            const auto [shader, uniformShader] = pairs[i == 0 ? 0 : (i - 1) / 6];
            Graphics::DrawRequest r =
                Request(i == 0 ? 0 : pictures[(i - 1) % 3], models[static_cast<size_t>(i)]);
            r.shader = blended ? uniformShader : shader;
            r.filter = i == 0 ? 0 : (i - 1) / 3 % 2;
            r.tint[0] = i == 0 ? 0.3f : 1.0f;
            graphics.Draw(r);
        }
        return Frame(width, height);
    };
    const std::vector<unsigned char> queued = drawAll(false), blended = drawAll(true);
    size_t differing = 0;
    for (size_t i = 0; i < queued.size(); ++i)
        differing += queued[i] != blended[i];
    EXPECT_EQ(differing, 0u);
}
