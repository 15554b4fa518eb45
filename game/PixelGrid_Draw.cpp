// The GL side of the terrain: its texture, the upload of changed rows and its draw. Every
// function here does nothing until the graphics system has a context.
#include "game/PixelGrid.h"

#include "graphics/Camera.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"

#include <GL/glew.h>

namespace
{
bool HaveContext() { return GraphicsSystem::GetInstance().HasContext(); }
constexpr float IdentityUv[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
}   // namespace

void PixelGrid::CreateTexture()
{
    if (!HaveContext() || Width <= 0 || Height <= 0)
        return;
    ReleaseGL();
    RefreshWords();
    GLuint id = 0;
    glGenTextures(1, &id);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, Width, Height, 0, GL_RGBA, GL_UNSIGNED_BYTE, UploadBuffer.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    TextureId = id;
}

void PixelGrid::SendRows(int first, int count)
{
    if (!HaveContext())
        return;
    if (TextureId == 0)
    {
        // A grid made without a picture (a clone, a test grid) builds its texture from its cells.
        CreateTexture();
        return;
    }
    glBindTexture(GL_TEXTURE_2D, TextureId);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, first, Width, count, GL_RGBA, GL_UNSIGNED_BYTE,
                    UploadBuffer.data() + static_cast<size_t>(first) * static_cast<size_t>(Width));
    glBindTexture(GL_TEXTURE_2D, 0);
}

void PixelGrid::ReleaseGL()
{
    if (TextureId != 0 && HaveContext())
    {
        const GLuint id = TextureId;
        glDeleteTextures(1, &id);
    }
    TextureId = 0;
}

void PixelGrid::Render()
{
    if (!HaveContext() || Width <= 0 || Height <= 0)
        return;
    if (TextureId == 0)
        CreateTexture();
    MeshLibrary& meshes = MeshLibrary::GetInstance();
    ShaderLibrary& shaders = ShaderLibrary::GetInstance();
    const Mesh* plane = meshes.Get(meshes.FindOrLoad("Prim_UnitPlane"));
    Shader* shader = shaders.Prepare(shaders.FindOrLoad("Grid"));
    if (!plane || !shader || !shader->IsUsable())
        return;   // each library has said why

    GraphicsSystem& graphics = GraphicsSystem::GetInstance();
    glBindVertexArray(graphics.vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, graphics.vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, graphics.elementBuffer);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glUseProgram(shader->program);
    shaders.currentProgram = shader->program;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, TextureId);
    plane->Upload();
    graphics.ForgetUploadedMesh();

    // The unit plane stretched over the grid: cell (cx, cy) is drawn on [cx, cx + 1) of cell space.
    Matrix4 model =
        Matrix4::Scale({static_cast<float>(Width) / CellSize, static_cast<float>(Height) / CellSize, 1});
    model.At(0, 3) = -Origin.x / CellSize;
    model.At(1, 3) = -Origin.y / CellSize;
    Camera& camera = Camera::GetInstance();
    const Matrix4 worldToClip = Matrix4::Multiply(camera.GetProjectionMatrix(), camera.GetViewMatrix());
    const ShaderUniforms& u = shader->uniforms;
    glUniformMatrix4fv(u.mTw, 1, GL_FALSE, model.Data());
    glUniformMatrix4fv(u.wTc, 1, GL_FALSE, worldToClip.Data());
    glUniformMatrix3fv(u.uvT, 1, GL_FALSE, IdentityUv);
    glUniform3f(u.tint, 1, 1, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(plane->indices.size()), GL_UNSIGNED_INT, nullptr);

    glBindTexture(GL_TEXTURE_2D, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
    glUseProgram(0);
}
