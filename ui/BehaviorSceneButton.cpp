#include "ui/BehaviorSceneButton.h"

#include "audio/AudioPlayer.h"
#include "scene/Entity.h"
#include "scene/LevelProgress.h"
#include "scene/SceneSystem.h"

#include <climits>

void BehaviorSceneButton::Write(json& out) const
{
    Button::Write(out);
    out["Type"] = "BehaviorSceneButton";
    if (!TargetScene.empty())
        out["TargetScene"] = TargetScene;
    out["ReloadCurrent"] = ReloadCurrent;
}

void BehaviorSceneButton::Read(const json& in)
{
    Button::Read(in);
    ReadKey(in, "TargetScene", TargetScene);
    ReadKey(in, "ReloadCurrent", ReloadCurrent);
}

std::string BehaviorSceneButton::NextLevelFile(const std::string& sceneFile)
{
    // Only the file name is searched: a folder's digits are not the level's.
    const size_t nameStart = sceneFile.size() - FileNameOf(sceneFile).size();
    const size_t digit = sceneFile.find_first_of("0123456789", nameStart);
    const std::optional<int> number = FirstNumberIn(std::string_view(sceneFile).substr(nameStart));
    if (digit == std::string::npos || !number || *number == INT_MAX)
        return sceneFile + "TheVoid" + ".json";
    return sceneFile.substr(0, digit) + std::to_string(*number + 1) + ".json";
}

void BehaviorSceneButton::OnReleased()
{
    Button::OnReleased();
    AudioPlayer* player = AudioPlayer::GetInstance();
    player->StopSound("Cheer");
    player->StopSound("Trombone");
    SceneSystem& scenes = SceneSystem::GetInstance();
    Scene* scene = scenes.CurrentScene();
    if (!scene || !Parent)
        return;
    if (ReloadCurrent)
        scenes.loadRequested = true;
    if (Parent->HasName("NextSceneButton"))
    {
        const int last = LevelList.back();
        scene->NextScene = LevelNumberFromScene(scene) == "Level " + std::to_string(last)
                               ? GameEndScene
                               : NextLevelFile(scene->SceneFile);
    }
    else
        scene->NextScene = TargetScene.empty() ? scene->SceneFile : TargetScene;
    scene->IsComplete = true;
}
