#pragma once
// Lookups shared by the mesh, shader and texture libraries, whose entries all carry the name
// they were requested by: exact, case-sensitive, first match.
#include <string>
#include <vector>

template <typename Entry> int IndexOfName(const std::vector<Entry>& entries, const std::string& name)
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].name == name)
            return static_cast<int>(i);
    return -1;
}

// The name at the index; an empty text outside the entries.
template <typename Entry> const std::string& NameAt(const std::vector<Entry>& entries, int index)
{
    static const std::string empty;
    return index >= 0 && static_cast<size_t>(index) < entries.size()
               ? entries[static_cast<size_t>(index)].name
               : empty;
}
