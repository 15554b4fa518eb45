#include "graphics/DrawQueue.h"

#include "engine/WindowSystem.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace
{
constexpr float IdentityUv[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
}   // namespace

bool DrawQueue::IsInstanced(unsigned int program)
{
    return program != 0 && glGetAttribLocation(program, "iModel") == ModelLocation;
}

void DrawQueue::Init()
{
    Graphics::CreateMeshVertexArray(vertexArray, meshVertices, meshIndices);
    glGenBuffers(1, &instanceBuffer);

    glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer);
    const auto instanceAttribute = [](GLuint location, GLint count, size_t offset) {
        glVertexAttribPointer(location, count, GL_FLOAT, GL_FALSE, sizeof(Instance),
                              reinterpret_cast<const void*>(offset));
        glEnableVertexAttribArray(location);
        glVertexAttribDivisor(location, 1);
    };
    for (GLuint column = 0; column < 4; ++column)
        instanceAttribute(static_cast<GLuint>(ModelLocation) + column, 4,
                          offsetof(Instance, model) + column * 4 * sizeof(float));
    for (GLuint column = 0; column < 3; ++column)
        instanceAttribute(static_cast<GLuint>(UvLocation) + column, 3,
                          offsetof(Instance, uv) + column * 3 * sizeof(float));
    instanceAttribute(static_cast<GLuint>(TintLocation), 3, offsetof(Instance, tint));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    meshRanges.clear();
    textureModes.clear();
    issuedDraws = 0;
}

void DrawQueue::Shutdown()
{
    batches.clear();
    instances.clear();
    meshRanges.clear();
    textureModes.clear();
    if (vertexArray == 0)
        return;
    glDeleteVertexArrays(1, &vertexArray);
    for (GLuint* buffer : {&meshVertices, &meshIndices, &instanceBuffer})
        glDeleteBuffers(1, buffer);
    vertexArray = meshVertices = meshIndices = instanceBuffer = 0;
}

bool DrawQueue::SameLook(const Look& a, const Look& b)
{
    return a.program == b.program && a.mesh == b.mesh && a.texture == b.texture && a.wrap == b.wrap &&
           a.filter == b.filter && a.blend == b.blend &&
           std::memcmp(a.worldToClip.Data(), b.worldToClip.Data(), 16 * sizeof(float)) == 0;
}

void DrawQueue::Add(const Look& look, const Matrix4& model, const float* uv, const float* tint)
{
    if (batches.empty() || !SameLook(batches.back().look, look))
        batches.push_back({look, static_cast<int>(instances.size()), 0});
    ++batches.back().count;
    Instance& instance = instances.emplace_back();
    std::memcpy(instance.model, model.Data(), sizeof(instance.model));
    std::memcpy(instance.uv, uv ? uv : IdentityUv, sizeof(instance.uv));
    std::memcpy(instance.tint, tint, sizeof(instance.tint));
}

void DrawQueue::SendMeshes()
{
    const MeshLibrary& library = MeshLibrary::GetInstance();
    if (static_cast<int>(meshRanges.size()) == library.Size())
        return;
    std::vector<MeshVertex> vertices;
    std::vector<uint32_t> indices;
    meshRanges.clear();
    for (int i = 0; i < library.Size(); ++i)
    {
        const Mesh& mesh = *library.Get(i);
        meshRanges.push_back({static_cast<int>(vertices.size()), static_cast<int>(indices.size()),
                              static_cast<int>(mesh.indices.size())});
        vertices.insert(vertices.end(), mesh.vertices.begin(), mesh.vertices.end());
        indices.insert(indices.end(), mesh.indices.begin(), mesh.indices.end());
    }
    glBindBuffer(GL_ARRAY_BUFFER, meshVertices);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(MeshVertex)),
                 vertices.data(), GL_STATIC_DRAW);
    // The element binding belongs to the vertex array bound by the caller.
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)),
                 indices.data(), GL_STATIC_DRAW);
}

void DrawQueue::Flush()
{
    if (batches.empty())
        return;
    glBindVertexArray(vertexArray);
    SendMeshes();
    // A fresh store each time: the draws still in flight keep reading the old one.
    glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(instances.size() * sizeof(Instance)),
                 instances.data(), GL_STREAM_DRAW);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glActiveTexture(GL_TEXTURE0);
    const float time = WindowSystem::GetInstance().totalTime * 100.0f;
    unsigned int program = 0, texture = 0;
    bool blending = true;
    for (const Batch& batch : batches)
    {
        const Look& look = batch.look;
        if (look.blend != blending)
        {
            blending = look.blend;
            blending ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
        }
        if (look.program != program)
        {
            program = look.program;
            glUseProgram(program);
        }
        if (look.samplesTexture && look.texture != texture)
        {
            texture = look.texture;
            glBindTexture(GL_TEXTURE_2D, texture);
        }
        // Modes belong to the texture object: the bound one takes them (texture 0 when the shader
        // samples nothing, as a draw of such a shader always did).
        auto [modes, fresh] = textureModes.try_emplace(texture, look.wrap, look.filter);
        if (fresh || modes->second != std::pair{look.wrap, look.filter})
        {
            modes->second = {look.wrap, look.filter};
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, look.wrap);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, look.wrap);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, look.filter);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, look.filter);
        }
        glUniformMatrix4fv(look.worldToClipUniform, 1, GL_FALSE, look.worldToClip.Data());
        glUniform1f(look.timeUniform, time);
        const MeshRange& range = meshRanges[static_cast<size_t>(look.mesh)];
        glDrawElementsInstancedBaseVertexBaseInstance(
            GL_TRIANGLES, range.indexCount, GL_UNSIGNED_INT,
            reinterpret_cast<const void*>(static_cast<size_t>(range.firstIndex) * sizeof(uint32_t)),
            batch.count, range.baseVertex, static_cast<GLuint>(batch.firstInstance));
        ++issuedDraws;
    }
    if (!blending)
        glEnable(GL_BLEND);
    batches.clear();
    instances.clear();
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
    glUseProgram(0);
}
