// The sprite's saved form and its requests, without a GL context.
#include "graphics/Sprite.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "scene/Transform.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>
#include <memory>

namespace
{
class SpriteTest : public testing::Test
{
protected:
    void SetUp() override { GraphicsSystem::GetInstance().Shutdown(); }
    void TearDown() override { GraphicsSystem::GetInstance().Shutdown(); }

    static std::unique_ptr<Sprite> ReadSprite(const json& in)
    {
        std::unique_ptr<Sprite> sprite(MakeDefaultPlaneSprite());
        sprite->Read(in);
        return sprite;
    }
};
}   // namespace

TEST_F(SpriteTest, TheRegistryMakesTheDefaultPlaneSprite)
{
    std::unique_ptr<Component> made(ComponentRegistry::Create("Sprite"));
    const Sprite* sprite = dynamic_cast<const Sprite*>(made.get());
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->TypeId, ComponentType::Sprite);
    EXPECT_EQ(MeshLibrary::GetInstance().GetName(sprite->request->mesh), "Prim_Plane");
    EXPECT_EQ(ShaderLibrary::GetInstance().GetName(sprite->request->shader), "base");
    EXPECT_EQ(sprite->request->texture, 0);
    EXPECT_EQ(sprite->request->space, 0);
    EXPECT_STREQ(sprite->request->name, "no");
    EXPECT_EQ(sprite->request->wrap, 0);
    EXPECT_EQ(sprite->request->filter, 0);
}

TEST_F(SpriteTest, WritingThenReadingGivesTheSameSprite)
{
    const json written = {{"Type", "Sprite"},     {"Mesh", "Prim_Cube"},    {"Shader", "alpha"},
                          {"Texture", "Black"},   {"space", "uiProj"},      {"tint", {0.5, 0.25, 1}},
                          {"Wrap_Mode", "clamp"}, {"ST scaling", {2, 0.5}}, {"Filter_Mode", "linear"}};
    const std::unique_ptr<Sprite> sprite = ReadSprite(written);
    EXPECT_EQ(sprite->request->texture, 1);
    EXPECT_EQ(sprite->request->space, 1);
    EXPECT_EQ(sprite->request->wrap, 1);
    EXPECT_EQ(sprite->request->filter, 1);
    EXPECT_EQ(sprite->uv[0], 2.0f);
    EXPECT_EQ(sprite->uv[4], 0.5f);
    json again;
    sprite->Write(again);
    EXPECT_EQ(again, written);

    // Every default written and read back: "White", not "white", finds texture 0 again.
    const std::unique_ptr<Sprite> plain(MakeDefaultPlaneSprite());
    json defaults;
    plain->Write(defaults);
    EXPECT_EQ(defaults["Texture"], "White");
    EXPECT_EQ(ReadSprite(defaults)->request->texture, 0);
    EXPECT_EQ(TextureLibrary::GetInstance().Size(), 2) << "no second white texture";
}

TEST_F(SpriteTest, ReadingTakesTheDocumentedValuesForEachKey)
{
    struct Case
    {
        const char* what;
        json in;
        int space, wrap, filter;
        float tintRed, uScale, vScale;
    } cases[] = {
        {"absent keys: space 0, white tint, modes and scaling unchanged", json::object(), 0, 1, 1, 1, 3, 3},
        {"mode names are exact", {{"Wrap_Mode", "Clamp"}, {"Filter_Mode", "LINEAR"}}, 0, 0, 0, 1, 3, 3},
        {"other space names give -1", {{"space", "invalid"}}, -1, 1, 1, 1, 3, 3},
        {"scaling resets the whole matrix", {{"ST scaling", {1, 4}}, {"tint", {0, 1, 1}}}, 0, 1, 1, 0, 1, 4},
    };
    for (const Case& c : cases)
    {
        const std::unique_ptr<Sprite> sprite(MakeDefaultPlaneSprite());
        sprite->request->wrap = 1;
        sprite->request->filter = 1;
        sprite->request->tint[0] = 0.1f;
        sprite->uv[0] = sprite->uv[4] = 3;
        sprite->uv[6] = 0.5f;
        sprite->Read(c.in);
        EXPECT_EQ(sprite->request->space, c.space) << c.what;
        EXPECT_EQ(sprite->request->wrap, c.wrap) << c.what;
        EXPECT_EQ(sprite->request->filter, c.filter) << c.what;
        EXPECT_EQ(sprite->request->tint[0], c.tintRed) << c.what;
        EXPECT_EQ(sprite->uv[0], c.uScale) << c.what;
        EXPECT_EQ(sprite->uv[4], c.vScale) << c.what;
        EXPECT_EQ(sprite->uv[6], c.in.contains("ST scaling") ? 0.0f : 0.5f) << c.what;
    }
    json invalid;
    ReadSprite({{"space", "nowhere"}})->Write(invalid);
    EXPECT_EQ(invalid["space"], "invalid");
    const std::unique_ptr<Sprite> empty = ReadSprite({{"Mesh", ""}, {"Shader", ""}, {"Texture", ""}});
    EXPECT_EQ(empty->request->mesh, -1);
    EXPECT_EQ(empty->request->shader, -1);
    EXPECT_EQ(empty->request->texture, -1);
}

TEST_F(SpriteTest, AMissingTextureKeepsItsNameAndTheSpriteLoads)
{
    MeshLibrary::GetInstance().FindOrLoad("Prim_Plane");
    TraceCapture trace;
    const std::unique_ptr<Sprite> sprite = ReadSprite({{"Texture", "NoSuchPicture"}});
    EXPECT_TRUE(TextureLibrary::GetInstance().IsFallback(sprite->request->texture));
    json out;
    sprite->Write(out);
    EXPECT_EQ(out["Texture"], "NoSuchPicture");
    ReadSprite({{"Texture", "NoSuchPicture"}});
    EXPECT_EQ(trace.lines.size(), 2u) << "reported once, the system's line first:\n" << trace.All();
    EXPECT_TRUE(trace.Contains("NoSuchPicture.png")) << trace.All();
}

TEST_F(SpriteTest, MalformedValuesLeaveTheSpriteOutOfItsEntity)
{
    const json bad[] = {
        {{"Mesh", 3}},     {{"Texture", {"White"}}}, {{"space", 1}},        {{"tint", {1, 1}}},
        {{"tint", "red"}}, {{"Wrap_Mode", true}},    {{"ST scaling", {2}}}, {{"ST scaling", {"2", 1}}},
    };
    for (const json& values : bad)
    {
        const std::unique_ptr<Sprite> sprite(MakeDefaultPlaneSprite());
        const Graphics::DrawRequest before = *sprite->request;
        EXPECT_THROW(sprite->Read(values), std::exception) << values;
        EXPECT_EQ(sprite->request->mesh, before.mesh) << "nothing half-read: " << values;
        EXPECT_EQ(sprite->request->texture, before.texture) << values;

        json component = values;
        component["Type"] = "Sprite";
        TraceCapture trace;
        Entity entity;
        entity.Read({{"Name", "Figure"}, {"Components", {{{"Type", "Transform"}}, component}}});
        EXPECT_EQ(entity.GetComponent<Sprite>(), nullptr) << values;
        EXPECT_NE(entity.GetComponent<Transform>(), nullptr) << values;
        EXPECT_TRUE(trace.Contains("Figure") && trace.Contains("Sprite")) << trace.All();
    }
}

TEST_F(SpriteTest, AClonedSpriteHasItsOwnRequestAndMatrix)
{
    std::unique_ptr<Sprite> original = ReadSprite({{"tint", {1, 0, 0}}, {"ST scaling", {2, 2}}});
    std::unique_ptr<Component> copy(original->Clone());
    Sprite* clone = dynamic_cast<Sprite*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone->request, original->request);
    EXPECT_EQ(clone->request->tint[0], 1.0f);
    EXPECT_EQ(clone->uv[0], 2.0f);
    clone->request->tint[0] = 0.25f;
    clone->uv[0] = 5;
    EXPECT_EQ(original->request->tint[0], 1.0f);
    EXPECT_EQ(original->uv[0], 2.0f);
    EXPECT_EQ(clone->request->uv, clone->uv) << "never the original's matrix";
}
