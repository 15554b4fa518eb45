#pragma once
// What the HUD button tests share: button and bot entities as a scene file would hold them, and
// the mouse as the button components report it.
#include "graphics/Sprite.h"
#include "scene/Entity.h"
#include "ui/ButtonComponent.h"

#include <nlohmann/json.hpp>
#include <string>

namespace ButtonTestKit
{
using json = nlohmann::json;

// A button entity with a transform, a sprite and a button component; settings go into the
// behaviour's object.
inline json ButtonEntity(const std::string& name, const std::string& type, json settings = json::object())
{
    settings["Type"] = type;
    return {{"Name", name},
            {"Components",
             {settings, {{"Type", "Transform"}}, {{"Type", "Sprite"}}, {{"Type", "ButtonComponent"}}}}};
}

inline json BotEntity(const std::string& name = "Monkey")
{
    return {{"Name", name}, {"Components", {{{"Type", "BehaviorMonkey"}}, {{"Type", "ButtonComponent"}}}}};
}

inline float Red(Entity* e) { return e->GetComponent<Sprite>()->request->tint[0]; }

// A click as the button component reports it: pressed, then released.
inline void Click(Entity* e)
{
    ButtonComponent* button = e->GetComponent<ButtonComponent>();
    button->NotifyState(ButtonComponent::Pressed);
    button->NotifyState(ButtonComponent::Released);
}

// The player holds the mouse down on the bot; its own button component lets go in its next
// update, so the press is seen by buttons earlier in the scene.
inline void Press(Entity* bot)
{
    bot->GetComponent<ButtonComponent>()->CurrentState = ButtonComponent::Pressed;
}
}   // namespace ButtonTestKit
