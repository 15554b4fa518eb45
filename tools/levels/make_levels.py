#!/usr/bin/env python3
"""Writes the "debug" materials file and the first terrain picture of the game.

Every pixel of a terrain picture is one cell; its RGBA colour names a material of the materials
file. Row 0 of the grid is the picture's bottom row. Run from anywhere:
    python3 tools/levels/make_levels.py
It rewrites Data/Levels/debug.json and Data/Levels/Meadow.png.
"""
import json
import math
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]
LEVELS = ROOT / "Data" / "Levels"
sys.path.insert(0, str(ROOT / "tools" / "art"))
import pixelart  # noqa: E402  (the shared PNG writer)

# name, RGBA, solid, diggable, lethal. "Bridge" always takes the bots' bridge id.
MATERIALS = [
    ("Empty", (0, 0, 0, 0), False, False, False),
    ("Ground", (122, 82, 48, 255), True, True, False),
    ("Grass", (88, 160, 60, 255), True, True, False),
    ("Rock", (110, 110, 120, 255), True, False, False),
    ("Acid", (200, 230, 40, 255), False, False, True),
    ("Bridge", (172, 50, 50, 255), True, True, False),
]
COLOUR = {name: rgba for name, rgba, *_ in MATERIALS}


def pack(rgba):
    r, g, b, a = rgba
    return r << 24 | g << 16 | b << 8 | a


def meadow(width=320, height=180):
    """Rolling ground from the spawner on the left to the exit on the right, with a rock ledge,
    a gap to bridge and an acid pool at the bottom of the gap."""
    cells = [["Empty"] * width for _ in range(height)]   # cells[y][x], y = 0 at the bottom

    def fill(x0, x1, y0, y1, name):
        for y in range(max(0, y0), min(height, y1)):
            for x in range(max(0, x0), min(width, x1)):
                cells[y][x] = name

    for x in range(width):
        if 150 <= x < 190:
            continue   # the gap
        ground = 40 + int(8 * math.sin(x / 23.0) + 4 * math.sin(x / 7.0 + 1.0))
        if x < 60:
            ground = max(ground, 70)   # the spawner's plateau
        fill(x, x + 1, 0, ground - 3, "Ground")
        fill(x, x + 1, ground - 3, ground, "Grass")
    fill(150, 190, 0, 12, "Rock")      # the floor of the gap
    fill(152, 188, 12, 16, "Acid")     # ... and the pool on it
    fill(95, 125, 24, 30, "Rock")      # an undiggable shelf inside the hill
    fill(230, 236, 30, 62, "Rock")     # a wall to dig or tunnel past
    picture = pixelart.Image(width, height)
    for y in range(height):
        for x in range(width):
            # The picture's top row is the grid's last row.
            picture.put(x, height - 1 - y, COLOUR[cells[y][x]], blend=False)
    return picture


def main():
    LEVELS.mkdir(parents=True, exist_ok=True)
    materials = [
        {"name": name, "color": pack(rgba), "solid": solid, "diggable": diggable, "lethal": lethal}
        for name, rgba, solid, diggable, lethal in MATERIALS
    ]
    (LEVELS / "debug.json").write_text(json.dumps({"Materials": materials}, indent=4) + "\n")
    meadow().save(str(LEVELS / "Meadow.png"))


if __name__ == "__main__":
    main()
