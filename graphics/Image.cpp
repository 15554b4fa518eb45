#include "graphics/Image.h"

#include "engine/DataPath.h"
#include "engine/TraceSystem.h"
#include "engine/WindowSystem.h"

#include <cstring>
#include <fstream>
#include <stb_image.h>

Image::Image(const std::string& folder, const std::string& fileName)
    : path(ResolveDataPath("./data/" + folder + fileName))
{
    // Every picture of the game is a PNG. The other formats the decoder knows take a file far
    // shorter than its pixels as whole: a dozen bytes would make tens of millions of pixels.
    if (std::ifstream file(path, std::ios::binary); file)
    {
        char signature[8] = {};
        if (!file.read(signature, sizeof signature) ||
            std::memcmp(signature, "\x89PNG\r\n\x1a\n", sizeof signature) != 0)
        {
            reason = "is not a PNG picture; not decoded";
            return;
        }
    }
    // The header alone says the size: a small file may hold a picture too large to decode.
    if (int w = 0, h = 0, n = 0; stbi_info(path.c_str(), &w, &h, &n) && (w > MaxSide || h > MaxSide))
    {
        reason = "is " + std::to_string(w) + " x " + std::to_string(h) + " pixels, more than the " +
                 std::to_string(MaxSide) + " a side a picture may have; not decoded";
        return;
    }
    stbi_set_flip_vertically_on_load(1);
    pixels = stbi_load(path.c_str(), &width, &height, &channels, 0);
    if (!pixels)
    {
        const char* why = stbi_failure_reason();
        reason = why ? why : "unknown decoder failure";
        width = height = channels = 0;
    }
}

Image::~Image() { Free(); }

void Image::Free()
{
    if (pixels)
        stbi_image_free(pixels);
    pixels = nullptr;
}

std::string Image::ToRgba(bool topRowFirst) const
{
    if (!pixels || channels < 1 || channels > 4)
        return {};
    std::string rgba(static_cast<size_t>(width) * height * 4, '\0');
    for (int y = 0; y < height; ++y)
    {
        const size_t rowIndex = static_cast<size_t>(topRowFirst ? height - 1 - y : y);
        const unsigned char* row = pixels + rowIndex * width * channels;
        for (int x = 0; x < width; ++x)
        {
            const unsigned char* p = row + static_cast<size_t>(x) * channels;
            char* out = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            const bool gray = channels < 3;
            out[0] = static_cast<char>(p[0]);
            out[1] = static_cast<char>(gray ? p[0] : p[1]);
            out[2] = static_cast<char>(gray ? p[0] : p[2]);
            out[3] = static_cast<char>(channels == 4 ? p[3] : channels == 2 ? p[1] : 255);
        }
    }
    return rgba;
}

WindowIcon Image::ToWindowIcon() const
{
    if (!IsLoaded())
    {
        Log("WINDOW: [", path, "] icon not loaded: ", reason);
        return {};
    }
    return {width, height, ToTopDownRgba()};
}
