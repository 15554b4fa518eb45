// Everything the rendering reads from the data folder loads cleanly: every mesh parses, every
// picture decodes, every shader pair builds and takes the uniforms the draw path sets.
#include "engine/DataPath.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/Image.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "tests/common/GlWindow.h"
#include "tests/common/TraceCapture.h"

#include <GL/glew.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace
{
namespace fs = std::filesystem;

std::set<std::string> Stems(const std::string& folder, const std::string& extension)
{
    std::set<std::string> stems;
    for (const fs::directory_entry& entry : fs::directory_iterator(DataRoot() + "/" + folder))
        if (entry.path().extension() == extension)
            stems.insert(entry.path().stem().string());
    return stems;
}

class RenderDataTest : public GlWindowTest
{
};
}   // namespace

TEST(RenderData, EveryMeshAndPictureLoads)
{
    GraphicsSystem::GetInstance().Shutdown();
    const std::set<std::string> meshes = Stems("Parts", ".xobj");
    for (const char* needed : {"Prim_Plane", "Prim_UnitPlane", "Prim_Cube"})
        EXPECT_TRUE(meshes.count(needed)) << needed;
    for (const std::string& name : meshes)
    {
        TraceCapture trace;
        EXPECT_GE(MeshLibrary::GetInstance().FindOrLoad(name), 0) << name << ": " << trace.All();
    }
    const std::set<std::string> pictures = Stems("Textures", ".png");
    for (const char* needed : {"White", "Black"})
        EXPECT_TRUE(pictures.count(needed)) << needed;
    for (const std::string& name : pictures)
    {
        const Image image("Textures/" + name, ".png");
        EXPECT_TRUE(image.IsLoaded()) << name << ": " << image.Reason();
    }
    GraphicsSystem::GetInstance().Shutdown();
}

TEST_F(RenderDataTest, EveryShaderBuildsAndTakesTheUniformsItIsGiven)
{
    const std::set<std::string> vertexFiles = Stems("shaders", ".vert");
    EXPECT_EQ(vertexFiles, Stems("shaders", ".frag")) << "every shader is a pair";
    for (const char* needed : {"base", "alpha", "Line", "Grid"})
        EXPECT_TRUE(vertexFiles.count(needed)) << needed;
    ShaderLibrary& shaders = ShaderLibrary::GetInstance();
    for (const std::string& name : vertexFiles)
    {
        TraceCapture trace;
        const Shader* shader = shaders.Prepare(shaders.FindOrLoad(name));
        ASSERT_NE(shader, nullptr);
        EXPECT_TRUE(shader->IsUsable()) << name << ":\n" << trace.All();
        EXPECT_TRUE(trace.lines.empty()) << name << ":\n" << trace.All();
        const ShaderUniforms& u = shader->uniforms;
        if (name == "Line")
        {
            EXPECT_NE(u.wTc, -1) << name;
            EXPECT_NE(u.color, -1) << name;
            continue;
        }
        // The game's mesh shaders are drawn in batches: they read the draw queue's vertex stream at
        // the locations it feeds.
        EXPECT_TRUE(shader->batched) << name;
        for (auto [attribute, location] : {std::pair{"aClipPosition", DrawQueue::ClipPositionLocation},
                                           {"aColor", DrawQueue::ColorLocation},
                                           {"aTexCoord", DrawQueue::TexCoordLocation},
                                           {"aTint", DrawQueue::TintLocation}})
            EXPECT_EQ(glGetAttribLocation(shader->program, attribute), location)
                << name << " reads \"" << attribute << "\" elsewhere";
        EXPECT_NE(u.baseColor, -1) << name << " does not use \"baseColor\"";
        // Declared so that blending is left out where it changes nothing.
        const std::map<std::string, OutputAlpha> declared = {
            {"base", OutputAlpha::Texel}, {"alpha", OutputAlpha::One}, {"Grid", OutputAlpha::Texel}};
        if (const auto it = declared.find(name); it != declared.end())
        {
            EXPECT_EQ(shader->outputAlpha, it->second) << name;
        }
    }
}
