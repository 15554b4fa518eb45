#pragma once
// Owns the OpenGL state of the game: clears the frame, draws requests at once and the queued
// debug lines once per frame.
#include "engine/BaseSystem.h"
#include "graphics/Graphics.h"

#include <deque>

struct GLFWwindow;

class GraphicsSystem : public BaseSystem
{
public:
    static GraphicsSystem& GetInstance();

    bool Init() override;
    void BeginFrame() override;
    void EndFrame() override;
    void Shutdown() override;

    void SubmitDebugLine(const Graphics::DebugLine& line) { debugLines.push_back(line); }
    size_t QueuedDebugLines() const { return debugLines.size(); }

    static void OnFramebufferResize(GLFWwindow* window, int width, int height);
    bool IsReady() const { return ready; }   // a GL context exists and its functions are loaded

    bool debugDrawing = true;

private:
    GraphicsSystem() : BaseSystem("Graphics System") {}

    bool ready = false;   // a GL context exists and its functions are loaded
    std::deque<Graphics::DebugLine> debugLines;
};
