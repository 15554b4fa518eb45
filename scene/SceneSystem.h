#pragma once
// Owns the current scene and the two overlays that can stand in front of it: a pause overlay
// (pause menu, settings, win, lose, how-to-play or credits screen) and a confirm overlay. It
// drives the frame of whichever scene is on top: with an overlay up the level is drawn but not
// updated. It pauses a level on Escape or when the window loses focus, scales game time by the
// game speed, runs the level timer, and carries out requested scene changes at the end of the
// frame, closing before opening, and only once no overlay is on top.
//
// Promises:
//  - a scene file that fails to load leaves the current scene in place (LoadScene gives false);
//  - an overlay that fails to load is reported and its pause or confirm state reset, so the level
//    is never frozen behind nothing;
//  - no operation needs a current scene: without one, nothing is updated or drawn;
//  - the settings files are written whole or not at all; a damaged one is kept aside as a backup.
#include "engine/BaseSystem.h"
#include "scene/Scene.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SceneSystem : public BaseSystem
{
public:
    // Pause kinds of TogglePause; each opens its own overlay scene.
    enum PauseKind
    {
        NotPaused = 0,
        MenuPause = 1,        // "Data/Scenes/PauseMenuScene.json"
        NoMenuPause = 2,      // "Data/Scenes/PauseNoMenuScene.json"
        SettingsPause = 3,    // "Data/Scenes/SettingMenuScene.json"
        WinPause = 4,         // "Data/Scenes/WinScene.json"
        LosePause = 5,        // "Data/Scenes/LoseScene.json"
        HowToPlayPause = 6,   // "Data/Scenes/HowToPlayScene.json"
        CreditsPause = 7      // "Data/Scenes/CreditsScene.json"
    };
    static constexpr const char* SplashScene = "Data/Scenes/SplashScreen.json";
    static constexpr const char* MainMenuScene = "Data/Scenes/MainMenuScene.json";
    static constexpr const char* ConfirmScene = "Data/Scenes/ConfirmScene.json";
    static constexpr const char* SettingsScene = "Data/Scenes/SettingMenuScene.json";

    static SceneSystem& GetInstance();

    // Loads the settings files, lists the scene files and loads the splash scene; when it is
    // missing or does not load, the main menu, else the first scene in name order that loads
    // and is no overlay, each fallback said in the log.
    bool Init() override;
    void BeginFrame() override;
    void Update(float dt) override;
    void EndFrame() override;
    void Shutdown() override;   // deletes every scene and returns to the starting state

    // Replaces the current scene at once; false (current scene kept) when the file fails to load.
    bool LoadScene(const std::string& path);
    // Pauses with that kind's overlay, switches to it from another kind, or resumes when the
    // kind is the one already shown or 0. Takes effect at the end of the frame.
    void TogglePause(int kind);
    static std::string PauseSceneFile(int kind);           // empty for a kind without overlay
    static bool IsOverlayScene(const std::string& path);   // a pause kind's scene or the confirm scene

    // Run by EndFrame.
    void LoadOverlayScene();
    void ClosePauseOverlay();
    void LoadConfirmScene();
    void LoadFirstScene();   // at Init: see there

    bool HasCurrentScene() const { return currentScene != nullptr; }
    MainScene* CurrentScene() const { return currentScene.get(); }
    MainScene* PauseOverlay() const { return pauseOverlay.get(); }
    MainScene* ConfirmOverlay() const { return confirmOverlay.get(); }
    // The scene whose list holds the entity: the current scene or an overlay; null for none.
    MainScene* SceneOf(const Entity* entity) const;
    // The scene being shown: the pause overlay while paused, else the current scene.
    MainScene* ShownScene() const;

    // Scene files of "Data/Scenes", sorted by name.
    void ScanSceneFiles();
    // Whether the current scene's file can take that name: a plain file name in valid UTF-8
    // (no '/' or '\\', not "." or "..", no control character, no blank at either end), ".json"
    // appended unless it ends so exactly, naming no other existing file. False with the reason
    // in `why`.
    bool CheckRename(const std::string& newName, std::string* why = nullptr) const;
    // Renames the current scene's file within its folder as CheckRename allows; the file system
    // itself refuses an existing target, so no file is ever replaced. Its own name is a success
    // that touches nothing. False with the reason in `why`, the scene and its file unchanged.
    bool RenameScene(const std::string& newName, std::string* why = nullptr);
    // Writes an empty "Untitled.json" (or the first free "Untitled(n).json") and loads it; false
    // when it could not be written or read back.
    bool CreateNewScene();

    // The settings files in the per-user folder.
    static std::string SettingsFolder();
    void LoadAudioVolume();
    void SaveAudioVolume();
    void LoadLevelCompleted();
    void SaveLevelCompleted();
    void SaveSettings();   // the volumes, then the completed levels

    // The window gained or lost focus; ignored without a current scene.
    void OnWindowFocus(bool focused);

    static bool IsLevelScene(const std::string& path) { return path.find("LevelScene") != std::string::npos; }
    static bool IsLevelLoaderScene(const std::string& path)
    {
        return path.find("LevelLoaderScene") != std::string::npos;
    }
    // Two scene paths name the same file, whatever separators they use.
    static bool SamePath(const std::string& a, const std::string& b);

    std::unique_ptr<MainScene> currentScene;
    std::unique_ptr<MainScene> pauseOverlay;
    std::string pendingScenePath;   // the scene loaded last; loadRequested reloads it
    std::vector<std::string> sceneFiles;
    std::unique_ptr<MainScene> confirmOverlay;
    bool loadRequested = false;
    int pauseKind = NotPaused;
    bool openPauseRequested = false;
    bool closePauseRequested = false;
    bool confirmActive = false;
    bool openConfirmRequested = false;
    bool closeConfirmRequested = false;
    float levelTimer = 0;
    float levelTimerLimit = 0;
    bool levelTimerRunning = false;
    bool levelTimerHalted = false;
    bool windowFocused = true;   // set by OnWindowFocus
    bool lastWindowFocused = true;
    bool queuedLoadRequested = false;   // a second request channel, carried out after loadRequested
    std::string queuedScenePath;
    float gameSpeed = 1.0f;

    // Volumes read from the volume file, kept for saving when a group's volume cannot be read.
    std::array<std::optional<float>, 4> loadedVolumes;
    // What the load of a settings file found that its saves must respect: a file that could not
    // be read is not written this run; one with values that were not taken as they stand is
    // copied to a backup before it is first written over.
    struct SettingsFile
    {
        bool leftAlone = false;
        bool backupDue = false;
    };
    SettingsFile volumeFile, levelFile;

private:
    SceneSystem() : BaseSystem("Scene System") {}

    Scene* TopOverlay() const;
    // The path the current scene's file takes under a new name; empty with the reason when the
    // name is refused.
    std::string RenameTarget(const std::string& newName, std::string& why) const;
    void FollowCamera(Scene& scene);
    // Writes the changes made on the settings screen since its first update into its file,
    // keeping the rest of the file as it stands; an untouched screen leaves the file as it is,
    // byte for byte.
    void WriteBackSettingsScreen(Scene& overlay);
    // The developer keys (win, lose, spawn, unlock) of an unpaused frame.
    void RunCheatKeys(float dt);

    bool updatingEntities = false;
    json settingsAsRead;                   // the settings screen as written after its first update
    bool settingsAsReadDue = false;        // the settings screen is open and not updated yet
    bool settingsUnwritableSaid = false;   // the settings screen's file could not be written, said once   //
                                           // the current scene's entities are in their update pass
};
