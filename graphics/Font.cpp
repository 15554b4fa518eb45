#include "graphics/Font.h"

#include "engine/TraceSystem.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <stdexcept>

namespace
{
const char* const SpaceNames[] = {"worldProj", "uiProj", "bkgProj"};

std::string TextAt(const json& in, const char* key)
{
    const json& value = in.at(key);
    if (!value.is_string())
        throw std::runtime_error(std::string("\"") + key + "\" is not a text");
    return value.get<std::string>();
}
} // namespace

Vec2 Font::CellOffset(char c)
{
    const int i = static_cast<signed char>(c) - 32;
    const int column = i >= 0 ? (i & 15) : (i & 15) - 16;
    const int row = i / 16;   // toward zero: the first negative row is row 0 again
    return {static_cast<float>(column) / AtlasColumns, 1.0f - static_cast<float>(row + 1) / AtlasRows};
}

std::vector<Font::Glyph> Font::Layout(std::string_view text)
{
    std::vector<Glyph> glyphs;
    glyphs.reserve(text.size());
    float x = 0, y = 0;
    for (char c : text)
    {
        if (c == '\n')
        {
            x = 0;
            y -= 1;
            continue;
        }
        x += 1;
        glyphs.push_back({{x, y}, CellOffset(c)});
    }
    return glyphs;
}

void Font::Render()
{
    Transform* transform = Parent ? Parent->GetComponent<Transform>() : nullptr;
    if (!transform)
        return;   // nothing places the text
    Graphics::DrawRequest request;
    request.space = Graphics::WorldProj;
    request.name = "Font";
    request.mesh = MeshIndex;
    request.shader = ShaderIndex;
    request.reserved = 0;
    request.texture = TextureIndex;
    request.wrap = 0;
    request.filter = 0;
    request.uv = uv;

    const Matrix4& placement = transform->GetMatrix();
    for (const Glyph& glyph : Layout(Text))
    {
        const Matrix4 model = Matrix4::Multiply(placement, Matrix4::Translation({glyph.pen.x, glyph.pen.y, 0}));
        request.model = &model;
        Columns = AtlasColumns;
        Rows = AtlasRows;
        const float cell[9] = {1.0f / AtlasColumns, 0, 0, 0, 1.0f / AtlasRows, 0, glyph.uvOffset.x, glyph.uvOffset.y, 1};
        std::copy(std::begin(cell), std::end(cell), uv);
        GraphicsSystem::GetInstance().Draw(request);
    }
}

void Font::Write(json& out) const
{
    out["Type"] = "Font";
    out["Texture"] = TextureLibrary::GetInstance().GetName(TextureIndex);
    out["Mesh"] = MeshLibrary::GetInstance().GetName(MeshIndex);
    out["Shader"] = ShaderLibrary::GetInstance().GetName(ShaderIndex);
    out["space"] = Space >= 0 && Space <= 2 ? SpaceNames[Space] : "invalid";
    out["tint"] = json::array({Tint[0], Tint[1], Tint[2]});
    out["InputText"] = Text;
}

void Font::Read(const json& in)
{
    // Every value is checked before anything changes: a malformed font is left as it was.
    const bool hasTexture = in.contains("Texture");
    const std::string texture = hasTexture ? TextAt(in, "Texture") : "";
    const std::string mesh = in.contains("Mesh") ? TextAt(in, "Mesh") : "Prim_Plane";
    const std::string shader = in.contains("Shader") ? TextAt(in, "Shader") : "base";
    const Graphics::RenderSpace space = in.contains("space") ? Graphics::SpaceFromName(TextAt(in, "space")) : 0;
    Vec3 tint{1, 1, 1};
    if (in.contains("tint") && !ReadVec3(in.at("tint"), tint))
        throw std::runtime_error("\"tint\" is not an array of three numbers");
    const bool hasText = in.contains("InputText");
    const std::string text = hasText ? TextAt(in, "InputText") : "";

    TextureIndex = hasTexture ? TextureLibrary::GetInstance().FindOrLoad(texture) : 0;
    MeshIndex = MeshLibrary::GetInstance().FindOrLoad(mesh);
    ShaderIndex = ShaderLibrary::GetInstance().FindOrLoad(shader);
    Space = space;
    Tint[0] = tint.x;
    Tint[1] = tint.y;
    Tint[2] = tint.z;
    if (hasText)
        Text = text;
    else
        Log("Error with InputText Deserialize");
}
