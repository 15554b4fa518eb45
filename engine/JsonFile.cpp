#include "engine/JsonFile.h"

#include "engine/DataPath.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <unistd.h>

namespace
{
// The temporary files of earlier writes of the file whose writer is gone: a process killed
// between creating its temporary file and the rename leaves it behind, and nothing else would
// ever remove it. Another living process's temporary file is its write in progress: kept; this
// process's own is written over by the write itself.
void RemoveStaleTemporaries(const std::filesystem::path& file)
{
    namespace fs = std::filesystem;
    const std::string prefix = file.filename().string() + ".tmp";
    std::error_code error;
    for (fs::directory_iterator it(file.has_parent_path() ? file.parent_path() : ".", error), end;
         !error && it != end; it.increment(error))
    {
        const std::string name = it->path().filename().string();
        const std::string digits = name.starts_with(prefix) ? name.substr(prefix.size()) : "";
        if (digits.empty() || digits.size() > 9 ||
            !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        const pid_t writer = static_cast<pid_t>(std::stol(digits));
        std::error_code status;
        if (writer != ::getpid() && ::kill(writer, 0) != 0 && errno == ESRCH && it->is_regular_file(status))
        {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}
}   // namespace

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
    RemoveStaleTemporaries(file);
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
