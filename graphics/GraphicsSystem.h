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
// The kept layer: the draws of a frame from its clear up to one that closes the layer (DrawKept)
// are drawn into a KeptLayer and copied over the frame, and while the notes of those draws stay
// the same from frame to frame they are drawn again only over the areas the closing draw says
// changed. Only queued draws of library textures and shaders that do not read the time, each
// lying over those before it, can be kept; a frame that issued anything before the closing draw
// draws it as DrawTexture would.
// The kept depth reaches the frame where the draws after it need it (KeptDepth), before the
// first of them is issued, by drawing the kept draws again there with colour writes off: where
// the queue reaches the end of its depth span (ClearDepth, the debug lines, the end of the frame)
// under the queued draws that need it, when anything else is issued everywhere.
#include "engine/BaseSystem.h"
#include "engine/FrameChange.h"
#include "graphics/DrawQueue.h"
#include "graphics/Graphics.h"
#include "graphics/KeptDepth.h"
#include "graphics/KeptLayer.h"

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
    void BeginFrame() override;   // clears colour and depth
    void EndFrame() override;     // issues what is queued; back to the default texture parameters
    void Shutdown() override;     // deletes every GL object and empties the three libraries

    void Draw(const Graphics::DrawRequest& request);
    // As Draw, with a GL texture of the caller's own in place of the request's library texture,
    // hard-edged when every value it gives the shader as alpha is 0 or 1. The caller issues the
    // queue (Flush) before it changes or deletes that texture.
    void DrawTexture(const Graphics::DrawRequest& request, unsigned int texture, bool hardAlpha);
    // Closes the kept layer with this draw (as DrawTexture): `changed` lists the areas of the
    // request's mesh whose pixels may differ from the last time it closed the layer, everywhere
    // when `allChanged`. True when it went through the kept layer, which then shows the changes;
    // false when it was drawn as DrawTexture draws, and the changes are still to be shown.
    bool DrawKept(const Graphics::DrawRequest& request, unsigned int texture, bool hardAlpha,
                  const std::vector<Graphics::Area>& changed, bool allChanged);
    void Flush();        // every queued draw reaches the frame buffer now
    void ClearDepth();   // what comes next lies over what was drawn so far
    void SubmitDebugLine(const Graphics::DebugLine& line) { debugLines.push_back(line); }
    void DrawDebugLines();   // oldest first, then the queue is empty
    size_t QueuedDebugLines() const { return debugLines.size(); }

    bool HasContext() const { return ready; }
    void ForgetUploadedMesh() { uploadedMesh = -1; }             // the shared buffers hold something else now
    size_t IssuedDraws() const { return queue.IssuedDraws(); }   // batched draws since Init
    size_t KeptFrames() const { return keptFrames; }             // frames the kept layer was copied into

    static void OnFramebufferResize(GLFWwindow* window, int width, int height);

    // The buffers every mesh draw shares; the terrain binds them for its own draw.
    unsigned int vertexArray = 0, vertexBuffer = 0, elementBuffer = 0;
    bool debugDrawing = true;
    bool keepingLayers = true;   // false: DrawKept draws as DrawTexture (for comparisons)

private:
    GraphicsSystem() : BaseSystem("Graphics System") {}
    void CreateVertexLayout();
    void ReportSkipped(const Graphics::DrawRequest& request, const char* library, int index, int size);
    // True when the draw was queued. `closesKept`: the caller's texture is the kept layer's.
    bool Submit(const Graphics::DrawRequest& request, const unsigned int* texture, bool hardAlpha,
                bool closesKept = false);
    void NoteKept(const Graphics::DrawRequest& request, const Matrix4& worldToClip, const Shader& shader,
                  unsigned int texture, bool hardAlpha, bool changingTexture);
    void RedrawKept(const Graphics::DrawRequest& request, const std::vector<Graphics::Area>& changed);
    void FlushSpan();                 // Flush where no draw follows before depth is cleared
    void BeforeIssue();               // queued draws are about to reach a framebuffer
    void PayDepth(bool everywhere);   // the kept depth into the frame where it is owed
    void DrawNow(const Graphics::DrawRequest& request, Shader& shader, const Matrix4& worldToClip,
                 unsigned int texture);

    bool ready = false;   // a GL context exists and its functions are loaded
    unsigned int lineVertexArray = 0, lineVertexBuffer = 0;
    int lineShader = -1;
    int uploadedMesh = -1;   // the library mesh the shared buffers hold, -1 for none or unknown
    std::deque<Graphics::DebugLine> debugLines;
    std::set<std::pair<std::string, int>> reportedSkips;   // (library, index) already reported
    DrawQueue queue;
    KeptLayer kept;
    FrameChange keptNotes;   // of the draws since the frame's clear, while keptOpen
    bool keptOpen = false;   // everything drawn since the frame's clear is still queued
    KeptDepth keptDepth;
    bool depthOwed = false;   // the kept colour is in the frame; its depth is not yet
    // The kept draws as queued, drawn again with colour writes off where the frame needs their
    // depth: drawn in the frame itself, they give its depths bit for bit (a copy through the
    // rasteriser rounds them).
    struct KeptDraw
    {
        DrawQueue::Look look;
        int mesh = -1;
        Matrix4 worldToClip, model;
        float uv[9] = {}, tint[3] = {};
    };
    std::vector<KeptDraw> keptDraws;
    DrawQueue depthQueue;
    size_t keptFrames = 0;
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
