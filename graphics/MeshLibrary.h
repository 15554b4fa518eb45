#pragma once
// Every mesh of the run, each loaded once on its first request by name and then addressed by
// index. Indices are stable until Clear (graphics shutdown); -1 means no mesh. A name whose
// file is missing or malformed is reported once and answers -1 ever after without growing the
// library. No GL context is needed: meshes are plain data.
#include "graphics/Mesh.h"

#include <string>
#include <unordered_set>
#include <vector>

class MeshLibrary
{
public:
    static MeshLibrary& GetInstance();

    int FindOrLoad(const std::string& name);       // -1 for an empty name or a mesh that cannot load
    const std::string& GetName(int index) const;   // empty text outside the library
    const Mesh* Get(int index) const;              // null outside the library
    int Size() const { return static_cast<int>(meshes.size()); }
    void Clear();

private:
    MeshLibrary() = default;

    std::vector<Mesh> meshes;
    std::unordered_set<std::string> failed;   // names already reported
};
