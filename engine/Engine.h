#pragma once
// Drives the engine systems: Init in start-up order, then frames of BeginFrame, Update and
// PostUpdate in start-up order and EndFrame in reverse order until the window is asked to close,
// then saveSettings runs and every system shuts down in start-up order. The engine does not own
// its systems.
#include "engine/BaseSystem.h"

#include <functional>
#include <string>
#include <vector>

class Engine
{
public:
    void Add(BaseSystem* system) { systems.push_back(system); }
    const std::vector<BaseSystem*>& Systems() const { return systems; }

    void Run();

    // Closes the window on the End key, whatever the action; other texts change nothing.
    static bool OnKeyMessage(const std::string& text);

    // What to save after the loop (the game sets the scene system's settings files; unset:
    // nothing). Replaceable for tests: when to stop (the window's close flag) and the frame
    // time (the window's).
    std::function<void()> saveSettings;
    std::function<bool()> shouldClose;
    std::function<float()> frameTime;

private:
    std::vector<BaseSystem*> systems;
};
