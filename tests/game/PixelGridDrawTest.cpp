// The terrain on a real context: its cells read back at the centre of each cell.
#include "game/PixelGrid.h"
#include "graphics/GraphicsSystem.h"
#include "tests/common/AsciiGrid.h"
#include "tests/common/GlWindow.h"

#include <GL/glew.h>
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
