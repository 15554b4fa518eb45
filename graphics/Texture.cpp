#include "graphics/Texture.h"

#include "graphics/GraphicsSystem.h"
#include "graphics/Image.h"

#include <GL/glew.h>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>

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
    NoteAlpha();
    loaded = true;
    if (GraphicsSystem::GetInstance().HasContext())
        Upload();
}

Texture::Texture(std::string textureName, int w, int h, const unsigned char* rgba)
    : name(std::move(textureName)), type("baseColor"), width(w), height(h), channels(4), loaded(true),
      pending(reinterpret_cast<const char*>(rgba), static_cast<size_t>(w) * h * 4)
{
    NoteAlpha();
    if (GraphicsSystem::GetInstance().HasContext())
        Upload();
}

Texture::Texture(Texture&& other) noexcept
    : id(std::exchange(other.id, 0)), name(std::move(other.name)), type(std::move(other.type)),
      width(other.width), height(other.height), channels(other.channels), hardAlpha(other.hardAlpha),
      loaded(other.loaded), path(std::move(other.path)), reason(std::move(other.reason)),
      pending(std::move(other.pending)), shown(std::move(other.shown)), shownWords(other.shownWords),
      knownParts(std::move(other.knownParts))
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
    shown = std::move(other.shown);
    shownWords = other.shownWords;
    knownParts = std::move(other.knownParts);
    return *this;
}

void Texture::NoteAlpha()
{
    hardAlpha = true;
    shown.clear();
    shownWords = 0;
    knownParts.clear();
    if (channels != 4 || width <= 0 || height <= 0)
        return;
    const auto alpha = [this](size_t texel) { return static_cast<unsigned char>(pending[texel * 4 + 3]); };
    const size_t texels = static_cast<size_t>(width) * height;
    bool anyClear = false;
    for (size_t i = 0; i < texels; ++i)
    {
        const unsigned char a = alpha(i);
        anyClear = anyClear || a == 0;
        hardAlpha = hardAlpha && (a == 0 || a == 255);
    }
    if (!anyClear)
        return;
    shownWords = (width + 63) / 64;
    shown.assign(static_cast<size_t>(shownWords) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (alpha(static_cast<size_t>(y) * width + x) != 0)
                shown[static_cast<size_t>(y) * shownWords + x / 64] |= uint64_t{1} << (x % 64);
}

bool Texture::ShownWithin(int x0, int y0, int x1, int y1, int (&box)[4]) const
{
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, width), y1 = std::min(y1, height);
    if (x0 >= x1 || y0 >= y1)
        return false;
    if (shown.empty())
    {
        box[0] = x0, box[1] = y0, box[2] = x1, box[3] = y1;
        return true;
    }
    int left = x1, right = x0, bottom = y1, top = y0;
    for (int y = y0; y < y1; ++y)
    {
        const uint64_t* row = shown.data() + static_cast<size_t>(y) * shownWords;
        bool any = false;
        for (int w = x0 / 64; w <= (x1 - 1) / 64; ++w)
        {
            const int from = std::max(x0 - 64 * w, 0), to = std::min(x1 - 64 * w, 64);
            const uint64_t within =
                (to == 64 ? ~uint64_t{0} : (uint64_t{1} << to) - 1) & (~uint64_t{0} << from);
            if (const uint64_t bits = row[w] & within)
            {
                any = true;
                left = std::min(left, 64 * w + std::countr_zero(bits));
                right = std::max(right, 64 * w + 64 - std::countl_zero(bits));
            }
        }
        if (any)
        {
            bottom = std::min(bottom, y);
            top = y + 1;
        }
    }
    box[0] = left, box[1] = bottom, box[2] = right, box[3] = top;
    return left < right;
}

bool Texture::ShownPart(const float* uv, float (&part)[4]) const
{
    if (shown.empty())
        return false;
    const float* t = uv;
    if (t[1] != 0 || t[3] != 0 || t[0] == 0 || t[4] == 0)
        return false;
    const float key[4] = {t[0], t[4], t[6], t[7]};
    // Known by the bits of the four values: the same bits always give the same answer.
    for (const KnownPart& known : knownParts)
        if (std::memcmp(key, known.uv, sizeof(key)) == 0)
        {
            std::copy(known.part, known.part + 4, part);
            return known.trimmed;
        }
    bool trimmed = false;
    part[0] = part[1] = 0, part[2] = part[3] = 1;
    // u = t[0] s + t[6] and v = t[4] r + t[7], for s and r within [0, 1].
    const auto [uLow, uHigh] = std::minmax({t[6], t[0] + t[6]});
    const auto [vLow, vHigh] = std::minmax({t[7], t[4] + t[7]});
    const auto w = static_cast<float>(width), h = static_cast<float>(height);
    int box[4];
    if (uLow >= 0 && uHigh <= 1 && vLow >= 0 && vHigh <= 1 &&
        ShownWithin(static_cast<int>(std::floor(uLow * w)), static_cast<int>(std::floor(vLow * h)),
                    static_cast<int>(std::ceil(uHigh * w)), static_cast<int>(std::ceil(vHigh * h)), box))
    {
        const auto [s0, s1] = std::minmax({((static_cast<float>(box[0]) - 0.5f) / w - t[6]) / t[0],
                                           ((static_cast<float>(box[2]) + 0.5f) / w - t[6]) / t[0]});
        const auto [r0, r1] = std::minmax({((static_cast<float>(box[1]) - 0.5f) / h - t[7]) / t[4],
                                           ((static_cast<float>(box[3]) + 0.5f) / h - t[7]) / t[4]});
        part[0] = std::max(s0, 0.0f), part[1] = std::max(r0, 0.0f);
        part[2] = std::min(s1, 1.0f), part[3] = std::min(r1, 1.0f);
        trimmed = part[0] > 0 || part[1] > 0 || part[2] < 1 || part[3] < 1;
    }
    constexpr size_t MostKnownParts = 64;
    if (knownParts.size() < MostKnownParts)
    {
        KnownPart& known = knownParts.emplace_back();
        std::copy(key, key + 4, known.uv);
        std::copy(part, part + 4, known.part);
        known.trimmed = trimmed;
    }
    return trimmed;
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
