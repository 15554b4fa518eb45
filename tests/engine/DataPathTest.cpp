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

TEST(DataPath, APlainFileNameStaysInItsFolderIsValidUtf8AndHoldsNoControlCharacter)
{
    const struct
    {
        std::string name;
        bool plain;
    } cases[] = {
        {"Crate", true},      {"Level 2.json", true}, {"Kr\xC3\xA1t", true}, {"..hidden", true},
        {"", false},          {".", false},           {"..", false},         {"a/b", false},
        {"a\\b", false},      {"/abs", false},        {"Bad\xC3", false},   // a character cut short
        {"\xC0\xAF", false},                                                // an overlong '/'
        {"Tab\there", false}, {" Crate", false},      {"Crate ", false},     {std::string("a\0b", 3), false},
    };
    for (const auto& c : cases)
    {
        std::string why;
        EXPECT_EQ(IsPlainFileName(c.name, &why), c.plain) << c.name;
        EXPECT_EQ(why.empty(), c.plain) << c.name << ": " << why;
    }
}
