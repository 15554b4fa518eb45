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
#include <sstream>
#include <sys/stat.h>
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

std::string JsonErrorText(const std::exception& error)
{
    const std::string what = error.what();
    const size_t tag = what.starts_with('[') ? what.find("] ") : std::string::npos;
    return tag == std::string::npos ? what : what.substr(tag + 2);
}

nlohmann::json ParseJsonText(std::string_view text)
{
    // The depth a container opens at is the number of containers around it.
    const nlohmann::json::parser_callback_t limit = [](int depth, nlohmann::json::parse_event_t event,
                                                       nlohmann::json&) {
        if ((event == nlohmann::json::parse_event_t::object_start ||
             event == nlohmann::json::parse_event_t::array_start) &&
            depth >= MaxJsonDepth)
            throw std::runtime_error("nested deeper than " + std::to_string(MaxJsonDepth) + " levels");
        return true;
    };
    return nlohmann::json::parse(text, limit);
}

bool ReadJsonFile(const std::string& path, nlohmann::json& out, JsonFault* fault)
{
    const auto fail = [&](JsonFault::Kind kind, std::string why) {
        if (fault)
            *fault = {kind, std::move(why)};
        return false;
    };
    std::cout << "=== SERIALIZATION SYSTEM DEBUG ===" << std::endl;
    std::cout << "Attempting to open: " << path << std::endl;
    const std::string file = ResolveDataPath(path);
    struct stat info
    {
    };
    if (::stat(file.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR))
    {
        const size_t slash = path.find_last_of("/\\");
        std::cout << "ERROR: File does not exist: " << path << std::endl;
        std::cout << "Let me check the directory..." << std::endl;
        std::cout << "Directory: " << (slash == std::string::npos ? path : path.substr(0, slash))
                  << std::endl;
        return fail(JsonFault::Missing, "no such file");
    }
    // A folder opens as a stream on this platform and reads as nothing: it is no file at all.
    std::ifstream in;
    if (!S_ISDIR(info.st_mode))
        in.open(file, std::ios::binary);
    const std::string cannot = S_ISDIR(info.st_mode) ? "is a folder, not a file" : std::strerror(errno);
    if (!in.is_open())
    {
        std::cout << "ERROR: File exists but cannot be opened (permissions?)" << std::endl;
        return fail(JsonFault::Unreadable, cannot);
    }
    std::cout << "SUCCESS: File opened successfully!" << std::endl;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
    {
        std::cout << "Error reading JSON from " << path << ": read failed" << std::endl;
        return fail(JsonFault::Unreadable, "read failed");
    }
    try
    {
        out = ParseJsonText(text.view());
        std::cout << "SUCCESS: JSON parsed and converted" << std::endl;
        return true;
    }
    catch (const std::exception& error)
    {
        std::cout << "Error reading JSON from " << path << ": " << error.what() << std::endl;
        return fail(JsonFault::Malformed, JsonErrorText(error));
    }
}

std::string JsonSummary(const nlohmann::json& value)
{
    constexpr size_t Width = 40;
    const auto cut = [](std::string text) {
        if (text.size() > Width)
            text = text.substr(0, Width - 3) + "...";
        return text;
    };
    // A text with bytes that are not UTF-8 is shown with replacements rather than refused.
    const auto print = [](const nlohmann::json& shown) {
        return shown.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    };
    const auto plain = [](const nlohmann::json& element) {
        return element.is_primitive() &&
               (!element.is_string() || element.get_ref<const std::string&>().size() <= Width);
    };
    if (value.is_string())
        return cut(print(value.get_ref<const std::string&>().substr(0, Width)));
    if (value.is_primitive())
        return print(value);
    if (value.size() <= 8 && std::all_of(value.begin(), value.end(), plain))
        return cut(print(value));
    const size_t n = value.size();
    return value.is_array() ? "an array of " + std::to_string(n) + (n == 1 ? " value" : " values")
                            : "an object of " + std::to_string(n) + (n == 1 ? " key" : " keys");
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
