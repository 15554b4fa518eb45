// The GL side of the terrain: its texture, the upload of changed rows and its draw. Every
// function here does nothing until the graphics system has a context.
#include "game/PixelGrid.h"

#include "graphics/GraphicsSystem.h"

#include <GL/glew.h>

namespace
{
bool HaveContext() { return GraphicsSystem::GetInstance().IsReady(); }
} // namespace

void PixelGrid::CreateTexture()
{
    if (!HaveContext() || Width <= 0 || Height <= 0)
        return;
    ReleaseGL();
    RefreshRows(0, Height - 1);
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

void PixelGrid::Render() {}
