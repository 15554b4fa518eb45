#include "graphics/GraphicsSystem.h"

#include "engine/TraceSystem.h"
#include "engine/WindowSystem.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <stdexcept>

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

void Graphics::SubmitDebugLine(const DebugLine& line) { GraphicsSystem::GetInstance().SubmitDebugLine(line); }

bool GraphicsSystem::Init()
{
    if (!WindowSystem::GetInstance().window)
        return false;
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        throw std::runtime_error("glew failed to load");
    Log("GLSL Version: ", reinterpret_cast<const char*>(glGetString(GL_SHADING_LANGUAGE_VERSION)));
    Log("GPU Manufacturer: ", reinterpret_cast<const char*>(glGetString(GL_VENDOR)));
    Log("GPU Model Name: ", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    ready = true;
    return true;
}

void GraphicsSystem::BeginFrame()
{
    if (!ready)
        return;
    glClearColor(18.0f / 255.0f, 129.0f / 255.0f, 61.0f / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// Until the debug lines are drawn, the queue is emptied at the end of every frame.
void GraphicsSystem::EndFrame() { debugLines.clear(); }

void GraphicsSystem::Shutdown() { ready = false; }

void GraphicsSystem::OnFramebufferResize(GLFWwindow*, int width, int height)
{
    WindowSystem& windows = WindowSystem::GetInstance();
    windows.width = width;
    windows.height = height;
    if (GetInstance().ready)
        glViewport(0, 0, width, height);
}
