#include "scene/Component.h"

#include "engine/MessagingSystem.h"
#include "engine/TraceSystem.h"

Component::~Component() { MessagingSystem::GetInstance().Unsubscribe(this); }

Entity* Component::GetParent(const Component* component)
{
    if (!component)
    {
        Log("CRITICAL: GetParent() called on NULL component!");
        return nullptr;
    }
    return component->Parent;
}
