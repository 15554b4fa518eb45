#pragma once
// The shape of an entity for contact tests. The collision pass pairs the first collider of each
// entity with the others' (masks and names permitting) and hands each pair to CheckPair, which
// tests the overlap, pushes one body out of the other's box when their ResolveCollision values
// say so, records the side it touched in Contacts and calls both callbacks. A collider's kind
// always matches its class: data naming another kind are refused with a message.
#include "scene/Component.h"

#include <bitset>
#include <string>
#include <vector>

class Collider : public Component
{
public:
    // The shape kinds and their saved texts ("circle", "rectangle", "triangle", "line").
    enum Type : int
    {
        TypeNone = 0,
        TypeCircle = 1,
        TypeRectangle = 2,
        TypeTriangle = 3,
        TypeLine = 4,
    };

    // The side of the pushed-out body that touched; what callbacks receive and Contacts holds.
    enum ContactKind : int
    {
        ContactNone = -1,    // overlap without resolution
        ContactTop = 0,      // its top met the other's bottom
        ContactBottom = 1,   // it stands on the other
        ContactLeft = 2,     // its left side met the other's right side
        ContactRight = 3,    // its right side met the other's left side
    };

    // The "Collision Mask" flags, by position.
    enum MaskFlag : size_t
    {
        MaskPaired = 0,     // takes part in pair tests
        MaskCarried = 1,    // read, saved and set on blockers; no decision reads it
        MaskSameName = 2,   // tested against entities of the same name too
    };

    using CallbackFn = void (*)(Entity* own, Entity* other, int contactKind);

    static constexpr int32_t ClassTypeId = ComponentType::Collider;   // see Entity::GetComponent
    explicit Collider(Type kind) : Component(ComponentType::Collider), ColliderType(kind), ownKind(kind) {}

    virtual std::string GetName() const = 0;

    // The shared saved form: "ColliderType", "Collision", "ResolveCollision",
    // "PixelGridCollider", "Collision Mask". Values of the wrong JSON type raise.
    void Write(json& out) const override;
    void Read(const json& in) override;

    static std::string TypeToString(int kind);            // "none" for a kind without a name
    static int TypeFromString(const std::string& text);   // 0 for any other text

    // The pair test of the collision pass (see the header comment); null or equal colliders,
    // or colliders without entities, do nothing. When the first callback deletes either
    // entity, the second is not called.
    static void CheckPair(Collider* a, Collider* b);
    // Whether the two shapes touch now; false for a missing collider or a kind without a shape.
    bool Overlaps(const Collider* other) const;
    // Pushes `pushed` out of `other`'s box along the shallowest side, records the contact on
    // its first collider and returns the side; ContactNone (and no change) without a Transform
    // on either or Physics on `pushed`.
    static int ResolveOverlap(Entity* pushed, Entity* other);

    int Collision = 0;                // stored and shown only
    bool Pushed = false;              // the other body moved into this one this pass
    std::vector<int> Contacts;        // ContactKind of every resolved contact since the last clearing
    std::bitset<3> CollisionMask;     // MaskFlag positions
    int ColliderType;                 // always the class's own kind
    CallbackFn Callback = nullptr;    // installed by a behaviour
    int ResolveCollision = -1;        // the higher value is pushed out; -1 never resolves
    bool PixelGridCollider = false;   // also tested against the terrain of the paired entity

protected:
    Collider(const Collider& other) = default;
    // The keys every collider saves: "ColliderType" and "Collision". A saved kind that is not
    // the class's own is refused with a message.
    void WriteKindAndCollision(json& out) const;
    void ReadKindAndCollision(const json& in);

private:
    Type ownKind;
};
