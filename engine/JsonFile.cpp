#include "engine/JsonFile.h"

#include "engine/DataPath.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <unistd.h>

bool ReadJsonFile(const std::string& path, nlohmann::json& out)
{
    std::cout << "=== SERIALIZATION SYSTEM DEBUG ===" << std::endl;
    std::cout << "Attempting to open: " << path << std::endl;
    const std::string file = ResolveDataPath(path);
    try
    {
        {
            std::ifstream probe(file);
            if (!probe.good())
            {
                const size_t slash = path.find_last_of("/\\");
                std::cout << "ERROR: File does not exist: " << path << std::endl;
                std::cout << "Let me check the directory..." << std::endl;
                std::cout << "Directory: " << (slash == std::string::npos ? path : path.substr(0, slash))
                          << std::endl;
                return false;
            }
        }
        std::ifstream in(file);
        if (!in.is_open())
        {
            std::cout << "ERROR: File exists but cannot be opened (permissions?)" << std::endl;
            return false;
        }
        std::cout << "SUCCESS: File opened successfully!" << std::endl;
        nlohmann::json parsed = nlohmann::json::parse(in);
        out = std::move(parsed);
        std::cout << "SUCCESS: JSON parsed and converted" << std::endl;
        return true;
    }
    catch (const std::exception& error)
    {
        std::cout << "Error reading JSON from " << path << ": " << error.what() << std::endl;
        return false;
    }
}

bool WriteJsonFile(const std::string& path, const nlohmann::json& value, std::string* why)
{
    const auto fail = [&](const std::string& reason) {
        if (why)
            *why = reason;
        return false;
    };
    const std::string file = ResolveDataPath(path);
    std::string text;
    try
    {
        text = value.dump(4);
    }
    catch (const std::exception& error)
    {
        std::cout << "Error writing JSON to " << path << std::endl;
        return fail(error.what());
    }
    const std::string temporary = file + ".tmp" + std::to_string(::getpid());
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out)
    {
        const std::string reason = std::strerror(errno);
        std::cout << "Failed to create file: " << path << std::endl;
        return fail(reason);
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    const bool flushed = written && std::fflush(out) == 0 && ::fsync(::fileno(out)) == 0;
    std::string reason = written && flushed ? "" : std::strerror(errno);
    if (std::fclose(out) != 0 && reason.empty())
        reason = std::strerror(errno);
    std::error_code error;
    if (reason.empty() && (std::filesystem::rename(temporary, file, error), error))
        reason = error.message();
    if (!reason.empty())
    {
        std::filesystem::remove(temporary, error);
        std::cout << "Failed to create file: " << path << std::endl;
        return fail(reason);
    }
    // The rename itself reaches the disk with its folder.
    const std::string folder = std::filesystem::path(file).parent_path().string();
    if (const int directory = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
        directory >= 0)
    {
        ::fsync(directory);
        ::close(directory);
    }
    return true;
}

std::string FileStem(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}
