#pragma once
// One picture as a GL texture. The picture "Data/Textures/<name>.png" is decoded at once; its
// pixels go to GL at once when a context exists, else on first use with one, so a texture can
// be requested headless. A picture that cannot be decoded makes no GL object at all.
#include <string>

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

    GLuint id = 0;
    std::string name;
    std::string type;
    int width = 0;
    int height = 0;
    int channels = 0;        // of the uploaded pixels: 3 or 4
    bool hardAlpha = true;   // every texel fully opaque or fully transparent

private:
    void Upload();

    bool loaded = false;
    std::string path;
    std::string reason;
    std::string pending;   // decoded pixels waiting for a GL context
};
