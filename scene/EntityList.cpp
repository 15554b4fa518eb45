#include "scene/EntityList.h"

#include "graphics/Camera.h"
#include "scene/Entity.h"

#include <algorithm>

EntityList::~EntityList() { Clear(); }

void EntityList::Clear()
{
    std::vector<Entity*> doomed;
    doomed.swap(entities);
    Camera = nullptr;
    for (Entity* e : doomed)
        delete e;
}

bool EntityList::Add(Entity* entity)
{
    if (!entity)
        return false;
    if (entity->Name == "MainCamera")
        Camera = entity;
    entities.push_back(entity);
    return true;
}

Entity* EntityList::FindByName(const std::string& name) const
{
    for (Entity* e : entities)
        if (e && e->Name == name)
            return e;
    return nullptr;
}

void EntityList::Erase(size_t index)
{
    Entity* doomed = entities[index];
    entities.erase(entities.begin() + static_cast<std::ptrdiff_t>(index));
    if (doomed == Camera)
        Camera = nullptr;
    delete doomed;
}

void EntityList::RemoveByName(const std::string& name)
{
    for (size_t i = 0; i < entities.size(); ++i)
        if (entities[i] && entities[i]->Name == name)
        {
            Erase(i);
            return;
        }
}

void EntityList::Update(float dt)
{
    if (Camera)
        Camera::GetInstance().SetTarget(Camera);
    // The size is read again at every step: entities added during the pass update in it too.
    for (size_t i = 0; i < entities.size();)
    {
        Entity* e = entities[i];
        if (!e)
        {
            entities.erase(entities.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (e->IsDestroyed)
        {
            Erase(i);
            continue;
        }
        // By index: a component may add components to its own entity while it updates.
        for (size_t c = 0; c < e->components.size(); ++c)
            if (Component* component = e->components[c])
                component->Update(dt);
        // The update may have removed entities before this one: find it again by pointer. When
        // it is gone, whatever now stands at i has not been updated yet.
        if (i >= entities.size() || entities[i] != e)
        {
            const auto at = std::find(entities.begin(), entities.end(), e);
            if (at == entities.end())
                continue;
            i = static_cast<size_t>(at - entities.begin());
        }
        if (e->IsDestroyed)
        {
            Erase(i);
            continue;
        }
        ++i;
    }
}

void EntityList::Render()
{
    if (Camera)
        Camera::GetInstance().SetTarget(Camera);
    for (size_t i = 0; i < entities.size(); ++i)
        if (Entity* e = entities[i])
            for (size_t c = 0; c < e->components.size(); ++c)
                if (Component* component = e->components[c])
                    component->Render();
}

// The collision pass arrives with the colliders and the terrain.
void EntityList::CheckCollisions(float) {}
