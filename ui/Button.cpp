#include "ui/Button.h"

#include "audio/AudioPlayer.h"
#include "engine/InputSystem.h"
#include "engine/TraceSystem.h"
#include "graphics/Sprite.h"
#include "scene/Entity.h"
#include "ui/ButtonComponent.h"

void TintSprite(Entity* entity, float red, float green, float blue)
{
    Sprite* sprite = entity ? entity->GetComponent<Sprite>() : nullptr;
    if (!sprite || !sprite->request)
        return;
    sprite->request->tint[0] = red;
    sprite->request->tint[1] = green;
    sprite->request->tint[2] = blue;
}

std::optional<std::array<float, 3>> SpriteTint(const Entity* entity)
{
    const Sprite* sprite = entity ? entity->GetComponent<Sprite>() : nullptr;
    if (!sprite || !sprite->request)
        return std::nullopt;
    return std::array<float, 3>{sprite->request->tint[0], sprite->request->tint[1], sprite->request->tint[2]};
}

void ReadHotkey(const json& in, const char* owner, int& hotkey)
{
    int64_t code = hotkey;
    if (!ReadKeyOrKeep(in, "Hotkey", code, std::string("COMPONENT: [") + owner + "]"))
        return;
    if (code >= INT32_MIN && code <= INT32_MAX)
        hotkey = static_cast<int>(code);
    else
        Log("COMPONENT: [", owner, "] \"Hotkey\" is ", code, ", not a key code; ignored");
}

void ReadKeyHotkey(const json& in, const char* owner, int& hotkey, int none)
{
    ReadHotkey(in, owner, hotkey);
    if (hotkey != 0)
        return;
    Log("COMPONENT: [", owner,
        "] \"Hotkey\" 0 is the left mouse button, which clicks the button itself; no hotkey");
    hotkey = none;
}

Button::Button(const Button& other) : Behavior(other), Enabled(other.Enabled), Perpetual(other.Perpetual) {}

void Button::Write(json& out) const
{
    Behavior::Write(out);
    out["Type"] = "Button";
    out["Enabled"] = Enabled;
    out["Perpetual"] = Perpetual;
}

void Button::Read(const json& in)
{
    Behavior::Read(in);
    ReadKey(in, "Enabled", Enabled);
    ReadKey(in, "Perpetual", Perpetual);
}

ButtonComponent* Button::GetButtonComponent() const
{
    return Parent ? Parent->GetComponent<ButtonComponent>() : nullptr;
}

void Button::PostCreate()
{
    Behavior::PostCreate();
    if (!Parent)
        return;
    ButtonComponent* button = GetButtonComponent();
    if (!button)
    {
        button = new ButtonComponent();
        Parent->AddComponent(button);
    }
    button->AddCallback(this, [this](ButtonComponent::state state) {
        switch (state)
        {
        case ButtonComponent::Pressed:
            OnPressed();
            break;
        case ButtonComponent::Released:
            OnReleased();
            break;
        case ButtonComponent::Hover:
            OnHover();
            break;
        case ButtonComponent::Idle:
            OnIdle();
            break;
        }
    });
}

void Button::OnInit() { TraceMessage("Button component initialized"); }

void Button::OnExit() { TraceMessage("Button component shutdown"); }

void Button::ApplyTint(const Color& color)
{
    if (Enabled)
        TintSprite(Parent, color[0], color[1], color[2]);
}

void Button::ClickOnHotkey(int code)
{
    if (InputSystem::GetInstance().GetState(code) != 1)
        return;
    ApplyTint(PressedColor);
    OnReleased();
}

void Button::OnPressed()
{
    ApplyTint(PressedColor);
    AudioPlayer::GetInstance()->PlaySound("Select", false, 1.0f);
}

void Button::OnHover()
{
    if (!Perpetual)
        ApplyTint(HoverColor);
}

void Button::OnIdle()
{
    if (!Perpetual)
        ApplyTint(NormalColor);
}

void Button::OnReleased() { Button::OnIdle(); }
