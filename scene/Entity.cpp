#include "scene/Entity.h"

#include "engine/TraceSystem.h"
#include "scene/ComponentRegistry.h"

#include <algorithm>

Entity::Entity(const Entity& other) : Name(other.Name), IsDestroyed(other.IsDestroyed)
{
    for (const Component* c : other.components)
        if (Component* clone = c ? c->Clone() : nullptr)
        {
            clone->Parent = this;
            components.push_back(clone);
        }
}

Entity::~Entity() { DeleteComponents(); }

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

void Entity::Write(json& out) const
{
    if (IsSpawned)
        return;
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

void Entity::Read(const json& in)
{
    DeleteComponents();
    if (!in.is_object())
        return;
    if (const auto name = in.find("Name"); name != in.end() && name->is_string())
        Name = name->get<std::string>();
    else if (name != in.end())
        Log("ENTITY: [", Name, "] \"Name\" is not a text; kept");
    if (const auto destroyed = in.find("IsDestroyed"); destroyed != in.end() && destroyed->is_boolean())
        IsDestroyed = destroyed->get<bool>();
    else if (destroyed != in.end())
        Log("ENTITY: [", Name, "] \"IsDestroyed\" is not true or false; kept");

    if (const auto list = in.find("Components"); list != in.end() && list->is_array())
    {
        for (const json& element : *list)
        {
            if (!element.is_object() || !element.contains("Type"))
                continue;
            const json& type = element.at("Type");
            if (!type.is_string())
            {
                Log("ENTITY: [", Name, "] a component's \"Type\" is not a text; skipped");
                continue;
            }
            Component* component = ComponentRegistry::Create(type.get<std::string>());
            if (!component)
                continue;
            try
            {
                component->Read(element);
            }
            catch (const std::exception& error)
            {
                // A malformed component is left out whole; the rest of the entity still loads.
                Log("ENTITY: [", Name, "] component ", type.get<std::string>(), " skipped: ", error.what());
                delete component;
                continue;
            }
            component->Parent = this;
            components.push_back(component);
        }
    }

    std::stable_sort(components.begin(), components.end(),
                     [](const Component* a, const Component* b) { return a->TypeId < b->TypeId; });
    // A PostCreate may add components (a button adds its ButtonComponent); those are not
    // post-created in this pass.
    const std::vector<Component*> created = components;
    for (Component* c : created)
        c->PostCreate();
}

Entity* Entity::CreateFromJSON(const json& in)
{
    if (in.is_null() || !in.is_object() || !in.contains("Name"))
    {
        Log("Invalid JSON for entity creation");
        return nullptr;
    }
    Log("Entity::CreateFromJSON - Creating entity directly from JSON");
    Entity* entity = new Entity();
    entity->Read(in);
    Log("Entity created: ", entity->Name, " with ", entity->components.size(), " components");
    return entity;
}
