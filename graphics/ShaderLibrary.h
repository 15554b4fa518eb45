#pragma once
// Every shader program of the run, each built once on its first request by name and then
// addressed by index; -1 means "the first shader". Indices are stable until Clear (graphics
// shutdown). Without a GL context a request only records the name: the program is built when
// it is first used with a context, so logic runs headless with the same indices.
#include "graphics/Shader.h"

#include <string>
#include <vector>

class ShaderLibrary
{
public:
    static ShaderLibrary& GetInstance();

    int FindOrLoad(const std::string& name);       // -1 only for an empty name
    const std::string& GetName(int index) const;   // empty text outside the library
    int Size() const { return static_cast<int>(shaders.size()); }

    // The shader at the index (-1: the first), built if it was not; null outside the library.
    // Needs a GL context.
    Shader* Prepare(int index);

    void Clear();   // deletes every program (with a context) and empties the library

    GLuint currentProgram = 0;   // the program the last draw made current

private:
    ShaderLibrary() = default;

    std::vector<Shader> shaders;
};
