// The main menu bar: play controls, scene file commands, the switches of the other editor
// windows, debug drawing, the frame-rate readout and the ImGui demo. Game time is held and
// released only through the window command "forceDT:", repeated every frame the bar is shown.
#include "editor/EditorWindows.h"
#include "engine/EditorState.h"
#include "engine/MessagingSystem.h"
#include "engine/WindowSystem.h"
#include "scene/SceneSystem.h"

#include <cmath>
#include <imgui.h>

namespace
{
constexpr ImU32 Red = 0xFF0000FF, Green = 0xFF00FF00, Yellow = 0xFF00FFFF;

void PostWindowCommand(const char* command)
{
    MessagingSystem::GetInstance().Post(MessageType::Window, command);
}

void DrawStopButton()
{
    ImGui::BeginDisabled(EditorStopped);
    ImGui::PushStyleColor(ImGuiCol_Text, Red);
    if (ImGui::MenuItem("[]", nullptr, EditorStopped))
    {
        EditorStopped = !EditorStopped;
        PostWindowCommand("forceDT: 0");
        EditorPaused = true;
        SelectedEntity = nullptr;
        // The reload would drop unsaved edits: with any, it waits for the modal's answer.
        ReloadActiveScene();
    }
    ImGui::PopStyleColor();
    if (ImGui::IsItemHovered())
        ImGui::SetTooltip("Stop game (pause delta time/ reload scene/ editor is read/write)");
    ImGui::EndDisabled();
}

void DrawFrameRateMenu()
{
    if (!ImGui::BeginMenu("Frame Rate"))
        return;
    const float framerate = ImGui::GetIO().Framerate;
    const float engineFrameTime = WindowSystem::GetInstance().dt;
    const float engineFps = 1.0f / engineFrameTime;
    ImGui::Text("FPS: %.1f", framerate);
    ImGui::Text("Frame time: %.2f ms", 1000.0f / framerate);
    ImGui::Text("EngineFPS: %.1f FPS", std::isfinite(engineFps) ? engineFps : 0.0f);
    ImGui::Text("EngineFT: %.2f ms", engineFrameTime * 1000.0f);
    ImGui::EndMenu();
}
}   // namespace

void DrawPauseButton()
{
    // The label follows the state and the ID does not: the item stays the same one across a click.
    const bool paused = EditorPaused;
    ImGui::PushStyleColor(ImGuiCol_Text, paused ? Green : Yellow);
    ImGui::MenuItem(paused ? ">###PlayControl" : "||###PlayControl", nullptr, &EditorPaused);
    ImGui::PopStyleColor();
    if (ImGui::IsItemHovered())
        ImGui::SetTooltip(paused ? "Resume game (unpause delta time/ editor is read-only)"
                                 : "Pause game (pause delta time/ editor is read-only)");
    // Chosen by the state the frame began with: a click takes effect in the next frame.
    if (paused)
        PostWindowCommand("forceDT: 0");
    else
    {
        PostWindowCommand("forceDT: 1");
        EditorStopped = false;
    }
}

void DrawMainMenuBar()
{
    if (!ImGui::BeginMainMenuBar())
        return;
    DrawPauseButton();
    DrawStopButton();
    if (ImGui::BeginMenu("File"))
    {
        DrawLoadSceneMenu();
        ImGui::BeginDisabled(!SceneSystem::GetInstance().HasCurrentScene());
        if (ImGui::MenuItem("Reload Scene"))
            ReloadActiveScene();
        ImGui::EndDisabled();
        ImGui::EndMenu();
    }
    if (ImGui::BeginMenu("View"))
    {
        ImGui::MenuItem("Scene Editor", nullptr, &ShowSceneEditor);
        ImGui::MenuItem("Terminal", nullptr, &ShowCheatTerminal);
        ImGui::EndMenu();
    }
    if (ImGui::BeginMenu("Tools"))
    {
        ImGui::MenuItem("Debug Drawing", nullptr, &DebugDrawing);
        DrawFrameRateMenu();
        ImGui::EndMenu();
    }
    if (ImGui::BeginMenu("Settings"))
    {
        ImGui::MenuItem("Open Demo", nullptr, &ShowImGuiDemo);
        ImGui::EndMenu();
    }
    ImGui::EndMainMenuBar();
}
