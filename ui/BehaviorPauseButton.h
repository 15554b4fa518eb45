#pragma once
// The menu button whose action is chosen by its entity's name: pause and resume, settings,
// credits, how-to-play pages, quitting through the confirm screen, the level loader and the
// level buttons, full screen and resetting the volumes. A click is only recorded; the next
// update (while time runs) acts on it. The how-to-play arrows and action buttons also keep
// their tint showing what is available and selected; a click on an arrow greyed out (no page in
// its direction) is dropped.
//
// Names and actions (exact names unless said otherwise):
//   "PauseButton"          pause without menu (kind 2), or resume from it
//   "ResumeButton"         at the main menu: close the overlay; elsewhere: back to the pause menu
//   "SettingButton"        the settings screen (kind 3)       "CreditsButton"  credits (kind 7)
//   "HowToPlayButton"      the how-to-play screen (kind 6)
//   "QuitButton"           the confirm screen
//   "ConfirmYesButton"     in a paused level: to the main menu; elsewhere: quit the game
//   "ConfirmNoButton"      close the confirm screen
//   "LoadButton"           the level selection
//   "LoadLevelScene<N>Button"  level N, when it is unlocked; else the sound "Locked"
//   "ScreenSizeButton"     switch between full screen and a window
//   "ResetVolumeButton"    every bus back to half volume
//   "HowToPlayLeftButton" / "HowToPlayRightButton"  the previous / next page
//   "HowToPlay<Action>Button"  the pages of that action
#include "ui/Button.h"

class BehaviorPauseButton : public Button
{
public:
    static constexpr float GreyedOut = 0.2f;   // an arrow with no page in its direction
    static constexpr float Selected = 0.5f;    // the action whose pages are shown

    Component* Clone() const override { return new BehaviorPauseButton(*this); }
    void Write(json& out) const override;
    std::string GetName() const override { return "BehaviorPauseButton"; }
    void OnUpdate(float dt) override;
    void OnReleased() override;

    bool Clicked = false;    // a click waits for the next update
    bool ArrowLit = false;   // the right arrow's full tint was restored since it was last greyed

private:
    // False when the arrow holds its click back (no page in that direction).
    bool TintHowToPlay();
    void Act();
};
