#include "graphics/GraphicsSystem.h"

#include "engine/TraceSystem.h"
#include "engine/WindowSystem.h"
#include "graphics/Camera.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <cstddef>
#include <stdexcept>

namespace
{
const float IdentityUv[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

const char* GlText(GLenum which)
{
    const GLubyte* text = glGetString(which);
    return text ? reinterpret_cast<const char*>(text) : "unknown";
}

Matrix4 WorldToClip()
{
    Camera& camera = Camera::GetInstance();
    return Matrix4::Multiply(camera.GetProjectionMatrix(), camera.GetViewMatrix());
}
}   // namespace

GraphicsSystem& GraphicsSystem::GetInstance()
{
    static GraphicsSystem instance;
    return instance;
}

Graphics::RenderSpace Graphics::SpaceFromName(const std::string& name)
{
    if (name == "worldProj")
        return WorldProj;
    if (name == "uiProj")
        return UiProj;
    if (name == "bkgProj")
        return BkgProj;
    return -1;
}

const char* Graphics::SpaceName(RenderSpace space)
{
    static const char* const names[] = {"worldProj", "uiProj", "bkgProj"};
    return space >= WorldProj && space <= BkgProj ? names[space] : "invalid";
}

void Graphics::SubmitDebugLine(const DebugLine& line) { GraphicsSystem::GetInstance().SubmitDebugLine(line); }

void Graphics::SubmitCursorMarker(float x, float y)
{
    const Vec3 colour{0.7f, 0.7f, 0.0f};
    const Vec3 corners[5] = {{x - 0.1f, y + 0.1f, 0},
                             {x + 0.1f, y + 0.1f, 0},
                             {x + 0.1f, y - 0.1f, 0},
                             {x - 0.1f, y - 0.1f, 0},
                             {x - 0.1f, y + 0.1f, 0}};
    for (int i = 0; i < 4; ++i)
        SubmitDebugLine({corners[i], corners[i + 1], colour, UiProj});
}

void Graphics::SetDefaultTextureParams()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

bool GraphicsSystem::Init()
{
    if (!WindowSystem::GetInstance().window)
        return false;
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        throw std::runtime_error("glew failed to load");
    // GLEW's probing of a core context may leave an error behind; it is not ours.
    while (glGetError() != GL_NO_ERROR)
    {
    }
    Log("GLSL Version: ", GlText(GL_SHADING_LANGUAGE_VERSION));
    Log("GPU Manufacturer: ", GlText(GL_VENDOR));
    Log("GPU Model Name: ", GlText(GL_RENDERER));
    ready = true;

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ZERO);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    CreateVertexLayout();

    glGenVertexArrays(1, &lineVertexArray);
    glGenBuffers(1, &lineVertexBuffer);
    glBindVertexArray(lineVertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, lineVertexBuffer);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
    glEnableVertexAttribArray(0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    lineShader = ShaderLibrary::GetInstance().FindOrLoad("Line");

    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    Graphics::SetDefaultTextureParams();
    const WindowSystem& windows = WindowSystem::GetInstance();
    if (windows.width > 0 && windows.height > 0)
        glViewport(0, 0, windows.width, windows.height);
    return true;
}

void GraphicsSystem::CreateVertexLayout()
{
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &vertexBuffer);
    glGenBuffers(1, &elementBuffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    // The element binding is recorded in the vertex array.
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer);
    const auto attribute = [](GLuint location, GLint count, GLboolean normalised, size_t offset) {
        glVertexAttribPointer(location, count, GL_FLOAT, normalised, sizeof(MeshVertex),
                              reinterpret_cast<const void*>(offset));
        glEnableVertexAttribArray(location);
    };
    attribute(0, 3, GL_FALSE, offsetof(MeshVertex, position));
    attribute(1, 3, GL_FALSE, offsetof(MeshVertex, color));
    attribute(2, 3, GL_TRUE, offsetof(MeshVertex, normal));
    attribute(3, 2, GL_FALSE, offsetof(MeshVertex, texCoord));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    uploadedMesh = -1;
}

void GraphicsSystem::BeginFrame()
{
    if (!ready)
        return;
    glClearColor(18.0f / 255.0f, 129.0f / 255.0f, 61.0f / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GraphicsSystem::EndFrame()
{
    if (ready)
        Graphics::SetDefaultTextureParams();
}

void GraphicsSystem::ReportSkipped(const Graphics::DrawRequest& request, const char* library, int index,
                                   int size)
{
    // Once per bad index: a sprite drawn every frame would otherwise flood the log.
    if (!reportedSkips.emplace(library, index).second)
        return;
    const char* label = request.name ? request.name : "";
    TraceMessage("%s draw failed because:", label);
    Log("GRAPHICS: [", label, "] draw skipped: ", library, " index ", index, " is outside the ", library,
        " library (", size, " entries)");
}

void GraphicsSystem::Draw(const Graphics::DrawRequest& request)
{
    if (!ready)
        return;
    MeshLibrary& meshes = MeshLibrary::GetInstance();
    ShaderLibrary& shaders = ShaderLibrary::GetInstance();
    TextureLibrary& textures = TextureLibrary::GetInstance();
    const auto inRange = [](int index, int size) { return index >= -1 && index < size; };
    if (!inRange(request.mesh, meshes.Size()))
        return ReportSkipped(request, "mesh", request.mesh, meshes.Size());
    if (!inRange(request.shader, shaders.Size()) || shaders.Size() == 0)
        return ReportSkipped(request, "shader", request.shader, shaders.Size());
    if (!inRange(request.texture, textures.Size()))
        return ReportSkipped(request, "texture", request.texture, textures.Size());
    Shader* shader = shaders.Prepare(request.shader);
    if (!shader || !shader->IsUsable())
        return;   // reported when it failed to build

    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glDepthFunc(GL_LEQUAL);
    glUseProgram(shader->program);
    shaders.currentProgram = shader->program;
    const ShaderUniforms& u = shader->uniforms;
    if (u.baseColor != -1)
    {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, textures.GlId(request.texture));
    }
    Graphics::SetDefaultTextureParams();
    const Mesh* mesh = meshes.Get(request.mesh);
    if (mesh && uploadedMesh != request.mesh)
    {
        mesh->Upload();
        uploadedMesh = request.mesh;
    }
    if (request.wrap == 0 || request.wrap == 1)
    {
        const GLint wrap = request.wrap == 0 ? GL_REPEAT : GL_CLAMP_TO_EDGE;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    }
    if (request.filter == 0 || request.filter == 1)
    {
        const GLint filter = request.filter == 0 ? GL_NEAREST : GL_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    }
    const Matrix4 model = request.model ? *request.model : Matrix4::Identity();
    const Matrix4 worldToClip = WorldToClip();
    glUniformMatrix4fv(u.mTw, 1, GL_FALSE, model.Data());
    glUniformMatrix4fv(u.wTc, 1, GL_FALSE, worldToClip.Data());
    glUniform3f(u.tint, request.tint[0], request.tint[1], request.tint[2]);
    glUniformMatrix3fv(u.uvT, 1, GL_FALSE, request.uv ? request.uv : IdentityUv);
    glUniform1f(u.time, WindowSystem::GetInstance().totalTime * 100.0f);
    if (mesh)
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh->indices.size()), GL_UNSIGNED_INT, nullptr);
    glDepthMask(GL_TRUE);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
    glUseProgram(0);
}

void GraphicsSystem::DrawDebugLines()
{
    ShaderLibrary& shaders = ShaderLibrary::GetInstance();
    Shader* shader = ready && debugDrawing && !debugLines.empty() ? shaders.Prepare(lineShader) : nullptr;
    if (shader && shader->IsUsable())
    {
        const Matrix4 worldToClip = WorldToClip();
        const Matrix4 identity = Matrix4::Identity();
        // Lines lie over everything drawn so far.
        glClear(GL_DEPTH_BUFFER_BIT);
        glUseProgram(shader->program);
        shaders.currentProgram = shader->program;
        glBindVertexArray(lineVertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, lineVertexBuffer);
        for (const Graphics::DebugLine& line : debugLines)
        {
            glUniform3f(shader->uniforms.color, line.color.x, line.color.y, line.color.z);
            if (line.space == Graphics::WorldProj)
                glUniformMatrix4fv(shader->uniforms.wTc, 1, GL_FALSE, worldToClip.Data());
            else if (line.space == Graphics::UiProj || line.space == Graphics::BkgProj)
                glUniformMatrix4fv(shader->uniforms.wTc, 1, GL_FALSE, identity.Data());
            const float points[6] = {line.from.x, line.from.y, line.from.z, line.to.x, line.to.y, line.to.z};
            glBufferData(GL_ARRAY_BUFFER, sizeof(points), points, GL_STATIC_DRAW);
            glDrawArrays(GL_LINES, 0, 2);
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindVertexArray(0);
        glUseProgram(0);
    }
    debugLines.clear();
}

void GraphicsSystem::Shutdown()
{
    if (ready)
    {
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindVertexArray(0);
        glUseProgram(0);
        glDeleteVertexArrays(1, &vertexArray);
        glDeleteBuffers(1, &vertexBuffer);
        glDeleteBuffers(1, &elementBuffer);
        glDeleteBuffers(1, &lineVertexBuffer);
        glDeleteVertexArrays(1, &lineVertexArray);
    }
    TextureLibrary::GetInstance().Clear();
    MeshLibrary::GetInstance().Clear();
    ShaderLibrary::GetInstance().Clear();
    vertexArray = vertexBuffer = elementBuffer = lineVertexArray = lineVertexBuffer = 0;
    lineShader = -1;
    debugLines.clear();
    reportedSkips.clear();
    ready = false;
}

void GraphicsSystem::OnFramebufferResize(GLFWwindow*, int width, int height)
{
    WindowSystem& windows = WindowSystem::GetInstance();
    windows.width = width;
    windows.height = height;
    if (GetInstance().ready)
        glViewport(0, 0, width, height);
}
