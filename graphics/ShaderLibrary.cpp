#include "graphics/ShaderLibrary.h"

#include "graphics/GraphicsSystem.h"
#include "graphics/LibraryEntries.h"

#include <GL/glew.h>

ShaderLibrary& ShaderLibrary::GetInstance()
{
    static ShaderLibrary instance;
    return instance;
}

int ShaderLibrary::FindOrLoad(const std::string& name)
{
    if (name.empty())
        return -1;
    if (const int found = IndexOfName(shaders, name); found >= 0)
        return found;
    shaders.emplace_back(name);
    return static_cast<int>(shaders.size()) - 1;
}

const std::string& ShaderLibrary::GetName(int index) const { return NameAt(shaders, index); }

Shader* ShaderLibrary::Prepare(int index)
{
    if (index == -1)
        index = 0;
    if (index < 0 || index >= Size())
        return nullptr;
    Shader& shader = shaders[static_cast<size_t>(index)];
    shader.Build();
    return &shader;
}

void ShaderLibrary::Clear()
{
    GraphicsSystem::GetInstance().IssueQueued();
    if (GraphicsSystem::GetInstance().HasContext())
    {
        glUseProgram(0);
        for (Shader& shader : shaders)
            shader.DeleteProgram();
    }
    shaders.clear();
    currentProgram = 0;
}
