// The inspector's behaviour section: an entity has at most one behaviour kind (a spawner, a
// count board, a music player or a button), shown selected in a list; choosing another kind
// replaces it, and each kind's values are edited below its entry.
#include "audio/AudioRegistry.h"
#include "editor/EditorPanels_Shared.h"
#include "engine/EditorState.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorSpawner.h"
#include "game/MusicPlayer.h"
#include "scene/Entity.h"
#include "scene/Selection.h"
#include "ui/BehaviorDestructButton.h"
#include "ui/BehaviorJobButton.h"
#include "ui/BehaviorSceneButton.h"

#include <algorithm>
#include <imgui.h>
#include <string>

int SelectedSongIndex = -1;

namespace
{
enum Kind
{
    NoKind = -1,
    SpawnerKind = 0,
    CountBoardKind = 1,
    MusicKind = 2,
    ButtonKind = 3,
};

struct KindOf
{
    int kind = NoKind;
    int buttonKind = 0;   // for ButtonKind: see ButtonKinds
    Component* component = nullptr;
};

// The first test that holds decides. A job button's sub-kind follows the entity's name, not
// the button's job.
KindOf KindOfEntity(const Entity& entity)
{
    if (auto* spawner = entity.GetComponent<BehaviorSpawner>())
        return {SpawnerKind, 0, spawner};
    if (auto* board = entity.GetComponent<BehaviorCountBoard>())
        return {CountBoardKind, 0, board};
    if (auto* music = entity.GetComponent<MusicPlayer>())
        return {MusicKind, 0, music};
    if (auto* job = entity.GetComponent<BehaviorJobButton>())
    {
        const std::string& name = entity.Name;
        const int sub = name == "MonkeyBlockerButton"  ? 1
                        : name == "MonkeyLadderButton" ? 4
                        : name == "MonkeyDigButton"    ? 5
                        : name == "MonkeyBridgeButton" ? 6
                                                       : 0;
        return {ButtonKind, sub, job};
    }
    if (auto* scene = entity.GetComponent<BehaviorSceneButton>())
        return {ButtonKind, 2, scene};
    if (auto* destruct = entity.GetComponent<BehaviorDestructButton>())
        return {ButtonKind, 3, destruct};
    if (auto* button = entity.GetComponent<Button>())
        return {ButtonKind, 0, button};
    return {};
}

struct ButtonKindEntry
{
    const char* label;
    int sub;
    Component* (*make)();
    const char* tooltip;
};
Component* MakeJobButton() { return new BehaviorJobButton(); }
const ButtonKindEntry ButtonKinds[] = {
    {"Blocker Button", 1, MakeJobButton, "Button that sets monkey blocking job"},
    {"Scene Button", 2, [] { return static_cast<Component*>(new BehaviorSceneButton()); },
     "Button that loads or reloads scenes"},
    {"Self Destruct Button", 3, [] { return static_cast<Component*>(new BehaviorDestructButton()); },
     nullptr},
    {"Ladder Button", 4, MakeJobButton, nullptr},
    {"Dig Button", 5, MakeJobButton, nullptr},
    {"Bridge Button", 6, MakeJobButton, nullptr},
};

// The entity's behaviour of the current kind goes, and the new component takes its place.
void Replace(Entity& entity, int currentKind, Component* made)
{
    RemoveBehaviorsOfKind(currentKind);
    AddComponentInPlay(entity, made);
}

void DrawSpawner(BehaviorSpawner& spawner)
{
    ImGui::Text("Total Monkeys Currently Spawned: %i", spawner.SpawnCount);
    int most = spawner.MonkeySpawnCountMax;
    // The label shows the stored maximum; the id after "###" keeps the field while it changes.
    const std::string label = "Maximum Spawnable Monkeys: " + std::to_string(most) + "###SpawnMax";
    if (ImGui::InputInt(label.c_str(), &most, 1, 100, ImGuiInputTextFlags_None))
    {
        most = std::clamp(most, 1, 255);
        if (most != spawner.MonkeySpawnCountMax)
        {
            spawner.MonkeySpawnCountMax = most;
            HasUnsavedChanges = true;
        }
    }
    DrawSavedFields(spawner, {"SpawnCount", "MonkeySpawnCountMax"});
    ImGui::Separator();
}

void DrawCountBoard()
{
    int dead = BehaviorCountBoard::DeadMax, exits = BehaviorCountBoard::ExitMax;
    SeparatorText("Loss Condition: ");
    bool changed = ImGui::InputInt("Dead Bots", &dead, 1, 5);
    SeparatorText("Win Condition: ");
    changed |= ImGui::InputInt("Bots to finish line", &exits, 1, 5);
    if (changed)
    {
        // Shared by every count board.
        BehaviorCountBoard::DeadMax = std::clamp(dead, 1, 255);
        BehaviorCountBoard::ExitMax = std::clamp(exits, 1, 255);
        HasUnsavedChanges = true;
    }
    ImGui::Separator();
}

void DrawMusicPlayer()
{
    MusicPlayer* player = FindSelectedMusicPlayer();
    const std::vector<SoundEntry>& sounds = AudioRegistry::GetInstance();
    // The index follows the player's song: another entity's player shows its own.
    const bool stale = SelectedSongIndex < 0 || SelectedSongIndex >= static_cast<int>(sounds.size()) ||
                       (player && sounds[static_cast<size_t>(SelectedSongIndex)].Name != player->SongName);
    if (player && stale && !player->SongName.empty())
    {
        SelectedSongIndex = -1;
        for (size_t i = 0; i < sounds.size() && SelectedSongIndex < 0; ++i)
            if (sounds[i].Name == player->SongName)
                SelectedSongIndex = static_cast<int>(i);
    }
    ImGui::Indent();
    for (size_t i = 0; i < sounds.size(); ++i)
    {
        if (sounds[i].Bus != SoundBus::Music)
            continue;
        ImGui::PushID(static_cast<int>(i));
        SeparatorText("Song: ");
        if (ImGui::Selectable(sounds[i].Name.c_str(), static_cast<int>(i) == SelectedSongIndex))
        {
            SelectedSongIndex = static_cast<int>(i);
            if (player)
            {
                // The song playing goes on; the player starts this one when it next starts.
                player->SongName = sounds[i].Name;
                HasUnsavedChanges = true;
            }
        }
        ImGui::PopID();
    }
    SeparatorText("Volume: ");
    float volume = player ? player->Volume : 0.0f;
    if (ImGui::InputFloat("Volume", &volume, 0.01f, 0.0f, "%.3f") && player)
    {
        player->Volume = volume;
        HasUnsavedChanges = true;
    }
    ImGui::Unindent();
}

void DrawButtonKinds(Entity& entity, const KindOf& current)
{
    ImGui::Indent();
    bool replaced = false;
    for (const ButtonKindEntry& entry : ButtonKinds)
    {
        if (ImGui::Selectable(entry.label, current.buttonKind == entry.sub) &&
            current.buttonKind != entry.sub && !replaced)
        {
            // The four button removals of the kind, whichever of them finds something.
            Replace(entity, ButtonKind, entry.make());
            replaced = true;
        }
        if (entry.tooltip)
            ItemTooltip(entry.tooltip);
    }
    if (!replaced)
        DrawSavedFields(*current.component);
    ImGui::Unindent();
}
}   // namespace

const Component* BehaviorSectionComponent(const Entity& entity) { return KindOfEntity(entity).component; }

void DrawBehaviorSection()
{
    Entity* entity = CheckedSelection();
    if (!entity || !ImGui::CollapsingHeader("Behaviors"))
        return;
    const KindOf current = KindOfEntity(*entity);

    if (ImGui::Selectable("None", current.kind == NoKind) && current.kind != NoKind)
    {
        RemoveBehaviorsOfKind(current.kind);
        HasUnsavedChanges = true;
        return;
    }

    if (ImGui::Selectable("Behavior Spawner", current.kind == SpawnerKind) && current.kind != SpawnerKind)
        return Replace(*entity, current.kind, new BehaviorSpawner());
    ItemTooltip("Spawns monkeys when spacebar is pressed");
    if (current.kind == SpawnerKind)
        DrawSpawner(*static_cast<BehaviorSpawner*>(current.component));

    if (ImGui::Selectable("Behavior Count Board", current.kind == CountBoardKind) &&
        current.kind != CountBoardKind)
        return Replace(*entity, current.kind, new BehaviorCountBoard());
    ItemTooltip("Tracks win/lose conditions based on monkey counts");
    if (current.kind == CountBoardKind)
        DrawCountBoard();

    if (ImGui::Selectable("Behavior Music Player", current.kind == MusicKind) && current.kind != MusicKind)
    {
        SelectedSongIndex = -1;
        return Replace(*entity, current.kind, new MusicPlayer());
    }
    ItemTooltip("Sets Background Music");
    if (current.kind == MusicKind)
        DrawMusicPlayer();

    if (ImGui::Selectable("Button", current.kind == ButtonKind) && current.kind != ButtonKind)
        return Replace(*entity, current.kind, new Button());
    ItemTooltip("Base button component for UI interactions");
    if (current.kind == ButtonKind)
        DrawButtonKinds(*entity, current);
}
