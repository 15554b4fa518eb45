#pragma once
// Fills the text of the Font on its own entity with live game information, chosen by the
// entity's name alone (exact names; any other name gets no text; nothing without a Font):
//   "LevelNameText"         the current level's label ("Level 3"; under an overlay the level
//                           beneath it), once after each read
//   "ScoreText"             bots not lost "/" the level's total ("7/10"), once after each read,
//                           so on a win or loss screen it shows the final count
//   "LevelTime"             the level timer as minutes ":" seconds ("01:05"), every update
//   "HowToPlayPageText"     the shown how-to-play page "/" the page count ("2/3"), every update;
//                           the number never leaves 1 .. count, and no pages show no text
//   "ScreenSizeButtonText"  " Windowed " in full screen, "Fullscreen" in a window, every update
#include "scene/Behavior.h"

#include <string>

class BehaviorFontChange : public Behavior
{
public:
    Component* Clone() const override { return new BehaviorFontChange(*this); }
    void Write(json& out) const override { out["Type"] = "BehaviorFontChange"; }
    void Read(const json&) override { RefreshOnce = true; }   // no keys of its own

    std::string GetName() const override { return "BehaviorFontChange"; }
    void OnInit() override {}
    void OnUpdate(float dt) override;
    void OnExit() override;

    // Seconds as "mm:ss", each part at least two digits; below 0 counts as 0.
    static std::string ClockText(float seconds);

    bool RefreshOnce = true;   // the texts set once per read are still due
};
