#include "ui/BehaviorChangeSpeedButton.h"

#include "engine/InputSystem.h"
#include "engine/TraceSystem.h"
#include "scene/SceneSystem.h"

#include <cmath>

void BehaviorChangeSpeedButton::Write(json& out) const
{
    Button::Write(out);
    out["Type"] = "BehaviorChangeSpeedButton";
    out["CurrentSpeedState"] = CurrentSpeedState;
    if (Hotkey != NoHotkey)
        out["Hotkey"] = Hotkey;
}

void BehaviorChangeSpeedButton::Read(const json& in)
{
    Button::Read(in);
    double speed = CurrentSpeedState;
    ReadKey(in, "CurrentSpeedState", speed);
    // A speed of 0 or below stops the game for good once chosen, and one too large for a float
    // sends every bot to infinity.
    if (const std::optional<float> fits = NumberAs<float>(json(speed)); fits && speed > 0)
        CurrentSpeedState = *fits;
    else
        Log("COMPONENT: [BehaviorChangeSpeedButton] \"CurrentSpeedState\" is ",
            JsonSummary(in.at("CurrentSpeedState")), ", not a positive speed; kept ", CurrentSpeedState);
    ReadKeyHotkey(in, "BehaviorChangeSpeedButton", Hotkey, NoHotkey);
}

void BehaviorChangeSpeedButton::OnUpdate(float)
{
    float& gameSpeed = SceneSystem::GetInstance().gameSpeed;
    const bool active = gameSpeed == CurrentSpeedState;
    const float shade = active ? ActiveShade : 1.0f;
    TintSprite(Parent, shade, shade, shade);
    if (InputSystem::GetInstance().GetState(Hotkey) == 1)
        TogglePending = true;
    if (!TogglePending)
        return;
    gameSpeed = active ? 1.0f : CurrentSpeedState;
    TogglePending = false;
}
