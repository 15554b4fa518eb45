#include "scene/ReadingFile.h"

#include <vector>

namespace
{
std::vector<std::string>& Files()
{
    static std::vector<std::string> files;
    return files;
}
}   // namespace

ReadingFile::ReadingFile(std::string path) { Files().push_back(std::move(path)); }

ReadingFile::~ReadingFile() { Files().pop_back(); }

const std::string& ReadingFile::Current()
{
    static const std::string none;
    return Files().empty() ? none : Files().back();
}

std::string ReadingFile::Where(const std::string& entity)
{
    const std::string& file = Current();
    if (file.empty())
        return entity;
    return file + ": " + entity;
}
