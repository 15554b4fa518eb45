#include "editor/EditorWidgets.h"

#include "engine/Utf8.h"

#include <cstring>
#include <imgui.h>

void SeparatorText(const char* label)
{
    ImGui::TextUnformatted(label);
    ImGui::SameLine();
    const ImVec2 at = ImGui::GetCursorScreenPos();
    const float right = ImGui::GetWindowPos().x + ImGui::GetWindowContentRegionMax().x;
    const float middle = at.y + ImGui::GetTextLineHeight() * 0.5f;
    if (right > at.x)
        ImGui::GetWindowDrawList()->AddLine(ImVec2(at.x, middle), ImVec2(right, middle),
                                            ImGui::GetColorU32(ImGuiCol_Separator));
    ImGui::NewLine();
}

void CentreNextWindow()
{
    ImGui::SetNextWindowPos(ImGui::GetMainViewport()->GetCenter(), ImGuiCond_Appearing, ImVec2(0.5f, 0.5f));
}

float PopupTextWidth() { return ImGui::GetFontSize() * 24.0f; }

void ProblemText(const std::string& text)
{
    ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1.0f, 0.4f, 0.4f, 1.0f));
    ImGui::TextWrapped("%s", text.c_str());
    ImGui::PopStyleColor();
}

void CopyToBuffer(char* buffer, size_t size, std::string_view text)
{
    if (size == 0)
        return;
    const size_t length = Utf8PrefixLength(text, size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}
