// The outliner against a real scene: rows select, add, duplicate and delete entities by
// identity; archetypes are listed, placed and saved; the selection never outlives its entity.
#include "editor/EditorPanels_Shared.h"
#include "engine/EditorState.h"
#include "engine/JsonFile.h"
#include "graphics/Sprite.h"
#include "scene/Archetypes.h"
#include "scene/Entity.h"
#include "scene/EntityList.h"
#include "scene/SceneSystem.h"
#include "tests/editor/EditorFixture.h"
#include "ui/ButtonComponent.h"
#include "ui/HoverResponse.h"

#include <algorithm>
#include <filesystem>

using OutlinerTest = EditorFixture;

TEST_F(OutlinerTest, AClickOnARowSelectsThatVeryEntity)
{
    const std::vector<Entity*> crates = Named("Crate");
    ASSERT_EQ(crates.size(), 2u);
    ASSERT_TRUE(SelectRow(crates[1]));
    EXPECT_EQ(SelectedEntity, crates[1]);
    ASSERT_TRUE(SelectRow(crates[0]));
    EXPECT_EQ(SelectedEntity, crates[0]);
    EXPECT_FALSE(HasUnsavedChanges);
}

TEST_F(OutlinerTest, AddEntityPlacesAnEmptyUnnamedEntityEachTimeAndSelectsIt)
{
    const size_t before = Entities().size();
    ASSERT_TRUE(ui.ClickItem(Outliner(), {"+ Add Entity"}));
    ASSERT_TRUE(ui.ClickItem(Outliner(), {"+ Add Entity"}));
    const std::vector<Entity*> added = Named("unnamed");
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(Entities().size(), before + 2);
    EXPECT_EQ(SelectedEntity, added[1]);
    EXPECT_TRUE(added[1]->components.empty());
    EXPECT_FALSE(added[1]->IsDestroyed);
    EXPECT_TRUE(HasUnsavedChanges);
}

TEST_F(OutlinerTest, DuplicateNamesTheCopyAfterItsSourceAndNeverCopiesTheCamera)
{
    Entity* crate = Named("Crate")[0];
    ASSERT_TRUE(ChooseFromRowMenu(crate, "Duplicate"));
    ASSERT_EQ(Named("Crate_copy").size(), 1u);
    Entity* copy = Named("Crate_copy")[0];
    EXPECT_EQ(SelectedEntity, copy);
    EXPECT_TRUE(HasUnsavedChanges);
    ASSERT_EQ(copy->components.size(), crate->components.size());
    for (const Component* c : copy->components)
        EXPECT_EQ(c->Parent, copy);

    Frames();   // the copy has a row from the next frame on
    ASSERT_TRUE(ChooseFromRowMenu(copy, "Duplicate"));
    EXPECT_EQ(Named("Crate_copy_copy").size(), 1u);

    ASSERT_TRUE(ChooseFromRowMenu(Named("")[0], "Duplicate"));
    EXPECT_EQ(Named("Entity_copy").size(), 1u);

    const size_t before = Entities().size();
    Entity* camera = Named("MainCamera")[0];
    ChooseFromRowMenu(camera, "Duplicate");
    ChooseFromRowMenu(camera, "Delete");
    EXPECT_EQ(Entities().size(), before) << "the camera can be neither duplicated nor deleted";
    ASSERT_TRUE(SelectRow(camera));
    EXPECT_EQ(SelectedEntity, camera) << "but it can be selected";
}

TEST_F(OutlinerTest, DeleteRemovesTheRowThatWasClickedWhateverItsName)
{
    const std::vector<Entity*> crates = Named("Crate");
    ASSERT_TRUE(SelectRow(crates[1]));
    ASSERT_TRUE(ChooseFromRowMenu(crates[1], "Delete"));
    EXPECT_EQ(Named("Crate"), std::vector<Entity*>{crates[0]}) << "the second crate went, not the first";
    EXPECT_EQ(SelectedEntity, nullptr);
    EXPECT_TRUE(HasUnsavedChanges);
    EXPECT_EQ(std::count(Scene().EntityNames.begin(), Scene().EntityNames.end(), "Crate"), 1);

    Frames();
    Entity* nameless = Named("")[0];
    HasUnsavedChanges = false;
    ASSERT_TRUE(ChooseFromRowMenu(nameless, "Delete"));
    EXPECT_TRUE(Named("").empty()) << "an entity without a name can be deleted too";
    EXPECT_TRUE(HasUnsavedChanges);

    Frames();
    SaveAndReload();
    std::vector<std::string> names;
    for (const Entity* e : Entities())
        names.push_back(e->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"MainCamera", "Crate", "Walker", "Ball", "Terrain", "Spawner",
                                               "Board", "Music", "Switch", "Bot"}));
}

TEST_F(OutlinerTest, ArchetypesAreListedOncePerNamePlacedInTheSceneAndSavedFromTheSelection)
{
    ASSERT_TRUE(ui.ClickItem(Outliner(), {"Load Archetypes"}));
    ASSERT_TRUE(ui.ItemRect(Outliner(), {1, "+ Lamp"}));
    ASSERT_TRUE(ui.ClickItem(Outliner(), {0, "+ Knob"}));
    ASSERT_EQ(Named("Knob").size(), 1u);
    Entity* knob = Named("Knob")[0];
    EXPECT_EQ(SelectedEntity, knob);
    EXPECT_TRUE(HasUnsavedChanges);
    EXPECT_FALSE(knob->IsSpawned) << "placed by hand: saved with the scene";

    // A second archetype of a known name gets no button of its own.
    Entity* twin = new Entity();
    twin->Name = "Lamp";
    ArchetypeCache->Add(twin);
    Frames();
    EXPECT_FALSE(ui.ItemRect(Outliner(), {2, "+ Lamp"}));

    // The selection saved as an archetype is listed from then on and its file written.
    ASSERT_TRUE(SelectRow(Named("Walker")[0]));
    ASSERT_TRUE(ui.ClickItem(Outliner(), {"Use Current Name"}));
    EXPECT_STREQ(ArchetypeNameBuffer, "Walker");
    ASSERT_TRUE(ui.ClickItem(Outliner(), {"Save##Archetype"}));
    EXPECT_STREQ(ArchetypeNameBuffer, "");
    json saved;
    ASSERT_TRUE(ReadJsonFile("Data/Entities/Walker.json", saved));
    EXPECT_EQ(saved.at("Name"), "Walker");
    EXPECT_EQ(saved.at("Components").size(), 3u);
    EXPECT_NE(ArchetypeCache->FindByName("Walker"), nullptr);
    Frames();
    const std::vector<Entity*> cached = ArchetypeCache->GetEntities();
    const auto walker = std::find(cached.begin(), cached.end(), ArchetypeCache->FindByName("Walker"));
    EXPECT_TRUE(ui.ItemRect(Outliner(), {static_cast<int>(walker - cached.begin()), "+ Walker"}));
}

TEST_F(OutlinerTest, AnArchetypeNameThatIsNoPlainFileNameIsRefusedBeforeAnyFileIsWritten)
{
    ASSERT_TRUE(SelectRow(Named("Walker")[0]));
    // Text typed into Dear ImGui is always valid UTF-8; SaveArchetype's own test covers the rest.
    for (const std::string name : {"../Escaped", "sub/Walker", ".."})
    {
        SCOPED_TRACE(name);
        ASSERT_TRUE(ui.ClickItem(Outliner(), {"##ArchetypeName"}));
        ui.SelectAll();
        ui.Type(name.c_str());
        ASSERT_EQ(std::string(ArchetypeNameBuffer), name);
        ASSERT_TRUE(ui.ClickItem(Outliner(), {"Save##Archetype"}));
        ASSERT_NE(HeadlessImGui::TopPopup(), nullptr) << "the error popup is open";
        EXPECT_TRUE(ui.ClickItem(HeadlessImGui::TopPopup(), {"OK"}));
        EXPECT_EQ(HeadlessImGui::TopPopup(), nullptr);
    }
    namespace fs = std::filesystem;
    EXPECT_FALSE(fs::exists(flow.DataFolder() + "/Escaped.json"));
    EXPECT_FALSE(fs::exists(flow.DataFolder() + "/Entities/sub"));
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(flow.DataFolder() + "/Entities"))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Knob.json", "Lamp.json"}));
}

TEST_F(OutlinerTest, PlacedArchetypesAndCopiesWorkAtOnceWithoutASaveAndReload)
{
    const auto tint = [](const Entity* e) { return e->GetComponent<Sprite>()->request->tint[0]; };
    ASSERT_TRUE(ui.ClickItem(Outliner(), {"Load Archetypes"}));
    ASSERT_TRUE(ui.ClickItem(Outliner(), {0, "+ Knob"}));
    Entity* knob = Named("Knob")[0];
    auto* clicks = knob->GetComponent<ButtonComponent>();
    ASSERT_NE(clicks, nullptr) << "the button added its component when it was post-created";
    ASSERT_EQ(clicks->Callbacks.size(), 1u);
    clicks->NotifyState(ButtonComponent::Pressed);
    EXPECT_FLOAT_EQ(tint(knob), 0.5f) << "the placed button responds";
    clicks->NotifyState(ButtonComponent::Idle);

    Frames();
    ASSERT_TRUE(ChooseFromRowMenu(knob, "Duplicate"));
    Entity* copy = Named("Knob_copy")[0];
    auto* copyClicks = copy->GetComponent<ButtonComponent>();
    ASSERT_NE(copyClicks, clicks);
    ASSERT_EQ(copyClicks->Callbacks.size(), 1u) << "its own button's callback, on its own component";
    copyClicks->NotifyState(ButtonComponent::Pressed);
    EXPECT_FLOAT_EQ(tint(copy), 0.5f) << "the copy responds";
    EXPECT_FLOAT_EQ(tint(knob), 1.0f) << "and only the copy";
    EXPECT_EQ(copy->components.back(), copyClicks) << "sorted as a read entity is";
}

TEST_F(OutlinerTest, DeletingAHoverChildOrItsButtonLeavesNothingToFollow)
{
    Scene().AddEntity(Entity::CreateFromJSON(json::parse(R"({"Name": "Hover", "Components": [
        {"Type": "Transform"}, {"Type": "Sprite", "Texture": "White"}, {"Type": "Button"},
        {"Type": "HoverResponse", "Children": ["Glow", "Glow"]}]})")));
    flow.Frame();   // the button builds its children
    ASSERT_EQ(Named("Glow").size(), 2u);
    Entity* button = Named("Hover")[0];
    auto* clicks = button->GetComponent<ButtonComponent>();

    Frames();
    ASSERT_TRUE(ChooseFromRowMenu(Named("Glow")[0], "Delete"));
    ASSERT_EQ(Named("Glow").size(), 1u);
    clicks->NotifyState(ButtonComponent::Pressed);   // the button's response passes the deleted child
    EXPECT_FLOAT_EQ(Named("Glow")[0]->GetComponent<Sprite>()->request->tint[0], HoverResponse::HeldShade);
    flow.Frame();

    Frames();
    ASSERT_TRUE(ChooseFromRowMenu(button, "Delete"));
    flow.Frame();   // the other child leaves with its button
    EXPECT_TRUE(Named("Glow").empty());
    flow.Frame();
}
