#include "graphics/Sprite.h"

#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <algorithm>
#include <stdexcept>

namespace
{
std::string TextAt(const json& in, const char* key)
{
    const json& value = in.at(key);
    if (!value.is_string())
        throw std::runtime_error(std::string("\"") + key + "\" is not a text");
    return value.get<std::string>();
}
}   // namespace

Sprite::Sprite(const std::string& mesh, const std::string& shader, const std::string& texture)
    : Component(ComponentType::Sprite), request(std::make_shared<Graphics::DrawRequest>())
{
    request->shader = ShaderLibrary::GetInstance().FindOrLoad(shader);
    request->mesh = MeshLibrary::GetInstance().FindOrLoad(mesh);
    request->texture = TextureLibrary::GetInstance().FindOrLoad(texture);
}

Sprite::Sprite(const Sprite& other)
    : Component(other), request(std::make_shared<Graphics::DrawRequest>(*other.request))
{
    std::copy(std::begin(other.uv), std::end(other.uv), uv);
    // The copied pointers belong to the original; Render points them at this sprite's own.
    request->model = nullptr;
    request->uv = uv;
}

void Sprite::Render()
{
    Transform* transform = Parent ? Parent->GetComponent<Transform>() : nullptr;
    if (!transform)
        return;   // nothing places it
    request->model = &transform->GetMatrix();
    request->uv = uv;
    GraphicsSystem::GetInstance().Draw(*request);
}

void Sprite::Write(json& out) const
{
    out["Type"] = "Sprite";
    out["Mesh"] = MeshLibrary::GetInstance().GetName(request->mesh);
    out["Shader"] = ShaderLibrary::GetInstance().GetName(request->shader);
    // The library's own name, so that reading it back finds the same entry ("White", not "white").
    out["Texture"] = TextureLibrary::GetInstance().GetName(request->texture);
    out["space"] = Graphics::SpaceName(request->space);
    out["tint"] = json::array({request->tint[0], request->tint[1], request->tint[2]});
    out["Wrap_Mode"] = request->wrap == 0 ? "repeat" : request->wrap == 1 ? "clamp" : "";
    out["ST scaling"] = json::array({uv[0], uv[4]});
    out["Filter_Mode"] = request->filter == 0 ? "nearest" : request->filter == 1 ? "linear" : "";
}

void Sprite::Read(const json& in)
{
    // Every value is checked before anything changes: a malformed sprite is left as it was.
    const std::string mesh = in.contains("Mesh") ? TextAt(in, "Mesh") : "Prim_Plane";
    const std::string shader = in.contains("Shader") ? TextAt(in, "Shader") : "base";
    const bool hasTexture = in.contains("Texture");
    const std::string texture = hasTexture ? TextAt(in, "Texture") : "";
    const Graphics::RenderSpace space =
        in.contains("space") ? Graphics::SpaceFromName(TextAt(in, "space")) : 0;
    Vec3 tint{1, 1, 1};
    if (in.contains("tint") && !ReadVec3(in.at("tint"), tint))
        throw std::runtime_error("\"tint\" is not an array of three numbers");
    const bool hasWrap = in.contains("Wrap_Mode"), hasFilter = in.contains("Filter_Mode");
    const int wrap = hasWrap && TextAt(in, "Wrap_Mode") == "clamp" ? 1 : 0;
    const int filter = hasFilter && TextAt(in, "Filter_Mode") == "linear" ? 1 : 0;
    const auto scaling = in.find("ST scaling");
    if (scaling != in.end() && (!scaling->is_array() || scaling->size() < 2 || !(*scaling)[0].is_number() ||
                                !(*scaling)[1].is_number()))
        throw std::runtime_error("\"ST scaling\" is not an array of two numbers");

    request->mesh = MeshLibrary::GetInstance().FindOrLoad(mesh);
    request->shader = ShaderLibrary::GetInstance().FindOrLoad(shader);
    request->texture = hasTexture ? TextureLibrary::GetInstance().FindOrLoad(texture) : 0;
    request->space = space;
    request->tint[0] = tint.x;
    request->tint[1] = tint.y;
    request->tint[2] = tint.z;
    if (hasWrap)
        request->wrap = wrap;
    if (hasFilter)
        request->filter = filter;
    if (scaling != in.end())
    {
        const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        std::copy(std::begin(identity), std::end(identity), uv);
        uv[0] = (*scaling)[0].get<float>();
        uv[4] = (*scaling)[1].get<float>();
    }
}

Sprite* MakeDefaultPlaneSprite() { return new Sprite("Prim_Plane", "base", "White"); }
