#include "scene/Behavior.h"

#include "scene/Entity.h"
#include "ui/ButtonComponent.h"

Behavior::~Behavior()
{
    // Removed from a live entity (the editor does so), a behaviour must leave no callback behind
    // on the button that stays. An entity being deleted has emptied its list already.
    if (Parent)
        for (Component* c : Parent->components)
            if (auto* button = dynamic_cast<ButtonComponent*>(c))
                button->RemoveCallbacks(this);
}

void Behavior::Update(float dt)
{
    if (StateNext != StateCurrent)
    {
        OnExit();
        StateCurrent = StateNext;
        OnInit();
    }
    if (dt > 0)
        OnUpdate(dt);
}

void Behavior::Write(json& out) const
{
    // The saved states are fixed: a behaviour read back enters its first state afresh.
    out["StateCurrent"] = 0;
    out["StateNext"] = 1;
    out["Timer"] = Timer;
}

void Behavior::Read(const json& in)
{
    if (in.contains("StateCurrent"))
        StateCurrent = 0;
    if (in.contains("StateNext"))
        StateNext = 1;
    ReadKey(in, "Timer", Timer);
}

bool Behavior::IsButtonPressed() const
{
    if (!Parent)
        return false;
    const ButtonComponent* button = Parent->GetComponent<ButtonComponent>();
    return button && button->CurrentState == ButtonComponent::Pressed;
}
