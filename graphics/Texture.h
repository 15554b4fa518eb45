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
    // For a quad whose texture coordinates (s, r) over [0, 1] x [0, 1] sample this picture,
    // nearest, through the axis-aligned matrix `uv` (u = uv[0] s + uv[6], v = uv[4] r + uv[7]):
    // the part {s0, r0, s1, r1} of it outside which every texel sampled is fully transparent,
    // widened by half a texel on every side so that its edges fall inside transparent texels.
    // False when that is the whole quad or cannot be told: a turned or repeating matrix, or no
    // texel shown at all. Answers are remembered: a sheet's frames are asked about every frame.
    bool ShownPart(const float* uv, float (&part)[4]) const;

    GLuint id = 0;
    std::string name;
    std::string type;
    int width = 0;
    int height = 0;
    int channels = 0;        // of the uploaded pixels: 3 or 4
    bool hardAlpha = true;   // every texel fully opaque or fully transparent

private:
    void Upload();
    // hardAlpha and the texels shown, from the pixels waiting for upload, in one pass over them.
    void NoteAlpha();

    bool loaded = false;
    std::string path;
    std::string reason;
    std::string pending;   // decoded pixels waiting for a GL context
    // One bit per texel that is not fully transparent, rows of `shownWords` words; empty when
    // no texel is fully transparent.
    std::vector<uint64_t> shown;
    int shownWords = 0;
    struct KnownPart
    {
        float uv[4], part[4];   // uv[0], uv[4], uv[6], uv[7] of the matrix asked about
        bool trimmed;
    };
    mutable std::vector<KnownPart> knownParts;
};
