#pragma once
// Drives the engine systems: Init in start-up order, then frames of BeginFrame, Update and
// PostUpdate in start-up order and EndFrame in reverse order until the window is asked to close,
// then the settings are saved and every system shuts down in start-up order. The engine does
// not own its systems.
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

    // Replaceable for tests: when to stop, what to save after the loop, the frame time.
    std::function<bool()> shouldClose;
    std::function<void()> saveSettings;
    std::function<float()> frameTime;

private:
    std::vector<BaseSystem*> systems;
};
