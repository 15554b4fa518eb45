#pragma once
// The button that moves on from a level or a menu. A click marks the current scene complete with
// a chosen next scene, which the game system then loads:
//  - "NextSceneButton": the next level (the same file name with its number raised by one), or
//    "Data/Scenes/GameEndScene.json" after the last level;
//  - any other name: TargetScene when the entry names one, else the current scene again (retry).
// With ReloadCurrent the scene system is also asked to reload the scene it loaded last.
#include "ui/Button.h"

#include <string>

class BehaviorSceneButton : public Button
{
public:
    static constexpr const char* GameEndScene = "Data/Scenes/GameEndScene.json";

    Component* Clone() const override { return new BehaviorSceneButton(*this); }
    void Write(json& out) const override;
    void Read(const json& in) override;
    std::string GetName() const override { return "SceneChangeButton"; }
    void OnReleased() override;

    // The scene file after this one: the first number of the file name raised by one
    // ("Data/Scenes/LevelScene3.json" gives ".../LevelScene4.json"); a name without a number
    // gives the name + "TheVoid.json", which names no scene.
    static std::string NextLevelFile(const std::string& sceneFile);

    std::string TargetScene;
    bool ReloadCurrent = false;
};
