// The terrain on a real context: its cells read back at the centre of each cell, and whole
// frames through the kept frame against frames drawn in full.
#include "engine/WindowSystem.h"
#include "game/PixelGrid.h"
#include "graphics/Animation.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"
#include "tests/common/AsciiGrid.h"
#include "tests/common/GlWindow.h"
#include "tests/common/TestDataFolder.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

namespace
{
using Rgba = GlWindow::Rgba;
const Rgba Clear{18, 129, 61, 255};   // the frame's clear colour: what shows through empty cells
const Rgba Ground{0x7A, 0x52, 0x30, 255};
const Rgba Rock{0x6E, 0x6E, 0x78, 255};
const Rgba Acid{0x4C, 0xE0, 0x3C, 255};
const Rgba Bridge{0xAC, 0x32, 0x32, 255};

// The default camera shows world (x, y, 0) at pixel (80 + 7.2436 x, 45 + 7.2436 y) of the
// 160 x 90 window. With CellSize 0.5 and Origin (2, 2) cell (cx, cy) covers world
// [2 cx - 4, 2 cx - 2) x [2 cy - 4, 2 cy - 2): about 14 pixels a side.
class PixelGridDraw : public GlWindowTest
{
protected:
    std::unique_ptr<PixelGrid> Grid(const std::vector<std::string>& rows)
    {
        return AsciiGrid::Make(rows, 0.5f, {2, 2});
    }
    Rgba CellPixel(int cx, int cy) const
    {
        const float x = 2.0f * static_cast<float>(cx) - 3.0f, y = 2.0f * static_cast<float>(cy) - 3.0f;
        return gl->PixelAt(static_cast<int>(80 + 7.2436f * x), static_cast<int>(45 + 7.2436f * y));
    }
    void Frame(PixelGrid& grid)
    {
        grid.Update(0);
        GraphicsSystem::GetInstance().BeginFrame();
        grid.Render();
        gl->Finish();
    }
    std::vector<std::vector<Rgba>> Picture(int width, int height) const
    {
        std::vector<std::vector<Rgba>> rows;
        for (int cy = height - 1; cy >= 0; --cy)
        {
            rows.emplace_back();
            for (int cx = 0; cx < width; ++cx)
                rows.back().push_back(CellPixel(cx, cy));
        }
        return rows;
    }
};
}   // namespace

TEST_F(PixelGridDraw, EveryCellInItsMaterialColourAndEmptyCellsClear)
{
    auto grid = Grid({
        "R...",
        "~#=.",
        "##.#",
        "####",
    });
    Frame(*grid);
    const std::vector<std::vector<Rgba>> expected = {
        {Rock, Clear, Clear, Clear},
        {Acid, Ground, Bridge, Clear},
        {Ground, Ground, Clear, Ground},
        {Ground, Ground, Ground, Ground},
    };
    EXPECT_EQ(Picture(4, 4), expected);
    EXPECT_EQ(gl->PixelAt(80 + 35, 45), Clear) << "right of the grid";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PixelGridDraw, OneDugCellChangesThePicture)
{
    auto grid = Grid({
        "....",
        "....",
        "####",
        "####",
    });
    Frame(*grid);
    ASSERT_EQ(CellPixel(2, 1), Ground);
    grid->SetCell(2, 1, PixelGrid::Empty);
    grid->SetCell(0, 3, PixelGrid::Bridge);
    Frame(*grid);
    EXPECT_EQ(grid->UploadedRows, 2);
    EXPECT_EQ(CellPixel(2, 1), Clear) << "the dug cell";
    EXPECT_EQ(CellPixel(0, 3), Bridge) << "the laid bridge";
    EXPECT_EQ(CellPixel(1, 1), Ground) << "its neighbour";
    EXPECT_EQ(CellPixel(2, 0), Ground) << "the cell below";

    // A clone has no texture of its own yet: it builds one from its cells.
    std::unique_ptr<PixelGrid> copy(static_cast<PixelGrid*>(grid->Clone()));
    copy->SetCell(3, 0, PixelGrid::Empty);
    grid.reset();
    Frame(*copy);
    EXPECT_EQ(CellPixel(2, 1), Clear);
    EXPECT_EQ(CellPixel(3, 0), Clear);
    EXPECT_EQ(CellPixel(0, 0), Ground);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(PixelGridDraw, ADrawShowsTheCellsAsTheyWereWhenItWasAskedFor)
{
    auto grid = Grid({
        "....",
        "####",
    });
    grid->Update(0);
    GraphicsSystem::GetInstance().BeginFrame();
    grid->Render();
    // Dug and sent after the draw was asked for, before the frame went out.
    grid->SetCell(1, 0, PixelGrid::Empty);
    grid->Update(0);
    EXPECT_EQ(CellPixel(1, 0), Ground);
    Frame(*grid);
    EXPECT_EQ(CellPixel(1, 0), Clear) << "the next frame shows the hole";
}

namespace
{
// The terrain over a half-transparent background, with draws after it in front of it, level
// with it and behind it: every frame read back whole, drawn through the kept frame or in full.
class KeptTerrain : public PixelGridDraw
{
protected:
    void SetUp() override
    {
        PixelGridDraw::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // Rows top first: opaque red and green, then half-transparent blue and white.
        const unsigned char sky[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 128, 255, 255, 255, 100};
        data.WritePng("Textures/Sky.png", 2, 2, 4, sky);
        sky_ = TextureLibrary::GetInstance().FindOrLoad("Sky");
        plane = MeshLibrary::GetInstance().FindOrLoad("Prim_Plane");
        cube = MeshLibrary::GetInstance().FindOrLoad("Prim_Cube");
        base = ShaderLibrary::GetInstance().FindOrLoad("base");
        cutOut = ShaderLibrary::GetInstance().FindOrLoad("alpha");
        // Four 8 x 8 frames of a figure in 2 x 2 blocks inside clear edges, some blocks clear.
        std::vector<unsigned char> sheet(32 * 8 * 4, 0);
        for (int i = 0; i < 32 * 8; ++i)
        {
            const int x = i % 32, y = i / 32, cell = x % 8, block = x / 2 * 7 + y / 2 * 3;
            if (cell < 1 || cell > 6 || y > 6 || block % 5 == 0)
                continue;
            const unsigned char texel[4] = {static_cast<unsigned char>(block * 37),
                                            static_cast<unsigned char>(block * 91),
                                            static_cast<unsigned char>(x * 8), 255};
            std::copy(texel, texel + 4, &sheet[static_cast<size_t>(i) * 4]);
        }
        data.WritePng("Textures/Walker.png", 32, 8, 4, sheet.data());
        walker = TextureLibrary::GetInstance().FindOrLoad("Walker");
        ASSERT_GE(cube, 0);
        grid = Grid({
            "........",
            "..####..",
            "########",
            "########",
        });
    }
    void TearDown() override
    {
        graphics.keepingLayers = true;
        Camera::GetInstance().SetTarget(nullptr);
        PixelGridDraw::TearDown();
    }

    std::vector<unsigned char> Picture(bool keeping)
    {
        graphics.keepingLayers = keeping;
        grid->Update(0);
        graphics.BeginFrame();
        const Matrix4 background =
            Matrix4::Multiply(Matrix4::Translation({0, 0, backgroundZ}), Matrix4::Scale({30, 20, 1}));
        Draw(plane, background);
        grid->Render();
        // In front, level with the terrain (z 0), straddling it and behind it, over solid cells.
        Draw(plane, Matrix4::Multiply(Matrix4::Translation({-3, -1, 0.5f}), Matrix4::Scale({1.5f, 1.5f, 1})));
        Draw(plane, Matrix4::Multiply(Matrix4::Translation({0, -1, 0}), Matrix4::Scale({1.5f, 1.5f, 1})));
        if (boxes > 0)
            Draw(cube,
                 Matrix4::Multiply(Matrix4::Translation({3, -1, 0}), Matrix4::Scale({1.5f, 1.5f, 1.5f})));
        Draw(plane, Matrix4::Multiply(Matrix4::Translation({5, -3, -0.5f}), Matrix4::Scale({3, 3, 1})));
        // Small boxes through the terrain (`boxes` of them), as dig particles fly: their sides
        // cross its depth.
        // With `motion`, some move, some are left out and two overlapping ones swap places.
        for (int i = 0; i < boxes; ++i)
        {
            if (motion > 0 && (i + motion) % 7 == 0)
                continue;
            const int at = motion % 2 == 1 && (i == 40 || i == 41) ? 81 - i : i;
            const float x = -7.5f + 0.047f * static_cast<float>(at) +
                            0.05f * static_cast<float>(motion * (i % 5)),
                        y = -3.8f + 0.029f * static_cast<float>(at % 97);
            const float size = 0.2f + 0.01f * static_cast<float>(i % 13);
            Draw(cube,
                 Matrix4::Multiply(Matrix4::Translation({x, y, 0}), Matrix4::Scale({size, size, size})));
        }
        // Last, a crowd of cut-out figures level with the terrain, over each other, walking.
        for (int i = 0; i < walkers; ++i)
        {
            const float x = -6.5f + 0.12f * static_cast<float>(i % 40) +
                            0.09f * static_cast<float>(motion * (i % 3)),
                        y = -1.8f + 0.21f * static_cast<float>(i % 9);
            const Matrix4 model =
                Matrix4::Multiply(Matrix4::Translation({x, y, 0}), Matrix4::Scale({1.4f, 1.4f, 1}));
            float uv[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
            Animation::WriteFrameUV(uv, (i + motion) % 4, 4, 1, i % 2 ? 1 : -1, 1);
            Graphics::DrawRequest r;
            r.mesh = plane;
            r.shader = cutOut;
            r.texture = walker;
            r.model = &model;
            r.uv = uv;
            r.tint[1] = i % 3 ? 1.0f : 0.6f;
            graphics.Draw(r);
        }
        graphics.EndFrame();
        glFinish();
        std::vector<unsigned char> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    // The same frame through the kept frame and drawn in full: it must come out the same.
    void ExpectKeptAsDrawn(const char* when)
    {
        const size_t keptBefore = graphics.KeptFrames();
        const std::vector<unsigned char> kept = Picture(true);
        EXPECT_EQ(graphics.KeptFrames(), keptBefore + 1) << when << ": the kept frame was not used";
        EXPECT_TRUE(kept == Picture(false)) << when;
    }

    // The window's framebuffer takes the new size, then the game hears of it as from GLFW.
    void Resize(int w, int h)
    {
        GLFWwindow* window = WindowSystem::GetInstance().window;
        glfwSetWindowSize(window, w, h);
        int fw = 0, fh = 0;
        for (int tries = 0; tries < 100 && (fw != w || fh != h); ++tries)
        {
            glfwPollEvents();
            glfwGetFramebufferSize(window, &fw, &fh);
        }
        ASSERT_EQ(fw, w);
        width = w;
        height = h;
        GraphicsSystem::OnFramebufferResize(window, w, h);
    }

    void Draw(int mesh, const Matrix4& model)
    {
        Graphics::DrawRequest r;
        r.mesh = mesh;
        r.shader = base;
        r.texture = sky_;
        r.model = &model;
        graphics.Draw(r);
    }

    TestDataFolder data;
    GraphicsSystem& graphics = GraphicsSystem::GetInstance();
    std::unique_ptr<PixelGrid> grid;
    int sky_ = -1, plane = -1, cube = -1, base = -1, cutOut = -1, walker = -1;
    float backgroundZ = -1;
    int motion = 0;
    int boxes = 300, walkers = 0;
};
}   // namespace

TEST_F(KeptTerrain, GivesThePixelsOfDrawingEverythingAgain)
{
    ExpectKeptAsDrawn("first frame");
    // What lies behind the terrain stays hidden where the cells are solid.
    const Rgba hidden = CellPixel(5, 0);
    EXPECT_EQ(hidden, Ground);
    ExpectKeptAsDrawn("a frame that changed nothing");

    // Cells dug and built since the kept frame last showed the terrain.
    const std::vector<unsigned char> before = Picture(true);
    grid->SetCell(2, 2, PixelGrid::Empty);
    grid->SetCell(5, 0, PixelGrid::Empty);
    grid->SetCell(0, 3, PixelGrid::Bridge);
    ExpectKeptAsDrawn("after a dig");
    EXPECT_FALSE(Picture(true) == before) << "the dig shows";
    EXPECT_NE(CellPixel(5, 0), hidden) << "what lay behind the dug cell";
    // Changed while frames were drawn in full: shown at the next frame through the kept frame.
    Picture(false);
    grid->SetCell(7, 1, PixelGrid::Empty);
    Picture(false);
    ExpectKeptAsDrawn("after frames drawn in full");

    Camera& camera = Camera::GetInstance();
    camera.eye.x += 0.7f;
    camera.lookAt.x += 0.7f;
    ExpectKeptAsDrawn("after the camera moved");
    camera.eye.x -= 0.7f;
    camera.lookAt.x -= 0.7f;

    Resize(width * 3 / 4, height * 2 / 3);
    ExpectKeptAsDrawn("in a smaller window");
    Resize(160, 90);
    ExpectKeptAsDrawn("back at full size");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(KeptTerrain, DrawsThatMoveComeAndGoGiveThePixelsOfDrawingEverythingAgain)
{
    ExpectKeptAsDrawn("first frame");
    for (motion = 1; motion <= 5; ++motion)
    {
        if (motion == 3)
            grid->SetCell(3, 1, PixelGrid::Empty);
        ExpectKeptAsDrawn(("motion " + std::to_string(motion)).c_str());
    }
    motion = 0;
    ExpectKeptAsDrawn("back where it started");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A crowd of cut-out figures at one depth is drawn again last first where it ends a changed
// area: each pixel still shows the figure drawn over it last, and the terrain level with them
// and what lies in front of them keep their places.
TEST_F(KeptTerrain, ACrowdOfFiguresOverEachOtherGivesThePixelsOfDrawingEverythingAgain)
{
    // The same frames twice from the same start: one after the other through the kept frame,
    // each drawn again only where it changed, and each drawn in full. No boxes: where their
    // sides cross the figures' depth the figures are drawn in order.
    walkers = 120;
    boxes = 0;
    const auto frames = [&](bool keeping) {
        grid = Grid({
            "........",
            "..####..",
            "########",
            "########",
        });
        std::vector<std::vector<unsigned char>> pictures;
        for (motion = 0; motion <= 6; ++motion)
        {
            if (motion == 4)
                grid->SetCell(2, 1, PixelGrid::Empty);
            pictures.push_back(Picture(keeping));
        }
        return pictures;
    };
    const size_t partly = graphics.PartlyDrawnFrames();
    const auto kept = frames(true);
    EXPECT_EQ(graphics.PartlyDrawnFrames() - partly, 6u) << "every frame after the first was drawn in parts";
    const auto drawn = frames(false);
    for (size_t i = 0; i < kept.size(); ++i)
        EXPECT_TRUE(kept[i] == drawn[i]) << "motion " << i;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(KeptTerrain, WhatLiesInFrontOfTheTerrainStillHidesIt)
{
    // The background in front of the terrain hides parts of it: the kept frame keeps its depth.
    backgroundZ = 0.2f;
    ExpectKeptAsDrawn("first frame");
    grid->SetCell(2, 2, PixelGrid::Empty);
    ExpectKeptAsDrawn("after a dig");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
