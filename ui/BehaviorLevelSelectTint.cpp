#include "ui/BehaviorLevelSelectTint.h"

#include "engine/TraceSystem.h"
#include "graphics/Sprite.h"
#include "graphics/TextureLibrary.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "ui/Button.h"
#include "ui/HoverResponse.h"

int BehaviorLevelSelectTint::LevelNumberOf(const std::string& name)
{
    return FirstNumberIn(name).value_or(0);
}

void BehaviorLevelSelectTint::Write(json& out) const
{
    out["Type"] = "BehaviorLevelSelectTint";
    if (!Mark.empty())
        out["Mark"] = Mark;
}

void BehaviorLevelSelectTint::ShowMark(bool unlocked, int level)
{
    const HoverResponse* hover = Mark.empty() ? nullptr : Parent->GetComponent<HoverResponse>();
    Entity* mark = hover ? hover->ChildNamed(Mark) : nullptr;
    Sprite* sprite = mark ? mark->GetComponent<Sprite>() : nullptr;
    if (!sprite)
        return;
    const char* picture = !unlocked ? LockPicture : IsLevelCompleted(level) ? DonePicture : NoPicture;
    sprite->request->texture = TextureLibrary::GetInstance().FindOrLoad(picture);
}

void BehaviorLevelSelectTint::OnUpdate(float)
{
    if (!Parent)
        return;
    const int level = LevelNumberOf(Parent->Name);
    const bool unlocked = IsLevelUnlocked(level);
    ShowMark(unlocked, level);
    const auto tint = SpriteTint(Parent);
    if (!tint)
        return;
    Button* button = Parent->GetComponent<Button>();
    if (unlocked)
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
