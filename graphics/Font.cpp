#include "graphics/Font.h"

#include "engine/TraceSystem.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

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
        const Matrix4 model =
            Matrix4::Multiply(placement, Matrix4::Translation({glyph.pen.x, glyph.pen.y, 0}));
        request.model = &model;
        Columns = AtlasColumns;
        Rows = AtlasRows;
        const float cell[9] = {1.0f / AtlasColumns, 0, 0, 0, 1.0f / AtlasRows, 0, glyph.uvOffset.x,
                               glyph.uvOffset.y,    1};
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
    out["space"] = Graphics::SpaceName(Space);
    out["tint"] = json::array({Tint[0], Tint[1], Tint[2]});
    out["InputText"] = Text;
}

void Font::Read(const json& in)
{
    // Every value is checked before anything changes: a malformed font is left as it was.
    const bool hasTexture = in.contains("Texture");
    std::string texture, mesh = "Prim_Plane", shader = "base", space = "worldProj", text;
    ReadKey(in, "Texture", texture);
    ReadKey(in, "Mesh", mesh);
    ReadKey(in, "Shader", shader);
    ReadKey(in, "space", space);
    Vec3 tint{1, 1, 1};
    ReadKey(in, "tint", tint);
    const bool hasText = in.contains("InputText");
    ReadKey(in, "InputText", text);

    TextureIndex = hasTexture ? TextureLibrary::GetInstance().FindOrLoad(texture) : 0;
    MeshIndex = MeshLibrary::GetInstance().FindOrLoad(mesh);
    ShaderIndex = ShaderLibrary::GetInstance().FindOrLoad(shader);
    Space = Graphics::SpaceFromName(space);
    Tint[0] = tint.x;
    Tint[1] = tint.y;
    Tint[2] = tint.z;
    if (hasText)
        Text = text;
    else
        Log("Error with InputText Deserialize");
}
