// Every terrain picture of the data folder loads into a grid with its own materials file (the
// file of the same name, else the debug materials), and every colour painted in it is one of
// those materials: a colour no material claims would silently become an empty cell, a hole the
// bots fall through.
#include "engine/DataPath.h"
#include "game/PixelGrid.h"
#include "graphics/Image.h"
#include "tests/common/TraceCapture.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace fs = std::filesystem;

TEST(LevelTerrain, EveryPaintedColourIsAMaterialOfItsPalette)
{
    int pictures = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(DataRoot() + "/Levels"))
    {
        if (entry.path().extension() != ".png")
            continue;
        ++pictures;
        const std::string source = entry.path().stem().string();
        const std::string palette =
            fs::exists(entry.path().parent_path() / (source + ".json")) ? source : "debug";
        SCOPED_TRACE(source + " with the materials " + palette);

        PixelGrid grid;
        TraceCapture trace;
        grid.Read({{"Source", source}, {"palette", palette}});
        EXPECT_TRUE(trace.lines.empty()) << trace.All();
        // The grid lets its picture's pixels go once read: decode the picture again here.
        const Image picture("Levels/", source + ".png");
        ASSERT_TRUE(picture.IsLoaded()) << picture.Reason();
        EXPECT_EQ(picture.channels, 4) << "terrain pictures are RGBA";

        const std::string rgba = picture.ToRgba(false);
        std::map<uint32_t, int> unclaimed;   // colour -> cells painted with it
        for (size_t i = 0; i + 3 < rgba.size(); i += 4)
        {
            const auto byte = [&](size_t k) { return static_cast<uint8_t>(rgba[i + k]); };
            if (byte(3) == 0)
                continue;   // transparent: air
            const uint32_t colour = PixelGrid::PackColour(byte(0), byte(1), byte(2), byte(3));
            if (!grid.ColourToMaterial.count(colour))
                ++unclaimed[colour];
        }
        for (const auto& [colour, cells] : unclaimed)
            ADD_FAILURE() << std::hex << "colour 0x" << colour << std::dec << " (" << cells
                          << " cells) is no material of " << palette;
    }
    EXPECT_GT(pictures, 0);
}
