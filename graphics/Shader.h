#pragma once
// One GL program linked from "Data/shaders/<name>.vert" and ".frag". The program is built once
// a GL context exists (at once when there is one, else on first use) and its uniform locations
// are looked up right after linking, never per draw. A source that is missing or does not
// compile or link gives a message with the driver's info log and leaves program 0: unusable,
// skipped by the draw path, and not built again.
#include <string>

using GLuint = unsigned int;
using GLint = int;

// The whole content of a text file; empty when it cannot be opened.
std::string ReadTextFile(const std::string& path);

// Tells the driver that no shader is compiled for now. Mesa's GLSL compiler keeps its built-in
// functions, several megabytes, from the first compile until then; the next compile makes them
// again, in a few milliseconds. Needs a context.
void ReleaseShaderCompiler();

// Where the program takes the uniforms the draw path sets (-1: the program has none).
struct ShaderUniforms
{
    GLint mTw = -1;         // mat4 model matrix
    GLint wTc = -1;         // mat4 projection x view
    GLint tint = -1;        // vec3
    GLint uvT = -1;         // mat3 texture-coordinate matrix
    GLint time = -1;        // float, running time x 100
    GLint baseColor = -1;   // sampler2D on texture unit 0
    GLint color = -1;       // vec3 debug-line colour
};

// What a fragment shader writes as alpha, as its source declares it with a pragma, so that the
// draw path can leave out blending where it would change nothing:
// "#pragma alpha(one)": always 1; "#pragma alpha(texel)": the alpha of the texel it samples.
enum class OutputAlpha
{
    Any,
    One,
    Texel,
};
OutputAlpha DeclaredOutputAlpha(const std::string& fragmentSource);
// "#pragma clear(discard)": the shader drops every fully transparent texel it samples, so a
// quad's edges that sample nothing else may be left undrawn.
bool DeclaresClearDiscarded(const std::string& fragmentSource);

class Shader
{
public:
    explicit Shader(std::string name);   // builds at once when a GL context exists
    Shader(Shader&& other) noexcept;
    Shader& operator=(Shader&& other) noexcept;
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;
    ~Shader() = default;   // the library deletes programs while the context still exists

    // Builds the program when that has not been tried yet, then releases the compiler; true when
    // it is usable. Needs a context.
    bool Build();
    bool IsUsable() const { return program != 0; }
    bool WasBuilt() const { return built; }
    void DeleteProgram();   // needs the context the program was made in

    // Compile-status check; on failure a message with the kind ("Vertex", "Fragment") and log.
    bool CheckCompile(GLuint shader, const char* kind) const;

    std::string name;
    GLuint program = 0;
    ShaderUniforms uniforms;
    bool batched = false;   // reads the per-draw values from the DrawQueue's vertex stream
    OutputAlpha outputAlpha = OutputAlpha::Any;
    bool discardsClear = false;

private:
    bool CompileAndLink();

    bool built = false;
};
