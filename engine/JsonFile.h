#pragma once
// Whole-file JSON input and output. Paths in the data folder resolve against the data root.
//  - ReadJsonFile: parses the whole file; on any failure out is unchanged and false comes back.
//  - WriteJsonFile: serialises first, writes a temporary file beside the target, flushes and
//    renames it over the target, so a failed write leaves the old file whole and says so (and
//    why, in `why` when given). The temporary file is named after the target and the writing
//    process ("<file>.tmp<pid>"); one whose process died mid-write is removed by the next write.
#include <nlohmann/json.hpp>
#include <string>

bool ReadJsonFile(const std::string& path, nlohmann::json& out);
bool WriteJsonFile(const std::string& path, const nlohmann::json& value, std::string* why = nullptr);

// The last element of a path, '/' or '\\' separated, without its extension ("MainMenuScene").
std::string FileStem(const std::string& path);
