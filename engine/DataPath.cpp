#include "engine/DataPath.h"

#include <cctype>

namespace
{
std::string& Root()
{
    static std::string root = "Data";
    return root;
}
}   // namespace

void SetDataRoot(std::string root)
{
    while (root.size() > 1 && (root.back() == '/' || root.back() == '\\'))
        root.pop_back();
    Root() = std::move(root);
}

const std::string& DataRoot() { return Root(); }

std::string ResolveDataPath(std::string_view path)
{
    std::string p(path);
    for (char& c : p)
        if (c == '\\')
            c = '/';
    std::string_view rest = p;
    while (rest.starts_with("./"))
        rest.remove_prefix(2);
    if (rest.size() >= 4)
    {
        const bool isData = std::tolower(static_cast<unsigned char>(rest[0])) == 'd' &&
                            std::tolower(static_cast<unsigned char>(rest[1])) == 'a' &&
                            std::tolower(static_cast<unsigned char>(rest[2])) == 't' &&
                            std::tolower(static_cast<unsigned char>(rest[3])) == 'a';
        if (isData && (rest.size() == 4 || rest[4] == '/'))
        {
            rest.remove_prefix(4);
            while (rest.starts_with("/"))
                rest.remove_prefix(1);
            return rest.empty() ? Root() : Root() + "/" + std::string(rest);
        }
    }
    return p;
}
