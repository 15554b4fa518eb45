#include "engine/Platform.h"

#include <cstdlib>

namespace Platform
{
std::string KnownFolderPath()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return xdg;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share";
    return ".";
}

std::string UserFolder() { return KnownFolderPath() + "/Vostrel/Zoverav"; }
}   // namespace Platform
