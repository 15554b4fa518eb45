#pragma once
// Draws a text from a glyph sheet: one unit quad per character, placed on a pen that starts at
// (1, 0) for the first glyph of a line and moves one unit right per character and one unit
// down per "\n", in the entity's own space (its Transform's scale sets the glyph size, its
// translation the pen origin). The sheet is 16 x 8 equal cells; the glyph of byte c sits in
// cell c - 32 counted from the top left, so printable ASCII fills the top six rows. Without a
// Transform nothing is drawn. Other components change the text at run time through Text.
#include "engine/Matrix4.h"
#include "graphics/Graphics.h"
#include "scene/Component.h"

#include <string>
#include <string_view>
#include <vector>

class Font : public Component
{
public:
    static constexpr int AtlasColumns = 16;
    static constexpr int AtlasRows = 8;

    // Where one character is drawn: its pen position and the offset of its cell in the sheet.
    struct Glyph
    {
        Vec2 pen;
        Vec2 uvOffset;
    };

    Font() : Component(ComponentType::Sprite) {}

    Component* Clone() const override { return new Font(*this); }
    void Render() override;
    void Write(json& out) const override;
    // Absent keys take the defaults ("White", "Prim_Plane", "base", world space, white tint),
    // except "InputText", whose absence is reported and keeps the text. A malformed value
    // throws before anything changes.
    void Read(const json& in) override;

    // The glyphs of a text in drawing order; "\n" moves the pen and draws nothing.
    static std::vector<Glyph> Layout(std::string_view text);
    // The sheet offset of a byte's cell. Bytes below 32 (and above 127, read as negative) land
    // outside the sheet and, with repeat wrapping, sample some other cell.
    static Vec2 CellOffset(char c);

    std::string Text;   // "InputText"
    int Columns = 0;    // set on each glyph drawn
    int Rows = 0;
    float uv[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};   // the glyph being drawn, 3 x 3 column-major
    int32_t TextureIndex = 0;
    int32_t MeshIndex = 0;
    int32_t ShaderIndex = 0;
    float Tint[3] = {0, 0, 0};                           // stored and written; glyphs always draw white
    Graphics::RenderSpace Space = Graphics::WorldProj;   // stored and written only
};
