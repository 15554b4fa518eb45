#pragma once
// A scene's entities, owned, in insertion order (= update, draw and collision order), and the
// scene's camera entity (the last one named "MainCamera" that was added). Every entity leaving
// the list is deleted; the camera entity is forgotten whenever its entity goes.
#include <memory>
#include <string>
#include <vector>

class Entity;
struct CollisionScratch;

class EntityList
{
public:
    EntityList();
    EntityList(const EntityList&) = delete;
    EntityList& operator=(const EntityList&) = delete;
    ~EntityList();

    void Clear();               // deletes every entity
    bool Add(Entity* entity);   // takes ownership; false for null
    Entity* FindByName(const std::string& name) const;
    bool Contains(const Entity* entity) const;
    void RemoveByName(const std::string& name);   // deletes the first entity of that name
    bool Remove(const Entity* entity);            // deletes that very entity; false when it is not listed
    std::vector<Entity*> GetEntities() const { return entities; }   // a copy, for walks that change the list
    size_t Size() const { return entities.size(); }

    void Update(float dt);   // every component of every live entity; destroyed ones are deleted
    void Render();
    // The collision pass, while time runs (dt > 0): the first collider of each entity is tested
    // against the later entities' first colliders, in list order, masks and names permitting,
    // and line colliders against the terrain of the entity they are paired with. Contacts are
    // cleared first on even frame counts only. Each entity's first collider, terrain, name and
    // mask flags are read once, at the start of the pass. Pairs of line colliders whose boxes lie
    // apart, or that masks or names rule out, are never collected (segments change only in the
    // colliders' Update), so the cost grows with the pairs that may touch, not with every pair
    // nor with the bots of one name crowding together. An entity deleted by a callback takes no
    // further part in the pass. Entities squeezed between opposite contacts go to OnSqueezed, or
    // are destroyed when it does not take them.
    void CheckCollisions(float dt);

    // What a squeezed entity does. The bot behaviour installs it: true when the entity carries
    // a bot (which starts dying unless it is busy), false for anything else.
    using SqueezeHandler = bool (*)(Entity* squeezed);
    static inline SqueezeHandler OnSqueezed = nullptr;

    Entity* Camera = nullptr;   // also in the list; not owned separately

private:
    void Erase(size_t index);               // deletes and erases one entry
    void LeavePass(const Entity* doomed);   // a running collision pass forgets the entity

    std::vector<Entity*> entities;
    std::unique_ptr<CollisionScratch> scratch;   // the collision pass's look-ups, kept for their capacity
};
