// Widgets the panels share: tooltips, and the editor of a component's saved form, which gives
// every component a section without code of its own.
#include "editor/EditorPanels_Shared.h"
#include "engine/EditorState.h"
#include "engine/TraceSystem.h"
#include "scene/Component.h"
#include "scene/Entity.h"

#include <algorithm>
#include <cctype>
#include <imgui.h>
#include <imgui_stdlib.h>
#include <vector>

void ItemTooltip(const char* text, bool overDisabled)
{
    if (ImGui::IsItemHovered(overDisabled ? ImGuiHoveredFlags_AllowWhenDisabled : ImGuiHoveredFlags_None))
        ImGui::SetTooltip("%s", text);
}

namespace
{
bool IsNumberList(const json& value)
{
    return value.is_array() && !value.empty() && value.size() <= 4 &&
           std::all_of(value.begin(), value.end(), [](const json& v) { return v.is_number(); });
}

bool IsNameList(const json& value)
{
    return value.is_array() && !value.empty() &&
           std::all_of(value.begin(), value.end(), [](const json& v) { return v.is_string(); });
}

// Keys whose three numbers are a colour.
bool IsColourKey(std::string key)
{
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
    return key.find("tint") != std::string::npos || key.find("color") != std::string::npos ||
           key.find("colour") != std::string::npos;
}

// The value taken as a T for the widget to edit; written back, and true, when the widget
// reports a change.
template <typename T, typename Widget> bool EditAs(json& value, Widget widget)
{
    T held = value.get<T>();
    if (!widget(held))
        return false;
    value = held;
    return true;
}

// One widget for one value; true when the person changed it. Numbers keep their kind: an
// integer stays an integer.
bool DrawValue(const std::string& key, json& value)
{
    const char* label = key.c_str();
    if (value.is_boolean())
        return EditAs<bool>(value, [&](bool& flag) { return ImGui::Checkbox(label, &flag); });
    if (value.is_number_integer())
        return EditAs<int>(value, [&](int& number) { return ImGui::DragInt(label, &number, 0.1f); });
    if (value.is_number())
        return EditAs<float>(
            value, [&](float& number) { return ImGui::DragFloat(label, &number, 0.01f, 0, 0, "%.3f"); });
    if (value.is_string())
        // Taken on Enter only: a half-typed name must not reach the component.
        return EditAs<std::string>(value, [&](std::string& text) {
            return ImGui::InputText(label, &text, ImGuiInputTextFlags_EnterReturnsTrue);
        });
    if (IsNumberList(value))
    {
        const int count = static_cast<int>(value.size());
        if (std::all_of(value.begin(), value.end(), [](const json& v) { return v.is_number_integer(); }))
            return EditAs<std::vector<int>>(value, [&](std::vector<int>& numbers) {
                return ImGui::DragScalarN(label, ImGuiDataType_S32, numbers.data(), count, 0.1f);
            });
        return EditAs<std::vector<float>>(value, [&](std::vector<float>& numbers) {
            if (count == 3 && IsColourKey(key))
                return ImGui::ColorEdit3(label, numbers.data(), ImGuiColorEditFlags_Float);
            return ImGui::DragScalarN(label, ImGuiDataType_Float, numbers.data(), count, 0.01f, nullptr,
                                      nullptr, "%.3f");
        });
    }
    if (IsNameList(value))
    {
        // Shown only: see ReadableForm.
        ImGui::TextDisabled("%s:", label);
        for (const json& name : value)
            ImGui::BulletText("%s", name.get<std::string>().c_str());
        return false;
    }
    if (value.is_array() || value.is_object())
    {
        bool changed = false;
        if (ImGui::TreeNode(label))
        {
            if (value.is_array())
                for (size_t i = 0; i < value.size(); ++i)
                {
                    ImGui::PushID(static_cast<int>(i));
                    changed |= DrawValue(std::to_string(i), value[i]);
                    ImGui::PopID();
                }
            else
                for (auto& [inner, innerValue] : value.items())
                {
                    ImGui::PushID(inner.c_str());
                    changed |= DrawValue(inner, innerValue);
                    ImGui::PopID();
                }
            ImGui::TreePop();
        }
        return changed;
    }
    ImGui::TextDisabled("%s: %s", label, value.dump().c_str());
    return false;
}

// A behaviour's saved states are fixed values, and reading them would restart it.
bool IsStateKey(const std::string& key) { return key == "StateCurrent" || key == "StateNext"; }

// The saved form as it is read back: without the states, and without lists of names, which
// components add to those they hold.
json ReadableForm(json form)
{
    for (auto it = form.begin(); it != form.end();)
        if (IsStateKey(it.key()) || IsNameList(*it))
            it = form.erase(it);
        else
            ++it;
    return form;
}
}   // namespace

bool DrawSavedFields(Component& component, const std::vector<std::string>& shown)
{
    json saved;
    component.Write(saved);
    if (!saved.is_object())
        return false;
    json edited = saved;
    bool changed = false;
    for (auto& [key, value] : edited.items())
    {
        if (key == "Type" || IsStateKey(key) || std::find(shown.begin(), shown.end(), key) != shown.end())
            continue;
        ImGui::PushID(key.c_str());
        changed |= DrawValue(key, value);
        ImGui::PopID();
    }
    if (!changed)
        return false;

    const std::string type = saved.value("Type", std::string("component"));
    const std::string owner = component.Parent ? component.Parent->Name : std::string();
    try
    {
        component.Read(ReadableForm(edited));
    }
    catch (const std::exception& error)
    {
        Log("EDITOR: [", owner, "] ", type, " refused the edit: ", error.what());
        try
        {
            component.Read(ReadableForm(saved));
        }
        catch (const std::exception&)
        {
            // It was read from this very form before; should it refuse it now, it keeps what it has.
        }
        return false;
    }
    HasUnsavedChanges = true;
    return true;
}
