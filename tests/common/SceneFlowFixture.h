#pragma once
// The scene system, the game system and the buttons without a window: a data folder of small
// scene files (a private copy, so tests may change it), a private per-user folder, a known window
// size for the camera, and frames run in the engine's order. Everything it touches is put back.
#include "scene/Component.h"
#include "tests/common/TempFolder.h"

#include <string>
#include <vector>

class Entity;
class MainScene;

// Counts the frames its entity was updated and drawn in; the fixture scenes hold one on an
// entity named "Marker" (type name "FrameCounter").
class FrameCounter : public Component
{
public:
    FrameCounter() : Component(8) {}
    Component* Clone() const override { return new FrameCounter(*this); }
    void Update(float dt) override { ++updates, lastDt = dt; }
    void Render() override { ++renders; }
    void Write(json& out) const override { out["Type"] = "FrameCounter"; }
    void Read(const json&) override {}

    int updates = 0;
    int renders = 0;
    float lastDt = 0;
};

class SceneFlowFixture
{
public:
    // Copies the data folder of tests/data/<fixture> (a folder holding "Scenes/"), or the game's
    // own Data folder when the fixture is GameData.
    explicit SceneFlowFixture(const std::string& fixture = "flow");
    static constexpr const char* GameData = "";
    ~SceneFlowFixture();
    SceneFlowFixture(const SceneFlowFixture&) = delete;
    SceneFlowFixture& operator=(const SceneFlowFixture&) = delete;

    // One frame of the systems that move scenes: message clean-up, game, scene and delivery, in
    // the engine's order, with the input states as they stand. It needs no fixture data.
    static void Frame(float dt = 1.0f / 60.0f);
    // A key or mouse button pressed this frame, held for the frame after, then released.
    void Tap(int code, int frames = 1);
    // The cursor as fractions of the window, origin top left.
    void Cursor(double x, double y);
    // A click on the named button of the top scene as its button component reports it, then the
    // two frames in which it takes effect; false when the top scene has no such button.
    bool Click(const std::string& name);

    // The current scene's file, or "none".
    std::string Current() const;
    Entity* Find(const std::string& name) const;   // in the top scene (confirm, pause, current)
    // The frame counter of a scene's "Marker" entity; null without one.
    static FrameCounter* Marker(const MainScene* scene);

    std::string DataFolder() const { return (data.Path() / "Data").string(); }
    std::string SettingsFolder() const;

    TempFolder data;
    TempFolder home;
    std::vector<std::string> windowCommands;   // texts of the window messages delivered

private:
    std::string oldRoot;
    ScopedEnv xdg;
    bool openedLog = false;
};
