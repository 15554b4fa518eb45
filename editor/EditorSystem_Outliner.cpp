// The outliner: adding an empty entity, the archetypes (placed in the scene, or made from the
// selection), and the current scene's entities, selected by a click and duplicated or deleted
// from their context menu. Rows stand for entities by identity, never by name.
#include "editor/EditorPanels.h"
#include "editor/EditorPanels_Shared.h"
#include "engine/EditorState.h"
#include "engine/TraceSystem.h"
#include "scene/Archetypes.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/SceneSystem.h"
#include "scene/Selection.h"

#include <algorithm>
#include <imgui.h>
#include <string>
#include <vector>

char ArchetypeNameBuffer[256] = "";

namespace
{
const ImVec4 Green{0.6f, 1.0f, 0.6f, 1.0f};
const ImVec4 Lilac{0.8f, 0.8f, 1.0f, 1.0f};

bool IsPlaceholderName(const std::string& name)
{
    return name.empty() || name == "unnamed" || name == "UnnamedEntity" || name == "default";
}

void Gap()
{
    ImGui::Spacing();
    ImGui::Separator();
    ImGui::Spacing();
}

void DrawArchetypeList()
{
    const std::vector<Entity*> cached =
        ArchetypeCache ? ArchetypeCache->GetEntities() : std::vector<Entity*>{};
    if (cached.empty())
    {
        ImGui::TextDisabled("No archetypes found in Data/Entities/");
        if (ImGui::Button("Load Archetypes", ImVec2(-1, 0)))
            LoadAllArchetypes();
        return;
    }
    std::vector<std::string> shown;
    for (size_t i = 0; i < cached.size(); ++i)
    {
        const Entity* archetype = cached[i];
        if (!archetype || std::find(shown.begin(), shown.end(), archetype->Name) != shown.end())
            continue;   // the first archetype of a name wins
        shown.push_back(archetype->Name);
        ImGui::PushID(static_cast<int>(i));
        if (ImGui::Button(("+ " + archetype->Name).c_str(), ImVec2(-1, 0)))
            SpawnArchetype(*archetype);
        if (ImGui::IsItemHovered())
        {
            const auto sameName = std::count_if(cached.begin(), cached.end(), [&](const Entity* e) {
                return e && e->Name == archetype->Name;
            });
            ImGui::BeginTooltip();
            ImGui::Text("Archetype: %s", archetype->Name.c_str());
            if (sameName > 1)
                ImGui::TextColored({1.0f, 0.5f, 0.5f, 1.0f}, "Multiple files use this name (%d files)",
                                   static_cast<int>(sameName));
            ImGui::TextUnformatted("Click to instantiate in scene");
            ImGui::EndTooltip();
        }
        ImGui::PopID();
    }
    ImGui::Spacing();
    ImGui::TextDisabled("Total: %d unique archetypes", static_cast<int>(shown.size()));
    if (shown.size() < cached.size())
    {
        ImGui::TextColored({1.0f, 0.5f, 0.0f, 1.0f}, "%d duplicate names found",
                           static_cast<int>(cached.size() - shown.size()));
        ItemTooltip("Multiple JSON files have entities with the same Name field");
    }
}

void DrawSaveAsArchetype(const Entity& selected)
{
    Gap();
    ImGui::TextColored(Lilac, "Save Selection as Archetype");
    ImGui::InputText("##ArchetypeName", ArchetypeNameBuffer, sizeof ArchetypeNameBuffer);
    ImGui::SameLine();
    ImGui::BeginDisabled(ArchetypeNameBuffer[0] == '\0');
    if (ImGui::Button("Save##Archetype"))
    {
        if (ArchetypeNameBuffer[0] == '\0')
            TraceMessage("Please enter a name for the archetype");
        else if (SaveArchetype(ArchetypeNameBuffer))
        {
            ArchetypeNameBuffer[0] = '\0';
            LoadAllArchetypes();
        }
        else
            ImGui::OpenPopup("SaveArchetypeError");
    }
    ImGui::EndDisabled();
    if (ImGui::BeginPopup("SaveArchetypeError"))
    {
        ImGui::TextColored({1.0f, 0.4f, 0.4f, 1.0f}, "Failed to save archetype!");
        ImGui::TextUnformatted("Check the console for details.");
        if (ImGui::Button("OK"))
            ImGui::CloseCurrentPopup();
        ImGui::EndPopup();
    }
    if (!IsPlaceholderName(selected.Name))
    {
        ImGui::TextDisabled("Suggestion: %s", selected.Name.c_str());
        if (ImGui::SmallButton("Use Current Name"))
            CopyToBuffer(ArchetypeNameBuffer, sizeof ArchetypeNameBuffer, selected.Name);
    }
}

void DrawEntityRows(MainScene& scene)
{
    const std::vector<Entity*> rows = scene.entities.GetEntities();
    for (size_t i = 0; i < rows.size(); ++i)
    {
        Entity* entity = rows[i];
        // A row deleted from an earlier row's menu in this walk is gone: never follow it.
        if (!entity || !scene.entities.Contains(entity))
            continue;
        ImGui::PushID(static_cast<int>(i));
        if (ImGui::Selectable((entity->Name + "##row").c_str(), entity == SelectedEntity))
            SelectedEntity = entity;
        if (ImGui::BeginPopupContextItem())
        {
            const bool editable = entity->Name != "MainCamera";
            if (ImGui::MenuItem("Duplicate", nullptr, false, editable))
                DuplicateEntity(*entity);
            if (ImGui::MenuItem("Delete", nullptr, false, editable))
                DeleteEntityFromScene(entity);
            ImGui::EndPopup();
        }
        ImGui::PopID();
    }
}
}   // namespace

void DrawOutlinerPanel()
{
    MainScene* scene = SceneSystem::GetInstance().CurrentScene();

    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(4, 4));
    if (ImGui::Button("Reload Archetypes"))
        TraceMessage("%s", LoadAllArchetypes() ? "All archetypes reloaded from JSON files"
                                               : "Failed to reload archetypes");
    ImGui::SameLine();
    if (ImGui::Button("+ Add Entity") && scene)
    {
        Entity* entity = new Entity();
        entity->Name = "unnamed";
        AddEntityToScene(entity);
    }
    ImGui::PopStyleVar();

    Gap();
    ImGui::TextColored(Green, "Available Archetypes");
    ImGui::SameLine();
    if (ImGui::SmallButton("Reload##Archetypes") && LoadAllArchetypes())
        TraceMessage("Archetypes reloaded");
    ItemTooltip("Reload all archetypes from Data/Entities/ folder");
    ImGui::Separator();
    DrawArchetypeList();

    if (const Entity* selected = CheckedSelection())
        DrawSaveAsArchetype(*selected);

    Gap();
    ImGui::TextColored(Lilac, "Scene Entities");
    ImGui::Separator();
    if (scene)
        DrawEntityRows(*scene);
}
