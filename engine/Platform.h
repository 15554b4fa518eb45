#pragma once
// Platform stand-ins for the per-user folder. Implements:
//  - KnownFolderPath: the per-user data folder, $XDG_DATA_HOME, else $HOME/.local/share,
//    else "." when neither is set;
//  - UserFolder: that folder joined with "Vostrel/Zoverav", where the log and settings live;
//  - RenameNoReplace: a file renamed only when the new name is free, decided by the file system
//    itself in one step (renameat2 with RENAME_NOREPLACE, else link and unlink).
#include <string>

namespace Platform
{
std::string KnownFolderPath();
std::string UserFolder();
// Renames `from` to `to` unless `to` exists; 0, or the system's error number (EEXIST when `to`
// exists).
int RenameNoReplace(const std::string& from, const std::string& to);
}   // namespace Platform
