#include "tests/common/HeadlessImGui.h"

#include "editor/EditorSystem.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <imgui_internal.h>
#include <map>

namespace
{
// The characters in the draw data, read back from the glyph quads by their corner in the font
// atlas: each run of glyphs on one baseline becomes a line. Blanks draw nothing and are left out.
std::string DrawnText(const ImDrawData& data)
{
    std::map<std::pair<float, float>, const ImFontGlyph*> glyphs;
    for (const ImFont* font : ImGui::GetIO().Fonts->Fonts)
        for (const ImFontGlyph& glyph : font->Glyphs)
            if (glyph.Visible)
                glyphs[{glyph.U0, glyph.V0}] = &glyph;
    std::string text;
    for (int list = 0; list < data.CmdListsCount; ++list)
    {
        const ImVector<ImDrawVert>& vertices = data.CmdLists[list]->VtxBuffer;
        float lastY = -1;
        for (int i = 0; i + 2 < vertices.Size; ++i)
        {
            const auto found = glyphs.find({vertices[i].uv.x, vertices[i].uv.y});
            if (found == glyphs.end() || vertices[i + 2].uv.x != found->second->U1 ||
                vertices[i + 2].uv.y != found->second->V1)
                continue;
            const float lineY = vertices[i].pos.y - found->second->Y0;   // the top of the line
            if (lineY != lastY)
                text += '\n';
            lastY = lineY;
            const unsigned int c = found->second->Codepoint;
            text += c < 0x80 ? static_cast<char>(c) : '?';
            i += 3;
        }
    }
    return text;
}

std::string WithoutBlanks(std::string text)
{
    std::erase_if(text, [](char c) { return c == ' ' || c == '\n'; });
    return text;
}
}   // namespace

bool HeadlessImGui::Shows(const std::string& text) const
{
    return WithoutBlanks(shown).find(WithoutBlanks(text)) != std::string::npos;
}

HeadlessImGui::HeadlessImGui()
{
    context = ImGui::CreateContext();
    ImGui::SetCurrentContext(context);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    io.DisplaySize = ImVec2(1920, 1080);
    io.DeltaTime = 1.0f / 60.0f;
    EditorSystem::ConfigureContext();
    unsigned char* pixels = nullptr;
    int width = 0, height = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
    // The keys that text fields and navigation read, mapped as the GLFW back end maps them.
    const std::pair<ImGuiKey, int> keys[] = {
        {ImGuiKey_Tab, GLFW_KEY_TAB},
        {ImGuiKey_LeftArrow, GLFW_KEY_LEFT},
        {ImGuiKey_RightArrow, GLFW_KEY_RIGHT},
        {ImGuiKey_UpArrow, GLFW_KEY_UP},
        {ImGuiKey_DownArrow, GLFW_KEY_DOWN},
        {ImGuiKey_Home, GLFW_KEY_HOME},
        {ImGuiKey_End, GLFW_KEY_END},
        {ImGuiKey_Delete, GLFW_KEY_DELETE},
        {ImGuiKey_Backspace, GLFW_KEY_BACKSPACE},
        {ImGuiKey_Space, GLFW_KEY_SPACE},
        {ImGuiKey_Enter, GLFW_KEY_ENTER},
        {ImGuiKey_Escape, GLFW_KEY_ESCAPE},
        {ImGuiKey_A, GLFW_KEY_A},
    };
    for (const auto& [key, code] : keys)
        io.KeyMap[key] = code;
}

HeadlessImGui::~HeadlessImGui() { ImGui::DestroyContext(context); }

void HeadlessImGui::Frame()
{
    ImGui::NewFrame();
    if (body)
        body();
    ImGui::Render();
    shown = DrawnText(*ImGui::GetDrawData());
}

void HeadlessImGui::Key(int glfwKey, bool down)
{
    ImGui::GetIO().KeysDown[glfwKey] = down;
    Frame();
}

void HeadlessImGui::Type(const char* utf8)
{
    ImGui::GetIO().AddInputCharactersUTF8(utf8);
    Frame();
}

void HeadlessImGui::MoveMouse(ImVec2 at)
{
    ImGui::GetIO().MousePos = at;
    Frame();
}

void HeadlessImGui::Click(ImVec2 at, int button)
{
    MoveMouse(at);
    ImGui::GetIO().MouseDown[button] = true;
    Frame();
    ImGui::GetIO().MouseDown[button] = false;
    Frame();
}

void HeadlessImGui::SelectAll()
{
    ImGuiIO& io = ImGui::GetIO();
    io.KeyCtrl = true;
    Key(GLFW_KEY_A, true);
    Key(GLFW_KEY_A, false);
    io.KeyCtrl = false;
}

std::optional<ImVec2> HeadlessImGui::Locate(const char* window, ImGuiID id)
{
    // A window that just appeared measures itself in its first frames before it is drawn.
    Frame();
    Frame();
    const ImGuiWindow* found = Window(window);
    if (!found || !found->Active || id == 0)
        return std::nullopt;
    const ImVec2 from = found->Pos, to(found->Pos.x + found->Size.x, found->Pos.y + found->Size.y);
    constexpr float Step = 10;
    for (float y = from.y + Step / 2; y < to.y; y += Step)
        for (float x = from.x + Step / 2; x < to.x; x += Step)
        {
            MoveMouse(ImVec2(x, y));
            if (GImGui->HoveredId == id)
                return ImVec2(x, y);
        }
    return std::nullopt;
}

bool HeadlessImGui::ClickItem(const char* window, ImGuiID id)
{
    const std::optional<ImVec2> at = Locate(window, id);
    if (at)
        Click(*at);
    return at.has_value();
}

ImGuiWindow* HeadlessImGui::Window(const char* name) { return ImGui::FindWindowByName(name); }

ImGuiID HeadlessImGui::ItemId(const char* window, std::initializer_list<const char*> path)
{
    const ImGuiWindow* found = Window(window);
    return found ? ItemId(found, std::vector<IdPart>(path.begin(), path.end())) : 0;
}

ImGuiID HeadlessImGui::ItemId(const ImGuiWindow* window, const std::vector<IdPart>& path)
{
    ImGuiID id = window ? window->ID : 0;
    for (const IdPart& part : path)
        if (const int* number = std::get_if<int>(&part))
            id = ImHashData(number, sizeof(int), id);
        else
            id = ImHashStr(std::get<std::string>(part).c_str(), 0, id);
    return id;
}

std::optional<ImRect> HeadlessImGui::ItemRect(ImGuiWindow* window, const std::vector<IdPart>& path)
{
    if (!window)
        return std::nullopt;
    // A window that just appeared may move the navigation to its first item once: ask again.
    const ImGuiID id = ItemId(window, path);
    bool found = false;
    for (int attempt = 0; attempt < 3 && !found; ++attempt)
    {
        ImGui::SetFocusID(id, window);
        Frame();
        found = GImGui->NavId == id && GImGui->NavIdIsAlive;
    }
    if (!found)
        return std::nullopt;
    ImRect rect = window->NavRectRel[0];
    rect.Translate(window->DC.CursorStartPos);
    return rect;
}

namespace
{
// A little in from the left: the labels of drags and fields stand right of the frame.
ImVec2 PointInside(const ImRect& rect)
{
    return {rect.Min.x + std::min(8.0f, rect.GetWidth() / 2), rect.GetCenter().y};
}
}   // namespace

bool HeadlessImGui::ClickItem(ImGuiWindow* window, const std::vector<IdPart>& path, int button, bool ctrl)
{
    const std::optional<ImRect> rect = ItemRect(window, path);
    if (!rect)
        return false;
    ImGui::GetIO().KeyCtrl = ctrl;
    Click(PointInside(*rect), button);
    ImGui::GetIO().KeyCtrl = false;
    return true;
}

bool HeadlessImGui::Hover(ImGuiWindow* window, const std::vector<IdPart>& path)
{
    const std::optional<ImRect> rect = ItemRect(window, path);
    if (!rect)
        return false;
    MoveMouse(PointInside(*rect));
    return GImGui->HoveredId == ItemId(window, path);
}

bool HeadlessImGui::Open(ImGuiWindow* window, const std::vector<IdPart>& path)
{
    if (window && window->StateStorage.GetInt(ItemId(window, path), 0) != 0)
        return ItemRect(window, path).has_value();
    return ClickItem(window, path);
}

bool HeadlessImGui::EnterValue(ImGuiWindow* window, const std::vector<IdPart>& path, const char* utf8)
{
    return ClickItem(window, path, 0, true) && ReplaceAndEnter(utf8);
}

bool HeadlessImGui::EnterText(ImGuiWindow* window, const std::vector<IdPart>& path, const char* utf8)
{
    return ClickItem(window, path) && ReplaceAndEnter(utf8);
}

bool HeadlessImGui::ReplaceAndEnter(const char* utf8)
{
    SelectAll();
    Type(utf8);
    Key(GLFW_KEY_ENTER, true);
    Key(GLFW_KEY_ENTER, false);
    return true;
}

ImGuiWindow* HeadlessImGui::ChildWindow(const char* parent, const char* child)
{
    const std::string prefix = std::string(parent) + "/" + child + "_";
    for (ImGuiWindow* window : GImGui->Windows)
        if (std::string_view(window->Name).starts_with(prefix))
            return window;
    return nullptr;
}

ImGuiWindow* HeadlessImGui::TopPopup()
{
    return GImGui->OpenPopupStack.empty() ? nullptr : GImGui->OpenPopupStack.back().Window;
}

ImVec2 HeadlessImGui::FirstItem(const char* window)
{
    const ImGuiWindow* found = Window(window);
    return found ? found->DC.CursorStartPos : ImVec2(-1, -1);
}

bool HeadlessImGui::IsShown(const char* window)
{
    const ImGuiWindow* found = Window(window);
    return found && found->Active;
}
