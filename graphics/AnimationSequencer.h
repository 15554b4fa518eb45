#pragma once
// Holds named animation states, each read from its own file "Data/Anims/<name>.json", and
// switches the Animation and the Sprite on the same entity to one of them on request: the
// state's sheet layout, frame count and frame duration go to the animation, its mesh and
// texture to the sprite's draw request, and the animation restarts. A state is found by the
// "name" inside its file. The listed state names are written back, so a saved scene keeps them.
#include "scene/Component.h"

#include <string>
#include <vector>

// One animation state as its file describes it.
struct AnimState
{
    std::string name;
    float frameDuration = 0;
    int frameCount = 0;
    bool looping = false;
    int columns = 0;
    int rows = 0;
    int mesh = -1;
    int shader = -1;
    int texture = 0;
    int space = 0;
    float tint[3] = {1, 1, 1};
    int wrap = 0;
    int filter = 0;
    float uv[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
};

// One state from a parsed state file; keys of another type keep their defaults. Mesh, shader
// and texture names are resolved through their libraries ("Prim_Plane", "base" and texture 0
// when absent).
AnimState ReadAnimState(const json& in);

class AnimationSequencer : public Component
{
public:
    static constexpr int32_t ClassTypeId = ComponentType::AnimationSequencer;   // see Entity::GetComponent
    AnimationSequencer() : Component(ComponentType::AnimationSequencer) {}

    Component* Clone() const override { return new AnimationSequencer(*this); }
    void Write(json& out) const override;   // "Type" and the listed "States"
    void Read(const json& in) override;     // appends the states of "States" to those held

    // Switches to the named state and restarts the animation; false when it already is in
    // that state (nothing restarts) or the entity lacks its Sprite or Animation. A name no
    // held state has restarts the animation on its current sheet, with a message.
    bool SetState(const std::string& name);

    std::string CurrentState;
    std::vector<AnimState> States;
    std::vector<std::string> StateNames;   // as listed in "States", whether their files loaded or not
};
