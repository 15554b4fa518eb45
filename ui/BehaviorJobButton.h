#pragma once
// One button of the player's job bar. A click (or its hotkey) selects the button, a second one
// deselects it; every click is announced with a ButtonClickedMessage, and a selected job button
// deselects itself when it hears the message of any other button. While selected, the first
// walking bot (an entity named exactly "Monkey") whose button is pressed gets the job, and the
// selection ends. The job comes from the button entity's own name:
//   "MonkeyBlockerButton" blocker, "MonkeyDigButton" dig, "MonkeyBridgeButton" bridge,
//   "MonkeyUmbrellaButton" an umbrella (the job stays), "MonkeyTunnelButton" tunnel.
// A bot that already has the job is passed over for the next pressed one; a button of any other
// name swallows the selection on the next bot press.
#include "ui/Button.h"

class BehaviorMonkey;

class BehaviorJobButton : public Button
{
public:
    static constexpr int DefaultHotkey = 48;   // the "0" key

    Component* Clone() const override { return new BehaviorJobButton(*this); }
    void Write(json& out) const override;   // Button's keys, "Type", "Hotkey"
    void Read(const json& in) override;     // Button's keys, then "Hotkey" when present
    void PostCreate() override;             // Button's, then listens for other buttons' clicks

    std::string GetName() const override { return "BehaviorJobButton"; }
    void OnUpdate(float dt) override;
    void OnHover() override {}
    void OnIdle() override {}
    void OnReleased() override;   // toggles the selection and announces the click

    enum class Handout
    {
        Given,        // the bot has the job now
        AlreadyHas,   // nothing to give: look for another bot
        NoJob         // this button's name names no job
    };
    // Gives this button's job to the bot.
    Handout GiveJob(BehaviorMonkey& bot) const;

    bool JobSelected = false;
    int Hotkey = DefaultHotkey;   // an input code that acts as a click; one outside the input never fires
};
