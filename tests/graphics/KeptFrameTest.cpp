#include "graphics/KeptFrame.h"
#include "tests/common/GlWindow.h"

#include <GL/glew.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace
{
using Rect = Graphics::PixelRect;
using Drawn = KeptFrame::Drawn;
constexpr int Width = 320, Height = 192;   // ten squares across, six up
constexpr int T = KeptFrame::Tile;

std::string Text(const std::vector<Rect>& areas)
{
    std::ostringstream text;
    for (const Rect& r : areas)
        text << "[" << r.x0 << "," << r.y0 << " " << r.x1 << "," << r.y1 << "]";
    return text.str();
}

// A draw known by `notes` over the square at column `tx`, row `ty` (a few pixels inside it).
Drawn In(uint64_t notes, int tx, int ty)
{
    return {notes, {tx * T + 4, ty * T + 4, tx * T + 20, ty * T + 20}};
}
Rect Square(int tx, int ty, int across = 1, int up = 1)
{
    return {tx * T, ty * T, (tx + across) * T, (ty + up) * T};
}
}   // namespace

TEST(KeptFrameChanges, OnlyThePixelsOfDrawsWithoutAPartnerAreDrawnAgain)
{
    // Five draws in a row over the bottom row of squares; the background spans them all.
    const Drawn background{1, {0, 0, 5 * T, T}};
    const std::vector<Drawn> kept = {background,   In(10, 0, 0), In(11, 1, 0), In(12, 2, 0),
                                     In(13, 3, 0), In(14, 4, 0), In(20, 6, 2), In(21, 6, 2)};
    struct Case
    {
        const char* name;
        std::vector<Drawn> now;
        std::vector<Rect> also, expected;
    } cases[] = {
        {"the same draws", kept, {}, {}},
        {"one moved up a row",
         {background, In(10, 0, 0), In(11, 1, 0), In(99, 2, 1), In(13, 3, 0), In(14, 4, 0), In(20, 6, 2),
          In(21, 6, 2)},
         {},
         {Square(2, 0, 1, 2)}},
        {"one left out: those after it keep their partners",
         {background, In(10, 0, 0), In(12, 2, 0), In(13, 3, 0), In(14, 4, 0), In(20, 6, 2), In(21, 6, 2)},
         {},
         {Square(1, 0)}},
        {"one more in the middle",
         {background, In(10, 0, 0), In(11, 1, 0), In(50, 7, 3), In(12, 2, 0), In(13, 3, 0), In(14, 4, 0),
          In(20, 6, 2), In(21, 6, 2)},
         {},
         {Square(7, 3)}},
        {"two that overlap drawn the other way round",
         {background, In(10, 0, 0), In(11, 1, 0), In(12, 2, 0), In(13, 3, 0), In(14, 4, 0), In(21, 6, 2),
          In(20, 6, 2)},
         {},
         {Square(6, 2)}},
        {"a changed part of a texture", kept, {{100, 100, 110, 110}}, {Square(3, 3)}},
        {"parts outside the window are left out", kept, {{-50, -50, -1, -1}, {Width, 0, Width + 9, 9}}, {}},
        {"nothing drawn any more", {}, {}, {Square(0, 0, 5), Square(6, 2)}},
        {"a draw over most of the window: all of it, once",
         {background,
          In(10, 0, 0),
          In(11, 1, 0),
          In(12, 2, 0),
          In(13, 3, 0),
          In(14, 4, 0),
          In(20, 6, 2),
          In(21, 6, 2),
          {77, {10, 10, Width - 10, Height - 40}}},
         {},
         {{0, 0, Width, Height}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(KeptFrame::Changes(kept, c.now, c.also, Width, Height)), Text(c.expected)) << c.name;
}

TEST(KeptFrameChanges, SquaresAreGatheredIntoFewRectangles)
{
    // A 3 x 2 block, a lone square beside it, and a run that is wider than the block above it.
    const std::vector<Rect> also = {Square(1, 1, 3, 2), Square(6, 1), Square(1, 3, 4, 1)};
    EXPECT_EQ(Text(KeptFrame::Changes({}, {}, also, Width, Height)),
              Text({Square(1, 1, 3, 2), Square(6, 1), Square(1, 3, 4, 1)}));
    // The last row and column of squares are cut at the window's edge.
    EXPECT_EQ(Text(KeptFrame::Changes({}, {}, {{Width - 10, Height - 10, Width - 8, Height - 8}}, Width - 7,
                                      Height - 7)),
              Text({{9 * T, 5 * T, Width - 7, Height - 7}}));
}

namespace
{
using KeptFrameTarget = GlWindowTest;
}   // namespace

TEST_F(KeptFrameTarget, ClearingAnAreaTouchesItAloneAndTheCopyShowsIt)
{
    KeptFrame kept;
    ASSERT_TRUE(kept.Bind(width, height));
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // An area off the middle in both directions: a flipped row order would show elsewhere.
    const Rect area{10, 60, 30, 80};
    const float green[4] = {0, 1, 0, 1};
    kept.Clear(area, green);
    kept.CopyColourToFrame();
    glFinish();
    const GlWindow::Rgba red{255, 0, 0, 255}, cleared{0, 255, 0, 255};
    EXPECT_EQ(gl->PixelAt(10, 60), cleared);
    EXPECT_EQ(gl->PixelAt(29, 79), cleared);
    for (const auto& [x, y] : {std::pair{9, 60}, {10, 59}, {30, 79}, {29, 80}, {10, 29}, {20, 10}})
        EXPECT_EQ(gl->PixelAt(x, y), red) << x << ", " << y;
    kept.Delete();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
