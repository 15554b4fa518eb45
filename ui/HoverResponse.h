#pragma once
// Decorates a button entity with up to five children, called compositions, that answer the
// button's states: their animations restart when the cursor enters the button or presses it, and
// still pictures darken while it is held and brighten when it is let go. Each is built at the
// first update from its own file, "Data/Compositions/" + name + ".json" (one entity, as in a
// scene file), hangs from the button through its Transform (so its place is read relative to the
// button and it moves with it), is marked spawned (never saved with the scene, only the names
// are) and joins the scene that holds the button. A missing file is said and ends the building:
// that slot and the later ones stay empty. The children leave with the button (marked destroyed
// and let go); one deleted before it leaves no dangling slot. Needs a ButtonComponent on the
// same entity to answer anything.
#include "scene/Behavior.h"
#include "scene/EntityRef.h"
#include "ui/ButtonComponent.h"

#include <array>
#include <string>

class HoverResponse : public Behavior
{
public:
    static constexpr int MaxChildren = 5;
    static constexpr float HeldShade = 0.7f;

    struct Child
    {
        std::string ChildName;
        EntityRef<Entity> ChildEntity;   // owned by the scene
    };

    HoverResponse() = default;
    HoverResponse(const HoverResponse& other);   // the names; a copy builds children of its own
    HoverResponse& operator=(const HoverResponse&) = delete;
    ~HoverResponse() override;

    Component* Clone() const override { return new HoverResponse(*this); }
    void Write(json& out) const override;   // "Children": the five names, empty ones too; "Type"
    // Each text of "Children" (an array's elements, an object's values, or a single value) fills
    // the next free slot; beyond the fifth they are left out. A value that is no text throws.
    void Read(const json& in) override;
    void PostCreate() override;   // listens to the entity's ButtonComponent, when it has one

    std::string GetName() const override { return "HoverResponse"; }
    void OnInit() override;   // builds the children
    void OnUpdate(float) override {}
    void OnExit() override {}

    // What the children do for a state of the button.
    void Respond(ButtonComponent::state state);
    // The child built for the first slot of that name; null when none was built or it has gone.
    Entity* ChildNamed(const std::string& name) const;

    std::array<Child, MaxChildren> Children;
    int ChildCount = 0;
};
