#include "tests/editor/EditorFixture.h"

#include "editor/EditorPanels.h"
#include "editor/EditorPanels_Shared.h"
#include "engine/EditorState.h"
#include "engine/JsonFile.h"
#include "game/BehaviorCountBoard.h"
#include "scene/Archetypes.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/SceneSystem.h"
#include "tests/editor/EditorTestKit.h"

#include <algorithm>
#include <filesystem>

namespace
{
void ResetEditor()
{
    ResetEditorState();
    ArchetypeNameBuffer[0] = '\0';
    SelectedSongIndex = -1;
    if (ArchetypeCache)
        ArchetypeCache->Clear();
}

const ImVec2 Display{1920, 4000};
}   // namespace

// The two columns of the scene editor window, each in the child region it gets there.
void DrawEditorColumns(const char* host)
{
    ImGui::SetNextWindowPos({0, 0});
    ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize);
    ImGui::Begin(host, nullptr,
                 ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings);
    ImGui::BeginChild("OutlinerPanel", ImVec2(ImGui::GetContentRegionAvail().x * 0.4f, 0), true);
    DrawOutlinerPanel();
    ImGui::EndChild();
    ImGui::SameLine();
    ImGui::BeginChild("InspectorPanel", ImVec2(0, 0), true);
    DrawInspectorPanel();
    ImGui::EndChild();
    ImGui::End();
}

namespace
{
}   // namespace

EditorFixture::EditorFixture() : deadMax(BehaviorCountBoard::DeadMax), exitMax(BehaviorCountBoard::ExitMax)
{
    ImGui::GetIO().DisplaySize = Display;
    ui.body = [] { DrawEditorColumns(Host); };
    namespace fs = std::filesystem;
    const fs::path game = fs::path(ZOVERAV_SOURCE_DIR) / "Data";
    const fs::path data = flow.DataFolder();
    for (const char* file :
         {"Parts/Prim_Plane.xobj", "Parts/Prim_Cube.xobj", "Textures/White.png", "Textures/Black.png",
          "Textures/Block.png", "Levels/Level1.png", "Levels/Level2.png", "Levels/debug.json"})
    {
        fs::create_directories((data / file).parent_path());
        fs::copy_file(game / file, data / file);
    }
    ResetEditor();
    EXPECT_TRUE(SceneSystem::GetInstance().LoadScene(ScenePath));
    Frames();
}

EditorFixture::~EditorFixture()
{
    ResetEditor();
    BehaviorCountBoard::DeadMax = deadMax;   // the scene's count board set the shared limits
    BehaviorCountBoard::ExitMax = exitMax;
}

MainScene& EditorFixture::Scene() const { return *SceneSystem::GetInstance().CurrentScene(); }

std::vector<Entity*> EditorFixture::Entities() const { return Scene().entities.GetEntities(); }

std::vector<Entity*> EditorFixture::Named(const std::string& name) const
{
    std::vector<Entity*> found;
    for (Entity* e : Entities())
        if (e->Name == name)
            found.push_back(e);
    return found;
}

void EditorFixture::SaveAndReload()
{
    ASSERT_TRUE(Scene().OverwriteFile(ScenePath));
    HasUnsavedChanges = false;
    SelectedEntity = nullptr;
    ASSERT_TRUE(SceneSystem::GetInstance().LoadScene(ScenePath));
    Frames();
}

json EditorFixture::SavedScene() const
{
    json document;
    EXPECT_TRUE(ReadJsonFile(ScenePath, document));
    return document;
}

std::vector<HeadlessImGui::IdPart> EditorFixture::Row(const Entity* entity) const
{
    const std::vector<Entity*> all = Entities();
    const auto at = std::find(all.begin(), all.end(), entity);
    EXPECT_NE(at, all.end()) << "no row for an entity outside the scene";
    return {static_cast<int>(at - all.begin()), entity->Name + "##row"};
}

void EditorFixture::Frames(int count)
{
    for (int i = 0; i < count; ++i)
        ui.Frame();
}

bool EditorFixture::SelectRow(const Entity* entity) { return ui.ClickItem(Outliner(), Row(entity)); }

bool EditorFixture::ChooseFromRowMenu(const Entity* entity, const std::string& item)
{
    ImGuiWindow* menu = ui.ClickItem(Outliner(), Row(entity), 1) ? HeadlessImGui::TopPopup() : nullptr;
    return menu && ui.ClickItem(menu, {item});
}

bool EditorFixture::OpenHeader(const std::vector<HeadlessImGui::IdPart>& path)
{
    return ui.Open(Inspector(), path);
}
