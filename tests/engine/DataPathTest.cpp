#include "engine/DataPath.h"

#include <gtest/gtest.h>

TEST(DataPath, EverySpellingOfTheDataFolderReachesTheOneRoot)
{
    const std::string saved = DataRoot();
    SetDataRoot("/games/zoverav/Data/");
    const struct
    {
        const char* in;
        const char* out;
    } cases[] = {
        {"Data/Scenes/A.json", "/games/zoverav/Data/Scenes/A.json"},
        {"./Data/Levels/debug.json", "/games/zoverav/Data/Levels/debug.json"},
        {"./data/Textures/White.png", "/games/zoverav/Data/Textures/White.png"},
        {"Data\\Scenes\\PauseMenuScene.json", "/games/zoverav/Data/Scenes/PauseMenuScene.json"},
        {"data", "/games/zoverav/Data"},
        {"Database/x", "Database/x"},
        {"/home/u/.local/share/Vostrel/Zoverav/AudioVolume.json",
         "/home/u/.local/share/Vostrel/Zoverav/AudioVolume.json"},
        {"Scenes/A.json", "Scenes/A.json"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveDataPath(c.in), c.out) << c.in;
    SetDataRoot(saved);
}
