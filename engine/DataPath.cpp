#include "engine/DataPath.h"

#include "engine/Utf8.h"

#include <algorithm>
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

bool IsPlainFileName(std::string_view name, std::string* why)
{
    std::string reason;
    if (name.empty())
        reason = "Enter a name";
    else if (!IsValidUtf8(name))
        reason = "The name is not valid UTF-8";
    else if (name.find_first_of("/\\") != std::string_view::npos)
        reason = "A name cannot hold '/' or '\\': the file stays in its folder";
    else if (name == "." || name == "..")
        reason = name == "." ? "\".\" is not a file name" : "\"..\" is not a file name";
    else if (std::any_of(name.begin(), name.end(),
                         [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }))
        reason = "A name cannot hold control characters";
    else if (name.front() == ' ' || name.back() == ' ')
        reason = "A name cannot begin or end with a blank";
    if (why)
        *why = reason;
    return reason.empty();
}
