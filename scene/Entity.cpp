#include "scene/Entity.h"

#include "engine/EditorState.h"
#include "engine/TraceSystem.h"
#include "scene/ComponentRegistry.h"
#include "scene/ReadingFile.h"

#include <algorithm>
#include <unordered_map>

namespace
{
// The live entities by serial number. Entities are made and deleted on the main thread only.
std::unordered_map<uint64_t, Entity*>& LiveEntities()
{
    static std::unordered_map<uint64_t, Entity*> live;
    return live;
}

uint64_t NextSerial()
{
    static uint64_t last = 0;
    return ++last;
}
}   // namespace

Entity::Entity() : Serial(NextSerial()) { LiveEntities()[Serial] = this; }

Entity* Entity::Living(uint64_t serial)
{
    const auto found = LiveEntities().find(serial);
    return found == LiveEntities().end() ? nullptr : found->second;
}

Entity::Entity(const Entity& other) : Name(other.Name), IsDestroyed(other.IsDestroyed), Serial(NextSerial())
{
    LiveEntities()[Serial] = this;
    for (const Component* c : other.components)
        if (Component* clone = c ? c->Clone() : nullptr)
        {
            clone->Parent = this;
            components.push_back(clone);
        }
}

Entity::~Entity()
{
    LiveEntities().erase(Serial);
    // The editor's selection must never point at a deleted entity, whoever deletes it.
    if (SelectedEntity == this)
        SelectedEntity = nullptr;
    DeleteComponents();
}

void Entity::DeleteComponents()
{
    // Take the list first: a component's destructor must never see a half-deleted list.
    std::vector<Component*> doomed;
    doomed.swap(components);
    for (Component* c : doomed)
        delete c;
}

void Entity::AddComponent(Component* component)
{
    if (!component)
        return;
    component->Parent = this;
    components.push_back(component);
}

void Entity::AddAndPostCreate(Component* component)
{
    if (!component)
        return;
    AddComponent(component);
    SortComponents();
    PostCreate(*component);
    SortComponents();   // what its PostCreate added (a button's ButtonComponent) finds its place too
}

void Entity::SortComponents()
{
    std::stable_sort(components.begin(), components.end(),
                     [](const Component* a, const Component* b) { return a->TypeId < b->TypeId; });
}

void Entity::Write(json& out) const
{
    if (!IsSpawned)
        WriteContent(out);
}

void Entity::WriteContent(json& out) const
{
    out["Name"] = Name;
    out["IsDestroyed"] = IsDestroyed;
    json list = json::array();
    for (const Component* c : components)
    {
        json value;
        if (c)
            c->Write(value);
        list.push_back(std::move(value));
    }
    out["Components"] = std::move(list);
}

void Entity::Read(const json& in, PostCreation post)
{
    DeleteComponents();
    if (!in.is_object())
    {
        Log("ENTITY: [", ReadingFile::Where(Name), "] not a JSON object; nothing read");
        return;
    }
    ReadKeyOrKeep(in, "Name", Name, "ENTITY: [" + ReadingFile::Where(Name) + "]");
    ReadKeyOrKeep(in, "IsDestroyed", IsDestroyed, "ENTITY: [" + ReadingFile::Where(Name) + "]");

    const auto list = in.find("Components");
    if (list != in.end() && !list->is_array())
        Log("ENTITY: [", ReadingFile::Where(Name), "] \"Components\" is not an array; no components read");
    else if (list != in.end())
    {
        for (size_t index = 0; index < list->size(); ++index)
        {
            const json& element = list->at(index);
            // A component that writes nothing is stored as null: nothing to say about it.
            if (element.is_null())
                continue;
            const std::string where = ReadingFile::Where(Name);
            const std::string which = "\"Components\"[" + std::to_string(index) + "]";
            if (!element.is_object())
            {
                Log("ENTITY: [", where, "] ", which, " is not an object; skipped");
                continue;
            }
            const auto type = element.find("Type");
            if (type == element.end() || !type->is_string())
            {
                Log("ENTITY: [", where, "] ", which, " has no \"Type\" text; skipped");
                continue;
            }
            const std::string typeName = type->get<std::string>();
            Component* component = ComponentRegistry::Create(typeName);
            if (!component)
            {
                Log("ENTITY: [", where, "] ", which, " \"Type\" \"", typeName, "\" is unknown; skipped");
                continue;
            }
            try
            {
                component->Read(element);
            }
            catch (const std::exception& error)
            {
                // Left out whole: no half-read component joins the entity.
                Log("ENTITY: [", where, "] ", which, " ", typeName, " skipped: ", error.what());
                delete component;
                continue;
            }
            component->Parent = this;
            components.push_back(component);
        }
    }

    SortComponents();
    if (post == PostCreation::Run)
        PostCreateComponents();
}

void Entity::PostCreateComponents()
{
    // A PostCreate may add components (a button adds its ButtonComponent); those are not
    // post-created in this pass.
    const std::vector<Component*> created = components;
    for (Component* c : created)
        PostCreate(*c);
}

void Entity::PostCreate(Component& component)
{
    try
    {
        component.PostCreate();
    }
    catch (const std::exception& error)
    {
        // Its data was read already; it stays, without what the failed step would have set up.
        Log("ENTITY: [", ReadingFile::Where(Name), "] a component's set-up failed: ", error.what());
    }
}

Entity* Entity::CreateFromJSON(const json& in, PostCreation post)
{
    if (!in.is_object() || !in.contains("Name"))
    {
        Log("Invalid JSON for entity creation");
        return nullptr;
    }
    if (!in.at("Name").is_string())
    {
        Log("Invalid JSON for entity creation");
        Log("ENTITY: [", ReadingFile::Where("?"), "] \"Name\" is not a text; entity skipped");
        return nullptr;
    }
    Log("Entity::CreateFromJSON - Creating entity directly from JSON");
    Entity* entity = new Entity();
    entity->Read(in, post);
    Log("Entity created: ", entity->Name, " with ", entity->components.size(), " components");
    return entity;
}
