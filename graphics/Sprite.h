#pragma once
// Shows an entity: one textured mesh drawn with the owner's Transform as model matrix. Other
// components change its look by writing into its draw request (tint, mesh, texture) and into
// its 3x3 texture-coordinate matrix (entry 0 U scale, 4 V scale, 6 and 7 the offsets).
#include "graphics/Graphics.h"
#include "scene/Component.h"

#include <memory>
#include <string>

class Sprite : public Component
{
public:
    static constexpr int32_t ClassTypeId = ComponentType::Sprite;   // see Entity::GetComponent
    Sprite(const std::string& mesh, const std::string& shader, const std::string& texture);
    Sprite(const Sprite& other);   // its own copy of the request and the matrix

    Component* Clone() const override { return new Sprite(*this); }
    void Render() override;
    void Write(json& out) const override;
    void Read(const json& in) override;

    std::shared_ptr<Graphics::DrawRequest> request;
    float uv[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

// The registry's factory for "Sprite": the unit plane, the "base" shader, "White".
Sprite* MakeDefaultPlaneSprite();
