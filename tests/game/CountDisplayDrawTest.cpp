// The count display on a real context: each character of its text lands on its own glyph quad
// and shows its own cell of the sheet, read back at the quad centres.
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorSpawner.h"
#include "graphics/GraphicsSystem.h"
#include "scene/Entity.h"
#include "scene/Scene.h"
#include "tests/common/GlWindow.h"
#include "tests/common/LevelFixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
using Rgba = GlWindow::Rgba;
const Rgba Clear{18, 129, 61, 255};

// A sheet of 16 x 8 cells of 4 x 4 pixels, each cell one colour that names it: red from the
// column, green from the row (counted from the top), blue fixed.
constexpr int Cell = 4;
Rgba CellColour(int column, int row) { return {column * 16 + 8, row * 32 + 16, 200, 255}; }

std::vector<unsigned char> CodedSheet()
{
    std::vector<unsigned char> pixels;
    for (int y = 0; y < 8 * Cell; ++y)
        for (int x = 0; x < 16 * Cell; ++x)
        {
            const Rgba c = CellColour(x / Cell, y / Cell);
            pixels.insert(pixels.end(), {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                                         static_cast<unsigned char>(c.b), 255});
        }
    return pixels;
}

Rgba GlyphColour(char c) { return CellColour((c - 32) % 16, (c - 32) / 16); }

// The default camera at (0, 0, 15) shows the plane z = 0 on a 160 x 90 window at 7.2436 pixels
// per unit around the centre (80, 45).
int PixelX(float x) { return static_cast<int>(80 + x * 7.2436f); }
int PixelY(float y) { return static_cast<int>(45 + y * 7.2436f); }

class CountDisplayDrawTest : public GlWindowTest
{
protected:
    LevelFixture level;
};
}   // namespace

TEST_F(CountDisplayDrawTest, DigitsAndTheSceneNameAreDrawnAtTheirPlaces)
{
    const std::vector<unsigned char> sheet = CodedSheet();
    level.data.WritePng("Textures/CodedGlyphs.png", 16 * Cell, 8 * Cell, 4, sheet.data());
    level.Add({{"Name", "Spawner"}, {"Components", {{{"Type", "BehaviorSpawner"}, {"SpawnCount", 6}}}}});
    // Glyphs two units tall with the pen origin at (-6, 1): line 0 at y = 1, line 2 at y = -3.
    level.Add({{"Name", "Walking"},
               {"Components",
                {{{"Type", "CountBoardDisplay"}},
                 {{"Type", "Font"}, {"Texture", "CodedGlyphs"}, {"InputText", ""}},
                 {{"Type", "Transform"}, {"Translation", {-6, 1, 0}}, {"Scale", {2, 2, 1}}}}}});
    level.Scene().Name = "Ab";
    BehaviorCountBoard::DeadCount = 1;
    BehaviorCountBoard::ExitedCount = 2;
    // The spawner's start resets its count: the first frame only starts it.
    level.Frame();
    level.Named("Spawner")[0]->GetComponent<BehaviorSpawner>()->SpawnCount = 6;

    GraphicsSystem::GetInstance().BeginFrame();
    level.Frame();   // ": 3", an empty line, "Ab"
    gl->Finish();

    struct Probe
    {
        char c;
        float x, y;
    };
    const Probe glyphs[] = {{':', -4, 1}, {' ', -2, 1}, {'3', 0, 1}, {'A', -4, -3}, {'b', -2, -3}};
    for (const Probe& g : glyphs)
        for (float dx : {-0.6f, 0.0f, 0.6f})   // the whole quad shows the one cell
            EXPECT_EQ(gl->PixelAt(PixelX(g.x + dx), PixelY(g.y + dx)), GlyphColour(g.c))
                << "'" << g.c << "' at " << g.x + dx << ", " << g.y + dx;
    // Past the end of a line and on the empty line nothing is drawn.
    for (auto [x, y] : {std::pair{2.0f, 1.0f}, {-4.0f, -1.0f}, {0.0f, -3.0f}})
        EXPECT_EQ(gl->PixelAt(PixelX(x), PixelY(y)), Clear) << x << ", " << y;
}
