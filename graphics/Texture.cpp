#include "graphics/Texture.h"

#include "graphics/GraphicsSystem.h"
#include "graphics/Image.h"

#include <GL/glew.h>
#include <utility>

namespace
{
bool HardAlpha(const std::string& pixels, int channels)
{
    if (channels != 4)
        return true;
    for (size_t i = 3; i < pixels.size(); i += 4)
        if (const auto a = static_cast<unsigned char>(pixels[i]); a != 0 && a != 255)
            return false;
    return true;
}
}   // namespace

Texture::Texture(std::string textureName, std::string textureType)
    : name(std::move(textureName)), type(std::move(textureType))
{
    Image image("Textures/" + name, ".png");
    path = image.Path();
    if (!image.IsLoaded())
    {
        reason = image.Reason();
        return;
    }
    width = image.width;
    height = image.height;
    if (image.channels == 3 || image.channels == 4)
    {
        channels = image.channels;
        pending.assign(reinterpret_cast<const char*>(image.pixels),
                       static_cast<size_t>(width) * height * channels);
    }
    else
    {
        // Grey pictures (with or without alpha) are spread over red, green and blue.
        channels = 4;
        pending = image.ToRgba(false);
    }
    hardAlpha = HardAlpha(pending, channels);
    loaded = true;
    if (GraphicsSystem::GetInstance().HasContext())
        Upload();
}

Texture::Texture(std::string textureName, int w, int h, const unsigned char* rgba)
    : name(std::move(textureName)), type("baseColor"), width(w), height(h), channels(4), loaded(true),
      pending(reinterpret_cast<const char*>(rgba), static_cast<size_t>(w) * h * 4)
{
    hardAlpha = HardAlpha(pending, channels);
    if (GraphicsSystem::GetInstance().HasContext())
        Upload();
}

Texture::Texture(Texture&& other) noexcept
    : id(std::exchange(other.id, 0)), name(std::move(other.name)), type(std::move(other.type)),
      width(other.width), height(other.height), channels(other.channels), hardAlpha(other.hardAlpha),
      loaded(other.loaded), path(std::move(other.path)), reason(std::move(other.reason)),
      pending(std::move(other.pending))
{
}

Texture& Texture::operator=(Texture&& other) noexcept
{
    id = std::exchange(other.id, 0);
    name = std::move(other.name);
    type = std::move(other.type);
    width = other.width;
    height = other.height;
    channels = other.channels;
    hardAlpha = other.hardAlpha;
    loaded = other.loaded;
    path = std::move(other.path);
    reason = std::move(other.reason);
    pending = std::move(other.pending);
    return *this;
}

GLuint Texture::Id()
{
    if (loaded && id == 0 && GraphicsSystem::GetInstance().HasContext())
        Upload();
    return id;
}

void Texture::Upload()
{
    const GLenum format = channels == 3 ? GL_RGB : GL_RGBA;
    glGenTextures(1, &id);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, id);
    // Rows of any width are packed tightly.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, channels == 3 ? GL_RGB8 : GL_RGBA8, width, height, 0, format,
                 GL_UNSIGNED_BYTE, pending.data());
    // Drawing samples the picture itself (nearest or linear, never between sizes), so it has no
    // smaller copies; making them would cost a shader build in a software renderer at start-up.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    pending.clear();
    pending.shrink_to_fit();
}

void Texture::Delete()
{
    if (id)
        glDeleteTextures(1, &id);
    id = 0;
}
