#pragma once
// Whole-file JSON input and output, and the one way a JSON value goes into a message. Paths in
// the data folder resolve against the data root.
//  - ReadJsonFile: parses the whole file; on any failure out is unchanged, false comes back and,
//    when asked, why and of which kind (missing, cannot be read, not usable JSON). Input nested
//    deeper than MaxJsonDepth is refused before it is built, so no value read from a file is too
//    deep for the library's own recursive copy, comparison and printing.
//  - WriteJsonFile: serialises first, writes a temporary file beside the target, flushes and
//    renames it over the target, so a failed write leaves the old file whole and says so (and
//    why, in `why` when given). The temporary file is named after the target and the writing
//    process ("<file>.tmp<pid>"); one whose process died mid-write is removed by the next write.
//  - JsonSummary: a short, flat text for any value, of any depth or size, for a log line.
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

// Deeper than any data file needs; shallow enough for every recursive walk over a value.
constexpr int MaxJsonDepth = 64;

// Why a read gave nothing.
struct JsonFault
{
    enum Kind
    {
        None,
        Missing,      // no such file
        Unreadable,   // there, but it cannot be opened or read (permissions, a folder)
        Malformed     // read, but not JSON this program takes (syntax, nesting too deep)
    };
    Kind kind = None;
    std::string why;   // one short clause: "Permission denied", "is a folder", the parser's text
};

bool ReadJsonFile(const std::string& path, nlohmann::json& out, JsonFault* fault = nullptr);
bool WriteJsonFile(const std::string& path, const nlohmann::json& value, std::string* why = nullptr);

// Parses text held in memory under the same depth limit; throws nlohmann::json::exception (the
// parser's own) or std::runtime_error (too deep) on failure.
nlohmann::json ParseJsonText(std::string_view text);

// An exception's text without the JSON library's tag ("[json.exception.parse_error.101] ").
std::string JsonErrorText(const std::exception& error);

// At most about 40 characters on one line: a number, true/false/null or a cut text as written;
// a short list or object of plain values as written; anything larger by its kind and size
// ("an array of 3000 values", "an object of 2 keys").
std::string JsonSummary(const nlohmann::json& value);

// The last element of a path, '/' or '\\' separated, without its extension ("MainMenuScene").
std::string FileStem(const std::string& path);
