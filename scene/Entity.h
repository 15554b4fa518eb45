#pragma once
// A named game object: an ordered list of owned components and two flags. Components are found
// by type through the list. Reading an entity sorts its components by type id (stably) and then
// post-creates each once; a spawned entity is never written to a file.
#include "scene/Component.h"

#include <string>
#include <vector>

class Entity
{
public:
    Entity() = default;
    Entity(const Entity& other);   // clones every component; the copy is not spawned, not post-created
    Entity& operator=(const Entity&) = delete;
    ~Entity();

    void AddComponent(Component* component);   // takes ownership; null is ignored; no sort, no PostCreate
    bool HasName(const std::string& name) const { return Name == name; }

    // The first component whose dynamic type is T or derives from it; null when none.
    template <typename T> T* GetComponent() const
    {
        for (Component* c : components)
            if (T* found = dynamic_cast<T*>(c))
                return found;
        return nullptr;
    }

    void Write(json& out) const;
    void Read(const json& in);
    // A new entity read from the object, or null when it is not an object with a "Name".
    static Entity* CreateFromJSON(const json& in);

    // Deletes every component and empties the list.
    void DeleteComponents();

    std::vector<Component*> components;   // owned
    std::string Name;
    bool IsDestroyed = false;
    bool IsSpawned = false;
};
