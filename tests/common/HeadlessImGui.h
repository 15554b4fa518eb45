#pragma once
// A real Dear ImGui context with the editor's style and its fonts built, and no back end: frames
// run at a fixed display size and time step, and input arrives through ImGuiIO the way the GLFW
// back end gives it (GLFW key codes in KeysDown, characters, mouse position and buttons). The
// context is made current for the object's life and destroyed with it.
#include <functional>
#include <imgui.h>
#include <imgui_internal.h>
#include <initializer_list>
#include <optional>
#include <string>
#include <variant>
#include <vector>

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
    void Click(ImVec2 at, int button = 0);   // moved there, pressed for a frame, released
    void SelectAll();                        // Control+A in the active text field

    // Finds where an item of the window is drawn by moving the pointer over the window, row by
    // row, until the item reports itself hovered (disabled items do too); nothing when it is not
    // drawn there. Then clicks it, as a person would.
    std::optional<ImVec2> Locate(const char* window, ImGuiID id);
    bool ClickItem(const char* window, ImGuiID id);
    static ImGuiID ItemId(const char* window, std::initializer_list<const char*> path);

    // Items by their id path in a window: every part but the last is an id pushed on the way (a
    // text or a number), the last is the item's label.
    using IdPart = std::variant<int, std::string>;
    static ImGuiID ItemId(const ImGuiWindow* window, const std::vector<IdPart>& path);
    // Where the item is drawn, found in one frame through the keyboard navigation, which keeps
    // the place of its current item (items of the window's main layer, not its menu bar).
    std::optional<ImRect> ItemRect(ImGuiWindow* window, const std::vector<IdPart>& path);
    // The item hovered, then pressed and released with a mouse button (Control held when ctrl);
    // false, and nothing pressed, when it is not drawn.
    bool ClickItem(ImGuiWindow* window, const std::vector<IdPart>& path, int button = 0, bool ctrl = false);
    bool Hover(ImGuiWindow* window, const std::vector<IdPart>& path);
    // A collapsing header or tree node opened with a click, unless it is open already.
    bool Open(ImGuiWindow* window, const std::vector<IdPart>& path);
    // A value typed into a drag or slider (a Control+click makes it a text field) or into a
    // text or number field (a click), its old text replaced, and taken with Enter.
    bool EnterValue(ImGuiWindow* window, const std::vector<IdPart>& path, const char* utf8);
    bool EnterText(ImGuiWindow* window, const std::vector<IdPart>& path, const char* utf8);
    static ImGuiWindow* ChildWindow(const char* parent, const char* child);   // a BeginChild region
    static ImGuiWindow* TopPopup();   // the open popup on top, or null
    static ImGuiWindow* Window(const char* name);
    // Where a window's first item stands (its content's top left), in screen pixels.
    static ImVec2 FirstItem(const char* window);
    static bool IsShown(const char* window);   // a window (or popup) of that name was drawn last frame

private:
    bool ReplaceAndEnter(const char* utf8);   // in the active text field

    ImGuiContext* context = nullptr;
    std::string shown;
};
