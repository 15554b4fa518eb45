#include "engine/Engine.h"

#include "engine/InputSystem.h"
#include "engine/MessagingSystem.h"
#include "engine/TraceSystem.h"
#include "engine/WindowSystem.h"

#include <cstdio>
#include <exception>

bool Engine::OnKeyMessage(const std::string& text)
{
    // Button clicks travel as type-1 messages with empty text: only a parsed key counts.
    int key = -1, action = -1;
    if (std::sscanf(text.c_str(), "%d, %d", &key, &action) < 1 || key != Key::End)
        return false;
    // End typed into an editor text field is the field's.
    if (InputSystem::GetInstance().overlayHasKeyboard)
        return false;
    WindowSystem::GetInstance().RequestClose();
    return true;
}

void Engine::Run()
{
    MessagingSystem::GetInstance().Subscribe(
        MessageType::Input, "Engine", [](std::string text) { return OnKeyMessage(text); }, this);

    for (BaseSystem* system : systems)
    {
        TraceMessage("%s: Init", system->GetName().c_str());
        try
        {
            system->Init();
        }
        catch (const std::exception& error)
        {
            // A failed start of one system is reported and the others go on.
            Log("ENGINE: [", system->GetName(), "] Init failed: ", error.what());
        }
        TraceMessage("%s: Init Done", system->GetName().c_str());
    }

    const auto closing = shouldClose ? shouldClose : [] { return WindowSystem::GetInstance().ShouldClose(); };
    const auto dt = frameTime ? frameTime : [] { return WindowSystem::GetInstance().dt; };
    while (!closing())
    {
        for (BaseSystem* system : systems)
            system->BeginFrame();
        for (BaseSystem* system : systems)
            system->Update(dt());
        for (BaseSystem* system : systems)
            system->PostUpdate();
        for (auto it = systems.rbegin(); it != systems.rend(); ++it)
            (*it)->EndFrame();
    }

    if (saveSettings)
        saveSettings();

    for (BaseSystem* system : systems)
    {
        TraceMessage("%s: Shutdown", system->GetName().c_str());
        system->Shutdown();
        TraceMessage("%s: Shutdown Done", system->GetName().c_str());
    }
    MessagingSystem::GetInstance().Unsubscribe(this);
    // The window and the log go last: every system shut down with a live context and a log.
    WindowSystem::GetInstance().DestroyWindow();
    TraceSystem::GetInstance().Close();
}
