#include "ui/BehaviorPauseButton.h"

#include "audio/AudioPlayer.h"
#include "engine/MessagingSystem.h"
#include "engine/TraceSystem.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"
#include "ui/BehaviorHowToPlayDisplayer.h"
#include "ui/BehaviorLevelSelectTint.h"
#include "ui/BehaviorSliderButton.h"

namespace
{
constexpr const char* LevelLoaderScene = "Data/Scenes/LevelLoaderScene.json";

void Grey(Entity* entity, float level) { TintSprite(entity, level, level, level); }

// Marks the current scene complete with a next scene for the game system to load.
void MoveTo(const std::string& next)
{
    if (Scene* scene = SceneSystem::GetInstance().CurrentScene())
    {
        scene->NextScene = next;
        scene->IsComplete = true;
    }
}

// The scene file a level button names: "LoadLevelScene3Button" gives "Data/Scenes/LevelScene3.json".
std::string LevelButtonScene(const std::string& name)
{
    const std::string stem = name.substr(0, name.find("Button"));
    return stem.size() > 4 ? "Data/Scenes/" + stem.substr(4) + ".json" : "";
}
}   // namespace

void BehaviorPauseButton::Write(json& out) const
{
    Button::Write(out);
    out["Type"] = "BehaviorPauseButton";
}

void BehaviorPauseButton::OnReleased()
{
    Button::OnReleased();
    Clicked = true;
}

bool BehaviorPauseButton::TintHowToPlay()
{
    using Pages = BehaviorHowToPlayDisplayer;
    const std::string& name = Parent->Name;
    if (name == "HowToPlayLeftButton")
    {
        if (Pages::CurrentPage == 0)
        {
            // A click on a greyed arrow is dropped: kept, it would turn the page back later,
            // long after the player clicked.
            Grey(Parent, GreyedOut);
            Clicked = false;
            return false;
        }
        if (!Clicked)
            Grey(Parent, 1.0f);
    }
    else if (name == "HowToPlayRightButton")
    {
        if (Pages::CurrentPage + 1 == Pages::PageCount)
        {
            Grey(Parent, GreyedOut);
            ArrowLit = false;
            Clicked = false;
            return false;
        }
        if (!ArrowLit)
        {
            Grey(Parent, 1.0f);
            ArrowLit = true;
        }
    }
    else if (name.find("HowToPlay") != std::string::npos && name != "HowToPlayButton" && name.size() > 6)
        Grey(Parent, name.substr(0, name.size() - 6) == Pages::CurrentAction ? Selected : 1.0f);
    return true;
}

void BehaviorPauseButton::OnUpdate(float)
{
    if (!Parent)
        return;
    if (!TintHowToPlay() || !Clicked)
        return;
    Clicked = false;
    Act();
}

void BehaviorPauseButton::Act()
{
    using Pages = BehaviorHowToPlayDisplayer;
    SceneSystem& scenes = SceneSystem::GetInstance();
    const std::string& name = Parent->Name;
    const Scene* scene = scenes.CurrentScene();

    if (name == "PauseButton")
        scenes.TogglePause(SceneSystem::NoMenuPause);
    else if (name == "ResumeButton")
    {
        const bool atMainMenu = scene && SceneSystem::SamePath(scene->SceneFile, SceneSystem::MainMenuScene);
        scenes.TogglePause(atMainMenu ? SceneSystem::NotPaused : SceneSystem::MenuPause);
    }
    else if (name == "SettingButton")
        scenes.TogglePause(SceneSystem::SettingsPause);
    else if (name == "CreditsButton")
        scenes.TogglePause(SceneSystem::CreditsPause);
    else if (name == "QuitButton")
    {
        scenes.confirmActive = true;
        scenes.openConfirmRequested = true;
    }
    else if (name == "ResetVolumeButton")
        BehaviorSliderButton::ResetVolumes();
    else if (name == "ConfirmYesButton")
    {
        if (scenes.pauseKind != SceneSystem::NotPaused)
            MoveTo(SceneSystem::MainMenuScene);
        else
            MessagingSystem::GetInstance().Post(MessageType::Window, "shutdown");
    }
    else if (name == "ConfirmNoButton")
    {
        scenes.confirmActive = false;
        scenes.closeConfirmRequested = true;
    }
    else if (name == "LoadButton")
        MoveTo(LevelLoaderScene);
    else if (name.find("LoadLevelScene") != std::string::npos)
    {
        const std::string level = LevelButtonScene(name);
        if (!level.empty() && IsLevelUnlocked(BehaviorLevelSelectTint::LevelNumberOf(level)))
            MoveTo(level);
        else
            AudioPlayer::GetInstance()->PlaySound("Locked", false, 1.0f);
    }
    else if (name == "ScreenSizeButton")
        MessagingSystem::GetInstance().Post(MessageType::Window, "fullscreen");
    else if (name == "HowToPlayLeftButton")
    {
        if (Pages::CurrentPage - 1 < Pages::PageCount)
        {
            --Pages::CurrentPage;
            Pages::Changed = true;
        }
    }
    else if (name == "HowToPlayRightButton")
    {
        if (Pages::CurrentPage + 1 < Pages::PageCount)
        {
            ++Pages::CurrentPage;
            Pages::Changed = true;
        }
    }
    else if (name == "HowToPlayButton")
        scenes.TogglePause(SceneSystem::HowToPlayPause);
    else if (name.find("HowToPlay") != std::string::npos && name.size() > 6)
        Pages::SetCurrentAction(name.substr(0, name.size() - 6));
    else
        TraceMessage("BehaviorPauseButton: Unknown button name %s", name.c_str());
}
