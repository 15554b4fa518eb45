#include "graphics/Sprite.h"

#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"
#include "scene/Transform.h"

#include <algorithm>

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
    std::string mesh = "Prim_Plane", shader = "base", texture, space = "worldProj", wrapMode, filterMode;
    ReadKey(in, "Mesh", mesh);
    ReadKey(in, "Shader", shader);
    const bool hasTexture = in.contains("Texture");
    ReadKey(in, "Texture", texture);
    ReadKey(in, "space", space);
    Vec3 tint{1, 1, 1};
    ReadKey(in, "tint", tint);
    const bool hasWrap = in.contains("Wrap_Mode"), hasFilter = in.contains("Filter_Mode");
    ReadKey(in, "Wrap_Mode", wrapMode);
    ReadKey(in, "Filter_Mode", filterMode);
    const int wrap = wrapMode == "clamp" ? 1 : 0;
    const int filter = filterMode == "linear" ? 1 : 0;
    const bool hasScaling = in.contains("ST scaling");
    Vec2 scaling;
    ReadKey(in, "ST scaling", scaling);

    request->mesh = MeshLibrary::GetInstance().FindOrLoad(mesh);
    request->shader = ShaderLibrary::GetInstance().FindOrLoad(shader);
    request->texture = hasTexture ? TextureLibrary::GetInstance().FindOrLoad(texture) : 0;
    request->space = Graphics::SpaceFromName(space);
    request->tint[0] = tint.x;
    request->tint[1] = tint.y;
    request->tint[2] = tint.z;
    if (hasWrap)
        request->wrap = wrap;
    if (hasFilter)
        request->filter = filter;
    if (hasScaling)
    {
        const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        std::copy(std::begin(identity), std::end(identity), uv);
        uv[0] = scaling.x;
        uv[4] = scaling.y;
    }
}

Sprite* MakeDefaultPlaneSprite() { return new Sprite("Prim_Plane", "base", "White"); }
