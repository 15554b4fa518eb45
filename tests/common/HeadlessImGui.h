#pragma once
// A real Dear ImGui context with the editor's style and its fonts built, and no back end: frames
// run at a fixed display size and time step, and input arrives through ImGuiIO the way the GLFW
// back end gives it (GLFW key codes in KeysDown, characters, mouse position and buttons). The
// context is made current for the object's life and destroyed with it.
#include <functional>
#include <imgui.h>
#include <initializer_list>
#include <optional>
#include <string>

struct ImGuiWindow;

class HeadlessImGui
{
public:
    HeadlessImGui();
    ~HeadlessImGui();
    HeadlessImGui(const HeadlessImGui&) = delete;
    HeadlessImGui& operator=(const HeadlessImGui&) = delete;

    // What one frame does between ImGui::NewFrame and ImGui::Render (set once by the test).
    std::function<void()> body;
    // One frame of the body with the input as it stands.
    void Frame();
    // The text the last frame drew (labels, texts, menu items, tooltips), read back from the
    // draw data: one line per run of characters, blanks left out.
    const std::string& Shown() const { return shown; }
    bool Shows(const std::string& text) const;   // blanks and line breaks are not compared

    // Input, each followed by one frame, as a person gives it.
    void Key(int glfwKey, bool down);
    void Type(const char* utf8);
    void MoveMouse(ImVec2 at);
    void Click(ImVec2 at);   // moved there, pressed for a frame, released

    // Finds where an item of the window is drawn by moving the pointer over the window, row by
    // row, until the item reports itself hovered (disabled items do too); nothing when it is not
    // drawn there. Then clicks it, as a person would.
    std::optional<ImVec2> Locate(const char* window, ImGuiID id);
    bool ClickItem(const char* window, ImGuiID id);
    static ImGuiID ItemId(const char* window, std::initializer_list<const char*> path);
    static ImGuiWindow* Window(const char* name);
    // Where a window's first item stands (its content's top left), in screen pixels.
    static ImVec2 FirstItem(const char* window);
    static bool IsShown(const char* window);   // a window (or popup) of that name was drawn last frame

private:
    ImGuiContext* context = nullptr;
    std::string shown;
};
