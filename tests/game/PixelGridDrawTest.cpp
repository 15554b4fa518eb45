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
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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
        grid = Grid(Rows);
        eye = Camera::GetInstance().eye;
        lookAt = Camera::GetInstance().lookAt;
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
    // One frame of a sequence: what changes before it is drawn, and whether the kept frame is
    // to draw it again only where it changed (it is drawn in full after a new window size).
    struct Step
    {
        std::string what;
        std::function<void()> change;
        bool inParts = true;
    };
    // The frames of `steps` twice from the same start (the terrain whole, nothing moved, the
    // camera and the window as at the start): one after another through the kept frame, and
    // each drawn in full. Every frame must come out the same both ways. The pictures kept.
    std::vector<std::vector<unsigned char>> ExpectKeptAsDrawn(const std::vector<Step>& steps)
    {
        std::vector<std::vector<unsigned char>> pictures[2];
        for (const bool keeping : {true, false})
        {
            grid = Grid(Rows);
            motion = 0;
            Camera::GetInstance().eye = eye, Camera::GetInstance().lookAt = lookAt;
            if (width != 160 || height != 90)
                Resize(160, 90);
            for (const Step& step : steps)
            {
                step.change();
                const size_t kept = graphics.KeptFrames(), partly = graphics.PartlyDrawnFrames();
                pictures[keeping].push_back(Picture(keeping));
                if (keeping)
                {
                    EXPECT_EQ(graphics.KeptFrames(), kept + 1)
                        << step.what << ": the kept frame was not used";
                    EXPECT_EQ(graphics.PartlyDrawnFrames(), partly + (step.inParts ? 1 : 0))
                        << step.what << ": drawn in parts or in full, not as expected";
                }
            }
        }
        for (size_t i = 0; i < steps.size(); ++i)
            EXPECT_TRUE(pictures[1][i] == pictures[0][i]) << steps[i].what;
        return pictures[1];
    }

    // A first frame, then `frames` frames of motion 1, 2, ...; before motion `digAt` the cell
    // (cx, cy) is dug.
    std::vector<Step> Moving(int frames, int digAt, int cx, int cy)
    {
        std::vector<Step> steps = {{"first frame", [] {}, false}};
        for (int m = 1; m <= frames; ++m)
            steps.push_back({"motion " + std::to_string(m), [=, this] {
                                 motion = m;
                                 if (m == digAt)
                                     grid->SetCell(cx, cy, PixelGrid::Empty);
                             }});
        return steps;
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

    inline static const std::vector<std::string> Rows = {
        "........",
        "..####..",
        "########",
        "########",
    };
    TestDataFolder data;
    GraphicsSystem& graphics = GraphicsSystem::GetInstance();
    std::unique_ptr<PixelGrid> grid;
    Vec3 eye, lookAt;   // the camera's at the start
    int sky_ = -1, plane = -1, cube = -1, base = -1, cutOut = -1, walker = -1;
    float backgroundZ = -1;
    int motion = 0;
    int boxes = 300, walkers = 0;
};
}   // namespace

TEST_F(KeptTerrain, GivesThePixelsOfDrawingEverythingAgain)
{
    Camera& camera = Camera::GetInstance();
    const auto nothing = [] {};
    const std::vector<std::vector<unsigned char>> pictures = ExpectKeptAsDrawn({
        {"first frame", nothing, false},
        {"a frame that changed nothing", nothing},
        {"after a dig",
         [&] {
             // Cells dug and built since the kept frame last showed the terrain.
             grid->SetCell(2, 2, PixelGrid::Empty);
             grid->SetCell(5, 0, PixelGrid::Empty);
             grid->SetCell(0, 3, PixelGrid::Bridge);
         }},
        {"after the camera moved", [&] { camera.eye.x += 0.7f, camera.lookAt.x += 0.7f; }},
        {"with the camera back", [&] { camera.eye.x -= 0.7f, camera.lookAt.x -= 0.7f; }},
        {"in a smaller window", [&] { Resize(width * 3 / 4, height * 2 / 3); }, false},
        {"a frame that changed nothing there", nothing},
        {"back at full size", [&] { Resize(160, 90); }, false},
    });
    EXPECT_FALSE(pictures[1] == pictures[2]) << "the dig shows";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(KeptTerrain, DrawsThatMoveComeAndGoGiveThePixelsOfDrawingEverythingAgain)
{
    std::vector<Step> steps = Moving(5, 3, 3, 1);
    steps.push_back({"back where it started", [this] { motion = 0; }});
    ExpectKeptAsDrawn(steps);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A crowd of cut-out figures at one depth is drawn again last first where it ends a changed
// area: each pixel still shows the figure drawn over it last, and the terrain level with them
// and what lies in front of them keep their places. No boxes: where their sides cross the
// figures' depth the figures are drawn in order.
TEST_F(KeptTerrain, ACrowdOfFiguresOverEachOtherGivesThePixelsOfDrawingEverythingAgain)
{
    walkers = 120;
    boxes = 0;
    ExpectKeptAsDrawn(Moving(6, 4, 2, 1));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(KeptTerrain, WhatLiesInFrontOfTheTerrainStillHidesIt)
{
    // The background in front of the terrain hides parts of it: the kept frame keeps its depth.
    backgroundZ = 0.2f;
    ExpectKeptAsDrawn({
        {"first frame", [] {}, false},
        {"after a dig", [&] { grid->SetCell(2, 2, PixelGrid::Empty); }},
    });
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
