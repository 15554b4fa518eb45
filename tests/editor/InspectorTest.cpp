// The inspector against a real scene: the selection checked before each use, the name and every
// kind of component edited with real input and carried through a save and a reload, and the
// dependencies between components kept when they are added and removed.
#include "editor/EditorPanels_Shared.h"
#include "engine/EditorState.h"
#include "engine/JsonFile.h"
#include "engine/MessagingSystem.h"
#include "game/BehaviorCountBoard.h"
#include "game/BehaviorSpawner.h"
#include "game/ColliderCircle.h"
#include "game/EntityKiller.h"
#include "game/MusicPlayer.h"
#include "game/Physics.h"
#include "game/PixelGrid.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ParticleEmitter.h"
#include "graphics/Sprite.h"
#include "graphics/TextureLibrary.h"
#include "scene/ComponentRegistry.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"
#include "tests/common/TraceCapture.h"
#include "tests/editor/EditorFixture.h"
#include "ui/BehaviorJobButton.h"
#include "ui/BehaviorSceneButton.h"
#include "ui/ButtonComponent.h"

#include <filesystem>

using IdPath = std::vector<HeadlessImGui::IdPart>;

namespace
{
class InspectorTest : public EditorFixture
{
protected:
    // The first entity of the name, as the scene lists them.
    Entity* First(const std::string& name) const
    {
        const std::vector<Entity*> found = Named(name);
        EXPECT_FALSE(found.empty()) << name;
        return found.empty() ? nullptr : found[0];
    }
    bool Select(const std::string& name) { return SelectRow(First(name)); }

    // A key of the entity's first component of that type in its saved form, an element of it
    // when index is given.
    static json Saved(const json& entity, const std::string& type, const std::string& key, int index = -1)
    {
        for (const json& component : entity.at("Components"))
            if (component.is_object() && component.value("Type", "") == type)
                return index < 0 ? component.at(key) : component.at(key).at(static_cast<size_t>(index));
        ADD_FAILURE() << "no " << type << " in " << entity.dump();
        return nullptr;
    }
    static json Written(const Entity& entity)
    {
        json out;
        entity.WriteContent(out);
        return out;
    }
    static double Number(const json& value)
    {
        return value.is_boolean() ? value.get<bool>() : value.get<double>();
    }
    json FromFile(const std::string& name) const
    {
        const json scene = SavedScene();
        for (const json& entity : scene.at("Entities"))
            if (entity.is_object() && entity.value("Name", "") == name)
                return entity;
        ADD_FAILURE() << name << " is not in the scene file";
        return json::object();
    }
};
}   // namespace

TEST_F(InspectorTest, NoSelectionOrAnEntityOutsideTheCurrentSceneShowsNothingToEdit)
{
    EXPECT_FALSE(ui.ItemRect(Inspector(), {"Name"}));
    ASSERT_TRUE(Select("Walker"));
    EXPECT_TRUE(ui.ItemRect(Inspector(), {"Name"}));

    Entity* walker = First("Walker");
    struct Case
    {
        const char* how;
        std::function<void()> kill;
    } cases[] = {
        {"marked destroyed, not deleted yet", [&] { walker->IsDestroyed = true; }},
        {"deleted in the entity list's update", [&] { walker->IsDestroyed = true, flow.Frame(); }},
        {"killed by its entity killer",
         [&] {
             auto* killer = new EntityKiller();
             killer->Timer = 0.01f;
             walker->AddAndPostCreate(killer);
             flow.Frame(0.02f), flow.Frame(0.02f);
         }},
        {"the scene replaced", [&] { ASSERT_TRUE(SceneSystem::GetInstance().LoadScene(ScenePath)); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.how);
        ASSERT_TRUE(SceneSystem::GetInstance().LoadScene(ScenePath));
        Frames();
        walker = First("Walker");
        ASSERT_TRUE(SelectRow(walker));
        c.kill();
        Frames();   // the panels look at the selection before they use it
        EXPECT_EQ(SelectedEntity, nullptr);
        EXPECT_FALSE(ui.ItemRect(Inspector(), {"Name"}));
    }

    // A selection that points into another scene (an overlay's entity) is no selection here.
    Entity stranger;
    stranger.Name = "Stranger";
    SelectedEntity = &stranger;
    Frames();
    EXPECT_EQ(SelectedEntity, nullptr);
}

TEST_F(InspectorTest, TheNameIsEditedInPlaceAndNoSecondCameraCanBeMadeByRenaming)
{
    ASSERT_TRUE(Select("Walker"));
    Entity* walker = First("Walker");
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Name"}));
    ui.SelectAll();
    ui.Type("Runner");
    EXPECT_EQ(walker->Name, "Runner");
    EXPECT_TRUE(HasUnsavedChanges);
    ui.SelectAll();
    ui.Type("MainCamera");
    EXPECT_EQ(walker->Name, "unnamed");

    ASSERT_TRUE(Select("MainCamera"));
    EXPECT_FALSE(ui.ItemRect(Inspector(), {"Name"})) << "the camera's name cannot be edited";
}

TEST_F(InspectorTest, EveryKindOfFieldIsEditedLiveAndCarriedThroughSaveAndReload)
{
    enum class Input
    {
        Drag,    // Control+click turns it into a text field
        Field,   // a text or number field: click and type
        Click,   // a check box
    };
    struct Case
    {
        const char* entity;
        std::vector<IdPath> open;   // headers to open first
        IdPath field;
        Input input;
        std::string typed;
        const char* type;   // where the value is saved
        const char* key;
        int index;
        double expected;
    };
    const Case cases[] = {
        {"Walker",
         {{"Transform"}},
         {"##Translation", 0, ""},
         Input::Drag,
         "12.5",
         "Transform",
         "Translation",
         0,
         12.5},
        {"Walker", {{"Transform"}}, {"##Rotation", 2, ""}, Input::Drag, "90", "Transform", "Rotation", 2, 90},
        {"Walker", {{"Transform"}}, {"##Scale", 1, ""}, Input::Drag, "3", "Transform", "Scale", 1, 3},
        {"Crate", {{"Sprite"}}, {"tint", "tint", "##Y"}, Input::Drag, "0.25", "Sprite", "tint", 1, 0.25},
        {"Walker",
         {{"Physics"}},
         {"##Max Velocity", 0, ""},
         Input::Drag,
         "2.5",
         "Physics",
         "MaxVelocity",
         0,
         2.5},
        {"Walker",
         {{"Physics"}},
         {"##Acceleration", 0, ""},
         Input::Drag,
         "-3",
         "Physics",
         "Acceleration",
         0,
         -3},
        {"Walker", {{"Physics"}}, {"##Gravity"}, Input::Drag, "3.5", "Physics", "Gravity", -1, 3.5},
        {"Walker", {{"Physics"}}, {"##Mass"}, Input::Drag, "4", "Physics", "Mass", -1, 4},
        {"Walker",
         {{0, "Animation##other"}},
         {0, "FrameDuration", "FrameDuration"},
         Input::Drag,
         "0.2",
         "Animation",
         "FrameDuration",
         -1,
         0.2},
        {"Ball",
         {{"Collider Circle"}},
         {"Radius"},
         Input::Drag,
         "1.75",
         "ColliderCircle",
         "Radius",
         -1,
         1.75},
        {"Terrain", {{"Pixel Grid"}}, {"##Origin", 1, ""}, Input::Drag, "-20", "PixelGrid", "Origin", 1, -20},
        {"Terrain", {{"Pixel Grid"}}, {"##CellSize"}, Input::Drag, "12", "PixelGrid", "CellSize", -1, 12},
        {"Spawner",
         {{"Behaviors"}},
         {"###SpawnMax", ""},
         Input::Field,
         "300",
         "BehaviorSpawner",
         "MonkeySpawnCountMax",
         -1,
         255},
        {"Spawner",
         {{"Behaviors"}},
         {"SpawnDuration", "SpawnDuration"},
         Input::Drag,
         "1.5",
         "BehaviorSpawner",
         "SpawnDuration",
         -1,
         1.5},
        {"Board",
         {{"Behaviors"}},
         {"Dead Bots", ""},
         Input::Field,
         "0",
         "BehaviorCountBoard",
         "DeadMax",
         -1,
         1},
        {"Board",
         {{"Behaviors"}},
         {"Bots to finish line", ""},
         Input::Field,
         "7",
         "BehaviorCountBoard",
         "ExitMax",
         -1,
         7},
        {"Music", {{"Behaviors"}}, {"Volume", ""}, Input::Field, "0.5", "MusicPlayer", "Volume", -1, 0.5},
        {"Switch", {{"Behaviors"}}, {"Enabled", "Enabled"}, Input::Click, "", "Button", "Enabled", -1, 0},
        {"Bot",
         {{0, "BehaviorMonkey##other"}},
         {0, "FallDeathThreshold", "FallDeathThreshold"},
         Input::Drag,
         "6",
         "BehaviorMonkey",
         "FallDeathThreshold",
         -1,
         6},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.entity) + " " + c.type + " " + c.key);
        ASSERT_TRUE(SceneSystem::GetInstance().LoadScene(ScenePath));
        HasUnsavedChanges = false;
        Frames();
        ASSERT_TRUE(Select(c.entity));
        for (const IdPath& header : c.open)
            ASSERT_TRUE(OpenHeader(header));
        switch (c.input)
        {
        case Input::Drag:
            ASSERT_TRUE(ui.EnterValue(Inspector(), c.field, c.typed.c_str()));
            break;
        case Input::Field:
            ASSERT_TRUE(ui.EnterText(Inspector(), c.field, c.typed.c_str()));
            break;
        case Input::Click:
            ASSERT_TRUE(ui.ClickItem(Inspector(), c.field));
            break;
        }
        EXPECT_TRUE(HasUnsavedChanges);
        EXPECT_NEAR(Number(Saved(Written(*First(c.entity)), c.type, c.key, c.index)), c.expected, 1e-5)
            << "the live component has the value at once";

        SaveAndReload();
        EXPECT_NEAR(Number(Saved(FromFile(c.entity), c.type, c.key, c.index)), c.expected, 1e-5)
            << "in the file";
        EXPECT_NEAR(Number(Saved(Written(*First(c.entity)), c.type, c.key, c.index)), c.expected, 1e-5)
            << "after the reload";
    }
}

TEST_F(InspectorTest, ATransformStaysWhileOthersNeedItAndTheyWaitForOne)
{
    Entity* crate = First("Crate");
    ASSERT_TRUE(SelectRow(crate));
    ASSERT_TRUE(OpenHeader({"Transform"}));
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Delete##Transform"}));
    EXPECT_NE(crate->GetComponent<Transform>(), nullptr) << "a sprite needs it";
    ui.Hover(Inspector(), {"Delete##Transform"});
    EXPECT_TRUE(ui.Shows("Delete dependent component first!")) << "over the greyed-out button";
    EXPECT_FALSE(HasUnsavedChanges);

    ASSERT_TRUE(OpenHeader({"Sprite"}));
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Delete##Sprite"}));
    EXPECT_EQ(crate->GetComponent<Sprite>(), nullptr);
    EXPECT_TRUE(HasUnsavedChanges);
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Delete##Transform"}));
    EXPECT_TRUE(crate->components.empty());

    // Without a Transform nothing that needs one can be added; the terrain does not need one.
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Add Sprite"}));
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Add Physics"}));
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Add Collider"}));
    EXPECT_TRUE(crate->components.empty());
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Add Pixel Grid"}));
    EXPECT_TRUE(crate->components.empty()) << "the scene has its terrain already";

    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Add Transform"}));
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Add Sprite"}));
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Add Physics"}));
    ASSERT_TRUE(OpenHeader({"Add Collider"}));
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Add Collider Circle"}));
    std::vector<int32_t> types;
    for (const Component* c : crate->components)
        types.push_back(c->TypeId);
    EXPECT_EQ(types, (std::vector<int32_t>{ComponentType::Collider, ComponentType::Physics,
                                           ComponentType::Sprite, ComponentType::Transform}))
        << "added components stand where reading would have put them";
    const Sprite* sprite = crate->GetComponent<Sprite>();
    EXPECT_EQ(MeshLibrary::GetInstance().GetName(sprite->request->mesh), "Prim_Plane");
    EXPECT_EQ(TextureLibrary::GetInstance().GetName(sprite->request->texture), "White");

    ASSERT_TRUE(ChooseFromRowMenu(First("Terrain"), "Delete"));
    ASSERT_TRUE(SelectRow(crate));
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Add Pixel Grid"}));
    EXPECT_NE(crate->GetComponent<PixelGrid>(), nullptr) << "the only terrain of the scene now";
}

TEST_F(InspectorTest, ABehaviourKindIsReplacedWholeAndNoneTakesItAway)
{
    MessagingSystem& messages = MessagingSystem::GetInstance();
    const auto subscribed = [&](const void* owner) {
        return std::count_if(messages.Subscribers().begin(), messages.Subscribers().end(),
                             [&](const Subscriber& s) { return s.owner == owner && s.lifetime != 0; });
    };

    // A spawner and a count board: shown as a spawner; the count board replaces the spawner.
    Entity* spawner = First("Spawner");
    spawner->AddAndPostCreate(new BehaviorCountBoard());
    ASSERT_TRUE(SelectRow(spawner));
    ASSERT_TRUE(OpenHeader({"Behaviors"}));
    EXPECT_TRUE(ui.ItemRect(Inspector(), {"###SpawnMax", ""}));
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Behavior Count Board"}));
    EXPECT_EQ(spawner->GetComponent<BehaviorSpawner>(), nullptr);
    EXPECT_EQ(spawner->components.size(), 2u) << "two count boards";
    EXPECT_TRUE(ui.ItemRect(Inspector(), {"Dead Bots", ""}));

    // "None" on an entity without a behaviour changes nothing.
    HasUnsavedChanges = false;
    ASSERT_TRUE(SelectRow(First("Walker")));
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"None"}));
    EXPECT_EQ(First("Walker")->components.size(), 3u);
    EXPECT_FALSE(HasUnsavedChanges);

    // A button becomes a job button: the old one leaves no callback behind, the new one listens.
    Entity* button = First("Switch");
    ASSERT_TRUE(SelectRow(button));
    auto* clicks = button->GetComponent<ButtonComponent>();
    ASSERT_EQ(clicks->Callbacks.size(), 1u);
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Blocker Button"}));
    auto* job = button->GetComponent<BehaviorJobButton>();
    ASSERT_NE(job, nullptr);
    ASSERT_EQ(clicks->Callbacks.size(), 1u);
    EXPECT_EQ(clicks->Callbacks[0].owner, job);
    EXPECT_EQ(subscribed(job), 1) << "the job button hears other buttons' clicks at once";
    EXPECT_TRUE(HasUnsavedChanges);

    // The sub-kind follows the entity's name, not the job: a ladder button stays one.
    button->Name = "MonkeyLadderButton";
    Frames();
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Dig Button"}));
    auto* dig = button->GetComponent<BehaviorJobButton>();
    ASSERT_NE(dig, nullptr);
    EXPECT_NE(dig, job) << "a new job button took the old one's place";
    EXPECT_EQ(subscribed(job), 0) << "the old job button's subscription went with it";
    EXPECT_EQ(button->Name, "MonkeyLadderButton");
    EXPECT_EQ(clicks->Callbacks.size(), 1u);

    // "None" takes the button away; its component stays, with nothing left to call.
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"None"}));
    EXPECT_EQ(button->GetComponent<Button>(), nullptr);
    EXPECT_TRUE(clicks->Callbacks.empty());
    EXPECT_EQ(subscribed(dig), 0);
    clicks->NotifyState(ButtonComponent::Pressed);   // reaches nothing that is gone

    // The four button removals of a kind: a scene button alone goes with the first of them.
    Entity* scene = First("Walker");
    scene->AddAndPostCreate(new BehaviorSceneButton());
    SelectedEntity = scene;
    RemoveBehaviorsOfKind(3);
    EXPECT_EQ(scene->GetComponent<Button>(), nullptr);

    ASSERT_TRUE(SelectRow(scene));
    SelectedSongIndex = 3;
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Behavior Music Player"}));
    EXPECT_NE(scene->GetComponent<MusicPlayer>(), nullptr);
    EXPECT_EQ(SelectedSongIndex, -1);
}

TEST_F(InspectorTest, ChoosersListOnlyTheirKindOfFileAndAPictureThatFailsKeepsTheOldChoice)
{
    namespace fs = std::filesystem;
    const std::string data = flow.DataFolder();
    for (const char* file : {"Textures/Notes.txt", "Textures/Upper.PNG", "Textures/Broken.png",
                             "Parts/Odd.obj", "Parts/Bad.xobj", "Levels/Broken.png", "shaders/base.vert",
                             "shaders/base.frag", "shaders/alpha.vert", "shaders/Line.vert"})
    {
        fs::create_directories(fs::path(data + "/" + file).parent_path());
        TempFolder::WriteFile(data + "/" + file, "not what its name says");
    }
    fs::create_directory(data + "/Textures/Folder.png");

    Entity* crate = First("Crate");
    ASSERT_TRUE(SelectRow(crate));
    ASSERT_TRUE(OpenHeader({"Sprite"}));
    const auto listed = [&](const char* chooser, const char* name) {
        return ui.ItemRect(Inspector(), {chooser, name}).has_value();
    };
    for (const char* name : {"White", "Black", "Block", "Broken"})
        EXPECT_TRUE(listed("Choose Texture", name)) << name;
    for (const char* name : {"Notes", "Upper", "Folder"})
        EXPECT_FALSE(listed("Choose Texture", name)) << name;
    EXPECT_TRUE(listed("Choose Mesh", "Prim_Cube"));
    EXPECT_TRUE(listed("Choose Mesh", "Bad"));
    EXPECT_FALSE(listed("Choose Mesh", "Odd"));
    EXPECT_TRUE(listed("Choose Shader", "alpha"));
    EXPECT_TRUE(listed("Choose Shader", "base"));
    EXPECT_FALSE(listed("Choose Shader", "Line")) << "the debug lines' shader";

    Graphics::DrawRequest& request = *crate->GetComponent<Sprite>()->request;
    TextureLibrary& textures = TextureLibrary::GetInstance();
    {
        TraceCapture trace;
        ASSERT_TRUE(ui.ClickItem(Inspector(), {"Choose Texture", "Broken"}));
        EXPECT_EQ(textures.GetName(request.texture), "White") << "the sprite keeps its texture";
        EXPECT_TRUE(trace.Contains("Texture \"Broken\" did not load")) << trace.All();
        EXPECT_FALSE(HasUnsavedChanges);
    }
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Choose Texture", "Block"}));
    EXPECT_EQ(textures.GetName(request.texture), "Block");
    EXPECT_TRUE(HasUnsavedChanges);

    const int mesh = request.mesh;
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Choose Mesh", "Bad"}));
    EXPECT_EQ(request.mesh, mesh) << "a mesh that does not load is not taken";
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Choose Mesh", "Prim_Cube"}));
    EXPECT_EQ(MeshLibrary::GetInstance().GetName(request.mesh), "Prim_Cube");

    // The terrain's source picture: ".png" of the level folder only, and one that loads.
    PixelGrid* grid = First("Terrain")->GetComponent<PixelGrid>();
    ASSERT_TRUE(SelectRow(First("Terrain")));
    ASSERT_TRUE(OpenHeader({"Pixel Grid"}));
    EXPECT_TRUE(listed("Choose Source Image", "Level2"));
    EXPECT_FALSE(listed("Choose Source Image", "debug")) << "the palette file";
    {
        TraceCapture trace;
        ASSERT_TRUE(ui.ClickItem(Inspector(), {"Choose Source Image", "Broken"}));
        EXPECT_EQ(grid->Source, "Level1");
        EXPECT_TRUE(trace.Contains("Picture \"Levels/Broken.png\" did not load")) << trace.All();
    }
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Choose Source Image", "Level2"}));
    EXPECT_EQ(grid->Source, "Level2");

    // A folder that is missing lists nothing.
    fs::remove_all(data + "/shaders");
    ASSERT_TRUE(SelectRow(crate));
    EXPECT_FALSE(listed("Choose Shader", "alpha"));
    EXPECT_TRUE(ListDataFiles("Data/Nowhere", ".png").empty());
}

TEST_F(InspectorTest, NothingIsLeftPointingAtADeletedEntityOrARemovedComponent)
{
    // A child placed under the switch, as a composition is, and particles over the terrain.
    Entity* parent = First("Switch");
    Entity* child = new Entity();
    child->Name = "Child";
    child->IsSpawned = true;
    auto* place = new Transform();
    child->AddComponent(place);
    ASSERT_TRUE(place->SetParentEntity(parent));
    child->AddComponent(new Sprite("Prim_Plane", "base", "White"));
    Scene().AddEntity(child);

    Entity* sparks = new Entity();
    sparks->Name = "Sparks";
    sparks->AddComponent(new Transform());
    auto* emitter = new ParticleEmitter();
    emitter->TextureName = "White";
    emitter->EmitRate = 100;
    emitter->EmitterLifeTime = 10;
    emitter->MaxLifeTime = 10;
    sparks->AddComponent(emitter);
    Scene().AddEntity(sparks);
    flow.Frame();
    ASSERT_EQ(emitter->Grid, First("Terrain")->GetComponent<PixelGrid>());
    ASSERT_GT(emitter->LiveCount(), 0);

    Frames();
    ASSERT_TRUE(ChooseFromRowMenu(parent, "Delete"));
    EXPECT_EQ(place->ParentEntity.Get(), nullptr);
    flow.Frame();   // the child updates, draws and meets the collision pass on its own

    ASSERT_TRUE(SelectRow(First("Terrain")));
    ASSERT_TRUE(OpenHeader({"Pixel Grid"}));
    ASSERT_TRUE(ui.ClickItem(Inspector(), {"Delete##PixelGrid"}));
    EXPECT_EQ(First("Terrain")->GetComponent<PixelGrid>(), nullptr);
    flow.Frame();   // the particles let go of the terrain before any of them reads it
    EXPECT_EQ(emitter->Grid, nullptr);
    for (int i = 0; i < ParticleEmitter::PoolSize; ++i)
        ASSERT_EQ(emitter->At(i).grid, nullptr);
}

TEST_F(InspectorTest, EveryRegisteredComponentHasASectionWithAWidgetForEachOfItsValues)
{
    const std::vector<std::string> ownSections = {"Transform",      "Sprite",       "Physics",
                                                  "ColliderCircle", "ColliderLine", "PixelGrid"};
    for (const std::string& type : ComponentRegistry::Names())
    {
        SCOPED_TRACE(type);
        Entity* entity = new Entity();
        entity->Name = "Probe";
        entity->AddComponent(new Transform());
        Component* component = ComponentRegistry::Create(type);
        ASSERT_NE(component, nullptr);
        entity->AddAndPostCreate(component);
        Scene().AddEntity(entity);
        SelectedEntity = entity;
        Frames();

        if (std::find(ownSections.begin(), ownSections.end(), type) != ownSections.end())
            EXPECT_TRUE(ui.ItemRect(Inspector(), {type == "ColliderCircle" ? "Collider Circle"
                                                  : type == "ColliderLine" ? "Collider Line"
                                                  : type == "PixelGrid"    ? "Pixel Grid"
                                                                           : type}));
        else if (BehaviorSectionComponent(*entity) == component)
            EXPECT_TRUE(OpenHeader({"Behaviors"}));
        else
        {
            const auto at = std::find(entity->components.begin(), entity->components.end(), component);
            const int index = static_cast<int>(at - entity->components.begin());
            json saved;
            component->Write(saved);
            ASSERT_TRUE(OpenHeader({index, saved.value("Type", type) + "##other"}));
            for (const auto& [key, value] : saved.items())
            {
                const bool names = value.is_array() && !value.empty() && value[0].is_string();
                if (key == "Type" || key == "StateCurrent" || key == "StateNext" || names)
                    continue;
                // A list of numbers is one field per number, a colour one per channel.
                IdPath field{index, key, key};
                const bool numbers =
                    value.is_array() && !value.empty() && value.size() <= 4 && value[0].is_number();
                const bool colour = numbers && value.size() == 3 && (key == "tint" || key == "Color");
                if (colour)
                    field.push_back("##X");
                else if (numbers)
                    field.insert(field.end(), {0, ""});
                EXPECT_TRUE(ui.ItemRect(Inspector(), field)) << key << ": " << value.dump();
            }
        }
        DeleteEntityFromScene(entity);
        Frames();
    }
}
