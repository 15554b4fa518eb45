#pragma once
// The player's way to remove a bot. A click (or the hotkey) arms destruct mode, a second one
// disarms it; while armed, every bot (an entity whose name contains "Monkey", such as a blocker's
// "MonkeyBlocker", with a bot behaviour) whose button is pressed dies on its next update, and the
// mode ends. Arming is
// announced with a ButtonClickedMessage, so the job buttons deselect themselves; the click of
// any button that is not a destruct button disarms it. The mode is one flag shared by every
// destruct button; a scene's destruct buttons start disarmed, as they show.
#include "ui/Button.h"

class BehaviorDestructButton : public Button
{
public:
    static constexpr int NoHotkey = -1;

    BehaviorDestructButton();
    BehaviorDestructButton(const BehaviorDestructButton& other);   // Button's copy and both fields
    ~BehaviorDestructButton() override;

    Component* Clone() const override { return new BehaviorDestructButton(*this); }
    void Write(json& out) const override;   // Button's keys, "Type", "DestroyOnlyBlockers", "Hotkey"
    void Read(const json& in) override;     // Button's keys, then the other two when present
    void PostCreate() override;             // Button's, disarms, then listens for other buttons' clicks

    std::string GetName() const override { return "BehaviorDestructButton"; }
    void OnUpdate(float dt) override;
    void OnReleased() override;   // toggles the mode; arming is announced

    // True when the button is a live destruct button. Tells senders apart without touching
    // them: a message may outlive the button that posted it.
    static bool IsDestructButton(const Button* button);

    static bool Armed;

    bool DestroyOnlyBlockers = false;   // stored only
    // An input code that acts as a click; none by default. The left mouse button (0) cannot be
    // one: it clicks this button and the bots, and would toggle the mode on each such click.
    int Hotkey = NoHotkey;
};
