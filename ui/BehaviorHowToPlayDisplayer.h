#pragma once
// Which page of the how-to-play screen is shown: process-wide, shared by the page display and
// the how-to-play buttons. The state outlives the screen; the next opening sets it afresh.
#include <cstdint>
#include <string>

class BehaviorHowToPlayDisplayer
{
public:
    // Shows the first page of an action.
    static void SetCurrentAction(const std::string& action)
    {
        CurrentAction = action;
        CurrentPage = 0;
        Changed = true;
    }

    static inline std::string CurrentAction;
    static inline uint64_t CurrentPage = 0;
    static inline uint64_t PageCount = 0;
    static inline bool Changed = false;   // the shown page must be refreshed
};
