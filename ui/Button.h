#pragma once
// The base of every clickable menu or HUD element. After PostCreate its entity has a
// ButtonComponent whose states reach the four virtual operations below: pressed, hover, idle and
// released. The default feedback tints the entity's Sprite (normal, hover, pressed; red, green
// and blue only) and plays "Select" on press. A disabled button never tints; a perpetual one
// keeps whatever tint it has on hover, idle and release.
#include "scene/Behavior.h"

#include <array>
#include <optional>

class ButtonComponent;

class Button : public Behavior
{
public:
    using Color = std::array<float, 4>;
    static constexpr Color NormalTint{1, 1, 1, 1};
    static constexpr Color HoverTint{0.75f, 0.75f, 0.75f, 1};
    static constexpr Color PressedTint{0.5f, 0.5f, 0.5f, 1};

    Button() = default;
    Button(const Button& other);   // the behaviour state and both flags; colours at their defaults

    Component* Clone() const override { return new Button(*this); }
    void Write(json& out) const override;   // the behaviour keys, "Type", "Enabled", "Perpetual"
    void Read(const json& in) override;
    void PostCreate() override;   // finds or adds the ButtonComponent and listens to it

    std::string GetName() const override { return "Button"; }
    void OnInit() override;
    void OnUpdate(float) override {}
    void OnExit() override;

    virtual void OnPressed();    // pressed tint, then "Select"
    virtual void OnHover();      // hover tint unless perpetual
    virtual void OnIdle();       // normal tint unless perpetual
    virtual void OnReleased();   // normal tint unless perpetual

    // Sets the red, green and blue of the entity's sprite when the button is enabled.
    void ApplyTint(const Color& color);
    void ApplyNormalTint() { ApplyTint(NormalColor); }

    // When the input code went down in this frame: the pressed tint the mouse would have shown,
    // then OnReleased, exactly as a click (no sound). Codes the input does not have never fire.
    void ClickOnHotkey(int code);

    // The component found or added by PostCreate; null before.
    ButtonComponent* GetButtonComponent() const;

    Color NormalColor = NormalTint;
    Color HoverColor = HoverTint;
    Color PressedColor = PressedTint;
    bool Enabled = true;
    bool Perpetual = false;
};

// Sets the red, green and blue of the entity's sprite tint, alpha untouched; nothing without one.
void TintSprite(Entity* entity, float red, float green, float blue);
// The entity's sprite tint, or nothing without a sprite.
std::optional<std::array<float, 3>> SpriteTint(const Entity* entity);

// Reads in's "Hotkey" into hotkey when it is there; a value that is no 32-bit integer is logged
// under the owner's name and leaves hotkey as it was.
void ReadHotkey(const json& in, const char* owner, int& hotkey);
// ReadHotkey for a button that the left mouse button must not work: code 0 is that button, whose
// every click (on this button too) would fire, so it is logged and gives none instead.
void ReadKeyHotkey(const json& in, const char* owner, int& hotkey, int none);
