#pragma once
// The opening sequence of the splash scene: the maker's logo alone, the sound credit rising into
// view and held, the game title with its presents line scrolling up, the game logo, then the
// main menu "Data/Scenes/MainMenuScene.json". Mouse button 0 or 1, Enter, Space or Escape
// pressed this frame skips to the menu. It moves the scene's entities named "VostrelLogo",
// "FMODLogo", "GameTitle", "PresentsText" and "GameLogo" through their Physics velocities and
// Transforms; a missing one is passed over, but the sequence waits for "FMODLogo" and
// "GameTitle" (the skip inputs still work).
#include "scene/Behavior.h"
#include "scene/EntityRef.h"

class BehaviorSplashScreen : public Behavior
{
public:
    Component* Clone() const override { return new BehaviorSplashScreen(*this); }
    void Write(json& out) const override;   // the three durations and the scroll speed only
    void Read(const json& in) override;     // display durations never below 2 s
    std::string GetName() const override { return "BehaviorSplashScreen"; }
    void OnInit() override;
    void OnUpdate(float dt) override;
    void OnExit() override;

    static constexpr float MinimumDisplay = 2.0f;
    static constexpr float TitleHold = 2.5f;               // the title stands this long
    static constexpr float LogoHold = 4.0f;                // then the game logo
    static constexpr float CountdownStep = 1.0f / 60.0f;   // per update, whatever the frame time

    int Phase = 0;
    float PhaseTime = 0;
    float VostrelDisplayDuration = MinimumDisplay;
    float FMODDisplayDuration = MinimumDisplay;
    float FinalDelay = 0.5f;
    float TitleScrollSpeed = 2.0f;
    float GameLogoDisplayDuration = 1.5f;   // kept in the file; the sequence does not use it
    bool Skipped = false;
    EntityRef<Entity> FMODLogo;   // not owned: entities of the current scene
    EntityRef<Entity> VostrelLogo;
    EntityRef<Entity> GameTitle;
    EntityRef<Entity> PresentsText;
    EntityRef<Entity> GameLogo;
    float Countdown = 0;
    bool Done = false;

private:
    void StopAll();
    void Scroll(Entity* entity);
    void Advance(int phase);
    void RequestMainMenu();
};
