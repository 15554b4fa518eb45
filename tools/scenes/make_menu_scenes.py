#!/usr/bin/env python3
"""Writes the menu-flow scene files into Data/Scenes/ (the splash screen, the main menu, the level
selection, the pause, settings, win, lose, how-to-play, credits and confirm overlays and the
end-of-game scene; the level scenes come from tools/levels/make_levels.py) and the hover
compositions of their buttons into Data/Compositions/. An existing file is left alone unless
--force is given.

The settings screen is written as the game writes it back when the screen closes (keys sorted,
four-space indents, no final newline), so that a change made on the screen touches only its own
lines of the file.

Layout is in world units through the camera at (0, 0, 15) looking at the origin: at z = 0 the
view spans x -11.05 .. 11.05 and y -6.21 .. 6.21 (16:9), so a menu button of scale 4 x 1 is
about 350 x 87 pixels in a 1920 x 1080 window and 260 x 65 in 1440 x 810. Overlays lay a dim
over the whole screen and stand on a panel that covers every button of the main menu below.

Run from the repository root:  python3 tools/scenes/make_menu_scenes.py [--force]
"""

import json
import os
import re
import sys

SCENES = "Data/Scenes"
COMPOSITIONS = "Data/Compositions"
BUTTON = (4.0, 1.0)   # menu buttons: 256 x 64 pictures
PANEL = (17.0, 11.4)  # the overlays' panel: covers the main menu's title and all its buttons
GLYPH = 0.8           # a glyph's width to its height


def transform(x, y, z=0.0, sx=1.0, sy=1.0):
    return {"Type": "Transform", "Translation": [x, y, z], "Rotation": [0, 0, 0], "Scale": [sx, sy, 1]}


def sprite(texture, tint=(1, 1, 1), shader=None):
    out = {"Type": "Sprite", "Texture": texture, "tint": list(tint), "space": "worldProj"}
    if shader:
        out["Shader"] = shader
    return out


def font(text, texture="FontOutline"):
    return {"Type": "Font", "Texture": texture, "Mesh": "Prim_Plane", "Shader": "alpha",
            "space": "worldProj", "tint": [1, 1, 1], "InputText": text}


def entity(name, *components):
    return {"Name": name, "Components": list(components)}


def camera():
    return entity("MainCamera", transform(0, 0, 15))


def picture(name, texture, x, y, sx, sy, z=0.0):
    return entity(name, sprite(texture), transform(x, y, z, sx, sy))


def background(texture="Background_Menu"):
    # Behind everything, large enough to fill the view at its depth.
    return picture("Background", texture, 0, 0, 24, 13.5, z=-1)


def dim():
    # Over the whole screen behind an overlay: what stands below shows evenly darkened.
    return picture("Dim", "Dim", 0, 0, 24, 13.5, z=-0.8)


def panel(sx=PANEL[0], sy=PANEL[1]):
    return picture("Panel", "Panel", 0, 0, sx, sy, z=-0.5)


def text(name, content, x, y, height, *extra, centred=True, chars=None):
    """A line of text `height` tall; centred on x for `chars` characters (the text's own length
    when not given), else starting at x. A Font's first glyph stands one glyph right of its
    origin."""
    width = height * GLYPH
    count = len(content) if chars is None else chars
    left = x - count * width / 2 if centred else x
    return entity(name, *extra, font(content), transform(round(left - width / 2, 3), y, 0.1, width, height))


def hover(*names):
    return {"Type": "HoverResponse", "Children": list(names)}


def pause_button(name, texture, x, y, size=BUTTON, extra=()):
    return entity(name, {"Type": "BehaviorPauseButton"}, *extra, sprite(texture),
                  transform(x, y, 0, *size), {"Type": "ButtonComponent"})


def scene_button(name, texture, x, y, target=None):
    button = {"Type": "BehaviorSceneButton", "ReloadCurrent": False}
    if target:
        button["TargetScene"] = target
    return entity(name, button, sprite(texture), transform(x, y, 0, *BUTTON), {"Type": "ButtonComponent"})


def column(top, step, items):
    """Buttons of one column from y = top downwards, `step` apart: (maker, name, texture[, extra])."""
    out = []
    for i, (maker, *args) in enumerate(items):
        name, texture, *rest = args
        out.append(maker(name, texture, 0, round(top - i * step, 2), *rest))
    return out


# The level's own pause button, top right; the no-menu pause screen puts its twin in the same place.
PAUSE_AT = (10.0, 5.4)
PAUSE_SIZE = (1.2, 1.2)


# ---- hover compositions ------------------------------------------------------------------------
# A composition's place and size are in its button's own space: a 4 x 1 menu button's right edge
# is x 0.5, its top edge y 0.5.

def composition(name, *components):
    return {"Name": name, "IsDestroyed": False, "Components": list(components)}


def animation(frames, seconds):
    # Runs once when built, so it rests on its empty last frame until the button calls it again.
    return {"Type": "Animation", "FrameCount": frames, "FrameDuration": seconds, "isRunning": True,
            "isLooping": False, "Dimensions": [frames, 1]}


def compositions():
    sparkle_size = 0.7                      # world units
    wave_w, wave_h = 0.8, 1.2               # a 32 x 48 frame at 40 pixels a unit
    mark = 0.7                              # a 32 x 32 icon
    return {
        # A burst of light at the button's top right corner.
        "ButtonSparkle": composition(
            "ButtonSparkle", animation(6, 0.06), sprite("Hover_Sparkle", shader="alpha"),
            transform(0.47, 0.42, 0.05, sparkle_size / BUTTON[0], sparkle_size / BUTTON[1])),
        # A bot that pops up over the top edge, at the left end, and waves.
        "PlayBot": composition(
            "PlayBot", animation(10, 0.08), sprite("Hover_Wave", shader="alpha"),
            transform(-0.36, 0.5 + wave_h / 2, 0.04, wave_w / BUTTON[0], wave_h / BUTTON[1])),
        # The level's lock or star just right of a level button, set by the level-select tint; a
        # still picture, so it darkens while the button is held.
        "LevelMark": composition(
            "LevelMark", sprite("Clear", shader="alpha"),
            transform(0.6, 0.0, 0.05, mark / BUTTON[0], mark / BUTTON[1])),
    }


# ---- scenes ------------------------------------------------------------------------------------

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


def music(song):
    # Settings, how-to-play and credits open over the scene below and leave its song playing;
    # the level selection names the main menu's song, which therefore goes on across the change.
    return entity("Music", {"Type": "MusicPlayer", "SongName": song, "Volume": 1.0})


def main_menu():
    sparkle = (hover("ButtonSparkle"),)
    return [camera(), music("MenuSong"), background(), picture("Title", "Title", 0, 3.6, 8, 3)] + column(1.2, 1.2, [
        (pause_button, "LoadLevelScene1Button", "Button_Play", BUTTON, (hover("PlayBot", "ButtonSparkle"),)),
        (pause_button, "LoadButton", "Button_Levels", BUTTON, sparkle),
        (pause_button, "SettingButton", "Button_Settings", BUTTON, sparkle),
        (pause_button, "HowToPlayButton", "Button_HowToPlay", BUTTON, sparkle),
        (pause_button, "CreditsButton", "Button_Credits", BUTTON, sparkle),
        (pause_button, "QuitButton", "Button_Quit", BUTTON, sparkle),
    ])


def level_loader():
    def level(n):
        return pause_button("LoadLevelScene%dButton" % n, "Button_Level%d" % n, 0, round(3.6 - n * 1.2, 2),
                            extra=(hover("LevelMark"), {"Type": "BehaviorLevelSelectTint", "Mark": "LevelMark"}))
    return ([camera(), music("MenuSong"), background(), picture("Banner", "Banner_Levels", 0, 4.6, 7, 1)] +
            [level(n) for n in range(1, 6)] +
            [scene_button("BackButton", "Button_Back", 0, -4.4, "Data/Scenes/MainMenuScene.json")])


def level_name(y):
    # "Level 3" over a level; the text is filled in when the screen opens.
    return text("LevelNameText", "", 0, y, 0.55, {"Type": "BehaviorFontChange"}, chars=7)


def pause_menu():
    return [camera(), dim(), panel(), picture("Banner", "Banner_Paused", 0, 4.4, 4.4, 1.4),
            level_name(3.25)] + column(2.2, 1.2, [
        (pause_button, "ResumeButton", "Button_Resume"),
        (scene_button, "RestartButton", "Button_Restart"),
        (pause_button, "SettingButton", "Button_Settings"),
        (pause_button, "HowToPlayButton", "Button_HowToPlay"),
        (pause_button, "QuitButton", "Button_MainMenu"),
    ])


def pause_no_menu():
    return [camera(), dim(), picture("Banner", "Banner_Paused", 0, 0.5, 4.4, 1.4),
            pause_button("PauseButton", "Button_Pause", *PAUSE_AT, size=PAUSE_SIZE)]


# The settings screen's sliders: label picture, slider and thumb names.
SLIDERS = [("Button_Master", "MasterVolumeSlider", "MasterThumb"),
           ("Button_Music", "MusicVolumeSlider", "MusicThumb"),
           ("Button_Effects", "SfxVolumeSlider", "EffectsThumb"),
           ("Button_Interface", "UiVolumeSlider", "InterfaceThumb")]
SLIDER_TOP, SLIDER_STEP = 3.0, 1.1
TRACK = (7.6, 0.6)     # the 320 x 24 track, stretched higher to be easy to hold
TRACK_X = 1.8
THUMB = (0.48, 1.2)    # the 24 x 60 thumb at 0.02 units a pixel; its knob is the lower part


def settings():
    out = [camera(), dim(), panel(), picture("Banner", "Banner_Settings", 0, 4.6, 4.9, 1.2)]
    for i, (label, slider, thumb) in enumerate(SLIDERS):
        y = round(SLIDER_TOP - i * SLIDER_STEP, 2)
        out.append(picture(label.replace("Button_", "") + "Label", label, -4.6, y, 3.0, 0.75))
        out.append(entity(slider, {"Type": "BehaviorSliderButton", "MinIndex": 0.0, "MaxIndex": 1.0, "Index": 1.0,
                                   "ThumbName": thumb},
                          sprite("SliderTrack"), transform(TRACK_X, y, 0, *TRACK), {"Type": "ButtonComponent"}))
    # The thumbs after their sliders, so each stands where its slider put it in the same frame:
    # over its track (at its depth), a quarter unit above the middle, at full volume to begin with.
    for i, (_, slider, thumb) in enumerate(SLIDERS):
        x = TRACK_X + TRACK[0] / 2
        out.append(entity(thumb, {"Type": "BehaviorThumb"}, sprite("SliderThumb", shader="alpha"),
                          transform(x, round(SLIDER_TOP - i * SLIDER_STEP + 0.25, 2), 0, *THUMB)))
    out += [pause_button("ScreenSizeButton", "Button_Blank", 0, -1.7),
            text("ScreenSizeButtonText", "Fullscreen", 0, -1.7, 0.45, {"Type": "BehaviorFontChange"}),
            pause_button("ResetVolumeButton", "Button_ResetVolume", 0, -2.9),
            pause_button("ResumeButton", "Button_Back", 0, -4.3)]
    return out


def score(y):
    # The bots not lost of the level's total, as the level ended.
    label = "Bots kept: "
    height = 0.45
    left = -(len(label) + 5) * height * GLYPH / 2
    return [text("ScoreLabel", label, left, y, height, centred=False),
            text("ScoreText", "", left + len(label) * height * GLYPH, y, height, {"Type": "BehaviorFontChange"},
                 centred=False)]


def win():
    return ([camera(), dim(), panel(), picture("Banner", "Banner_LevelComplete", 0, 4.3, 7.5, 1),
             level_name(3.25)] + score(2.35) + column(1.2, 1.2, [
                (scene_button, "NextSceneButton", "Button_NextLevel"),
                (scene_button, "RetryButton", "Button_Retry"),
                (pause_button, "QuitButton", "Button_MainMenu"),
            ]))


def lose():
    return ([camera(), dim(), panel(), picture("Banner", "Banner_LevelFailed", 0, 4.3, 6.7, 1.1),
             level_name(3.25)] + score(2.35) + column(0.6, 1.2, [
                (scene_button, "RetryButton", "Button_Retry"),
                (pause_button, "QuitButton", "Button_MainMenu"),
            ]))


# How-to-play actions: action button picture and the pages of the action, in page order.
ACTIONS = [("Basics", ["HowTo_Basics_1", "HowTo_Basics_2"]),
           ("Blocker", ["HowTo_Blocker_1"]),
           ("Digger", ["HowTo_Digger_1"]),
           ("Tunneller", ["HowTo_Tunneller_1"]),
           ("Bridge", ["HowTo_Bridge_1"]),
           ("Umbrella", ["HowTo_Umbrella_1"])]
PAGE_AT, PAGE_SIZE = (2.6, 0.6), (9.6, 5.4)   # 480 x 270 pages
ARROW_Y = -2.95


def how_to_play():
    arrow = (1.0, 1.0)
    first = "HowToPlay" + ACTIONS[0][0]
    out = [camera(), dim(), panel(), picture("Banner", "Banner_HowToPlay", 0, 4.65, 6.1, 1.1),
           entity("HowToPlayPage",
                  {"Type": "BehaviorHowToPlayDisplayer", "FirstActionName": first,
                   "SpritePathMap": {"HowToPlay" + name: pages for name, pages in ACTIONS}},
                  sprite(ACTIONS[0][1][0]), transform(PAGE_AT[0], PAGE_AT[1], -0.2, *PAGE_SIZE))]
    for i, (name, _) in enumerate(ACTIONS):
        out.append(pause_button("HowToPlay%sButton" % name, "Button_" + name, -5.7, round(3.1 - i * 0.95, 2),
                                size=(3.2, 0.8)))
    out += [pause_button("HowToPlayLeftButton", "Button_ArrowLeft", PAGE_AT[0] - 2.2, ARROW_Y, size=arrow),
            text("HowToPlayPageText", "1/2", PAGE_AT[0], ARROW_Y, 0.5, {"Type": "BehaviorFontChange"}),
            pause_button("HowToPlayRightButton", "Button_ArrowRight", PAGE_AT[0] + 2.2, ARROW_Y, size=arrow),
            pause_button("ResumeButton", "Button_Back", 0, -4.45)]
    return out


# The credits: the people and tools that made the game, and the libraries it uses with their
# licences (as the Debian packages the build uses state them).
CREDITS = [
    ["A puzzle of little bots"],
    ["MADE BY", "The Zoverav team"],
    ["DESIGN AND PROGRAMMING", "The Zoverav team"],
    ["LEVELS", "The Zoverav team"],
    ["ART, SOUND AND MUSIC", "The Zoverav team", "every picture and sound drawn", "and played by the game's own tools"],
    ["BUILT WITH", "C++20, CMake and GCC", "Python 3 and NumPy for the art,", "sound, music and level tools",
     "Xvfb and xdotool for the", "end-to-end tests"],
    ["LIBRARIES", "GLFW - zlib licence", "GLEW - BSD 3-Clause and MIT", "Dear ImGui - MIT",
     "nlohmann json - MIT", "stb_image - public domain or MIT", "OpenAL Soft - LGPL 2 or later",
     "libsndfile - LGPL 2.1 or later", "libogg and libvorbis - BSD 3-Clause"],
    ["FOR THE TESTS", "GoogleTest - BSD 3-Clause", "Google Benchmark - Apache 2.0"],
]
CREDITS_END = "THANK YOU FOR PLAYING!"
CREDITS_LINE = 0.5               # glyph height: one line
CREDITS_TITLE = (6.4, 2.4)
CREDITS_START = -7.6             # the title's middle at the start: just below the view
CREDITS_GAP = 2.0                # from the title's middle down to the first line
END_Y = 38.0                     # where the title stands when the credits stop
LAST_LINE_AT_END = 0.0           # where the last line then stands


def credits_text():
    """The credits as one text, blank lines spread between the sections so that when the title
    reaches the end the last line stands in the middle of the view."""
    lines_needed = int(round((END_Y - CREDITS_GAP - LAST_LINE_AT_END) / CREDITS_LINE)) + 1
    body = sum((len(section) for section in CREDITS), 0) + 1   # the sections and the last line
    gaps = len(CREDITS)                                         # before each section but the first, and the end
    spare = lines_needed - body
    assert spare >= gaps, "the credits are too long for their scroll"
    out = []
    for i, section in enumerate(CREDITS):
        if i:
            out += [""] * (spare // gaps + (1 if i <= spare % gaps else 0))
        out += section
    out += [""] * (spare // gaps) + [CREDITS_END]
    assert len(out) == lines_needed
    return out


def credits():
    lines = credits_text()
    width = max(len(line) for line in lines)
    glyph = CREDITS_LINE * GLYPH

    def centred(line):
        # A Font has no alignment: each line is padded to centre it in the widest.
        return " " * ((width - len(line)) // 2) + line

    scroll = ({"Type": "BehaviorCredits"}, {"Type": "Physics", "MaxVelocity": [0, 10, 0]})
    left = -width * glyph / 2 - glyph / 2
    return [camera(), background(), dim(),
            entity("CreditsTitle", *scroll, sprite("Title"),
                   transform(0, CREDITS_START, 0.1, *CREDITS_TITLE)),
            entity("CreditsText", *scroll, font("\n".join(centred(line) for line in lines)),
                   transform(round(left, 3), CREDITS_START - CREDITS_GAP, 0.1, glyph, CREDITS_LINE)),
            pause_button("ResumeButton", "Button_Back", 9.2, -5.5, size=(3.2, 0.8))]


def confirm():
    return [camera(), dim(), panel(11, 6.9), picture("Banner", "Banner_Confirm", 0, 1.4, 7.2, 1.1),
            pause_button("ConfirmYesButton", "Button_Yes", -2.4, -1.0),
            pause_button("ConfirmNoButton", "Button_No", 2.4, -1.0)]


def game_end():
    return [camera(), music("GameEndSong"), background(), picture("Banner", "Banner_GameEnd", 0, 3.2, 9.4, 1),
            picture("GameLogo", "GameLogo", 0, -0.2, 8, 4),
            scene_button("BackButton", "Button_MainMenu", 0, -4.2, "Data/Scenes/MainMenuScene.json")]


def document(name, entities):
    return {"SceneFile": "Data/Scenes/%s.json" % name, "SceneName": name, "Entities": entities}


def scene_text(doc):
    # Four-space indents as the game writes them, with short number lists kept on one line.
    out = json.dumps(doc, indent=4)
    return re.sub(r"\[\s+([-\d.,\s]+?)\s+\]", lambda m: "[" + " ".join(m.group(1).split()) + "]", out) + "\n"


def game_text(doc):
    # Exactly as the game writes a scene back: keys sorted, four-space indents, no final newline.
    return json.dumps(doc, indent=4, sort_keys=True)


def write(path, content, force):
    if os.path.exists(path) and not force:
        print("kept", path)
        return
    with open(path, "w") as f:
        f.write(content)
    print("wrote", path)


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
    os.makedirs(COMPOSITIONS, exist_ok=True)
    for name, entities in scenes.items():
        doc = document(name, entities)
        write(os.path.join(SCENES, name + ".json"),
              game_text(doc) if name == "SettingMenuScene" else scene_text(doc), force)
    for name, doc in compositions().items():
        write(os.path.join(COMPOSITIONS, name + ".json"), scene_text(doc), force)


if __name__ == "__main__":
    main()
