#include "graphics/MeshLibrary.h"

#include "graphics/GraphicsSystem.h"
#include "graphics/LibraryEntries.h"

MeshLibrary& MeshLibrary::GetInstance()
{
    static MeshLibrary instance;
    return instance;
}

int MeshLibrary::FindOrLoad(const std::string& name)
{
    if (name.empty())
        return -1;
    if (const int found = IndexOfName(meshes, name); found >= 0)
        return found;
    if (failed.count(name))
        return -1;
    Mesh mesh(name, "xobj");
    if (mesh.IsEmpty())
    {
        failed.insert(name);
        return -1;
    }
    meshes.push_back(std::move(mesh));
    return static_cast<int>(meshes.size()) - 1;
}

const std::string& MeshLibrary::GetName(int index) const { return NameAt(meshes, index); }

const Mesh* MeshLibrary::Get(int index) const
{
    return index >= 0 && index < Size() ? &meshes[static_cast<size_t>(index)] : nullptr;
}

void MeshLibrary::Clear()
{
    // Queued draws hold copies of their vertices; only the shared buffers' record goes stale.
    GraphicsSystem::GetInstance().ForgetUploadedMesh();
    meshes.clear();
    failed.clear();
}
