#include "graphics/Font.h"

#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>

namespace
{
std::vector<std::pair<float, float>> Pens(const std::string& text)
{
    std::vector<std::pair<float, float>> pens;
    for (const Font::Glyph& glyph : Font::Layout(text))
        pens.emplace_back(glyph.pen.x, glyph.pen.y);
    return pens;
}
}   // namespace

TEST(FontLayout, PensStartAtOneAndLineBreaksGoDownWithoutDrawing)
{
    using Pen = std::vector<std::pair<float, float>>;
    EXPECT_EQ(Pens("AB"), (Pen{{1, 0}, {2, 0}}));
    EXPECT_EQ(Pens("A\nB"), (Pen{{1, 0}, {1, -1}}));
    EXPECT_EQ(Pens("AB\n\nC"), (Pen{{1, 0}, {2, 0}, {1, -2}}));
    EXPECT_EQ(Pens(": 7\n"), (Pen{{1, 0}, {2, 0}, {3, 0}}));
    EXPECT_TRUE(Pens("").empty());
    EXPECT_TRUE(Pens("\n\n").empty());
}

TEST(FontLayout, EachByteSelectsItsCellCountedFromTheTopLeft)
{
    struct Case
    {
        char c;
        float u, v;
    };
    const Case cases[] = {
        {' ', 0.0f, 0.875f},                              // cell 0: the top-left corner
        {'A', 0.0625f, 0.625f},                           // cell 33: column 1 of the third row
        {'0', 0.0f, 0.75f},                               // cell 16: the second row starts with the digits
        {'9', 0.5625f, 0.75f},    {'~', 0.875f, 0.25f},   // cell 94: the last printable glyph, sixth row
        {'\t', -0.4375f, 1.0f},     // below the sheet: repeat wrap samples the right half
        {'\x7f', 0.9375f, 0.25f},   // cell 95
    };
    for (const Case& c : cases)
    {
        const Vec2 offset = Font::CellOffset(c.c);
        EXPECT_FLOAT_EQ(offset.x, c.u) << "byte " << int(c.c);
        EXPECT_FLOAT_EQ(offset.y, c.v) << "byte " << int(c.c);
    }
    const std::vector<Font::Glyph> glyphs = Font::Layout("A\tB");
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_FLOAT_EQ(glyphs[1].uvOffset.x, -0.4375f) << "a tab is a glyph like any other";
    EXPECT_FLOAT_EQ(glyphs[2].pen.x, 3);
}

TEST(Font, DrawsOnlyWithATransformAndLeavesTheLastGlyphsCell)
{
    Entity entity;
    auto* font = new Font();
    font->Text = "AB";
    entity.AddComponent(font);
    font->Render();
    EXPECT_EQ(font->Columns, 0) << "no transform: nothing is drawn";
    EXPECT_EQ(font->uv[0], 1.0f);

    entity.AddComponent(new Transform());
    font->Render();
    EXPECT_EQ(font->Columns, 16);
    EXPECT_EQ(font->Rows, 8);
    const float lastCell[9] = {0.0625f, 0, 0, 0, 0.125f, 0, Font::CellOffset('B').x, Font::CellOffset('B').y,
                               1};
    for (int i = 0; i < 9; ++i)
        EXPECT_FLOAT_EQ(font->uv[i], lastCell[i]) << "entry " << i;
}

TEST(Font, ReadTakesDefaultsForAbsentKeysButKeepsTheTextWhenItIsMissing)
{
    Font font;
    font.Read(
        json{{"Type", "Font"}, {"InputText", "Level 1"}, {"space", "uiProj"}, {"tint", {0.5, 0.25, 1}}});
    EXPECT_EQ(font.Text, "Level 1");
    EXPECT_EQ(font.Space, Graphics::UiProj);
    EXPECT_FLOAT_EQ(font.Tint[1], 0.25f);
    EXPECT_EQ(font.TextureIndex, 0) << "no texture named: \"White\"";

    json written;
    font.Write(written);
    EXPECT_EQ(written["Type"], "Font");
    EXPECT_EQ(written["Texture"], "White");
    EXPECT_EQ(written["Mesh"], "Prim_Plane");
    EXPECT_EQ(written["Shader"], "base");
    EXPECT_EQ(written["space"], "uiProj");
    EXPECT_EQ(written["InputText"], "Level 1");

    TraceCapture trace;
    font.Read(json{{"Type", "Font"}, {"space", "nowhere"}});
    EXPECT_EQ(font.Text, "Level 1");
    EXPECT_TRUE(trace.Contains("Error with InputText Deserialize")) << trace.All();
    EXPECT_FLOAT_EQ(font.Tint[1], 1.0f) << "an absent tint is white";
    font.Write(written);
    EXPECT_EQ(written["space"], "invalid");
}

TEST(Font, MalformedValuesChangeNothing)
{
    const json bad[] = {
        {{"InputText", 12}},
        {{"Texture", false}},
        {{"tint", {1, 2}}},
        {{"space", json::array()}},
    };
    for (const json& value : bad)
    {
        Font font;
        font.Text = "kept";
        EXPECT_ANY_THROW(font.Read(value)) << value.dump();
        EXPECT_EQ(font.Text, "kept") << value.dump();
        EXPECT_EQ(font.Space, Graphics::WorldProj) << value.dump();
    }
}
