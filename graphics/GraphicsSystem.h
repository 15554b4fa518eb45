#pragma once
// Owns the OpenGL state of the game. Drawing is immediate: Draw binds, uploads and draws one
// request there and then, through the camera's projection and view whatever the request's
// space. Debug lines are queued and drawn once per frame over everything (DrawDebugLines);
// the queue is emptied then whether drawing is on or off. Without a GL context (before Init,
// after Shutdown, in headless tests) every drawing call does nothing and the libraries only
// record names.
//
// The shared vertex array reads MeshVertex records (44 bytes): attribute 0 position (3 floats),
// 1 colour (3), 2 normal (3), 3 texture coordinates (2). Uniforms set on every draw: "mTw",
// "wTc", "tint", "uvT", "time", and "baseColor" on texture unit 0; debug lines set "wTc" and
// "color". Anything else that writes the shared buffers uploads through Mesh::Upload.
#include "engine/BaseSystem.h"
#include "graphics/Graphics.h"

#include <deque>
#include <set>
#include <string>
#include <utility>

struct GLFWwindow;

class GraphicsSystem : public BaseSystem
{
public:
    static GraphicsSystem& GetInstance();

    bool Init() override;         // needs the window's context; throws when GLEW cannot load
    void BeginFrame() override;   // clears colour and depth
    void EndFrame() override;     // back to the default texture parameters
    void Shutdown() override;     // deletes every GL object and empties the three libraries

    void Draw(const Graphics::DrawRequest& request);
    void SubmitDebugLine(const Graphics::DebugLine& line) { debugLines.push_back(line); }
    void DrawDebugLines();   // oldest first, then the queue is empty
    size_t QueuedDebugLines() const { return debugLines.size(); }

    bool HasContext() const { return ready; }
    void ForgetUploadedMesh() { uploadedMesh = -1; }   // the shared buffers hold something else now

    static void OnFramebufferResize(GLFWwindow* window, int width, int height);

    // The buffers every mesh draw shares; the terrain binds them for its own draw.
    unsigned int vertexArray = 0, vertexBuffer = 0, elementBuffer = 0;
    bool debugDrawing = true;

private:
    GraphicsSystem() : BaseSystem("Graphics System") {}
    void CreateVertexLayout();
    void ReportSkipped(const Graphics::DrawRequest& request, const char* library, int index, int size);

    bool ready = false;   // a GL context exists and its functions are loaded
    unsigned int lineVertexArray = 0, lineVertexBuffer = 0;
    int lineShader = -1;
    int uploadedMesh = -1;   // the library mesh the shared buffers hold, -1 for none or unknown
    std::deque<Graphics::DebugLine> debugLines;
    std::set<std::pair<std::string, int>> reportedSkips;   // (library, index) already reported
};

namespace Graphics
{
// On the texture bound to GL_TEXTURE_2D: repeat on S and T, nearest for both filters.
void SetDefaultTextureParams();
}   // namespace Graphics
