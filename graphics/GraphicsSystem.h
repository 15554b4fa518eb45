#pragma once
// Owns the OpenGL state of the game. Draw takes one request through the camera's projection and
// view whatever the request's space, and the frame shows what drawing each request there and then
// would show: requests for batched shaders are gathered in a DrawQueue and issued together
// before anything else touches the frame (ClearDepth, debug lines, the end of the frame, Flush);
// requests for any other shader are drawn at once. Debug lines are queued and drawn once per frame
// over everything (DrawDebugLines); that queue is emptied then whether drawing is on or off.
// Without a GL context (before Init, after Shutdown, in headless tests) every drawing call does
// nothing and the libraries only record names.
//
// The shared vertex array reads MeshVertex records (44 bytes): attribute 0 position (3 floats),
// 1 colour (3), 2 normal (3), 3 texture coordinates (2). A shader drawn at once gets the
// uniforms "mTw", "wTc", "tint", "uvT", "time", and "baseColor" on texture unit 0 on every draw;
// a batched one reads vertices with those values applied from the DrawQueue's stream.
// Debug lines set "wTc" and "color". Anything else that writes the shared buffers uploads
// through Mesh::Upload.
//
// The kept frame: a frame is drawn into a KeptFrame and copied to the window at its end (or
// when CopyFrameToWindow says so, for an overlay drawn over it there). The frame's first draws,
// from its start up to the first moment anything else reaches the frame (ClearDepth, the debug
// lines, the end of the frame), are drawn only over the parts where they differ from the draws
// the kept frame holds. A frame that issues anything sooner (a draw drawn at once, a Flush, a
// texture change while draws are queued) draws them all from its clear; anything drawn after
// them leaves the kept frame holding nothing known, to be drawn in full next time. Queued draws
// are known by their notes (NoteRequest), their texture and, for a shader that reads the time,
// the time; a texture of the caller's own changes only where DrawKept says it did. Where the
// window keeps its frame between presents (WindowSystem::PresentsParts), only the parts drawn
// again since the last copy are copied, and the present is told to show those alone.
#include "engine/BaseSystem.h"
#include "engine/FrameChange.h"
#include "graphics/DrawQueue.h"
#include "graphics/Graphics.h"
#include "graphics/KeptFrame.h"

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct GLFWwindow;
class Shader;

class GraphicsSystem : public BaseSystem
{
public:
    static GraphicsSystem& GetInstance();

    bool Init() override;         // needs the window's context; throws when GLEW cannot load
    void BeginFrame() override;   // the frame starts cleared: the game colour, depth farthest
    // Issues what is queued; the frame reaches the window; back to the default texture parameters.
    void EndFrame() override;
    void Shutdown() override;   // deletes every GL object and empties the three libraries

    void Draw(const Graphics::DrawRequest& request);
    // As Draw, with a GL texture of the caller's own in place of the request's library texture,
    // hard-edged when every value it gives the shader as alpha is 0 or 1. The caller issues the
    // queue (IssueQueued) before it changes or deletes that texture.
    void DrawTexture(const Graphics::DrawRequest& request, unsigned int texture, bool hardAlpha);
    // As DrawTexture, for a texture whose pixels change: `changed` lists the areas of the
    // request's mesh whose pixels may differ since the last draw for which this returned true,
    // everywhere when `allChanged`. True when the draw is queued for the kept frame, which will
    // show the changes; false when they are still to be shown.
    bool DrawKept(const Graphics::DrawRequest& request, unsigned int texture, bool hardAlpha,
                  const std::vector<Graphics::Area>& changed, bool allChanged);
    // Every queued draw reaches the window's frame buffer now, which shows the frame so far.
    void Flush();
    // The frame so far reaches the window, where whatever is drawn next this frame lands
    // straight over it (the editor overlay); the window is shown whole and given the whole
    // frame again next time.
    void CopyFrameToWindow();
    // Every queued draw is issued now, before a texture, buffer or program that one reads
    // changes or goes; the frame's first draws may still be on their way through the kept frame.
    void IssueQueued();
    void ClearDepth();   // what comes next lies over what was drawn so far
    void SubmitDebugLine(const Graphics::DebugLine& line) { debugLines.push_back(line); }
    void DrawDebugLines();   // oldest first, then the queue is empty
    size_t QueuedDebugLines() const { return debugLines.size(); }

    bool HasContext() const { return ready; }
    void ForgetUploadedMesh() { uploadedMesh = -1; }             // the shared buffers hold something else now
    size_t IssuedDraws() const { return queue.IssuedDraws(); }   // batched draws since Init
    size_t KeptFrames() const { return keptFrames; }             // frames the kept frame was copied into
    size_t PartlyDrawnFrames() const { return partlyDrawnFrames; }   // of those, drawn again only in parts

    static void OnFramebufferResize(GLFWwindow* window, int width, int height);

    // The buffers every mesh draw shares; the terrain binds them for its own draw.
    unsigned int vertexArray = 0, vertexBuffer = 0, elementBuffer = 0;
    bool debugDrawing = true;
    bool keepingLayers = true;   // false: every frame is drawn in full (for comparisons)

private:
    GraphicsSystem() : BaseSystem("Graphics System") {}
    void CreateVertexLayout();
    void ReportSkipped(const Graphics::DrawRequest& request, const char* library, int index, int size);
    // True when the draw was queued.
    bool Submit(const Graphics::DrawRequest& request, const unsigned int* texture, bool hardAlpha);
    void IssueAll();    // every queued draw reaches the frame's target
    void FlushSpan();   // IssueAll where what follows lies over everything drawn so far
    void DrawSpan();    // the queued draws of the frame's start into the kept frame
    void OnIssue();     // queued draws are about to reach the frame's target
    void LeaveSpan();   // the frame's start is drawn in full, from its clear
    // The kept frame's colour to the window: where the window keeps what it was given and
    // shows parts, only the parts drawn since, which the present is told to show.
    void ShowFrame();
    void CopyWholeFrame();   // the kept frame's colour over the whole window
    void DrawnOverKept();    // by draws the kept frame does not know the pixels of
    void DrawNow(const Graphics::DrawRequest& request, Shader& shader, const Matrix4& worldToClip,
                 unsigned int texture);

    bool ready = false;   // a GL context exists and its functions are loaded
    unsigned int lineVertexArray = 0, lineVertexBuffer = 0;
    int lineShader = -1;
    int uploadedMesh = -1;   // the library mesh the shared buffers hold, -1 for none or unknown
    std::deque<Graphics::DebugLine> debugLines;
    std::set<std::pair<std::string, int>> reportedSkips;   // (library, index) already reported
    DrawQueue queue;
    KeptFrame kept;
    bool framing = false;    // the frame is drawn into the kept frame, bound for drawing
    bool spanOpen = false;   // everything the frame drew so far is queued, for the kept frame
    std::vector<Graphics::PixelRect> spanChanged;   // changed parts of textures drawn in the span
    size_t keptFrames = 0, partlyDrawnFrames = 0;
    // The window's back buffer shows the kept frame but for `unshown`, the parts drawn since it
    // was last copied there (all of it when not `unshownKnown`).
    bool windowInStep = false;
    std::vector<Graphics::PixelRect> unshown;
    bool unshownKnown = false;
};

namespace Graphics
{
// On the texture bound to GL_TEXTURE_2D: repeat on S and T, nearest for both filters.
void SetDefaultTextureParams();
// One attribute of a vertex record: `count` floats at byte `offset`, read at `location`.
struct FloatAttribute
{
    int location = 0, count = 0;
    size_t offset = 0;
    bool normalised = false;
};
// A new vertex array with new vertex and index buffers, whose attributes read records of `stride`
// bytes from the vertex buffer; the array and the vertex buffer are left bound.
void CreateVertexArray(unsigned int& array, unsigned int& vertices, unsigned int& indices, size_t stride,
                       std::initializer_list<FloatAttribute> attributes);
}   // namespace Graphics
