// The shader and texture libraries without a GL context: names, indices and fallbacks are
// the same as with one, so logic runs headless.
#include "graphics/GraphicsSystem.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"
#include "tests/common/PngHeader.h"
#include "tests/common/TestDataFolder.h"
#include "tests/common/TraceCapture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace
{
class HeadlessLibraryTest : public testing::Test
{
protected:
    void SetUp() override
    {
        GraphicsSystem::GetInstance().Shutdown();
        ASSERT_FALSE(GraphicsSystem::GetInstance().HasContext());
    }
    void TearDown() override { GraphicsSystem::GetInstance().Shutdown(); }
};
}   // namespace

TEST_F(HeadlessLibraryTest, TexturesBeginWithWhiteAndBlack)
{
    TextureLibrary& textures = TextureLibrary::GetInstance();
    ASSERT_EQ(textures.Size(), 2);
    EXPECT_EQ(textures.GetName(0), "White");
    EXPECT_EQ(textures.GetName(1), "Black");
    EXPECT_EQ(textures.FindOrLoad("White"), 0);
    EXPECT_EQ(textures.FindOrLoad("Black"), 1);
    EXPECT_EQ(textures.Size(), 2) << "no second copy";
    EXPECT_FALSE(textures.IsFallback(0));
    EXPECT_FALSE(textures.IsFallback(1));
    EXPECT_EQ(textures.FindOrLoad(""), -1);
    for (int index : {-1, 2, 99})
        EXPECT_EQ(textures.GetName(index), "") << index;
}

TEST_F(HeadlessLibraryTest, PicturesThatCannotLoadAreReportedOnceAndDrawAsWhite)
{
    TestDataFolder data;
    data.Write("Textures/NotAPicture.png", "these bytes are not a PNG");
    data.Write("Textures/Truncated.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    data.Write("Textures/Huge.png", PngHeader(9000, 9000));
    // Another format the decoder knows, whose header claims 6660 x 6666 grey pixels: taken as
    // whole, these 16 bytes would make 44 million.
    data.Write("Textures/OtherFormat.png", "P5\n6660 6666\n255\n");
    TextureLibrary& textures = TextureLibrary::GetInstance();
    // "white" differs from "White": exact names, its own (missing) file.
    for (const char* name : {"NoSuchPicture", "NotAPicture", "Truncated", "white", "Huge", "OtherFormat"})
    {
        TraceCapture trace;
        const bool huge = std::string(name) == "Huge";
        const bool notPng = std::string(name) == "OtherFormat" || std::string(name) == "NotAPicture";
        const int index = textures.FindOrLoad(name);
        ASSERT_GE(index, 2) << name;
        EXPECT_TRUE(textures.IsFallback(index)) << name;
        EXPECT_EQ(textures.GetName(index), name) << "the name is kept, so it is written back unchanged";
        EXPECT_EQ(textures.FindOrLoad(name), index) << name;
        ASSERT_EQ(trace.lines.size(), 2u) << trace.All();
        EXPECT_EQ(trace.lines[0], "Image Failed To Load");
        EXPECT_TRUE(trace.Contains("TEXTURE: [") && trace.Contains(std::string("Textures/") + name + ".png"))
            << trace.All();
        // A picture too large is refused from its header, not by the decoder running out of memory.
        EXPECT_EQ(trace.Contains(
                      "(is 9000 x 9000 pixels, more than the 8192 a side a picture may have; not decoded)"),
                  huge)
            << trace.All();
        EXPECT_EQ(trace.Contains("(is not a PNG picture; not decoded)"), notPng) << trace.All();
    }
}

// A sheet's frames are drawn without their fully transparent edges: which texels of a block
// show is answered from the picture, across the words its rows are kept in.
TEST_F(HeadlessLibraryTest, TexturesKnowWhichTexelsOfABlockShow)
{
    constexpr int Width = 70, Height = 3;
    std::vector<unsigned char> rgba(static_cast<size_t>(Width) * Height * 4, 0);
    const auto show = [&](int x, int y, unsigned char alpha) {
        rgba[(static_cast<size_t>(y) * Width + x) * 4 + 3] = alpha;
    };
    show(2, 0, 255);
    show(66, 1, 1);   // the faintest texel still shows
    show(40, 2, 128);
    const Texture sheet("Sheet", Width, Height, rgba.data());
    EXPECT_TRUE(sheet.HasClearTexels());
    struct Case
    {
        const char* what;
        int block[4];
        bool any;
        int box[4];
    } cases[] = {
        {"the whole picture", {0, 0, Width, Height}, true, {2, 0, 67, 3}},
        {"a block past every edge is clipped", {-5, -5, 200, 200}, true, {2, 0, 67, 3}},
        {"one texel in the first word", {0, 0, 10, 3}, true, {2, 0, 3, 1}},
        {"a block that ends where a texel begins", {3, 0, 40, 3}, false, {}},
        {"a block that ends just after it", {3, 0, 41, 3}, true, {40, 2, 41, 3}},
        {"a block across two words", {60, 0, 70, 2}, true, {66, 1, 67, 2}},
        {"an empty block", {5, 0, 5, 3}, false, {}},
    };
    for (const Case& c : cases)
    {
        int box[4] = {-1, -1, -1, -1};
        ASSERT_EQ(sheet.ShownWithin(c.block[0], c.block[1], c.block[2], c.block[3], box), c.any) << c.what;
        if (c.any)
        {
            EXPECT_EQ(std::vector<int>(box, box + 4), std::vector<int>(c.box, c.box + 4)) << c.what;
        }
    }

    // Without a clear texel every texel of the block shows.
    std::fill(rgba.begin(), rgba.end(), 255);
    const Texture opaque("Opaque", Width, Height, rgba.data());
    EXPECT_FALSE(opaque.HasClearTexels());
    int box[4];
    ASSERT_TRUE(opaque.ShownWithin(10, 1, 80, 2, box));
    EXPECT_EQ(std::vector<int>(box, box + 4), (std::vector<int>{10, 1, Width, 2}));
}

// The part of a quad a frame of a sheet shows, in the quad's texture coordinates, half a texel
// wider than its shown texels on every side.
TEST_F(HeadlessLibraryTest, TexturesKnowThePartOfAFrameThatShows)
{
    // Four 8 x 8 frames; the second shows columns 10 to 13, every row; the third shows its
    // whole cell; the fourth nothing.
    std::vector<unsigned char> rgba(32 * 8 * 4, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 32; ++x)
            if ((x >= 10 && x <= 13) || (x >= 16 && x < 24))
                rgba[(static_cast<size_t>(y) * 32 + x) * 4 + 3] = 255;
    const Texture sheet("Sheet", 32, 8, rgba.data());
    struct Case
    {
        const char* what;
        float uv[9];
        bool trimmed;
        float part[4];
    } cases[] = {
        {"the second frame", {0.25f, 0, 0, 0, 1, 0, 0.25f, 0, 1}, true, {0.1875f, 0, 0.8125f, 1}},
        {"the second frame mirrored", {-0.25f, 0, 0, 0, 1, 0, 0.5f, 0, 1}, true, {0.1875f, 0, 0.8125f, 1}},
        {"the second frame upside down",
         {0.25f, 0, 0, 0, -1, 0, 0.25f, 1, 1},
         true,
         {0.1875f, 0, 0.8125f, 1}},
        {"the third frame shows to its edges", {0.25f, 0, 0, 0, 1, 0, 0.5f, 0, 1}, false, {}},
        {"the fourth frame shows nothing", {0.25f, 0, 0, 0, 1, 0, 0.75f, 0, 1}, false, {}},
        {"the sheet repeated", {2, 0, 0, 0, 1, 0, 0, 0, 1}, false, {}},
        {"the sheet turned", {0, 1, 0, 1, 0, 0, 0, 0, 1}, false, {}},
    };
    // Asked twice: the second answer is the one remembered from the first.
    for (int round = 0; round < 2; ++round)
        for (const Case& c : cases)
        {
            float part[4] = {-1, -1, -1, -1};
            ASSERT_EQ(sheet.ShownPart(c.uv, part), c.trimmed) << c.what;
            if (c.trimmed)
            {
                EXPECT_EQ(std::vector<float>(part, part + 4), std::vector<float>(c.part, c.part + 4))
                    << c.what;
            }
        }
    std::fill(rgba.begin(), rgba.end(), 255);
    const Texture opaque("Opaque", 32, 8, rgba.data());
    float part[4];
    EXPECT_FALSE(opaque.ShownPart(cases[0].uv, part)) << "nothing to leave out";
}

TEST_F(HeadlessLibraryTest, MissingWhiteOrBlackPicturesAreBuiltIn)
{
    TestDataFolder data;
    data.Remove("Textures/White.png");
    data.Write("Textures/Black.png", "broken");
    TraceCapture trace;
    TextureLibrary& textures = TextureLibrary::GetInstance();
    ASSERT_EQ(textures.Size(), 2);
    EXPECT_EQ(textures.GetName(0), "White");
    EXPECT_EQ(textures.GetName(1), "Black");
    EXPECT_FALSE(textures.IsFallback(0)) << "a built-in picture is a real texture";
    EXPECT_FALSE(textures.IsFallback(1));
    EXPECT_EQ(trace.lines.size(), 4u) << "each with the system's line first:\n" << trace.All();
    EXPECT_TRUE(trace.Contains("White.png") && trace.Contains("Black.png")) << trace.All();
}

TEST_F(HeadlessLibraryTest, ShadersAreRecordedByNameAndBuiltOnlyWithAContext)
{
    ShaderLibrary& shaders = ShaderLibrary::GetInstance();
    TraceCapture trace;
    const int base = shaders.FindOrLoad("base");
    const int missing = shaders.FindOrLoad("NoSuchShader");
    EXPECT_EQ(base, 0);
    EXPECT_EQ(missing, 1) << "a name without files still takes an index";
    EXPECT_EQ(shaders.FindOrLoad("base"), base);
    EXPECT_EQ(shaders.FindOrLoad("NoSuchShader"), missing);
    EXPECT_EQ(shaders.FindOrLoad(""), -1);
    EXPECT_EQ(shaders.Size(), 2);
    EXPECT_EQ(shaders.GetName(missing), "NoSuchShader");
    EXPECT_EQ(shaders.GetName(-1), "");
    EXPECT_EQ(shaders.GetName(2), "");
    EXPECT_TRUE(trace.lines.empty()) << "nothing is compiled without a context:\n" << trace.All();
}
