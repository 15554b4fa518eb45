#include "tests/common/TestDataFolder.h"

#include "engine/DataPath.h"

#include <filesystem>
#include <stb_image_write.h>
#include <stdexcept>

namespace fs = std::filesystem;

TestDataFolder::TestDataFolder() : previousRoot(DataRoot())
{
    const fs::path source = fs::absolute(ZOVERAV_SOURCE_DIR "/Data");
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source))
    {
        const fs::path target = folder.Path() / fs::relative(entry.path(), source);
        if (entry.is_directory())
            fs::create_directories(target);
        else
            fs::create_symlink(entry.path(), target);
    }
    SetDataRoot(folder.Path().string());
}

TestDataFolder::~TestDataFolder() { SetDataRoot(previousRoot); }

void TestDataFolder::Remove(const std::string& relativePath) const
{
    std::error_code ignored;
    fs::remove(folder.Path() / relativePath, ignored);
}

void TestDataFolder::Write(const std::string& relativePath, const std::string& content) const
{
    Remove(relativePath);   // a link to the source file is replaced, never written through
    TempFolder::WriteFile(folder / relativePath, content);
}

void TestDataFolder::WritePng(const std::string& relativePath, int width, int height, int channels,
                              const unsigned char* pixels) const
{
    Remove(relativePath);
    const fs::path path = folder.Path() / relativePath;
    fs::create_directories(path.parent_path());
    if (!stbi_write_png(path.c_str(), width, height, channels, pixels, width * channels))
        throw std::runtime_error("cannot write " + path.string());
}
