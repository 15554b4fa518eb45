#pragma once
// Scrolls the credits and then leaves them. It sits on the entity that carries them (a Transform
// and a Physics, which moves it by the velocity set here): the credits rise at 1 unit a second,
// 10 while Space is held, until their y reaches 38, stand there for EndWait seconds, and then
// leave: the credits overlay closes, and over any scene but the main menu (as the scene system
// names it with backslashes) the game also goes to the main menu. Escape leaves at once, at any
// point. ReachedEnd and Leaving are shared by every credits behaviour, so two in one scene run as
// one; reading a credits behaviour (each opening of the credits) clears them.
#include "scene/Behavior.h"

class BehaviorCredits : public Behavior
{
public:
    static constexpr float EndY = 38.0f;
    static constexpr float Speed = 1.0f;
    static constexpr float FastSpeed = 10.0f;   // while Space is held

    Component* Clone() const override { return new BehaviorCredits(*this); }
    void Write(json& out) const override { out["Type"] = "BehaviorCredits"; }
    void Read(const json&) override { ReachedEnd = Leaving = false; }   // no keys of its own

    std::string GetName() const override { return "BehaviorCredits"; }
    void OnInit() override {}
    void OnUpdate(float dt) override;
    void OnExit() override;

    static inline bool ReachedEnd = false;
    static inline bool Leaving = false;

    float EndWait = 3.0f;   // seconds standing at the end
};
