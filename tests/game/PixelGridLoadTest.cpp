#include "game/PixelGrid.h"
#include "graphics/Image.h"
#include "tests/common/PngHeader.h"
#include "tests/common/ScopedDataRoot.h"
#include "tests/common/TempFolder.h"
#include "tests/common/TraceCapture.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

namespace
{
const char* const GoodMaterials = R"({"Materials": [
    {"name": "Air",    "color": 0,          "solid": false, "diggable": false, "lethal": false},
    {"name": "Ground", "color": 2052206847, "solid": true,  "diggable": true,  "lethal": false}
]})";
constexpr unsigned char Brown[4] = {0x7A, 0x52, 0x30, 0xFF};

// A data folder of its own for the duration of a test.
class LevelFolder
{
public:
    LevelFolder() : root(folder.Path().string()) {}

    void Write(const std::string& name, const std::string& content)
    {
        TempFolder::WriteFile(folder / ("Levels/" + name), content);
    }
    // A picture of width x 2 pixels: the top row brown ground, the bottom row clear (or black).
    void Picture(const std::string& name, int channels, int width = 3)
    {
        std::vector<unsigned char> pixels;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < channels; ++c)
                    pixels.push_back(y == 0 ? Brown[c] : 0);
        std::filesystem::create_directories(folder.Path() / "Levels");
        stbi_write_png((folder / ("Levels/" + name + ".png")).c_str(), width, 2, channels, pixels.data(),
                       width * channels);
    }

private:
    TempFolder folder;
    ScopedDataRoot root;
};

json GridData(const std::string& source, const std::string& palette = "good")
{
    return {{"Type", "PixelGrid"},
            {"Source", source},
            {"palette", palette},
            {"Origin", {1.5, -2}},
            {"CellSize", 8}};
}

json With(json data, const json& changes)
{
    data.update(changes);
    return data;
}
}   // namespace

TEST(PixelGridLoad, ReadsTheLevelPictureThroughItsMaterials)
{
    LevelFolder data;
    data.Write("good.json", GoodMaterials);
    data.Picture("Hill", 4);
    PixelGrid grid;
    grid.Read(GridData("Hill"));
    ASSERT_EQ(grid.Width, 3);
    ASSERT_EQ(grid.Height, 2);
    ASSERT_TRUE(grid.LevelImage);
    EXPECT_EQ(grid.GetCell(0, 1), 3) << "the picture's top row is the grid's top row";   // Ground: id 3
    EXPECT_EQ(grid.GetCell(2, 0), 2) << "clear pixels are Air, id 2";
    EXPECT_TRUE(grid.MaterialAt(1, 1).solid);
    EXPECT_TRUE(grid.Dirty);
    EXPECT_EQ(grid.CellSize, 8);
    EXPECT_EQ(grid.Origin.x, 1.5f);

    json saved;
    grid.Write(saved);
    EXPECT_EQ(saved, GridData("Hill"));

    // An RGB picture is read as opaque: its black pixels are the built-in empty colour.
    data.Picture("Flat", 3);
    PixelGrid rgb;
    rgb.Read(GridData("Flat"));
    EXPECT_EQ(rgb.GetCell(0, 1), 3);
    EXPECT_EQ(rgb.GetCell(0, 0), PixelGrid::Empty);
}

TEST(PixelGridLoad, DefaultsAndAnEmptySource)
{
    PixelGrid grid;
    grid.Read({{"Origin", {4, 4}}, {"CellSize", 3}});
    EXPECT_TRUE(grid.Source.empty());
    EXPECT_EQ(grid.CellSize, 1.0f) << "nothing but Source is read while Source is empty";
    EXPECT_EQ(grid.Width, 0);

    // Without "palette" the debug materials of the game's data are used.
    grid.Read({{"Source", "Meadow"}});
    EXPECT_EQ(grid.palette, "debug");
    EXPECT_GT(grid.Width, 0);
    EXPECT_GT(grid.ColourToMaterial.size(), 2u);
    json saved;
    grid.Write(saved);
    EXPECT_EQ(saved["palette"], "debug");
    EXPECT_EQ(saved["Origin"], json::array({0.0, 0.0}));
}

TEST(PixelGridLoad, MalformedLevelDataIsRefusedWithAMessage)
{
    const struct
    {
        const char* name;
        json data;
        const char* message;
        int width;        // of the grid afterwards
        float cellSize;   // afterwards
        size_t colours;   // entries of the colour map afterwards
    } cases[] = {
        {"gray picture", GridData("Gray"), "is not an RGB or RGBA picture (1 channels)", 0, 8, 4},
        {"gray and alpha", GridData("GrayAlpha"), "is not an RGB or RGBA picture (2 channels)", 0, 8, 4},
        {"missing picture", GridData("Nowhere"), "Levels/Nowhere.png] cannot be read", 0, 8, 4},
        {"not a picture", GridData("Text"), "Levels/Text.png] cannot be read", 0, 8, 4},
        {"picture too large", GridData("Huge"),
         "Levels/Huge.png] cannot be read: is 12000 x 12000 pixels, more than the 8192 a side", 0, 8, 4},
        {"picture too wide", GridData("Wide"), "is 8193 x 2 pixels, more than the 8192 a side", 0, 8, 4},
        {"cell size zero", With(GridData("Hill"), {{"CellSize", 0}}), "\"CellSize\" must be a number above 0",
         3, 1, 4},
        {"negative cell size", With(GridData("Hill"), {{"CellSize", -2}}),
         "\"CellSize\" must be a number above 0", 3, 1, 4},
        {"cell size text", With(GridData("Hill"), {{"CellSize", "big"}}),
         "\"CellSize\": a number was expected, not \"big\"; kept", 3, 1, 4},
        {"origin short", With(GridData("Hill"), {{"Origin", {1}}}),
         "\"Origin\": an array of two numbers was expected, not [1]; kept", 3, 8, 4},
        {"source number", json{{"Source", 7}}, "\"Source\": a text was expected, not 7; kept", 0, 1, 2},
        {"too many materials", GridData("Hill", "many"), "more than the 254 ids hold", 3, 8, 2},
        {"materials not json", GridData("Hill", "broken"), "Levels/broken.json] cannot be read", 3, 8, 2},
        {"missing materials", GridData("Hill", "absent"), "Levels/absent.json] cannot be read", 3, 8, 2},
        {"material flag text", GridData("Hill", "flagtext"), "\"lethal\" is not true or false", 3, 8, 2},
    };
    LevelFolder data;
    data.Write("good.json", GoodMaterials);
    data.Write("broken.json", "{\"Materials\": [");
    data.Write(
        "flagtext.json",
        R"({"Materials": [{"name": "A", "color": 1, "solid": true, "diggable": true, "lethal": "no"}]})");
    json many = json::array();
    for (int i = 0; i < 300; ++i)
        many.push_back({{"name", "M"}, {"color", i}, {"solid", true}, {"diggable", true}, {"lethal", false}});
    data.Write("many.json", json{{"Materials", many}}.dump());
    data.Write("Text.png", "this is not a picture");
    data.Write("Huge.png", PngHeader(12000, 12000));
    data.Picture("Wide", 4, Image::MaxSide + 1);
    data.Picture("Hill", 4);
    data.Picture("Gray", 1);
    data.Picture("GrayAlpha", 2);

    for (const auto& c : cases)
    {
        TraceCapture trace;
        PixelGrid grid;
        grid.Read(c.data);
        EXPECT_TRUE(trace.Contains(c.message)) << c.name << " logged:\n" << trace.All();
        EXPECT_EQ(grid.Width, c.width) << c.name;
        EXPECT_EQ(grid.Cells.size(), static_cast<size_t>(grid.Width * grid.Height)) << c.name;
        EXPECT_EQ(grid.UploadBuffer.size(), grid.Cells.size()) << c.name;
        EXPECT_EQ(grid.CellSize, c.cellSize) << c.name;
        EXPECT_EQ(grid.ColourToMaterial.size(), c.colours) << c.name;
        EXPECT_EQ(grid.MaterialTable[PixelGrid::Empty].colour, PixelGrid::EmptyColour) << c.name;
        EXPECT_EQ(grid.MaterialTable[PixelGrid::Bridge].colour, PixelGrid::BridgeColour) << c.name;
        grid.Update(0);   // a refused grid still runs its frame
        int x, y;
        EXPECT_FALSE(grid.WorldToCell({1e6f, 0, 0}, x, y)) << c.name;
    }
}

TEST(PixelGridLoad, ReadingAgainReplacesPictureAndMaterials)
{
    LevelFolder data;
    data.Write("good.json", GoodMaterials);
    data.Write(
        "other.json",
        R"({"Materials": [{"name": "Lava", "color": 2052206847, "solid": false, "diggable": false, "lethal": true}]})");
    data.Picture("Hill", 4);
    data.Picture("Wide", 4, 5);
    PixelGrid grid;
    grid.Read(GridData("Hill"));
    grid.Read(GridData("Wide", "other"));
    EXPECT_EQ(grid.Width, 5);
    EXPECT_EQ(grid.UploadBuffer.size(), 10u);
    EXPECT_TRUE(grid.MaterialAt(0, 1).lethal);
    EXPECT_EQ(grid.ColourToMaterial.count(0), 0u) << "the first palette's Air is gone";
}
