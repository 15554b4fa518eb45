// The terrain's data check: every materials file under Data/Levels loads, every level picture
// there is an RGB or RGBA picture, and every "PixelGrid" of a data file reads without a
// complaint. It knows no file by name.
#include "engine/DataPath.h"
#include "engine/JsonFile.h"
#include "game/PixelGrid.h"
#include "graphics/Image.h"
#include "tests/common/TraceCapture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace
{
std::vector<fs::path> FilesUnder(const fs::path& folder, const std::string& extension)
{
    std::vector<fs::path> files;
    std::error_code error;
    if (fs::is_directory(folder, error))
        for (const auto& entry : fs::recursive_directory_iterator(folder, error))
            if (entry.is_regular_file() && entry.path().extension() == extension)
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Every object with "Type": "PixelGrid" anywhere in the document.
void FindGrids(const json& value, std::vector<json>& grids)
{
    if (value.is_object() && value.value("Type", json()) == "PixelGrid")
        grids.push_back(value);
    if (value.is_structured())
        for (const json& member : value)
            FindGrids(member, grids);
}
}   // namespace

TEST(TerrainData, MaterialsPicturesAndGridsOfTheDataFolderLoad)
{
    const fs::path root = DataRoot();
    std::vector<std::string> problems;
    for (const fs::path& file : FilesUnder(root / "Levels", ".json"))
    {
        std::ifstream in(file);
        const json doc = json::parse(in, nullptr, false);
        PixelGrid grid;
        std::string why;
        if (doc.is_object() && doc.contains("Materials") && !grid.LoadMaterials(doc, why))
            problems.push_back(file.filename().string() + ": " + why);
    }
    for (const fs::path& file : FilesUnder(root / "Levels", ".png"))
    {
        const Image picture("Levels/", file.filename().string());
        if (!picture.IsLoaded() || (picture.channels != 3 && picture.channels != 4))
            problems.push_back(file.filename().string() + ": not an RGB or RGBA picture");
    }
    for (const fs::path& file : FilesUnder(root, ".json"))
    {
        std::ifstream in(file);
        std::vector<json> grids;
        FindGrids(json::parse(in, nullptr, false), grids);
        for (const json& data : grids)
        {
            TraceCapture trace;
            PixelGrid grid;
            grid.Read(data);
            if (!trace.lines.empty() || (!grid.Source.empty() && grid.Cells.empty()))
                problems.push_back(fs::relative(file, root).string() + ": " + trace.All());
        }
    }
    EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
}

TEST(TerrainData, TheFirstLevelPictureUsesOnlyItsPalette)
{
    PixelGrid grid;
    grid.Read({{"Source", "Meadow"}, {"palette", "debug"}});
    ASSERT_GT(grid.Cells.size(), 0u);
    // Every pixel colour found a material: an unclaimed colour would read as the built-in empty.
    size_t unclaimed = 0;
    for (size_t i = 0; i < grid.Cells.size(); ++i)
        unclaimed += grid.Cells[i] == PixelGrid::Empty;
    EXPECT_EQ(unclaimed, 0u);
    // The spawner's plateau on the left is ground, the sky above it is not solid.
    EXPECT_TRUE(grid.MaterialAt(10, 10).solid);
    EXPECT_TRUE(grid.MaterialAt(10, 10).diggable);
    EXPECT_FALSE(grid.MaterialAt(10, grid.Height - 1).solid);
}
