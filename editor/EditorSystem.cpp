#include "editor/EditorSystem.h"

#include "editor/EditorWindows.h"
#include "engine/EditorState.h"
#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/WindowSystem.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/Shader.h"

#include <GLFW/glfw3.h>
#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

EditorSystem& EditorSystem::GetInstance()
{
    static EditorSystem instance;
    return instance;
}

std::function<bool(AssertRecord)>& EditorSystem::AssertHook()
{
    static std::function<bool(AssertRecord)> hook;
    return hook;
}

void EditorSystem::ConfigureContext()
{
    ImGuiIO& io = ImGui::GetIO();
#ifdef IMGUI_HAS_DOCK
    io.ConfigFlags |= ImGuiConfigFlags_DockingEnable;
#endif
#ifdef IMGUI_HAS_VIEWPORT
    io.ConfigFlags |= ImGuiConfigFlags_ViewportsEnable;
#endif
    ImGui::StyleColorsClassic();
    ImGuiStyle& style = ImGui::GetStyle();
    style.ScaleAllSizes(3.0f);
    style.WindowRounding = 5.0f;   // after the scaling: not scaled
    style.Colors[ImGuiCol_WindowBg].w = 1.0f;
    ImFontConfig font;
    font.SizePixels = 25.0f;
    io.Fonts->AddFontDefault(&font);
}

bool EditorSystem::Init()
{
    GLFWwindow* window = WindowSystem::GetInstance().window;
    if (window)
    {
        IMGUI_CHECKVERSION();
        ImGui::CreateContext();
        ConfigureContext();
        // Installed after the game's own callbacks, which the back end chains to.
        ImGui_ImplGlfw_InitForOpenGL(window, true);
        ImGui_ImplOpenGL3_Init("#version 330");
        // The overlay's program and font texture are made now rather than in its first frame, so
        // that the compiler and the font's pixels, which GL holds from here on, can go.
        ImGui_ImplOpenGL3_CreateDeviceObjects();
        ImGui::GetIO().Fonts->ClearTexData();
        ReleaseShaderCompiler();
        running = true;
    }
    AssertHook() = [this](AssertRecord) {
        AssertTriggered = true;
        return false;
    };
    // Every way of closing the program passes here first; unsaved edits ask before they are lost.
    WindowSystem::GetInstance().confirmClose = [] {
        if (!HasUnsavedChanges)
            return true;
        PendingSceneAction = PendingQuit;
        PendingSceneName.clear();
        UnsavedChangesRequested = true;
        return false;
    };
    MessagingSystem::GetInstance().Post(MessageType::Window, "forceDT: 1");
    EditorPaused = false;
    EditorStopped = false;
    return true;
}

void EditorSystem::BeginFrame()
{
    if (!running)
        return;
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplGlfw_NewFrame();
    ImGui::NewFrame();
    PublishInputCapture();
}

void EditorSystem::PublishInputCapture()
{
    const ImGuiIO& io = ImGui::GetIO();
    InputSystem& input = InputSystem::GetInstance();
    input.overlayHasMouse = io.WantCaptureMouse;
    input.overlayHasKeyboard = io.WantCaptureKeyboard || io.WantTextInput;
}

void EditorSystem::Update(float)
{
    if (running)
        DrawWindows();
}

void EditorSystem::DrawWindows()
{
    if (ImGui::IsKeyReleased(Key::F1))
        EditorVisible = !EditorVisible;
    if (EditorVisible)
        DrawMainMenuBar();
    if (ShowSceneEditor)
        DrawSceneEditorWindow();
    if (ShowImGuiDemo)
        ImGui::ShowDemoWindow();
    if (AssertTriggered)
    {
        ImGui::Begin("ASSERT TRIGGERED", &AssertTriggered, ImGuiWindowFlags_MenuBar);
        ImGui::End();
    }
    if (ShowCheatTerminal)
    {
        if (ImGui::Begin("Cheat Terminal", &ShowCheatTerminal))
            ImGui::Button("button", ImVec2(128, 64));
        ImGui::End();
    }
}

void EditorSystem::FinishWindows() { DrawUnsavedChangesModal(); }

void EditorSystem::EndFrame()
{
    if (running)
        FinishWindows();
    GraphicsSystem& graphics = GraphicsSystem::GetInstance();
    graphics.debugDrawing = DebugDrawing;
    graphics.DrawDebugLines();
    if (!running)
        return;
    ImGui::Render();
    // The overlay's pixels are not noted: a frame that shows any of it is always drawn.
    ImDrawData* overlay = ImGui::GetDrawData();
    FrameChange& picture = WindowSystem::GetInstance().picture;
    if (overlay && overlay->TotalVtxCount > 0)
        picture.NoteUnknown();
    if (picture.Drawing() && overlay && overlay->TotalVtxCount > 0)
    {
        graphics.CopyFrameToWindow();
        ImGui_ImplOpenGL3_RenderDrawData(overlay);
    }
#ifdef IMGUI_HAS_VIEWPORT
    if (ImGui::GetIO().ConfigFlags & ImGuiConfigFlags_ViewportsEnable)
    {
        ImGui::UpdatePlatformWindows();
        ImGui::RenderPlatformWindowsDefault();
        // Drawing the other viewports made their contexts current.
        glfwMakeContextCurrent(WindowSystem::GetInstance().window);
    }
#endif
}

void EditorSystem::Shutdown()
{
    WindowSystem::GetInstance().confirmClose = nullptr;
    InputSystem& input = InputSystem::GetInstance();
    input.overlayHasMouse = input.overlayHasKeyboard = false;
    AssertHook() = nullptr;
    if (!running)
        return;
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplGlfw_Shutdown();
    ImGui::DestroyContext();
    running = false;
}
