#pragma once
// A pointer that one entity's component keeps to another entity, or to a component of another
// entity, without owning it. It reads as null once that entity has been deleted or the component
// is no longer on it, so a behaviour never follows a pointer to something that went first. It
// is assigned and read like the raw pointer; each read is one look-up among the live entities.
// An entity marked destroyed but not yet deleted still reads: the caller decides what that means.
#include "scene/Entity.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>

template <typename T> class EntityRef
{
public:
    EntityRef() = default;
    EntityRef(T* target) { *this = target; }   // NOLINT: stands where the raw pointer stood

    EntityRef& operator=(T* target)
    {
        pointer = target;
        const Entity* owner = nullptr;
        if constexpr (std::is_same_v<T, Entity>)
            owner = target;
        else
            owner = target ? target->Parent : nullptr;
        serial = owner ? owner->Serial : 0;
        return *this;
    }

    // The target while it lives; null when none was set, or it has gone.
    T* Get() const
    {
        Entity* owner = pointer ? Entity::Living(serial) : nullptr;
        if (!owner)
            return nullptr;
        if constexpr (std::is_same_v<T, Entity>)
            return owner;
        else
        {
            const auto& all = owner->components;
            return std::find(all.begin(), all.end(), pointer) != all.end() ? pointer : nullptr;
        }
    }
    operator T*() const { return Get(); }   // NOLINT: read like the raw pointer
    T* operator->() const { return Get(); }

private:
    T* pointer = nullptr;
    uint64_t serial = 0;   // the owning entity's; 0 for none
};
