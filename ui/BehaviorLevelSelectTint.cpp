#include "ui/BehaviorLevelSelectTint.h"

#include "engine/TraceSystem.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "ui/Button.h"

int BehaviorLevelSelectTint::LevelNumberOf(const std::string& name)
{
    return FirstNumberIn(name).value_or(0);
}

void BehaviorLevelSelectTint::OnUpdate(float)
{
    if (!Parent)
        return;
    const auto tint = SpriteTint(Parent);
    if (!tint)
        return;
    Button* button = Parent->GetComponent<Button>();
    if (IsLevelUnlocked(LevelNumberOf(Parent->Name)))
    {
        // Only the locked look is undone, so the button's own hover and press tints keep working.
        if ((*tint)[0] == LockedGrey && (*tint)[1] == LockedGrey && (*tint)[2] == LockedGrey)
        {
            if (button)
                button->Perpetual = false;
            TintSprite(Parent, 1, 1, 1);
        }
        return;
    }
    if (button)
        button->Perpetual = true;
    TintSprite(Parent, LockedGrey, LockedGrey, LockedGrey);
}

void BehaviorLevelSelectTint::OnExit() { Log("BehaviorLevelSelectTint: Shutting down"); }
