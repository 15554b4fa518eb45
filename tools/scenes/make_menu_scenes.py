#!/usr/bin/env python3
"""Writes the first form of the menu-flow scene files into Data/Scenes/: the splash screen, the
main menu, the level selection, the pause, settings, win, lose, how-to-play, credits and confirm
overlays and the end-of-game scene (the level scenes come from tools/levels/make_levels.py). Later
work edits the files themselves; an existing file is left alone unless --force is given.

Layout is in world units through the camera at (0, 0, 15) looking at the origin: at z = 0 the
view spans x -11.05 .. 11.05 and y -6.21 .. 6.21 (16:9), so a menu button of scale 4 x 1 is
about 350 x 87 pixels in a 1920 x 1080 window and 260 x 65 in 1440 x 810.

Run from the repository root:  python3 tools/scenes/make_menu_scenes.py [--force]
"""

import json
import os
import re
import sys

SCENES = "Data/Scenes"
BUTTON = (4.0, 1.0)   # menu buttons: 256 x 64 pictures


def transform(x, y, z=0.0, sx=1.0, sy=1.0):
    return {"Type": "Transform", "Translation": [x, y, z], "Rotation": [0, 0, 0], "Scale": [sx, sy, 1]}


def sprite(texture, tint=(1, 1, 1)):
    return {"Type": "Sprite", "Texture": texture, "tint": list(tint), "space": "worldProj"}


def entity(name, *components):
    return {"Name": name, "Components": list(components)}


def camera():
    return entity("MainCamera", transform(0, 0, 15))


def picture(name, texture, x, y, sx, sy, z=0.0):
    return entity(name, sprite(texture), transform(x, y, z, sx, sy))


def background(texture="Background_Menu"):
    # Behind everything, large enough to fill the view at its depth.
    return picture("Background", texture, 0, 0, 24, 13.5, z=-1)


def panel(sx=16, sy=10):
    return picture("Panel", "Panel", 0, 0, sx, sy, z=-0.5)


def pause_button(name, texture, x, y, size=BUTTON, extra=()):
    return entity(name, {"Type": "BehaviorPauseButton"}, *extra, sprite(texture),
                  transform(x, y, 0, *size), {"Type": "ButtonComponent"})


def scene_button(name, texture, x, y, target=None):
    button = {"Type": "BehaviorSceneButton", "ReloadCurrent": False}
    if target:
        button["TargetScene"] = target
    return entity(name, button, sprite(texture), transform(x, y, 0, *BUTTON), {"Type": "ButtonComponent"})


def column(top, step, items):
    """Buttons of one column from y = top downwards, `step` apart: (maker, name, texture[, target])."""
    out = []
    for i, (maker, *args) in enumerate(items):
        name, texture, *rest = args
        out.append(maker(name, texture, 0, round(top - i * step, 2), *rest))
    return out


# The level's own pause button, top right; the no-menu pause screen puts its twin in the same place.
PAUSE_AT = (10.0, 5.4)
PAUSE_SIZE = (1.2, 1.2)


def splash():
    def logo(name, texture, x, y, sx, sy):
        return entity(name, {"Type": "Physics", "MaxVelocity": [0, 10, 0]}, sprite(texture),
                      transform(x, y, 4, sx, sy))
    return [
        camera(),
        picture("Background", "Black", 0, 0, 24, 13.5, z=-1),
        entity("SplashDirector", {"Type": "BehaviorSplashScreen", "VostrelDisplayDuration": 2.0,
                                  "FMODDisplayDuration": 2.0, "TitleScrollSpeed": 3.0,
                                  "GameLogoDisplayDuration": 1.5}),
        logo("VostrelLogo", "Splash_Maker", 0, 0, 4, 4),
        logo("FMODLogo", "Splash_Sound", 0, -6.5, 5, 2.5),
        logo("GameTitle", "Title", 0, -6.5, 8, 3),
        logo("PresentsText", "Splash_Presents", 0, -8.5, 6.6, 0.8),
        logo("GameLogo", "GameLogo", 0, -20, 9, 4.5),
    ]


def main_menu():
    return [camera(), background(), picture("Title", "Title", 0, 3.6, 8, 3)] + column(1.2, 1.2, [
        (pause_button, "LoadLevelScene1Button", "Button_Play"),
        (pause_button, "LoadButton", "Button_Levels"),
        (pause_button, "SettingButton", "Button_Settings"),
        (pause_button, "HowToPlayButton", "Button_HowToPlay"),
        (pause_button, "CreditsButton", "Button_Credits"),
        (pause_button, "QuitButton", "Button_Quit"),
    ])


def level_loader():
    levels = [pause_button("LoadLevelScene%dButton" % n, "Button_Level%d" % n, 0, round(3.6 - n * 1.2, 2),
                           extra=({"Type": "BehaviorLevelSelectTint"},)) for n in range(1, 6)]
    return ([camera(), background(), picture("Banner", "Banner_Levels", 0, 4.6, 7, 1)] + levels +
            [scene_button("BackButton", "Button_Back", 0, -4.4, "Data/Scenes/MainMenuScene.json")])


def pause_menu():
    return [camera(), panel(), picture("Banner", "Banner_Paused", 0, 3.8, 4.4, 1.4)] + column(2.2, 1.2, [
        (pause_button, "ResumeButton", "Button_Resume"),
        (scene_button, "RestartButton", "Button_Restart"),
        (pause_button, "SettingButton", "Button_Settings"),
        (pause_button, "HowToPlayButton", "Button_HowToPlay"),
        (pause_button, "QuitButton", "Button_MainMenu"),
    ])


def pause_no_menu():
    return [camera(), picture("Banner", "Banner_Paused", 0, 0.5, 4.4, 1.4),
            pause_button("PauseButton", "Button_Pause", *PAUSE_AT, size=PAUSE_SIZE)]


def settings():
    return [camera(), panel(), picture("Banner", "Banner_Settings", 0, 3.8, 4.9, 1.2),
            pause_button("ScreenSizeButton", "Button_Fullscreen", 0, 1.6),
            pause_button("ResetVolumeButton", "Button_ResetVolume", 0, 0.4),
            pause_button("ResumeButton", "Button_Back", 0, -3.6)]


def win():
    return [camera(), panel(), picture("Banner", "Banner_LevelComplete", 0, 3.4, 7.5, 1)] + column(1.2, 1.2, [
        (scene_button, "NextSceneButton", "Button_NextLevel"),
        (scene_button, "RetryButton", "Button_Retry"),
        (pause_button, "QuitButton", "Button_MainMenu"),
    ])


def lose():
    return [camera(), panel(), picture("Banner", "Banner_LevelFailed", 0, 3.4, 6.7, 1.1)] + column(0.6, 1.2, [
        (scene_button, "RetryButton", "Button_Retry"),
        (pause_button, "QuitButton", "Button_MainMenu"),
    ])


def how_to_play():
    arrow = (1.2, 1.2)
    return [camera(), panel(), picture("Banner", "Banner_HowToPlay", 0, 4.0, 6.1, 1.1),
            picture("HowToPlayPage", "HowTo_Basics_1", 0, 0.6, 8, 4.5, z=-0.2),
            pause_button("HowToPlayLeftButton", "Button_ArrowLeft", -5.5, 0.6, size=arrow),
            pause_button("HowToPlayRightButton", "Button_ArrowRight", 5.5, 0.6, size=arrow),
            pause_button("ResumeButton", "Button_Back", 0, -3.9)]


def credits():
    return [camera(), panel(), picture("Banner", "Banner_Credits", 0, 3.8, 4.4, 1.2),
            picture("Title", "Title", 0, 0.4, 6.4, 2.4),
            pause_button("ResumeButton", "Button_Back", 0, -3.8)]


def confirm():
    return [camera(), panel(11, 6.9), picture("Banner", "Banner_Confirm", 0, 1.4, 7.2, 1.1),
            pause_button("ConfirmYesButton", "Button_Yes", -2.4, -1.0),
            pause_button("ConfirmNoButton", "Button_No", 2.4, -1.0)]


def game_end():
    return [camera(), background(), picture("Banner", "Banner_GameEnd", 0, 3.2, 9.4, 1),
            picture("GameLogo", "GameLogo", 0, -0.2, 8, 4),
            scene_button("BackButton", "Button_MainMenu", 0, -4.2, "Data/Scenes/MainMenuScene.json")]


def document(name, entities):
    return {"SceneFile": "Data/Scenes/%s.json" % name, "SceneName": name, "Entities": entities}


def text(doc):
    # Four-space indents as the game writes them, with short number lists kept on one line.
    out = json.dumps(doc, indent=4)
    return re.sub(r"\[\s+([-\d.,\s]+?)\s+\]", lambda m: "[" + " ".join(m.group(1).split()) + "]", out) + "\n"


def main():
    force = "--force" in sys.argv[1:]
    scenes = {
        "SplashScreen": splash(), "MainMenuScene": main_menu(), "LevelLoaderScene": level_loader(),
        "PauseMenuScene": pause_menu(), "PauseNoMenuScene": pause_no_menu(), "SettingMenuScene": settings(),
        "WinScene": win(), "LoseScene": lose(), "HowToPlayScene": how_to_play(), "CreditsScene": credits(),
        "ConfirmScene": confirm(), "GameEndScene": game_end(),
    }
    # The level scenes come from tools/levels/make_levels.py, with their terrain.
    os.makedirs(SCENES, exist_ok=True)
    for name, entities in scenes.items():
        path = os.path.join(SCENES, name + ".json")
        if os.path.exists(path) and not force:
            print("kept", path)
            continue
        with open(path, "w") as f:
            f.write(text(document(name, entities)))
        print("wrote", path)


if __name__ == "__main__":
    main()
