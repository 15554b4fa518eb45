#include "ui/BehaviorSplashScreen.h"

#include "engine/InputSystem.h"
#include "engine/TraceSystem.h"
#include "game/Physics.h"
#include "scene/Entity.h"
#include "scene/SceneSystem.h"
#include "scene/Transform.h"

#include <algorithm>

namespace
{
void SetVelocity(Entity* entity, const Vec3& velocity)
{
    if (Physics* physics = entity ? entity->GetComponent<Physics>() : nullptr)
        physics->Velocity = velocity;
}

void Stop(Entity* entity) { SetVelocity(entity, {0, 0, 0}); }

Transform* TransformOf(Entity* entity) { return entity ? entity->GetComponent<Transform>() : nullptr; }

void Place(Entity* entity, const Vec3& at)
{
    if (Transform* transform = TransformOf(entity))
    {
        transform->Translation = at;
        transform->Dirty = true;
    }
}

void SetHeight(Entity* entity, float y)
{
    if (Transform* transform = TransformOf(entity))
        Place(entity, {transform->Translation.x, y, transform->Translation.z});
}

bool StandsStill(Entity* entity)
{
    const Physics* physics = entity ? entity->GetComponent<Physics>() : nullptr;
    return physics && physics->Velocity.y == 0;
}
}   // namespace

void BehaviorSplashScreen::Write(json& out) const
{
    out["Type"] = "BehaviorSplashScreen";
    out["VostrelDisplayDuration"] = VostrelDisplayDuration;
    out["FMODDisplayDuration"] = FMODDisplayDuration;
    out["TitleScrollSpeed"] = TitleScrollSpeed;
    out["GameLogoDisplayDuration"] = GameLogoDisplayDuration;
}

void BehaviorSplashScreen::Read(const json& in)
{
    ReadKey(in, "VostrelDisplayDuration", VostrelDisplayDuration);
    ReadKey(in, "FMODDisplayDuration", FMODDisplayDuration);
    ReadKey(in, "TitleScrollSpeed", TitleScrollSpeed);
    ReadKey(in, "GameLogoDisplayDuration", GameLogoDisplayDuration);
    VostrelDisplayDuration = std::max(VostrelDisplayDuration, MinimumDisplay);
    FMODDisplayDuration = std::max(FMODDisplayDuration, MinimumDisplay);
    Phase = 0;
    PhaseTime = 0;
    Skipped = false;
    Countdown = 0;
    Done = false;
}

void BehaviorSplashScreen::OnInit()
{
    Phase = 0;
    PhaseTime = 0;
    Countdown = 0;
    Done = false;
    Skipped = false;
    if (Scene* scene = SceneSystem::GetInstance().CurrentScene())
        for (Entity* entity : scene->entities.GetEntities())
        {
            if (!entity)
                continue;
            for (auto [name, field] : {std::pair{"FMODLogo", &FMODLogo},
                                       {"VostrelLogo", &VostrelLogo},
                                       {"GameTitle", &GameTitle},
                                       {"PresentsText", &PresentsText},
                                       {"GameLogo", &GameLogo}})
                if (entity->Name == name)
                    *field = entity;
        }
    StopAll();
}

void BehaviorSplashScreen::OnExit()
{
    Log("BehaviorSplashScreen: Shutting down");
    Countdown = 0;
    Done = false;
}

void BehaviorSplashScreen::StopAll()
{
    for (Entity* entity : {FMODLogo, VostrelLogo, GameTitle, PresentsText, GameLogo})
        Stop(entity);
}

void BehaviorSplashScreen::Scroll(Entity* entity) { SetVelocity(entity, {0, TitleScrollSpeed, 0}); }

void BehaviorSplashScreen::Advance(int phase)
{
    Phase = phase;
    PhaseTime = 0;
}

void BehaviorSplashScreen::RequestMainMenu()
{
    SceneSystem& scenes = SceneSystem::GetInstance();
    scenes.queuedScenePath = SceneSystem::MainMenuScene;
    scenes.queuedLoadRequested = true;
}

void BehaviorSplashScreen::OnUpdate(float dt)
{
    if (Parent && Parent->IsDestroyed)
        return;
    const InputSystem& input = InputSystem::GetInstance();
    if (!Skipped)
        for (int code : {0, 1, Key::Enter, Key::Space, Key::Escape})
            if (input.GetState(code) == 1)
            {
                Skipped = true;
                StopAll();
                RequestMainMenu();
                return;
            }

    switch (Phase)
    {
    case 0:   // the maker's logo alone
        PhaseTime += dt;
        if (PhaseTime >= VostrelDisplayDuration)
        {
            Scroll(VostrelLogo);
            Scroll(FMODLogo);
            Advance(1);
        }
        break;
    case 1:   // the sound credit rises, stands, and rises on
    {
        Transform* logo = TransformOf(FMODLogo);
        if (!logo)
            break;
        const float y = logo->Translation.y;
        if (y >= 0 && PhaseTime < FMODDisplayDuration)
        {
            Stop(FMODLogo);
            Place(FMODLogo, {0, 0, 4.0f});
            PhaseTime += dt;
            if (PhaseTime >= FMODDisplayDuration)
                Scroll(FMODLogo);
        }
        else if (y > 1.0f)
        {
            if (StandsStill(GameTitle))
                Scroll(GameTitle);
            if (StandsStill(PresentsText))
                Scroll(PresentsText);
            Advance(2);
        }
        break;
    }
    case 2:   // the title arrives
    {
        Transform* title = TransformOf(GameTitle);
        if (!title || title->Translation.y < 0)
            break;
        SetHeight(GameTitle, 0);
        SetHeight(PresentsText, -2.0f);
        StopAll();
        Advance(3);
        break;
    }
    case 3:   // the title stands
        PhaseTime += dt;
        if (PhaseTime >= TitleHold)
        {
            Place(GameTitle, {0, -12.0f, 4.0f});
            Place(PresentsText, {-2.0f, -14.0f, 4.0f});
            Place(GameLogo, {0, 0, 4.0f});
            Advance(4);
        }
        break;
    case 4:   // the game logo stands
        PhaseTime += dt;
        if (PhaseTime >= LogoHold)
            Advance(5);
        break;
    case 5:   // leave
        if (Done)
            break;
        if (Countdown == 0)
            Countdown = FinalDelay;
        Countdown -= CountdownStep;
        if (Countdown <= 0)
        {
            Done = true;
            RequestMainMenu();
        }
        break;
    default:
        break;
    }
}
