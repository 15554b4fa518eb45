#pragma once
// A data folder of a test's own, made the data root while it lives: every file of the source
// Data folder is linked into it, so meshes, shaders and pictures load as usual, and the test
// adds or replaces files beside them. The previous data root comes back at the end.
#include "tests/common/TempFolder.h"

#include <string>

class TestDataFolder
{
public:
    TestDataFolder();
    ~TestDataFolder();
    TestDataFolder(const TestDataFolder&) = delete;
    TestDataFolder& operator=(const TestDataFolder&) = delete;

    // Writes (or replaces) a file at a path relative to the folder.
    void Write(const std::string& relativePath, const std::string& content) const;
    // Writes a PNG of 8-bit pixels, rows top first, with 1 to 4 channels.
    void WritePng(const std::string& relativePath, int width, int height, int channels,
                  const unsigned char* pixels) const;
    void Remove(const std::string& relativePath) const;
    std::string operator/(const std::string& relativePath) const { return folder / relativePath; }

private:
    TempFolder folder;
    std::string previousRoot;
};
