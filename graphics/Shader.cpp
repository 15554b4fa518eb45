#include "graphics/Shader.h"

#include "engine/DataPath.h"
#include "engine/TraceSystem.h"
#include "graphics/DrawQueue.h"
#include "graphics/GraphicsSystem.h"

#include <GL/glew.h>
#include <fstream>
#include <sstream>
#include <string_view>
#include <utility>

namespace
{
std::string SourcePath(const std::string& name, const char* extension)
{
    return ResolveDataPath("./Data/shaders/" + name + extension);
}

std::string InfoLog(GLuint object, bool isProgram)
{
    char log[512] = {};
    GLsizei length = 0;
    if (isProgram)
        glGetProgramInfoLog(object, sizeof(log), &length, log);
    else
        glGetShaderInfoLog(object, sizeof(log), &length, log);
    std::string text(log, static_cast<size_t>(length));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

GLuint Compile(const Shader& shader, GLenum kind, const std::string& source, const char* kindName)
{
    GLuint object = glCreateShader(kind);
    const char* text = source.c_str();
    glShaderSource(object, 1, &text, nullptr);
    glCompileShader(object);
    if (!shader.CheckCompile(object, kindName))
    {
        glDeleteShader(object);
        return 0;
    }
    return object;
}
}   // namespace

std::string ReadTextFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

namespace
{
// A line of the source that starts, after blanks, with `pragma`.
bool HasPragma(const std::string& source, std::string_view pragma)
{
    std::istringstream lines(source);
    for (std::string line; std::getline(lines, line);)
    {
        line.erase(0, line.find_first_not_of(" \t"));
        if (line.starts_with(pragma))
            return true;
    }
    return false;
}
}   // namespace

OutputAlpha DeclaredOutputAlpha(const std::string& fragmentSource)
{
    if (HasPragma(fragmentSource, "#pragma alpha(one)"))
        return OutputAlpha::One;
    if (HasPragma(fragmentSource, "#pragma alpha(texel)"))
        return OutputAlpha::Texel;
    return OutputAlpha::Any;
}

bool DeclaresClearDiscarded(const std::string& fragmentSource)
{
    return HasPragma(fragmentSource, "#pragma clear(discard)");
}

Shader::Shader(std::string shaderName) : name(std::move(shaderName))
{
    if (GraphicsSystem::GetInstance().HasContext())
        Build();
}

Shader::Shader(Shader&& other) noexcept
    : name(std::move(other.name)), program(std::exchange(other.program, 0)), uniforms(other.uniforms),
      batched(other.batched), outputAlpha(other.outputAlpha), discardsClear(other.discardsClear),
      built(other.built)
{
}

Shader& Shader::operator=(Shader&& other) noexcept
{
    name = std::move(other.name);
    program = std::exchange(other.program, 0);
    uniforms = other.uniforms;
    batched = other.batched;
    outputAlpha = other.outputAlpha;
    discardsClear = other.discardsClear;
    built = other.built;
    return *this;
}

bool Shader::CheckCompile(GLuint shader, const char* kind) const
{
    GLint status = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status != 0)
        return true;
    Log("Shader Compilation Error: ", kind);
    Log("SHADER: [", name, "] ", InfoLog(shader, false));
    return false;
}

void ReleaseShaderCompiler()
{
    if (glReleaseShaderCompiler)
        glReleaseShaderCompiler();
}

bool Shader::Build()
{
    if (built)
        return IsUsable();
    built = true;
    const bool usable = CompileAndLink();
    ReleaseShaderCompiler();
    return usable;
}

bool Shader::CompileAndLink()
{
    const std::string vertexPath = SourcePath(name, ".vert");
    const std::string fragmentPath = SourcePath(name, ".frag");
    const std::string vertexSource = ReadTextFile(vertexPath);
    const std::string fragmentSource = ReadTextFile(fragmentPath);
    for (const auto& [path, source] :
         {std::pair{&vertexPath, &vertexSource}, {&fragmentPath, &fragmentSource}})
        if (source->empty())
        {
            // Nothing to compile: no GL object is made at all.
            Log("SHADER: [", *path, "] cannot be read or is empty; shader \"", name, "\" is unusable");
            return false;
        }

    const GLuint vertex = Compile(*this, GL_VERTEX_SHADER, vertexSource, "Vertex");
    const GLuint fragment = Compile(*this, GL_FRAGMENT_SHADER, fragmentSource, "Fragment");
    if (!vertex || !fragment)
    {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return false;
    }
    GLuint linked = glCreateProgram();
    glAttachShader(linked, vertex);
    glAttachShader(linked, fragment);
    glLinkProgram(linked);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint status = 0;
    glGetProgramiv(linked, GL_LINK_STATUS, &status);
    if (status == 0)
    {
        Log("Shader Program Link Error:");
        Log("SHADER: [", name, "] ", InfoLog(linked, true));
        glDeleteProgram(linked);
        return false;
    }
    program = linked;
    uniforms.mTw = glGetUniformLocation(program, "mTw");
    uniforms.wTc = glGetUniformLocation(program, "wTc");
    uniforms.tint = glGetUniformLocation(program, "tint");
    uniforms.uvT = glGetUniformLocation(program, "uvT");
    uniforms.time = glGetUniformLocation(program, "time");
    uniforms.baseColor = glGetUniformLocation(program, "baseColor");
    uniforms.color = glGetUniformLocation(program, "color");
    batched = DrawQueue::IsBatched(program);
    outputAlpha = DeclaredOutputAlpha(fragmentSource);
    discardsClear = DeclaresClearDiscarded(fragmentSource);
    if (uniforms.baseColor != -1)
    {
        glUseProgram(program);
        glUniform1i(uniforms.baseColor, 0);
        glUseProgram(0);
    }
    return true;
}

void Shader::DeleteProgram()
{
    if (program)
        glDeleteProgram(program);
    program = 0;
}
