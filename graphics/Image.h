#pragma once
// A picture decoded from the data folder into 8-bit pixels, bottom row first, with the
// file's own channel count (1 to 4). A picture that cannot be read or decoded leaves
// pixels null and Reason() says why; the constructor raises nothing. Only PNG files are
// decoded; a picture larger than MaxSide pixels a side is refused from its header, before any
// pixel is decoded.
#include <string>

struct WindowIcon;

class Image
{
public:
    static constexpr int MaxSide = 8192;

    Image(const std::string& folder, const std::string& fileName);   // reads "./data/" + folder + fileName
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool IsLoaded() const { return pixels != nullptr; }
    const std::string& Path() const { return path; }
    const std::string& Reason() const { return reason; }
    void Free();   // releases the pixels early

    // The pixels as 8-bit RGBA, top row first (what window icons expect) or bottom row first
    // (what textures expect); grey becomes equal red, green and blue. Empty when not loaded.
    std::string ToTopDownRgba() const { return ToRgba(true); }
    std::string ToRgba(bool topRowFirst) const;
    // The picture as the window's icon; a picture that did not load is logged and gives none.
    WindowIcon ToWindowIcon() const;

    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* pixels = nullptr;

private:
    std::string path;
    std::string reason;
};
