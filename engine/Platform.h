#pragma once
// Platform stand-ins for the per-user folder. Implements:
//  - KnownFolderPath: the per-user data folder, $XDG_DATA_HOME, else $HOME/.local/share,
//    else "." when neither is set;
//  - UserFolder: that folder joined with "Vostrel/Zoverav", where the log and settings live.
#include <string>

namespace Platform
{
std::string KnownFolderPath();
std::string UserFolder();
}   // namespace Platform
