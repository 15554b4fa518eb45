#pragma once
// What every fuzz target shares, set up on the first call of Setup and kept for the process:
//  - a data folder of its own, made the data root, that links every file of the game's Data
//    folder (so names in an input resolve as in the game); a target writes its input into it;
//  - a per-user folder of its own ($XDG_DATA_HOME), for the settings files;
//  - the standard output sent nowhere: the file reader's chatter would drown the fuzzer's.
// The log file is never opened: the lines kept for it until it opens are a full buffer already,
// so an input's lines are dropped.
#include "tests/common/TestDataFolder.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace FuzzKit
{
TestDataFolder& Setup();
std::string Text(const uint8_t* data, size_t size);
// The settings folder of the per-user folder, emptied: every input starts from no files.
std::string EmptySettingsFolder();
// The offline sound system (opened once; the registry is left empty).
void OpenOfflineAudio();
}   // namespace FuzzKit
