#!/usr/bin/env python3
"""Writes every picture of the game: Data/Textures/*.png and Data/ZIN_ICON.png, the manifest
tools/art/MANIFEST.md, and a contact sheet of everything at /tmp/art-contact.png (not kept).

Run from anywhere: python3 tools/art/make_art.py [--data DIR] [--no-contact]
The output is the same, byte for byte, on every run."""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import pixelart as pa  # noqa: E402
import bots  # noqa: E402
import scenery  # noqa: E402
import ui  # noqa: E402

REPO = os.path.dirname(os.path.dirname(HERE))

MENU_BUTTONS = [
    # label, style
    ("Play", "primary"), ("Levels", "normal"),
    ("Level 1", "normal"), ("Level 2", "normal"), ("Level 3", "normal"),
    ("Level 4", "normal"), ("Level 5", "normal"),
    ("Back", "normal"), ("Settings", "normal"), ("How To Play", "normal"),
    ("Credits", "normal"), ("Quit", "danger"), ("Resume", "primary"), ("Restart", "normal"),
    ("Main Menu", "normal"), ("Next Level", "primary"), ("Retry", "normal"),
    ("Yes", "primary"), ("No", "danger"), ("Fullscreen", "normal"),
    ("Next", "normal"), ("Previous", "normal"), ("Reset Volume", "normal"),
    ("Continue", "primary"), ("Start", "primary"),
    ("Basics", "normal"), ("Blocker", "normal"), ("Digger", "normal"),
    ("Tunneller", "normal"), ("Bridge", "normal"), ("Umbrella", "normal"),
]
SLIDER_LABELS = ["Master", "Music", "Effects", "Interface"]
MENU_W, MENU_H = 256, 64

BANNERS = [
    ("Paused", "PAUSED"), ("LevelComplete", "LEVEL COMPLETE!"), ("LevelFailed", "LEVEL FAILED"),
    ("GameEnd", "ALL LEVELS CLEARED!"), ("Settings", "SETTINGS"), ("Levels", "CHOOSE A LEVEL"),
    ("HowToPlay", "HOW TO PLAY"), ("Credits", "CREDITS"), ("Confirm", "ARE YOU SURE?"),
    ("Quit", "QUIT THE GAME?"),
]


class Output:
    """Collects pictures with their manifest entries and writes them."""

    def __init__(self, data_dir):
        self.data_dir = data_dir
        self.entries = []   # (section, rel path, img, layout, purpose)

    def add(self, section, rel, img, purpose, layout="single picture"):
        self.entries.append((section, rel, img, layout, purpose))

    def write(self):
        for _, rel, img, _, _ in self.entries:
            path = os.path.join(self.data_dir, rel)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            img.save(path)

    def manifest(self):
        lines = [
            "# Picture manifest",
            "",
            "Written by `tools/art/make_art.py`; do not edit by hand (rerun the generator).",
            "Paths are below `Data/`. A texture named N is `Textures/N.png`. Pixel rows are stored",
            "top row first as PNG keeps them; the game's loader flips them, so texture V = 0 is the",
            "bottom of each picture. Everything is RGBA and meant for nearest filtering.",
            "",
            "## Sprite sheets of the bot",
            "",
            "Every bot sheet is ONE row of square 32 x 32 frames: `Dimensions` [frames, 1].",
            "Frame 0 is the leftmost; frame k occupies picture pixels x = 32k .. 32k+31. The bot",
            "faces RIGHT (+x, `Direction` 1); the game mirrors it for walking left. Its feet touch",
            "the bottom row of the frame (y = 31) and it is centred on x = 15.5, so a square bot",
            "quad fits the frame: the bottom edge of the quad is where the bot stands. The top",
            "rows hold the antenna, the hard hat and the umbrella canopy. \"Opaque box\" is the",
            "union of drawn pixels over all frames (x0, y0)-(x1, y1), inclusive, top-left origin.",
            "Suggested frame durations are given; any will do.",
            "",
            "Mirroring note: with a U sign of -1 the frame formula samples the cell to the LEFT of",
            "the current one, mirrored (frame 0 wraps to the last cell with repeat wrap). Every",
            "cell of these sheets is a whole frame of the same cycle, so a mirrored bot simply",
            "runs its cycle one frame behind; nothing from another sheet can show.",
            "",
            "| texture | size | frames (columns x rows) | opaque box | suggested seconds per frame, looping | frames show |",
            "|---|---|---|---|---|---|",
        ]
        durations = {"Bot_Walk": 0.09, "Bot_Block": 0.25, "Bot_Dig": 0.1, "Bot_Bridge": 0.12,
                     "Bot_Tunnel": 0.06, "Bot_Umbrella": 0.2, "Bot_Fall": 0.1, "Bot_Explode": 0.08}
        for name, (count, _, loop, what) in bots.SHEETS.items():
            box = bots.opaque_bounds(name)
            lines.append(f"| {name} | {count * 32} x 32 | {count} x 1 | ({box[0]}, {box[1]})-({box[2]}, {box[3]}) "
                         f"| {durations[name]}, {'yes' if loop else 'no'} | {what} |")
        lines += [
            "",
            "## Glyph sheets",
            "",
            f"`Font` and `FontOutline`: {16 * ui.CELL_W} x {8 * ui.CELL_H} pictures of 16 columns x 8 rows",
            f"of {ui.CELL_W} x {ui.CELL_H} cells. The glyph of character code c is in cell i = c - 32,",
            "column i mod 16, row i div 16 counted from the TOP of the picture, so code 32 (space)",
            "is the top-left cell, `A` (65) is column 1 of row 2, and printable ASCII 32..126 fills",
            "the top six rows; code 127 (column 15 of row 5) is a solid block for a text cursor;",
            "rows 6 and 7 are empty. Glyphs are white on transparent, drawn with font pixels of",
            f"2 x 2 picture pixels, starting at x = {ui.GLYPH_X}, y = {ui.GLYPH_Y} inside the cell: capitals and digits",
            "are 11 x 14 picture pixels (rows 1..14 of the cell), descenders reach row 18.",
            "`FontOutline` adds a one-pixel black rim for text over busy backgrounds.",
            f"A glyph quad shows one whole cell: for undistorted letters scale a `Font` entity's",
            f"Transform x to {ui.CELL_W / ui.CELL_H:g} of its y (for example [0.4, 0.5, 1]); square scales read well too,",
            "just a little wide.",
            "",
            "## All pictures",
            "",
        ]
        section = None
        for sec, rel, img, layout, purpose in self.entries:
            if sec != section:
                lines += ["", f"### {sec}", "", "| file | size | layout | for |", "|---|---|---|---|"]
                section = sec
            lines.append(f"| {rel} | {img.width} x {img.height} | {layout} | {purpose} |")
        lines.append("")
        return "\n".join(lines)

    def contact(self, path):
        """One big sheet of every picture, each fitted into a tile with its name below."""
        tw, th = 200, 150
        cols = 8
        rows = (len(self.entries) + cols - 1) // cols
        sheet = pa.Image(cols * tw, rows * th, (70, 76, 96))
        for n, (_, rel, img, _, _) in enumerate(self.entries):
            x0, y0 = (n % cols) * tw, (n // cols) * th
            for y in range(0, th, 8):      # checker so transparency shows
                for x in range(0, tw, 8):
                    if (x // 8 + y // 8) % 2:
                        sheet.rect(x0 + x, y0 + y, 8, 8, (84, 90, 112))
            box_w, box_h = tw - 8, th - 20
            f = min(box_w / img.width, box_h / img.height)
            if f >= 1:
                f = int(f)
            w, h = max(1, int(img.width * f)), max(1, int(img.height * f))
            ox, oy = x0 + (tw - w) // 2, y0 + 4 + (box_h - h) // 2
            for y in range(h):
                for x in range(w):
                    c = img.get(int(x / f), int(y / f))
                    if c[3]:
                        sheet.put(ox + x, oy + y, c)
            label = os.path.basename(rel)[:-4][:32]
            sheet.text(x0 + 3, y0 + th - 13, label, (255, 255, 255), 1)
        sheet.save(path)


def build(out):
    T = "Textures/"
    # basics
    out.add("Basics", T + "White.png", pa.Image(4, 4, (255, 255, 255)), "texture 0, plain white")
    out.add("Basics", T + "Black.png", pa.Image(4, 4, (0, 0, 0)), "texture 1, plain black; spotlight edges")
    out.add("Basics", "ZIN_ICON.png", ui.app_icon(), "the window icon")

    # bots
    for name, (count, _, loop, what) in bots.SHEETS.items():
        out.add("Bot", T + name + ".png", bots.sheet(name), what,
                f"{count} x 1 frames of 32 x 32, frame 0 leftmost")

    # level props
    out.add("Level", T + "Spawner.png", scenery.spawner_frame(0), "the hatch bots drop out of (still)")
    sheet = pa.Image(256, 64)
    for k in range(4):
        sheet.blit(scenery.spawner_frame(k), k * 64, 0)
    out.add("Level", T + "Spawner_Anim.png", sheet, "the hatch, swirling", "4 x 1 frames of 64 x 64, looping")
    out.add("Level", T + "Exit.png", scenery.exit_frame(0), "the exit door with its flag (still)")
    sheet = pa.Image(256, 64)
    for k in range(4):
        sheet.blit(scenery.exit_frame(k), k * 64, 0)
    out.add("Level", T + "Exit_Anim.png", sheet, "the exit, flag waving", "4 x 1 frames of 64 x 64, looping")
    wx, wy, ww, wh = ui.BOARD_WINDOW
    out.add("Level", T + "CountBoard.png", ui.count_board(),
            f"count board back: {len(ui.BOARD_SLOTS)} slots {ui.BOARD_SLOT_W} wide ("
            + ", ".join(caption.lower() for caption, _ in ui.BOARD_SLOTS)
            + f"), caption along the top; dark number window at slot x {wx}..{wx + ww - 1}, "
            f"y {wy}..{wy + wh - 1}; icon at slot x {ui.BOARD_ICON_X}..{ui.BOARD_ICON_X + 31}")
    out.add("Level", T + "WorldBound.png", scenery.world_bound(), "hazard edge of the world, tiles with repeat wrap")
    out.add("Level", T + "Block.png", scenery.block(), "a barrier crate; bots turn at it")
    out.add("Level", T + "Ladder.png", scenery.ladder(), "a ladder lying along +x, pivot at its left end")
    out.add("Level", T + "Lift.png", scenery.lift(), "a freight lift, deck on top, braced cage below; fills its box")
    out.add("Level", T + "Spotlight.png", scenery.spotlight(), "black with a round hole: the closing end-of-level view")
    out.add("Level", T + "Particle.png", pa.Image(4, 4, (255, 255, 255)), "a plain particle (tinted by the emitter)")
    dot = pa.Image(8, 8)
    dot.circle(3.5, 3.5, 3.4, (255, 255, 255))
    out.add("Level", T + "Particle_Round.png", dot, "a round particle")

    # backgrounds
    out.add("Backgrounds", T + "Background_Menu.png", scenery.background_menu(), "menus: dusk over floating islands")
    moods = {1: "morning meadow", 2: "sunset canyon", 3: "crystal cave", 4: "night works", 5: "lava deep"}
    for n in range(1, 6):
        out.add("Backgrounds", T + f"Background_Level{n}.png", scenery.background_level(n),
                f"level {n}: {moods[n]}")

    # glyphs
    out.add("Text", T + "Font.png", ui.glyph_sheet(False), "glyph sheet for `Font`, white on transparent",
            f"16 x 8 cells of {ui.CELL_W} x {ui.CELL_H}; code c in cell c-32 counted from the top-left")
    out.add("Text", T + "FontOutline.png", ui.glyph_sheet(True), "the same glyphs with a black rim",
            f"16 x 8 cells of {ui.CELL_W} x {ui.CELL_H}; same layout as Font")

    # job bar
    for name, label, key, _, _ in ui.JOBS:
        out.add("Job bar", T + f"JobButton_{name}.png", ui.job_button(name),
                f"job button {label}, hotkey {key} shown")
    out.add("Job bar", T + "JobButton_Destruct.png", ui.destruct_button(),
            f"destruct button BOOM, hotkey {ui.DESTRUCT_KEY} shown")
    for kind, what in (("Pause", "pause button (two bars)"), ("Speed1x", "normal speed (one arrow, 1x)"),
                       (
                       "Speed2x", f"double speed (two arrows, 2x), hotkey {ui.SPEED_KEYS['Speed2x']} shown"),
                       ("Speed4x", f"fast speed (three arrows, 4x), hotkey {ui.SPEED_KEYS['Speed4x']} shown")):
        out.add("Job bar", T + f"Button_{kind}.png", ui.control_button(kind), what)

    # menus
    for label, style in MENU_BUTTONS:
        out.add("Menu buttons", T + "Button_" + label.replace(" ", "") + ".png",
                pa.button(label, MENU_W, MENU_H, style), f'"{label}" ({style})')
    for label in SLIDER_LABELS:
        out.add("Menu buttons", T + "Button_" + label + ".png",
                pa.button(label, 192, 48, "dark"), f'slider label "{label}"')
    out.add("Menu buttons", T + "Button_Blank.png", pa.button("", MENU_W, MENU_H, "normal"),
            "a menu button without a label, for a label the game writes")
    out.add("Menu buttons", T + "Button_ArrowLeft.png", ui.arrow_button("Left"), "previous page arrow")
    out.add("Menu buttons", T + "Button_ArrowRight.png", ui.arrow_button("Right"), "next page arrow")
    out.add("Menu buttons", T + "SliderTrack.png", ui.slider_track(),
            "volume slider track; the usable groove runs x 5..314, centre y 12")
    out.add("Menu buttons", T + "SliderThumb.png", ui.slider_thumb(),
            f"volume slider thumb: the knob fills rows {ui.THUMB_TOP}..{ui.THUMB_H - 1}, the rows above are clear")

    # icons and screens
    for kind in ("Bots", "Saved", "Lost", "Lock", "Star"):
        out.add("Icons", T + f"Icon_{kind}.png", ui.icon(kind), f"small icon: {kind.lower()}")
    out.add("Screens", T + "Panel.png", ui.panel(512, 320), "overlay panel (pause, confirm, win, lose)")
    out.add("Hover", T + "Hover_Sparkle.png", ui.sparkle_sheet(), "a burst of light on a menu button, once",
            f"{ui.SPARKLE_FRAMES} x 1 frames of {ui.SPARKLE} x {ui.SPARKLE}, not looping; frames 0 and "
            f"{ui.SPARKLE_FRAMES - 1} empty")
    out.add("Hover", T + "Hover_Wave.png", ui.wave_sheet(), "a bot popping up over a button to wave",
            f"{ui.WAVE_FRAMES} x 1 frames of {ui.WAVE_W} x {ui.WAVE_H}, not looping; frames 0 and "
            f"{ui.WAVE_FRAMES - 1} empty; the frame's bottom is the button's top edge")
    out.add("Icons", T + "Clear.png", pa.Image(4, 4), "fully transparent: a mark that shows nothing")
    out.add("Screens", T + "Dim.png", ui.dim(), "translucent black laid over the screen behind an overlay")
    for name, text in BANNERS:
        out.add("Screens", T + f"Banner_{name}.png", ui.banner(text), f'headline "{text}"')
    out.add("Screens", T + "Title.png", ui.title(), "the game name ZOVERAV with a bot on it")
    out.add("Screens", T + "GameLogo.png", ui.game_logo(), "splash: the game logo with five bots")
    out.add("Screens", T + "Splash_Maker.png", ui.maker_logo(), "splash: the maker's emblem")
    out.add("Screens", T + "Splash_Presents.png", ui.presents_text(), 'splash: "VOSTREL PRESENTS"')
    out.add("Screens", T + "Splash_Sound.png", ui.sound_logo(), "splash: the sound credit")
    for name, img in ui.howto_pages().items():
        out.add("How to play", T + name + ".png", img, "how-to-play page")


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--data", default=os.path.join(REPO, "Data"))
    ap.add_argument("--no-contact", action="store_true")
    args = ap.parse_args()
    out = Output(args.data)
    build(out)
    out.write()
    with open(os.path.join(HERE, "MANIFEST.md"), "w") as f:
        f.write(out.manifest())
    if not args.no_contact:
        out.contact("/tmp/art-contact.png")
    total = sum(os.path.getsize(os.path.join(args.data, e[1])) for e in out.entries)
    print(f"make_art: {len(out.entries)} pictures, {total // 1024} KiB under {args.data}")


if __name__ == "__main__":
    main()
