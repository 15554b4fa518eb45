#pragma once
// Every texture of the run, each loaded once on its first request by name and then addressed
// by index: "White" is always 0 and "Black" 1 (built in when their pictures are missing);
// -1 means "the first texture". Indices are stable until Clear (graphics shutdown). A picture
// that cannot be loaded is reported once; its entry keeps the name it was asked for (so it is
// written back unchanged) and draws as "White"; it is never loaded again. Names are matched
// exactly. Works without a GL context: pixels wait until one exists.
#include "graphics/Texture.h"

#include <string>
#include <vector>

class TextureLibrary
{
public:
    static TextureLibrary& GetInstance();   // holds "White" and "Black" whenever it is reached

    int FindOrLoad(const std::string& name);       // -1 only for an empty name
    const std::string& GetName(int index) const;   // empty text outside the library
    int Size() const { return static_cast<int>(textures.size()); }
    bool IsFallback(int index) const;   // its picture did not load: it draws as "White"

    // The GL texture to bind for the index (-1: the first); 0 outside the library. Needs a context.
    GLuint GlId(int index);
    // The picture the index draws with ("White" for one that did not load); null outside the
    // library.
    const Texture* Drawn(int index) const;

    void Clear();   // deletes every GL texture (with a context) and empties the library

private:
    TextureLibrary() = default;
    void AddDefaults();

    std::vector<Texture> textures;
};
