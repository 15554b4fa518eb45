#include "tests/common/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zoverav-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void TempFolder::WriteFile(const std::string& path, const std::string& content)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string TempFolder::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ScopedEnv::ScopedEnv(const char* variable, const char* value) : name(variable)
{
    const char* current = std::getenv(variable);
    hadOld = current != nullptr;
    if (current)
        old = current;
    if (value)
        setenv(variable, value, 1);
    else
        unsetenv(variable);
}

ScopedEnv::~ScopedEnv()
{
    if (hadOld)
        setenv(name.c_str(), old.c_str(), 1);
    else
        unsetenv(name.c_str());
}
