#pragma once
// Builds an on-screen interface (a level's job buttons, counters, speed buttons and the like)
// from archetypes and makes it follow the camera. At its first update it builds one spawned
// entity per name of UIElements, attaches each to its own entity through the transform
// hierarchy and adds them to the scene that holds its entity; then it attaches its own entity to
// that scene's "MainCamera". An element's world matrix is thus camera x this entity x element.
// The elements belong to the scene; they leave with this behaviour (marked destroyed and let
// go), and one deleted before it leaves no dangling link behind. A copied entity gets no
// BehaviorUI (Clone gives none), so its interface is never built twice.
#include "scene/Behavior.h"
#include "scene/EntityRef.h"

#include <string>
#include <vector>

class BehaviorUI : public Behavior
{
public:
    static inline const std::string UIElementsKey = "UIElements";

    BehaviorUI() = default;
    BehaviorUI(const BehaviorUI&) = delete;
    BehaviorUI& operator=(const BehaviorUI&) = delete;
    ~BehaviorUI() override;

    Component* Clone() const override { return nullptr; }
    void Write(json& out) const override;   // the behaviour keys, "Type", "UIElements"
    void Read(const json& in) override;     // the behaviour keys, then "UIElements" when present

    std::string GetName() const override { return "BehaviorUI"; }
    void OnInit() override;
    void OnUpdate(float) override {}
    void OnExit() override {}

    std::vector<EntityRef<Entity>> CreatedEntities;   // in the order built; owned by the scene
    std::vector<std::string> UIElements;              // archetype names
};
