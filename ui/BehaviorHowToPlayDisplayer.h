#pragma once
// Shows the pages of the how-to-play screen on its entity's Sprite. The instructions are grouped
// by action (one per job or topic), each an ordered list of page pictures. Which action and page
// are shown is process-wide state that the how-to-play buttons change (an action, the page left
// or right); the displayer redraws only when Changed says so, and the first one to redraw clears
// it. Reading a displayer (each opening of the screen) starts afresh at the first page of its
// first action: FirstActionName when it names one, else the first action in name order. Each
// page shown is said in the log.
//
// Promise: the page shown is always one of the current action's; a page index beyond them is
// brought back to its last page (and said), so no page number outside 1 .. count is ever shown.
#include "scene/Behavior.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class BehaviorHowToPlayDisplayer : public Behavior
{
public:
    Component* Clone() const override { return new BehaviorHowToPlayDisplayer(*this); }
    void Write(json& out) const override;   // "Type", "SpritePathMap", "FirstActionName"
    void Read(const json& in) override;

    std::string GetName() const override { return "BehaviorHowToPlayDisplayer"; }
    void OnInit() override {}
    void OnUpdate(float dt) override;
    void OnExit() override;

    // Shows the first page of an action.
    static void SetCurrentAction(const std::string& action)
    {
        CurrentAction = action;
        CurrentPage = 0;
        Changed = true;
    }

    static inline std::string CurrentAction;
    static inline uint64_t CurrentPage = 0;
    static inline uint64_t PageCount = 0;   // of the current action
    static inline bool Changed = false;     // the shown page must be refreshed

    std::map<std::string, std::vector<std::string>> SpritePathMap;   // action -> page textures
    std::string FirstActionName;
};
