#pragma once
// One picture as a GL texture. The picture "Data/Textures/<name>.png" is decoded at once; its
// pixels go to GL at once when a context exists, else on first use with one, so a texture can
// be requested headless. A picture that cannot be decoded makes no GL object at all.
#include <cstdint>
#include <string>
#include <vector>

using GLuint = unsigned int;

class Texture
{
public:
    explicit Texture(std::string name, std::string type = "baseColor");
    // A texture from 8-bit RGBA pixels in memory, bottom row first.
    Texture(std::string name, int width, int height, const unsigned char* rgba);
    Texture(Texture&& other) noexcept;
    Texture& operator=(Texture&& other) noexcept;
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;
    ~Texture() = default;   // the library deletes GL textures while the context still exists

    bool IsLoaded() const { return loaded; }
    const std::string& Path() const { return path; }
    const std::string& Reason() const { return reason; }   // why the picture did not load

    GLuint Id();     // the GL texture, uploaded now if it is still waiting; 0 when not loaded
    void Delete();   // needs the context the texture was made in

    // Some texel is fully transparent.
    bool HasClearTexels() const { return !shown.empty(); }
    // The smallest box [box[0], box[2]) x [box[1], box[3]) holding every texel of the block
    // [x0, x1) x [y0, y1) that is not fully transparent (rows counted from the first uploaded);
    // false when there is none. The block is clipped to the picture.
    bool ShownWithin(int x0, int y0, int x1, int y1, int (&box)[4]) const;

    GLuint id = 0;
    std::string name;
    std::string type;
    int width = 0;
    int height = 0;
    int channels = 0;        // of the uploaded pixels: 3 or 4
    bool hardAlpha = true;   // every texel fully opaque or fully transparent

private:
    void Upload();
    void NoteShownTexels();   // from the pixels waiting for upload

    bool loaded = false;
    std::string path;
    std::string reason;
    std::string pending;   // decoded pixels waiting for a GL context
    // One bit per texel that is not fully transparent, rows of `shownWords` words; empty when
    // no texel is fully transparent.
    std::vector<uint64_t> shown;
    int shownWords = 0;
    // Blocks asked about before, with their boxes: a sheet's frames are asked about every frame.
    struct ShownBlock
    {
        int block[4], box[4];
        bool any;
    };
    mutable std::vector<ShownBlock> shownBlocks;
};
