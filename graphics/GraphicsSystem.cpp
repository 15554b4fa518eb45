#include "graphics/GraphicsSystem.h"

#include "engine/TraceSystem.h"
#include "engine/WindowSystem.h"
#include "graphics/Camera.h"
#include "graphics/Mesh.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/TextureLibrary.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace
{
const float IdentityUv[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

const char* GlText(GLenum which)
{
    const GLubyte* text = glGetString(which);
    return text ? reinterpret_cast<const char*>(text) : "unknown";
}

// Projection x view of the camera, built again only when what it is built from has changed.
// Each build has a number of its own: draws noted with the same number used the same matrix.
struct CameraClip
{
    Matrix4 matrix;
    uint64_t build = 0;
};

const CameraClip& CurrentClip()
{
    static float built[11] = {};
    static CameraClip clip;
    Camera& camera = Camera::GetInstance();
    const WindowSystem& windows = WindowSystem::GetInstance();
    const Vec3& e = camera.eye;
    const Vec3& l = camera.lookAt;
    const Vec3& u = camera.up;
    const float now[11] = {e.x,
                           e.y,
                           e.z,
                           l.x,
                           l.y,
                           l.z,
                           u.x,
                           u.y,
                           u.z,
                           static_cast<float>(windows.width),
                           static_cast<float>(windows.height)};
    if (clip.build == 0 || std::memcmp(now, built, sizeof(now)) != 0)
    {
        ++clip.build;
        std::memcpy(built, now, sizeof(now));
        clip.matrix = Matrix4::Multiply(camera.GetProjectionMatrix(), camera.GetViewMatrix());
    }
    return clip;
}

const Matrix4& WorldToClip() { return CurrentClip().matrix; }

// A depth clear among the notes of a frame: where it falls decides what lies over what.
constexpr uint32_t DepthCleared = 0xdec1ea2;

// What decides the pixels of one draw besides its textures' and shader's contents, as notes:
// the request, the camera's build, the GL texture drawn, whether a texture of the caller's own
// is hard-edged, and the time where the shader reads it.
uint64_t RequestNotes(const Graphics::DrawRequest& request, uint64_t clipBuild, unsigned int glTexture,
                      bool hardAlpha, float time)
{
    struct
    {
        int32_t indices[5];
        uint32_t texture, hard;
        float time, tint[3], model[16], uv[9];
        uint64_t clipBuild;
    } noted;
    static_assert(sizeof(noted) == 8 * 4 + 28 * 4 + 8, "no padding among the noted bytes");
    const int32_t indices[5] = {request.mesh, request.shader, request.texture, request.wrap, request.filter};
    std::copy_n(indices, 5, noted.indices);
    noted.texture = glTexture;
    noted.hard = hardAlpha;
    noted.time = time;
    std::copy_n(request.tint, 3, noted.tint);
    std::copy_n((request.model ? *request.model : Matrix4::Identity()).Data(), 16, noted.model);
    std::copy_n(request.uv ? request.uv : IdentityUv, 9, noted.uv);
    noted.clipBuild = clipBuild;
    return FrameChange::Digest(&noted, sizeof(noted), 0);
}

const float ClearColour[4] = {18.0f / 255.0f, 129.0f / 255.0f, 61.0f / 255.0f, 1.0f};

void ClearFrame()
{
    glClearColor(ClearColour[0], ClearColour[1], ClearColour[2], ClearColour[3]);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// The window pixels that an area of a mesh may touch; the whole window when a corner lies at or
// behind the eye.
Graphics::PixelRect CoveredPixels(const Graphics::Area& area, const Matrix4& modelToClip, int width,
                                  int height)
{
    float left = 1e30f, bottom = 1e30f, right = -1e30f, top = -1e30f;
    for (const Vec2 corner : {Vec2{area.left, area.bottom}, Vec2{area.right, area.bottom},
                              Vec2{area.left, area.top}, Vec2{area.right, area.top}})
    {
        const Vec4 clip = modelToClip.Transform({corner.x, corner.y, 0, 1});
        if (!(clip.w > 1e-6f))
            return {0, 0, width, height};
        const float x = clip.x / clip.w, y = clip.y / clip.w;
        left = std::min(left, x), right = std::max(right, x);
        bottom = std::min(bottom, y), top = std::max(top, y);
    }
    return Graphics::WindowPixels(left, bottom, right, top, width, height);
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

void Graphics::CreateVertexArray(unsigned int& array, unsigned int& vertices, unsigned int& indices,
                                 size_t stride, std::initializer_list<FloatAttribute> attributes)
{
    glGenVertexArrays(1, &array);
    glGenBuffers(1, &vertices);
    glGenBuffers(1, &indices);
    glBindVertexArray(array);
    glBindBuffer(GL_ARRAY_BUFFER, vertices);
    // The element binding is recorded in the vertex array.
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices);
    for (const FloatAttribute& a : attributes)
    {
        const auto location = static_cast<GLuint>(a.location);
        glVertexAttribPointer(location, a.count, GL_FLOAT, a.normalised ? GL_TRUE : GL_FALSE,
                              static_cast<GLsizei>(stride), reinterpret_cast<const void*>(a.offset));
        glEnableVertexAttribArray(location);
    }
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

    queue.Init();
    queue.onIssue = [this] { OnIssue(); };

    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    Graphics::SetDefaultTextureParams();
    const WindowSystem& windows = WindowSystem::GetInstance();
    if (windows.width > 0 && windows.height > 0)
        glViewport(0, 0, windows.width, windows.height);
    return true;
}

void GraphicsSystem::CreateVertexLayout()
{
    Graphics::CreateVertexArray(vertexArray, vertexBuffer, elementBuffer, sizeof(MeshVertex),
                                {{0, 3, offsetof(MeshVertex, position)},
                                 {1, 3, offsetof(MeshVertex, color)},
                                 {2, 3, offsetof(MeshVertex, normal), true},
                                 {3, 2, offsetof(MeshVertex, texCoord)}});
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    uploadedMesh = -1;
}

void GraphicsSystem::BeginFrame()
{
    spanOpen = false;   // a rehearsed frame draws nothing
    if (!ready || !WindowSystem::GetInstance().picture.Drawing())
        return;
    IssueAll();
    queue.ForgetTextureModes();
    spanChanged.clear();
    const WindowSystem& windows = WindowSystem::GetInstance();
    framing = kept.Bind(windows.width, windows.height);
    if (!framing)
        windowInStep = false;   // drawn straight into the window
    // The span's draws wait in the queue: the kept frame may need only a few of them again.
    spanOpen = framing && keepingLayers;
    if (!spanOpen)
        ClearFrame();
}

void GraphicsSystem::EndFrame()
{
    if (!ready)
        return;
    ShowFrame();
    Graphics::SetDefaultTextureParams();
}

void GraphicsSystem::IssueAll()
{
    if (!ready)
        return;
    LeaveSpan();
    queue.Flush();
}

void GraphicsSystem::Flush()
{
    IssueAll();
    if (ready && framing)
    {
        CopyWholeFrame();
        WindowSystem& windows = WindowSystem::GetInstance();
        windows.PresentWhole();
        kept.Bind(windows.width, windows.height);
    }
}

void GraphicsSystem::IssueQueued()
{
    if (ready)
        queue.Flush();
}

void GraphicsSystem::CopyFrameToWindow()
{
    if (!ready)
        return;
    ShowFrame();
    windowInStep = false;
    WindowSystem::GetInstance().PresentWhole();
}

void GraphicsSystem::ShowFrame()
{
    FlushSpan();
    if (!framing)
        return;
    framing = false;
    WindowSystem& windows = WindowSystem::GetInstance();
    if (windows.PresentsParts() && windowInStep && unshownKnown)
    {
        kept.CopyColourToFrame(unshown);
        std::vector<WindowSystem::Area> parts;
        parts.reserve(unshown.size());
        for (const Graphics::PixelRect& r : unshown)
            parts.push_back({r.x0, r.y0, r.x1, r.y1});
        windows.PresentOnly(parts);
    }
    else
        CopyWholeFrame();
    unshown.clear();
    unshownKnown = true;
}

void GraphicsSystem::CopyWholeFrame()
{
    kept.CopyColourToFrame();
    // A window that is never swapped keeps it.
    windowInStep = WindowSystem::GetInstance().PresentsParts();
}

void GraphicsSystem::DrawnOverKept()
{
    kept.Forget();
    unshownKnown = false;
}

void GraphicsSystem::OnIssue()
{
    if (spanOpen)
    {
        // The frame's first draws reach the frame one by one: drawn in full from its clear.
        spanOpen = false;
        DrawnOverKept();
        ClearFrame();
    }
    else if (framing)
        DrawnOverKept();
}

void GraphicsSystem::LeaveSpan()
{
    if (spanOpen)
        OnIssue();
}

void GraphicsSystem::FlushSpan()
{
    if (!ready)
        return;
    if (spanOpen)
        DrawSpan();
    IssueAll();
}

void GraphicsSystem::DrawSpan()
{
    spanOpen = false;
    const WindowSystem& windows = WindowSystem::GetInstance();
    const int w = windows.width, h = windows.height;
    std::vector<KeptFrame::Drawn> drawn;
    drawn.reserve(queue.Requests().size());
    for (const DrawQueue::Request& r : queue.Requests())
        drawn.push_back({r.notes, r.pixels});
    if (!kept.Holds(w, h))
    {
        ClearFrame();
        queue.Issue();
        unshownKnown = false;
    }
    else
    {
        // Each pixel's colour and depth come from the draws over that pixel alone: those draws
        // again over a cleared rectangle give it the pixels that drawing everything again would.
        const std::vector<Graphics::PixelRect> areas =
            KeptFrame::Changes(kept.Held(), drawn, spanChanged, w, h);
        ++partlyDrawnFrames;
        if (!areas.empty())
        {
            const bool knewUnshown = unshownKnown;
            for (const Graphics::PixelRect& r : areas)
                kept.Clear(r, ClearColour);
            glEnable(GL_SCISSOR_TEST);
            queue.IssueWithin(
                areas, [](const Graphics::PixelRect& r) { glScissor(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0); });
            glDisable(GL_SCISSOR_TEST);
            // The issue told the kept frame it was drawn over; it was, within the areas alone.
            unshownKnown = knewUnshown;
            unshown.insert(unshown.end(), areas.begin(), areas.end());
        }
    }
    queue.Drop();
    // After the issues above.
    kept.Keep(std::move(drawn));
    ++keptFrames;
}

void GraphicsSystem::ClearDepth()
{
    FrameChange& picture = WindowSystem::GetInstance().picture;
    picture.Note(DepthCleared);
    if (!ready || !picture.Drawing())
        return;
    FlushSpan();
    if (framing)
        kept.Forget();   // its depth is gone
    glClear(GL_DEPTH_BUFFER_BIT);
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

void GraphicsSystem::Draw(const Graphics::DrawRequest& request) { Submit(request, nullptr, false); }

void GraphicsSystem::DrawTexture(const Graphics::DrawRequest& request, unsigned int texture, bool hardAlpha)
{
    Submit(request, &texture, hardAlpha);
}

bool GraphicsSystem::DrawKept(const Graphics::DrawRequest& request, unsigned int texture, bool hardAlpha,
                              const std::vector<Graphics::Area>& changed, bool allChanged)
{
    // Queued into the span, unless the queue had no memory for it.
    if (!Submit(request, &texture, hardAlpha) || !spanOpen || queue.Requests().empty())
        return false;
    const WindowSystem& windows = WindowSystem::GetInstance();
    if (allChanged)
    {
        spanChanged.push_back(queue.Requests().back().pixels);
        return true;
    }
    const Matrix4 modelToClip =
        Matrix4::Multiply(WorldToClip(), request.model ? *request.model : Matrix4::Identity());
    for (const Graphics::Area& area : changed)
        spanChanged.push_back(CoveredPixels(area, modelToClip, windows.width, windows.height));
    return true;
}

bool GraphicsSystem::Submit(const Graphics::DrawRequest& request, const unsigned int* texture, bool hardAlpha)
{
    if (!ready)
        return false;
    MeshLibrary& meshes = MeshLibrary::GetInstance();
    ShaderLibrary& shaders = ShaderLibrary::GetInstance();
    TextureLibrary& textures = TextureLibrary::GetInstance();
    const auto inRange = [](int index, int size) { return index >= -1 && index < size; };
    if (!inRange(request.mesh, meshes.Size()))
    {
        ReportSkipped(request, "mesh", request.mesh, meshes.Size());
        return false;
    }
    if (!inRange(request.shader, shaders.Size()) || shaders.Size() == 0)
    {
        ReportSkipped(request, "shader", request.shader, shaders.Size());
        return false;
    }
    if (!texture && !inRange(request.texture, textures.Size()))
    {
        ReportSkipped(request, "texture", request.texture, textures.Size());
        return false;
    }
    Shader* shader = shaders.Prepare(request.shader);
    if (!shader || !shader->IsUsable())
        return false;   // reported when it failed to build
    const unsigned int glTexture = texture ? *texture : textures.GlId(request.texture);
    const CameraClip& clip = CurrentClip();
    const Matrix4& worldToClip = clip.matrix;
    // The frame's picture notes the draw unless its pixels may change under the same notes (a
    // texture of the caller's own, a shader that reads the time).
    WindowSystem& windows = WindowSystem::GetInstance();
    FrameChange& picture = windows.picture;
    if (texture || shader->uniforms.time != -1)
        picture.NoteUnknown();
    const float time = shader->uniforms.time != -1 ? windows.totalTime : 0.0f;
    const uint64_t notes = spanOpen || !picture.Unknown()
                               ? RequestNotes(request, clip.build, glTexture, texture && hardAlpha, time)
                               : 0;
    picture.NoteDigest(notes);
    if (!picture.Drawing())
        return false;   // the frame is rehearsed
    if (!shader->batched)
    {
        IssueAll();
        if (framing)
            DrawnOverKept();
        DrawNow(request, *shader, worldToClip, glTexture);
        return false;
    }
    const Mesh* mesh = meshes.Get(request.mesh);
    if (!mesh || mesh->indices.empty())
        return false;   // nothing to draw
    DrawQueue::Look look;
    look.program = shader->program;
    look.timeUniform = shader->uniforms.time;
    look.samplesTexture = shader->uniforms.baseColor != -1;
    look.texture = look.samplesTexture ? glTexture : 0;
    look.wrap = request.wrap == 1 ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    look.filter = request.filter == 1 ? GL_LINEAR : GL_NEAREST;
    // Blending with an alpha of 1 gives the source colour: it is left out where the shader
    // writes 1, or the texel's alpha from a hard-edged texture read texel by texel (a fully
    // transparent texel is the shader's to drop).
    const Texture* drawn = texture ? nullptr : textures.Drawn(request.texture);
    const bool hard = texture ? hardAlpha : drawn && drawn->hardAlpha;
    look.blend = !(shader->outputAlpha == OutputAlpha::One ||
                   (shader->outputAlpha == OutputAlpha::Texel && look.samplesTexture && hard &&
                    look.filter == GL_NEAREST));
    shaders.currentProgram = shader->program;
    const Matrix4& model = request.model ? *request.model : Matrix4::Identity();
    // A quad's fully transparent edges would only be sampled to be dropped: they are left out.
    float part[4];
    const bool trimmed = shader->discardsClear && look.samplesTexture && look.filter == GL_NEAREST && drawn &&
                         mesh->IsQuad() && drawn->ShownPart(request.uv ? request.uv : IdentityUv, part);
    queue.Add(look, *mesh, worldToClip, model, request.uv, request.tint, notes, trimmed ? part : nullptr);
    return true;
}

void GraphicsSystem::DrawNow(const Graphics::DrawRequest& request, Shader& shader, const Matrix4& worldToClip,
                             unsigned int texture)
{
    MeshLibrary& meshes = MeshLibrary::GetInstance();
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glDepthFunc(GL_LEQUAL);
    glUseProgram(shader.program);
    ShaderLibrary::GetInstance().currentProgram = shader.program;
    const ShaderUniforms& u = shader.uniforms;
    if (u.baseColor != -1)
    {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
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
    // The texture modes set here are not the queue's record of them.
    queue.ForgetTextureModes();
}

void GraphicsSystem::DrawDebugLines()
{
    FrameChange& picture = WindowSystem::GetInstance().picture;
    if (ready && debugDrawing)
        for (const Graphics::DebugLine& line : debugLines)
            picture.Note(line);
    if (!picture.Drawing())
    {
        debugLines.clear();
        return;
    }
    ShaderLibrary& shaders = ShaderLibrary::GetInstance();
    Shader* shader = ready && debugDrawing && !debugLines.empty() ? shaders.Prepare(lineShader) : nullptr;
    if (shader && shader->IsUsable())
    {
        const Matrix4 worldToClip = WorldToClip();
        const Matrix4 identity = Matrix4::Identity();
        // Lines lie over everything drawn so far.
        ClearDepth();
        glUseProgram(shader->program);
        shaders.currentProgram = shader->program;
        glBindVertexArray(lineVertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, lineVertexBuffer);
        std::vector<float> points;
        points.reserve(debugLines.size() * 6);
        for (const Graphics::DebugLine& line : debugLines)
            points.insert(points.end(),
                          {line.from.x, line.from.y, line.from.z, line.to.x, line.to.y, line.to.z});
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(points.size() * sizeof(float)), points.data(),
                     GL_STREAM_DRAW);
        // A line of another space keeps the matrix of the one before it, as it always did.
        GLint first = 0;
        for (const Graphics::DebugLine& line : debugLines)
        {
            glUniform3f(shader->uniforms.color, line.color.x, line.color.y, line.color.z);
            if (line.space == Graphics::WorldProj)
                glUniformMatrix4fv(shader->uniforms.wTc, 1, GL_FALSE, worldToClip.Data());
            else if (line.space == Graphics::UiProj || line.space == Graphics::BkgProj)
                glUniformMatrix4fv(shader->uniforms.wTc, 1, GL_FALSE, identity.Data());
            glDrawArrays(GL_LINES, first, 2);
            first += 2;
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
        queue.Shutdown();
        kept.Delete();
        framing = false;
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
    spanOpen = false;
}

void GraphicsSystem::OnFramebufferResize(GLFWwindow*, int width, int height)
{
    WindowSystem& windows = WindowSystem::GetInstance();
    windows.width = width;
    windows.height = height;
    GetInstance().windowInStep = false;   // the window's buffer is made anew
    if (GetInstance().ready)
        glViewport(0, 0, width, height);
}
