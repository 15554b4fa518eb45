// The inspector: the selected entity's name and its components, edited in place in the running
// scene, with the dependencies between them kept (a Transform stays while a Sprite, Physics or
// Collider needs it; one Pixel Grid per scene). Components without a section of their own are
// edited through their saved form; the behaviour section comes last.
#include "editor/EditorPanels.h"
#include "editor/EditorPanels_Shared.h"
#include "engine/EditorState.h"
#include "engine/TraceSystem.h"
#include "game/Collider.h"
#include "game/ColliderCircle.h"
#include "game/ColliderLine.h"
#include "game/Physics.h"
#include "game/PixelGrid.h"
#include "graphics/Image.h"
#include "graphics/MeshLibrary.h"
#include "graphics/ShaderLibrary.h"
#include "graphics/Sprite.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Selection.h"
#include "scene/Transform.h"

#include <algorithm>
#include <cstring>
#include <imgui.h>
#include <string>
#include <vector>

namespace
{
// Why the last choice of a chooser was refused, shown under it until a choice is taken.
struct Refusal
{
    std::string chooser;
    std::string why;
};
Refusal LastRefusal;

void Refuse(const char* chooser, std::string why)
{
    Log("EDITOR: ", why);
    LastRefusal = {chooser, std::move(why)};
}

void ShowRefusal(const char* chooser)
{
    if (LastRefusal.chooser == chooser && !LastRefusal.why.empty())
        ProblemText(LastRefusal.why);
}

// A list of names, the current one shown selected; gives the chosen name, or empty.
std::string Chooser(const char* header, const std::vector<std::string>& names, const std::string& current)
{
    std::string chosen;
    if (!ImGui::CollapsingHeader(header, ImGuiTreeNodeFlags_DefaultOpen))
        return chosen;
    ImGui::PushID(header);
    for (const std::string& name : names)
        if (ImGui::Selectable(name.c_str(), name == current))
            chosen = name;
    ShowRefusal(header);
    ImGui::PopID();
    return chosen;
}

bool DragVector(const char* label, const char* id, Vec3& v, float min, float max)
{
    SeparatorText(label);
    return ImGui::DragFloat3(id, &v.x, 1.0f, min, max, "%.1f");
}

void DrawName(Entity& entity)
{
    if (entity.Name == "MainCamera")
        return;   // the scene finds its camera by this name
    static char buffer[256];
    const size_t length = entity.Name.size();
    if (length >= 1 && length <= 254)
        std::memcpy(buffer, entity.Name.c_str(), length + 1);
    else
        buffer[0] = '\0';
    if (ImGui::InputText("Name", buffer, sizeof buffer))
    {
        // No second camera can be made by renaming.
        entity.Name = std::strcmp(buffer, "MainCamera") == 0 ? "unnamed" : buffer;
        HasUnsavedChanges = true;
    }
    ImGui::Separator();
}

// A button that deletes the component from the entity; true when it was pressed.
bool DeleteButton(Entity& entity, Component* component, const char* label)
{
    if (!ImGui::Button(label))
        return false;
    RemoveComponent(entity, component);
    HasUnsavedChanges = true;
    return true;
}

void DrawTransform(Entity& entity)
{
    Transform* transform = entity.GetComponent<Transform>();
    if (!transform)
    {
        if (ImGui::Button("Add Transform"))
            AddComponentInPlay(entity, new Transform());
        return;
    }
    if (!ImGui::CollapsingHeader("Transform"))
        return;
    Vec3 translation = transform->Translation, rotation = transform->Rotation, scale = transform->Scale;
    bool changed = DragVector("Translation", "##Translation", translation, -1000, 1000);
    changed |= DragVector("Rotation", "##Rotation", rotation, -360, 360);
    changed |= DragVector("Scale", "##Scale", scale, 0.01f, 100);
    if (changed)
    {
        transform->Translation = translation;
        transform->Rotation = rotation;
        transform->Scale = scale;
        transform->Dirty = true;
        HasUnsavedChanges = true;
    }
    ImGui::Separator();
    const bool needed =
        entity.GetComponent<Sprite>() || entity.GetComponent<Physics>() || entity.GetComponent<Collider>();
    ImGui::BeginDisabled(needed);
    DeleteButton(entity, transform, "Delete##Transform");
    ImGui::EndDisabled();
    if (needed)
        ItemTooltip("Delete dependent component first!", true);
    ImGui::Separator();
}

void ChooseMesh(Graphics::DrawRequest& request)
{
    MeshLibrary& meshes = MeshLibrary::GetInstance();
    const std::string chosen =
        Chooser("Choose Mesh", ListDataFiles("Data/Parts/", ".xobj"), meshes.GetName(request.mesh));
    if (chosen.empty())
        return;
    const int index = meshes.FindOrLoad(chosen);
    if (index < 0)
        return Refuse("Choose Mesh", "Mesh \"" + chosen + "\" did not load; the sprite keeps its mesh");
    request.mesh = index;
    LastRefusal = {};
    HasUnsavedChanges = true;
}

void ChooseTexture(Graphics::DrawRequest& request)
{
    TextureLibrary& textures = TextureLibrary::GetInstance();
    const std::string chosen =
        Chooser("Choose Texture", ListDataFiles("Data/Textures", ".png"), textures.GetName(request.texture));
    if (chosen.empty())
        return;
    const int index = textures.FindOrLoad(chosen);
    if (index < 0 || textures.IsFallback(index))
    {
        const Image picture("Textures/", chosen + ".png");
        return Refuse("Choose Texture", "Texture \"" + chosen + "\" did not load (" + picture.Reason() +
                                            "); the sprite keeps its texture");
    }
    request.texture = index;
    LastRefusal = {};
    HasUnsavedChanges = true;
}

void ChooseShader(Graphics::DrawRequest& request)
{
    ShaderLibrary& shaders = ShaderLibrary::GetInstance();
    std::vector<std::string> names = ListDataFiles("Data/shaders", ".vert");
    std::erase(names, "Line");   // debug lines only
    const std::string chosen = Chooser("Choose Shader", names, shaders.GetName(request.shader));
    if (chosen.empty())
        return;
    request.shader = shaders.FindOrLoad(chosen);
    HasUnsavedChanges = true;
}

// A component that needs a Transform, greyed out while the entity has none: its "Add" button
// while the entity lacks it, else its header, which open shows `fields` and a delete button.
template <typename T, typename Make, typename Fields>
void DrawNeedingTransform(Entity& entity, bool hasTransform, std::vector<const Component*>& covered,
                          const char* name, Make make, Fields fields)
{
    T* component = entity.GetComponent<T>();
    ImGui::BeginDisabled(!hasTransform);
    if (!component)
    {
        if (ImGui::Button((std::string("Add ") + name).c_str()))
            AddComponentInPlay(entity, make());
        if (!hasTransform)
            ItemTooltip("Please add a transform!", true);
    }
    else if (covered.push_back(component), ImGui::CollapsingHeader(name))
    {
        fields(*component);
        ImGui::Separator();
        DeleteButton(entity, component, (std::string("Delete##") + name).c_str());
        ImGui::Separator();
    }
    ImGui::EndDisabled();
}

void DrawSpriteFields(Sprite& sprite)
{
    ChooseMesh(*sprite.request);
    ChooseTexture(*sprite.request);
    ChooseShader(*sprite.request);
    DrawSavedFields(sprite, {"Mesh", "Texture", "Shader"});
}

void DrawPhysicsFields(Physics& physics)
{
    Vec3 acceleration = physics.Acceleration, velocity = physics.Velocity;
    Vec3 spin = physics.RotationalVelocity, limit = physics.MaxVelocity;
    float mass = physics.Mass, gravity = physics.Gravity;
    bool changed = DragVector("Acceleration", "##Acceleration", acceleration, -5, 5);
    changed |= DragVector("Velocity", "##Velocity", velocity, -10, 10);
    changed |= DragVector("Rotational Velocity", "##Rotational Velocity", spin, -10, 10);
    // The walking speed of a bot is its limit along x.
    changed |= DragVector("Max Velocity", "##Max Velocity", limit, 0, 50);
    SeparatorText("Mass");
    changed |= ImGui::SliderFloat("##Mass", &mass, 1, 10, "%.1f");
    SeparatorText("Gravity");
    changed |= ImGui::SliderFloat("##Gravity", &gravity, 0, 20, "%.2f");
    if (changed)
    {
        physics.Acceleration = acceleration;
        physics.Velocity = velocity;
        physics.RotationalVelocity = spin;
        physics.MaxVelocity = limit;
        physics.Mass = mass;
        physics.Gravity = gravity;
        HasUnsavedChanges = true;
    }
}

// False when the collider was deleted: the panel ends for this frame.
bool DrawCollider(Entity& entity, bool hasTransform, std::vector<const Component*>& covered)
{
    Collider* collider = entity.GetComponent<Collider>();
    ImGui::BeginDisabled(!hasTransform);
    bool deleted = false;
    if (collider)
    {
        covered.push_back(collider);
        bool open = false;
        if (auto* circle = dynamic_cast<ColliderCircle*>(collider);
            circle && (open = ImGui::CollapsingHeader("Collider Circle")))
        {
            if (ImGui::DragFloat("Radius", &circle->Radius, 0.05f, 0, 10, "%.3f"))
                HasUnsavedChanges = true;
            ImGui::Separator();
            ImGui::Text("Collision (debug): %d", circle->Collision);
            ImGui::Separator();
        }
        else if (dynamic_cast<ColliderLine*>(collider) && (open = ImGui::CollapsingHeader("Collider Line")))
        {
        }
        if (open)
        {
            DrawSavedFields(*collider, {"Radius", "PixelGridCollider", "ColliderType", "Collision"});
            if (ImGui::Button("Delete##Collider"))
            {
                RemoveSelectedCollider();
                HasUnsavedChanges = true;
                deleted = true;
            }
            ImGui::Separator();
        }
        if (!deleted && ImGui::Checkbox("Pixel Grid Collider", &collider->PixelGridCollider))
            HasUnsavedChanges = true;
    }
    else if (ImGui::CollapsingHeader("Add Collider"))
    {
        if (ImGui::Button("Add Collider Circle"))
            AddComponentInPlay(entity, new ColliderCircle());
        if (ImGui::Button("Add Collider Line"))
            AddComponentInPlay(entity, new ColliderLine());
        ImGui::Separator();
    }
    ImGui::EndDisabled();
    return !deleted;
}

void ChooseSource(PixelGrid& grid)
{
    const std::string chosen =
        Chooser("Choose Source Image", ListDataFiles("Data/Levels", ".png"), grid.Source);
    if (chosen.empty())
        return;
    // The grid is rebuilt from it when the scene is next loaded: a picture that cannot be
    // read then would leave the level without terrain.
    const Image picture("Levels/", chosen + ".png");
    if (!picture.IsLoaded())
        return Refuse("Choose Source Image", "Picture \"Levels/" + chosen + ".png\" did not load (" +
                                                 picture.Reason() + "); the source stays \"" + grid.Source +
                                                 "\"");
    grid.Source = chosen;
    LastRefusal = {};
    HasUnsavedChanges = true;
}

// False when the panel ends here for this frame.
bool DrawPixelGrid(Entity& entity, std::vector<const Component*>& covered)
{
    PixelGrid* grid = entity.GetComponent<PixelGrid>();
    if (grid)
    {
        covered.push_back(grid);
        if (!ImGui::CollapsingHeader("Pixel Grid"))
            return true;
        ChooseSource(*grid);
        Vec2 origin = grid->Origin;
        int cellSize = static_cast<int>(grid->CellSize);
        SeparatorText("Origin of Bottom Left Cell in World Coords");
        bool changed = ImGui::DragFloat2("##Origin", &origin.x, 0.5f, -500, 500, "%.1f");
        SeparatorText("World Units Per Cell");
        changed |= ImGui::SliderInt("##CellSize", &cellSize, 1, 25, "%d");
        if (changed)
        {
            grid->Origin = origin;
            grid->CellSize = static_cast<float>(cellSize);
            HasUnsavedChanges = true;
        }
        ImGui::Separator();
        return !DeleteButton(entity, grid, "Delete##PixelGrid");
    }
    const MainScene* scene = SceneSystem::GetInstance().CurrentScene();
    if (!scene)
        return false;
    const std::vector<Entity*> entities = scene->entities.GetEntities();
    const bool taken = std::any_of(entities.begin(), entities.end(),
                                   [](const Entity* e) { return e && e->GetComponent<PixelGrid>(); });
    ImGui::BeginDisabled(taken);
    if (ImGui::Button("Add Pixel Grid"))
        AddComponentInPlay(entity, new PixelGrid());
    ImGui::EndDisabled();
    ItemTooltip(taken ? "Only one entity in a scene can have Pixel Grid component"
                      : "Component required for terrain!",
                true);
    return true;
}

// Every component no section above shows and the behaviour section does not take, under its
// type name, edited through its saved form.
void DrawOtherComponents(Entity& entity, const std::vector<const Component*>& covered)
{
    const std::vector<Component*> components = entity.components;
    for (size_t i = 0; i < components.size(); ++i)
    {
        Component* component = components[i];
        if (!component || std::find(covered.begin(), covered.end(), component) != covered.end() ||
            dynamic_cast<Transform*>(component))
            continue;
        json saved;
        component->Write(saved);
        const std::string type =
            saved.is_object() ? saved.value("Type", std::string("Component")) : "Component";
        ImGui::PushID(static_cast<int>(i));
        if (ImGui::CollapsingHeader((type + "##other").c_str()))
            DrawSavedFields(*component);
        ImGui::PopID();
    }
}
}   // namespace

void DrawInspectorPanel()
{
    Entity* entity = CheckedSelection();
    if (!entity)
    {
        ImGui::TextDisabled("Select an entity.");
        return;
    }
    DrawName(*entity);
    DrawTransform(*entity);
    const bool hasTransform = entity->GetComponent<Transform>() != nullptr;
    std::vector<const Component*> covered{BehaviorSectionComponent(*entity)};
    DrawNeedingTransform<Sprite>(
        *entity, hasTransform, covered, "Sprite", [] { return new Sprite("Prim_Plane", "base", "White"); },
        DrawSpriteFields);
    // A new Physics has every vector 0, Mass 1 and Gravity 0.
    DrawNeedingTransform<Physics>(
        *entity, hasTransform, covered, "Physics", [] { return new Physics(); }, DrawPhysicsFields);
    if (!DrawCollider(*entity, hasTransform, covered) || !DrawPixelGrid(*entity, covered))
        return;
    DrawOtherComponents(*entity, covered);
    DrawBehaviorSection();
}
