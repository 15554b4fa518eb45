#pragma once
// A named game object: an ordered list of owned components and two flags. Components are found
// by type through the list. Reading an entity sorts its components by type id (stably) and then
// post-creates each once; a spawned entity is never written to a file.
// Reading never throws on bad data: a component it cannot use is left out whole, with a line
// naming the file being read (ReadingFile), the entity and the key.
// Every entity has a serial number of its own, never reused in a run, by which it can be found
// while it lives (EntityRef keeps pointers to other entities that way).
#include "scene/Component.h"

#include <cstdint>
#include <string>
#include <typeinfo>
#include <vector>

class Entity
{
public:
    // Whether reading ends with PostCreate: live entities do, cached archetypes never do (only
    // the copies made from them are post-created).
    enum class PostCreation
    {
        Run,
        Skip
    };

    Entity();
    Entity(const Entity& other);   // clones every component; the copy is not spawned, not post-created
    Entity& operator=(const Entity&) = delete;
    ~Entity();

    void AddComponent(Component* component);   // takes ownership; null is ignored; no sort, no PostCreate
    // Takes ownership and gives the component its place as reading would have: sorted in by
    // type id, then post-created (null is ignored). For entities already in play.
    void AddAndPostCreate(Component* component);
    void SortComponents();   // by type id, keeping the order among equal ids
    bool HasName(const std::string& name) const { return Name == name; }

    // The first component whose dynamic type is T or derives from it; null when none. A class
    // that declares ClassTypeId (the TypeId its constructors give it and every class derived
    // from it) is looked for among the components of that id only: the type test, which costs
    // far more than comparing ids, runs on few components, and on none of them at all where the
    // component found is of class T itself.
    template <typename T> T* GetComponent() const
    {
        for (Component* c : components)
        {
            if constexpr (requires { T::ClassTypeId; })
                if (!c || c->TypeId != T::ClassTypeId)
                    continue;
            // A component of the class itself needs no search of its class's bases.
            if (c && typeid(*c) == typeid(T))
                return static_cast<T*>(c);
            if (T* found = dynamic_cast<T*>(c))
                return found;
        }
        return nullptr;
    }

    void Write(json& out) const;          // nothing at all for a spawned entity
    void WriteContent(json& out) const;   // the saved form whether spawned or not
    // Deletes the components, reads "Name", "IsDestroyed" and "Components", sorts by type id and
    // (unless told to skip) post-creates each component once.
    void Read(const json& in, PostCreation post = PostCreation::Run);
    // A new entity read from the object, or null when it is not an object with a "Name" text.
    static Entity* CreateFromJSON(const json& in, PostCreation post = PostCreation::Run);

    // One PostCreate per component, walking the list as it stands before the first call: what
    // a PostCreate adds is not post-created in this pass.
    void PostCreateComponents();
    // Deletes every component and empties the list.
    void DeleteComponents();

    // The entity of that serial number while it has not been deleted; null otherwise.
    static Entity* Living(uint64_t serial);

    std::vector<Component*> components;   // owned
    std::string Name;
    bool IsDestroyed = false;
    bool IsSpawned = false;
    const uint64_t Serial;   // 1, 2, 3, ... in order of construction

private:
    void PostCreate(Component& component);   // a set-up that fails is reported; the component stays
};
