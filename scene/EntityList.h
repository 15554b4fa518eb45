#pragma once
// A scene's entities, owned, in insertion order (= update, draw and collision order), and the
// scene's camera entity (the last one named "MainCamera" that was added). Every entity leaving
// the list is deleted; the camera entity is forgotten whenever its entity goes.
#include <string>
#include <vector>

class Entity;

class EntityList
{
public:
    EntityList() = default;
    EntityList(const EntityList&) = delete;
    EntityList& operator=(const EntityList&) = delete;
    ~EntityList();

    void Clear();                  // deletes every entity
    bool Add(Entity* entity);      // takes ownership; false for null
    Entity* FindByName(const std::string& name) const;
    void RemoveByName(const std::string& name);   // deletes the first entity of that name
    std::vector<Entity*> GetEntities() const { return entities; }   // a copy, for walks that change the list
    size_t Size() const { return entities.size(); }

    void Update(float dt);         // every component of every live entity; destroyed ones are deleted
    void Render();
    void CheckCollisions(float dt);

    Entity* Camera = nullptr;      // also in the list; not owned separately

private:
    void Erase(size_t index);      // deletes and erases one entry

    std::vector<Entity*> entities;
};
