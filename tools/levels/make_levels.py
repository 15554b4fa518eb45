#!/usr/bin/env python3
"""Writes the game's terrain data and its five level scenes.

Every pixel of a terrain picture is one cell; its RGBA colour names a material of the level's
materials file. Row 0 of the grid is the picture's bottom row. The game draws each cell in its
material's own colour, so a terrain gets its texture from several look-alike materials (the
same flags, a slightly different colour) scattered by a fixed noise.

Run from anywhere:
    python3 tools/levels/make_levels.py
It rewrites Data/Levels/debug.json and Data/Levels/Meadow.png (the terrain tests' picture), the
archetypes of the level interface under Data/Entities (board, counts, job, destruct, speed and
pause buttons), and for each level N: Data/Levels/LevelN.png (terrain), Data/Levels/LevelN.json
(materials) and Data/Scenes/LevelSceneN.json (the level scene).

Level geometry: a level's grid is 176 x 96 cells, 8 cells to a world unit, centred on the
origin, so it spans x -11 .. 11 and y -6 .. 6 and fills the 16:9 view of the camera at
(0, 0, 15). A bot is one world unit (8 cells) square and walks one unit a second; it climbs any
step of up to 7 cells, turns at a wall of 8 cells or more, and dies from a fall of 4 units
(32 cells). The top band (y above 4.7) holds the job buttons, the count board and the pause
button, so terrain there is only scenery.
"""
import json
import math
import pathlib
import random
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]
LEVELS = ROOT / "Data" / "Levels"
SCENES = ROOT / "Data" / "Scenes"
ENTITIES = ROOT / "Data" / "Entities"
sys.path.insert(0, str(ROOT / "tools" / "art"))
import pixelart  # noqa: E402  (the shared PNG writer)


def pack(rgba):
    r, g, b, a = rgba
    return r << 24 | g << 16 | b << 8 | a


def materials_file(materials):
    """The "Materials" document of (name, rgba, solid, diggable, lethal) records."""
    return {"Materials": [
        {"name": name, "color": pack(rgba), "solid": solid, "diggable": diggable, "lethal": lethal}
        for name, rgba, solid, diggable, lethal in materials]}


# ---------------------------------------------------------------------------------------------
# The debug materials and the terrain tests' picture.

# name, RGBA, solid, diggable, lethal. "Bridge" always takes the bots' bridge id.
DEBUG_MATERIALS = [
    ("Empty", (0, 0, 0, 0), False, False, False),
    ("Ground", (122, 82, 48, 255), True, True, False),
    ("Grass", (88, 160, 60, 255), True, True, False),
    ("Rock", (110, 110, 120, 255), True, False, False),
    ("Acid", (200, 230, 40, 255), False, False, True),
    ("Bridge", (172, 50, 50, 255), True, True, False),
]


def meadow(width=320, height=180):
    """Rolling ground from the spawner on the left to the exit on the right, with a rock ledge,
    a gap to bridge and an acid pool at the bottom of the gap."""
    colour = {name: rgba for name, rgba, *_ in DEBUG_MATERIALS}
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
            picture.put(x, height - 1 - y, colour[cells[y][x]], blend=False)
    return picture


# ---------------------------------------------------------------------------------------------
# Level terrain.

WIDTH, HEIGHT = 176, 96   # cells
CELLS_PER_UNIT = 8
ORIGIN = (WIDTH // 2, HEIGHT // 2)
BOT = 8                   # a bot's size in cells


def world(cx, cy):
    """World position of cell coordinates (the grid's own mapping)."""
    return ((cx - ORIGIN[0]) / CELLS_PER_UNIT, (cy - ORIGIN[1]) / CELLS_PER_UNIT)


class Kind:
    """A family of look-alike materials: the same flags, colours scattered for texture.

    `flags` is (solid, diggable, lethal). The first colour is the family's main one."""

    def __init__(self, name, colours, solid, diggable, lethal=False, texture=()):
        self.name, self.colours = name, colours
        self.flags = (solid, diggable, lethal)
        # How its colours are scattered: ("speckle", share, variant) or ("strata", period, variant).
        self.texture = texture

    def materials(self):
        for i, rgba in enumerate(self.colours):
            yield (self.name if i == 0 else "%s%d" % (self.name, i + 1), rgba) + self.flags

    def colour(self, i):
        return self.colours[i % len(self.colours)]


class Terrain:
    """A grid of material families, drawn with rectangles and columns, y = 0 at the bottom."""

    def __init__(self, seed):
        self.cells = [[None] * WIDTH for _ in range(HEIGHT)]
        self.shade = [[0] * WIDTH for _ in range(HEIGHT)]   # variant index per cell
        self.rng = random.Random(seed)

    def fill(self, x0, x1, y0, y1, kind):
        """Cells x0 <= x < x1, y0 <= y < y1 (clipped to the grid)."""
        for y in range(max(0, y0), min(HEIGHT, y1)):
            for x in range(max(0, x0), min(WIDTH, x1)):
                self.cells[y][x] = kind

    def column(self, x, y0, y1, kind):
        self.fill(x, x + 1, y0, y1, kind)

    def get(self, x, y):
        return self.cells[y][x] if 0 <= x < WIDTH and 0 <= y < HEIGHT else None

    def surface(self, x, below=HEIGHT):
        """The row a bot standing in column x stands on: one above the highest solid cell
        below `below`."""
        for y in range(min(below, HEIGHT) - 1, -1, -1):
            kind = self.cells[y][x]
            if kind is not None and kind.flags[0]:
                return y + 1
        return 0

    def speckle(self, kind, odds, variant):
        """Gives that share of the family's cells another of its colours."""
        for y in range(HEIGHT):
            for x in range(WIDTH):
                if self.cells[y][x] is kind and self.rng.random() < odds:
                    self.shade[y][x] = variant

    def strata(self, kind, period, variant, phase=0.0):
        """Wavy horizontal bands of another colour through the family's cells."""
        for y in range(HEIGHT):
            for x in range(WIDTH):
                if self.cells[y][x] is kind:
                    wave = y + 1.5 * math.sin(x / 9.0 + phase) + 0.8 * math.sin(x / 3.7)
                    if int(wave) % period == 0:
                        self.shade[y][x] = variant

    def topping(self, kind, top, depth, variant_rows=()):
        """The top `depth` cells of every exposed run of `kind` become `top` (grass on soil);
        variant_rows gives (row below the surface, variant) pairs for its shading."""
        for x in range(WIDTH):
            for y in range(HEIGHT - 1, -1, -1):
                if self.cells[y][x] is kind and self.get(x, y + 1) is None:
                    for d in range(depth):
                        if self.get(x, y - d) is not kind:
                            break
                        self.cells[y - d][x] = top
                        self.shade[y - d][x] = dict(variant_rows).get(d, 0)

    def paint(self, kinds):
        """Scatters every family's colours by its texture recipe."""
        for kind in kinds:
            for how, amount, variant in kind.texture:
                (self.speckle if how == "speckle" else self.strata)(kind, amount, variant)

    def picture(self):
        image = pixelart.Image(WIDTH, HEIGHT)
        for y in range(HEIGHT):
            for x in range(WIDTH):
                kind = self.cells[y][x]
                if kind is not None:
                    # The picture's top row is the grid's last row.
                    image.put(x, HEIGHT - 1 - y, kind.colour(self.shade[y][x]), blend=False)
        return image


class Level:
    """One level: its terrain and materials, where its props stand, its limits and its jobs."""

    def __init__(self, number, title, kinds, terrain, spawner, exit_at, bots, dead_max, exit_max,
                 jobs, hints, hints_at=(-10.6, 4.3), spawn_every=2.0, lifts=()):
        self.number, self.title, self.kinds, self.terrain = number, title, kinds, terrain
        # Cells: the hatch's centre, and the cell the exit's door stands in (ground below it).
        self.spawner, self.exit_at = spawner, exit_at
        self.bots, self.dead_max, self.exit_max = bots, dead_max, exit_max
        self.jobs, self.hints, self.hints_at, self.spawn_every = jobs, hints, hints_at, spawn_every
        self.lifts = lifts

    def materials(self):
        out = []
        for kind in self.kinds:
            out.extend(kind.materials())
        return out


class Lift:
    """A platform that rides up and down a shaft between two floors, carrying the bots on it.

    Its shaft is the columns x0 .. x0 + width - 1 (cells); its top runs from row `low` (flush with
    the lower floor) to row `high` (flush with the upper one), at `speed` units a second. Its body
    reaches `below` units under its top, so that, raised, it still closes the shaft at the lower
    floor: a bot arriving there waits against it instead of walking under it."""

    def __init__(self, x0, width, low, high, speed=0.75, below=3.5):
        self.x0, self.width, self.low, self.high, self.speed, self.below = x0, width, low, high, speed, below


def bridge(colour):
    """The bots' bridge cells, in the level's own plank colour."""
    return Kind("Bridge", [colour], True, True)


def level1():
    """Morning meadow. The hatch drops the bots in the middle of a meadow; they walk right,
    towards a chasm with a pond at its bottom. The exit is far to the left. One bot made a
    blocker turns every later one back towards the exit."""
    soil = Kind("Soil", [(126, 86, 52, 255), (112, 74, 44, 255), (140, 98, 60, 255)], True, True,
                texture=[("speckle", 0.22, 1), ("speckle", 0.10, 2)])
    grass = Kind("Grass", [(92, 168, 64, 255), (120, 190, 80, 255), (70, 140, 52, 255)], True, True)
    rock = Kind("Rock", [(120, 120, 132, 255), (100, 100, 112, 255), (146, 146, 156, 255)], True, False,
                texture=[("strata", 4, 1), ("speckle", 0.12, 2)])
    water = Kind("Water", [(60, 120, 210, 255), (90, 150, 230, 255)], False, False, True,
                 texture=[("speckle", 0.15, 1)])
    flower = Kind("Flower", [(250, 230, 90, 255), (240, 120, 160, 255), (255, 255, 255, 255)],
                  False, False)
    stem = Kind("Stem", [(60, 120, 40, 255)], False, False)
    t = Terrain(101)
    for x in range(WIDTH):
        if 122 <= x < 150:
            continue   # the chasm
        top = 40 + int(round(1.6 * math.sin(x / 11.0) + 0.8 * math.sin(x / 4.3 + 2.0)))
        if x < 42:
            top = 41   # level ground at the exit
        if x >= 150:
            top = 46 + (x - 150) // 3   # the far hill, out of reach
        t.fill(x, x + 1, 0, top, soil)
    t.fill(0, 6, 0, 72, rock)                 # the left end of the world
    t.fill(118, 122, 0, 38, rock)             # the chasm's rock lips
    t.fill(150, 154, 0, 44, rock)
    t.fill(122, 150, 0, 6, rock)              # its floor ...
    t.fill(122, 150, 6, 14, water)            # ... and the pond on it
    for x, y0, y1 in ((20, 2, 9), (70, 4, 12), (96, 6, 10), (160, 10, 20)):   # buried boulders
        for y in range(y0, y1):
            t.fill(x - (y1 - y) // 2, x + (y1 - y) // 2 + 2, y, y + 1, rock)
    t.paint([soil, rock, water])
    t.topping(soil, grass, 3, ((0, 1), (2, 2)))
    for x in (26, 31, 47, 53, 84, 91, 104, 110):   # flowers: look only, bots walk through them
        y = t.surface(x)
        t.fill(x, x + 1, y, y + 1, stem)
        t.fill(x, x + 1, y + 1, y + 2, flower)
        t.shade[y + 1][x] = x % 3
    return Level(1, "Level 1: First Steps", [soil, grass, rock, water, flower, stem, bridge((196, 142, 84, 255))],
                 t, spawner=(64, 58), exit_at=(24, 41), bots=10, dead_max=3, exit_max=6,
                 jobs=["Blocker"],
                 hints=["SPACE opens the hatch.",
                        "Press 1 (or click BLOCK), then click",
                        "a bot: it stops and turns the others."])


def level2():
    """Sunset canyon. The bots land on a mesa of sand over rock that ends in a sheer cliff. A
    cave lies under the sand; its left end is a quicksand pit, and the exit stands in a low
    alcove on its right, roofed with rock. A digger opened over the cave between the two lets
    every bot drop in and walk to the exit."""
    sand = Kind("Sand", [(214, 150, 96, 255), (196, 134, 84, 255), (228, 170, 116, 255)], True, True,
                texture=[("speckle", 0.25, 1), ("speckle", 0.10, 2)])
    rock = Kind("Sandstone", [(150, 70, 64, 255), (128, 58, 56, 255), (170, 88, 76, 255)], True, False,
                texture=[("strata", 5, 1), ("speckle", 0.10, 2)])
    quick = Kind("Quicksand", [(120, 96, 40, 255), (142, 114, 52, 255)], False, False, True,
                 texture=[("speckle", 0.3, 1)])
    river = Kind("River", [(70, 90, 150, 255), (96, 120, 180, 255)], False, False, True,
                 texture=[("speckle", 0.2, 1)])
    # The dark inside of the cave: scenery the bots walk through.
    shadow = Kind("CaveShadow", [(70, 34, 44, 255), (64, 30, 40, 255)], False, False,
                  texture=[("speckle", 0.15, 1)])
    t = Terrain(202)
    # Six rows of sand over the whole mesa: digging anywhere goes straight down, and where rock
    # lies under the sand the digger stops in a pit shallow enough to climb out of.
    t.fill(0, 132, 0, 52, rock)
    t.fill(0, 132, 52, 58, sand)
    t.fill(0, 4, 58, 72, rock)                # the left end of the world
    t.fill(40, 124, 36, 52, shadow)           # the cave ...
    t.fill(84, 124, 48, 52, rock)             # ... its alcove's roof, so nothing drops onto the exit
    t.fill(40, 54, 30, 36, quick)             # ... and the quicksand at its left end
    t.fill(132, WIDTH, 0, 6, rock)            # the canyon floor ...
    t.fill(132, WIDTH, 6, 10, river)          # ... and its river
    for x in range(156, WIDTH):               # a far mesa for the view
        t.column(x, 10, 30 + min(14, (x - 156) * 2), rock)
    kinds = [sand, rock, quick, river, shadow, bridge((180, 120, 70, 255))]
    t.paint(kinds)
    return Level(2, "Level 2: Dig In", kinds,
                 t, spawner=(16, 68), exit_at=(100, 36), bots=10, dead_max=3, exit_max=7,
                 jobs=["Digger"],
                 hints=["Press 2 (DIG), then click a bot:",
                        "it digs straight down through sand."])


def level3():
    """Crystal cave. Two chasms with crystal spikes at their bottom cut the cave floor between
    the hatch and the exit; each needs a bridge laid from its near edge."""
    stone = Kind("CaveStone", [(58, 64, 92, 255), (48, 54, 80, 255), (70, 78, 108, 255)], True, False,
                 texture=[("speckle", 0.18, 1), ("speckle", 0.08, 2)])
    soil = Kind("CaveSoil", [(84, 74, 104, 255), (74, 64, 94, 255), (96, 86, 118, 255)], True, True,
                texture=[("strata", 6, 1), ("speckle", 0.12, 2)])
    crystal = Kind("Crystal", [(110, 230, 220, 255), (170, 120, 250, 255), (130, 250, 170, 255)],
                   True, False)
    spikes = Kind("Spikes", [(230, 110, 250, 255), (250, 170, 255, 255)], True, False, True,
                  texture=[("speckle", 0.3, 1)])
    t = Terrain(303)
    t.fill(0, WIDTH, 0, 40, soil)             # the cave floor
    t.fill(0, WIDTH, 0, 14, stone)
    t.fill(0, WIDTH, 80, HEIGHT, stone)       # the ceiling, behind the top band
    t.fill(0, 4, 40, 80, stone)               # the two ends of the world
    t.fill(170, WIDTH, 40, 80, stone)
    for x0, x1 in ((60, 84), (112, 128)):     # the chasms ...
        t.fill(x0, x1, 14, 40, None)
        for x in range(x0, x1):               # ... with spikes at the bottom
            h = 5 - abs((x - x0) % 6 - 3)
            t.fill(x, x + 1, 14, 14 + h, spikes)
    for x in range(WIDTH):                    # stalactites, out of the bots' reach
        length = int(4 + 3 * math.sin(x / 5.0) + 2 * math.sin(x / 1.9))
        if x % 9 < 5:
            t.fill(x, x + 1, 80 - max(0, length), 80, stone)
    for x, y in ((8, 24), (30, 6), (52, 30), (95, 18), (140, 8), (158, 26), (150, 90), (40, 88)):
        for d in range(5):   # crystal clusters inside the rock
            t.fill(x - (4 - d) // 2, x + (4 - d) // 2 + 1, y + d, y + d + 1, crystal)
    t.paint([stone, soil, spikes])
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if t.cells[y][x] is crystal:
                t.shade[y][x] = (x // 3) % 3
    return Level(3, "Level 3: Mind the Gap",
                 [stone, soil, crystal, spikes, bridge((120, 220, 240, 255))],
                 t, spawner=(18, 56), exit_at=(154, 40), bots=10, dead_max=3, exit_max=7,
                 jobs=["Bridge"],
                 hints=["Press 4 (BRIDGE) and click a bot near",
                        "the edge: it builds across."])


def level4():
    """Night works. The hatch drops the bots on a steel deck. To the right a thin brick wall
    turns them back, and the deck's left end hangs over an acid vat. Tunnel the wall; beyond it
    the deck ends over a deep drop to the yard: only bots with an umbrella live through it. The
    exit stands on a loading dock, too high to climb, that a lift serves from the yard."""
    steel = Kind("Steel", [(96, 110, 132, 255), (80, 92, 112, 255), (124, 138, 160, 255)], True, False,
                 texture=[("speckle", 0.10, 1)])
    brick = Kind("Brick", [(178, 80, 60, 255), (128, 52, 42, 255)], True, True)
    concrete = Kind("Concrete", [(120, 120, 116, 255), (104, 104, 100, 255), (136, 136, 130, 255)],
                    True, False, texture=[("strata", 7, 1), ("speckle", 0.12, 2)])
    acid = Kind("Acid", [(150, 240, 60, 255), (190, 255, 110, 255)], False, False, True,
                texture=[("speckle", 0.25, 1)])
    # The dark inside of the lift shaft: scenery behind the lift.
    shaft = Kind("Shaft", [(34, 36, 44, 255), (44, 46, 56, 255)], False, False)
    t = Terrain(404)
    t.fill(8, 112, 54, 60, steel)             # the deck
    for x in range(16, 112, 24):              # its legs
        t.fill(x, x + 3, 6, 54, steel)
    t.fill(0, 8, 0, 6, concrete)              # the acid vat below the deck's left end
    t.fill(0, 2, 6, 30, concrete)
    t.fill(2, 40, 0, 6, concrete)
    t.fill(2, 40, 6, 12, acid)
    t.fill(40, 44, 0, 20, concrete)
    t.fill(44, 128, 0, 14, concrete)          # the yard ...
    t.fill(128, 144, 0, 14, shaft)            # ... the lift's shaft, sunk into it ...
    t.fill(144, 174, 0, 38, concrete)         # ... and the loading dock, three bots high
    # The lift's tower: its left post stands over the yard's edge higher than a bot, so the bots
    # walk under it onto the lift but, once lifted, turn at it instead of walking off; a beam
    # well above the dock joins it to the dock.
    t.fill(124, 128, 23, 58, steel)
    t.fill(124, 148, 58, 61, steel)
    t.fill(174, WIDTH, 0, 80, concrete)       # the far wall
    t.fill(103, 104, 60, 82, brick)           # the wall to tunnel: thin, so that one cut opens it
    for y in range(HEIGHT):                   # brick courses with pale mortar lines
        for x in range(WIDTH):
            if t.cells[y][x] is brick:
                t.shade[y][x] = (y // 2) % 2
    t.paint([concrete, steel, acid, shaft])
    for y in (54, 59):                         # bright rails along the deck
        for x in range(8, 112):
            if t.cells[y][x] is steel:
                t.shade[y][x] = 2
    for y in (13, 37):                         # hazard edges of the yard and the dock at the shaft
        for x in list(range(124, 128)) + list(range(144, 148)):
            if t.cells[y][x] is concrete:
                t.shade[y][x] = 2
    return Level(4, "Level 4: Through and Up", [steel, brick, concrete, acid, shaft, bridge((200, 160, 90, 255))],
                 t, spawner=(40, 68), exit_at=(159, 38), bots=8, dead_max=3, exit_max=5,
                 jobs=["Tunneller", "Umbrella"],
                 hints=["3 (TUNNEL): a bot cuts the wall ahead.",
                        "5 (UMBRELLA): a bot floats down safely."],
                 lifts=[Lift(128, 16, 14, 38)])


def level5():
    """Lava deep. The bots land on an ash ledge between a wall and a lava pit. Dig through the
    ash into the gallery below (not too close to its lava-filled left end), bridge its lava lake,
    tunnel its obsidian screen, drop to the lowest floor and set a blocker there before the lava,
    so that the bots turn back to the exit under the gallery."""
    basalt = Kind("Basalt", [(70, 46, 46, 255), (58, 38, 40, 255), (88, 58, 54, 255)], True, False,
                  texture=[("strata", 6, 1), ("speckle", 0.10, 2)])
    ash = Kind("Ash", [(128, 112, 108, 255), (112, 98, 96, 255), (146, 130, 124, 255)], True, True,
               texture=[("speckle", 0.25, 1), ("speckle", 0.10, 2)])
    obsidian = Kind("Obsidian", [(84, 60, 120, 255), (64, 44, 100, 255), (120, 90, 160, 255)], True, True,
                    texture=[("strata", 3, 2)])
    lava = Kind("Lava", [(255, 120, 30, 255), (255, 180, 60, 255), (230, 70, 20, 255)], False, False, True,
                texture=[("speckle", 0.2, 1), ("speckle", 0.1, 2)])
    t = Terrain(505)
    t.fill(0, WIDTH, 0, 6, basalt)            # bedrock
    t.fill(0, 4, 0, 86, basalt)               # the left end of the world
    t.fill(172, WIDTH, 0, 86, basalt)         # ... and the right one
    # The left lava pit beside the ledge.
    t.fill(4, 16, 6, 20, lava)
    t.fill(16, 24, 6, 60, basalt)
    # The ledge: six rows of ash over the gallery, a wall standing on it at its right end (ash
    # runs under the wall, so a digger next to it goes straight down too).
    t.fill(16, 86, 60, 66, ash)
    t.fill(80, 86, 66, 86, basalt)
    # The gallery, floor top at row 40, roofed by the ledge and then by basalt.
    t.fill(24, 144, 32, 40, basalt)
    t.fill(24, 32, 32, 40, lava)              # its left end: bots turned back do not walk for ever
    t.fill(86, 144, 60, 66, basalt)
    t.fill(92, 112, 28, 40, None)             # the lava lake to bridge, below the floor
    t.fill(92, 112, 24, 28, lava)
    t.fill(92, 112, 14, 24, basalt)
    t.fill(129, 130, 40, 60, obsidian)        # the screen to tunnel
    # The lowest floor, top at row 14, under the gallery; lava at its right end.
    t.fill(24, 104, 6, 32, basalt)
    t.fill(104, WIDTH, 6, 14, basalt)
    t.fill(168, 172, 6, 14, lava)
    kinds = [basalt, ash, obsidian, lava, bridge((110, 90, 80, 255))]
    t.paint(kinds)
    return Level(5, "Level 5: All Together", kinds,
                 t, spawner=(22, 72), exit_at=(128, 14), bots=10, dead_max=3, exit_max=7,
                 jobs=["Blocker", "Digger", "Tunneller", "Bridge"],
                 hints=["Dig, bridge, tunnel, block!"], hints_at=(3.0, 3.9))


LEVEL_MAKERS = [level1, level2, level3, level4, level5]


# ---------------------------------------------------------------------------------------------
# Level scenes.

# Job button picture, entity name and hotkey (the key shown on the picture).
JOBS = {
    "Blocker": ("JobButton_Blocker", "MonkeyBlockerButton", ord("1")),
    "Digger": ("JobButton_Digger", "MonkeyDigButton", ord("2")),
    "Tunneller": ("JobButton_Tunneller", "MonkeyTunnelButton", ord("3")),
    "Bridge": ("JobButton_Bridge", "MonkeyBridgeButton", ord("4")),
    "Umbrella": ("JobButton_Umbrella", "MonkeyUmbrellaButton", ord("5")),
}
DESTRUCT_KEY = ord("X")
# Speed buttons: game speed, picture and hotkey (the key shown on the picture).
SPEEDS = [(2.0, "Button_Speed2x", ord("F")), (4.0, "Button_Speed4x", ord("G"))]

BAND_Y = 5.4            # centre of the top band
PAUSE_AT = (10.0, 5.4)  # where the no-menu pause overlay shows its own pause button
PAUSE_SIZE = 1.2
JOB_SIZE = 1.2
JOB_STEP = JOB_SIZE + 0.15
JOB_LEFT = -10.1        # the first job button's centre
BOT_Z = 0.1             # bots take the spawner's depth: in front of the terrain
LIFT_OVERRUN = 0.08     # how far beyond a floor a lift's path point lies (units)
TEXT = (0.22, 0.28)     # glyph size of the hints
HATCH_DIGIT = (0.3, 0.38)   # glyph size of the hatch's count

# The count board: four slots of the picture's 136 x 78 pixels at 60 pixels a unit (see
# tools/art/ui.py): a caption on top and a dark window below, the slot's icon at its left.
PX = 1 / 60.0
BOARD_SLOTS = 4
BOARD_SIZE = (136 * BOARD_SLOTS * PX, 78 * PX)
BOARD_AT = (1.9, 6.05 - BOARD_SIZE[1] / 2)   # its top 0.16 below the top of the view
WINDOW = (6, 28, 124, 44)   # a slot's number window: x, y, width, height in pixels
ICON_RIGHT = 47             # the count starts here, right after the icon
DIGIT = (0.28, 0.36)        # glyph size of the counts

# The interface follows the camera: its entities hang from one at the camera's depth below the
# camera (which stands at z = 15), so an element's own position is where it shows.
HUD_DEPTH = -15.0
HUD_Z = 0.2


def transform(x, y, z=0.0, sx=1.0, sy=1.0):
    return {"Type": "Transform", "Translation": [r(x), r(y), r(z)], "Rotation": [0, 0, 0],
            "Scale": [r(sx), r(sy), 1]}


def r(v):
    return round(v, 4)


def sprite(texture, shader="alpha", **extra):
    return dict({"Type": "Sprite", "Mesh": "Prim_Plane", "Shader": shader, "Texture": texture,
                 "tint": [1, 1, 1], "space": "worldProj"}, **extra)


def font(text, texture="FontOutline"):
    return {"Type": "Font", "Texture": texture, "Mesh": "Prim_Plane", "Shader": "alpha",
            "space": "worldProj", "tint": [1, 1, 1], "InputText": text}


def entity(name, *components):
    return {"Name": name, "Components": list(components)}


def box_collider():
    # The box follows the entity's Transform; nothing is pushed out of it.
    return {"Type": "ColliderLine", "ColliderType": "line", "PixelGridCollider": False,
            "Collision Mask": [True, False, False]}


def text_entity(name, text, x, y, size, *extra, texture="FontOutline", z=0.3):
    # A Font's first glyph stands one glyph to the right of its origin.
    return entity(name, *extra, font(text, texture), transform(x - size[0], y, z, *size))


def slot_text(name, slot, *extra, chars=None):
    """A count in a slot of the board: right after the slot's icon, or, given the number of
    characters it shows, centred in a slot without one."""
    slot_left = BOARD_AT[0] - BOARD_SIZE[0] / 2 + 136 * PX * slot
    window_top = BOARD_AT[1] + BOARD_SIZE[1] / 2 - WINDOW[1] * PX
    y = window_top - WINDOW[3] * PX / 2
    if chars is None:
        left = slot_left + ICON_RIGHT * PX
    else:
        left = slot_left + (WINDOW[0] + WINDOW[2] / 2) * PX - chars * DIGIT[0] / 2
    # The first glyph's middle is half a glyph right of its left edge.
    return text_entity(name, "", left + DIGIT[0] / 2, y, DIGIT, *extra, z=HUD_Z + 0.05)


def button_entity(name, behaviour, texture, x, y, size):
    return entity(name, behaviour, sprite(texture, shader="base"), transform(x, y, HUD_Z, size, size),
                  {"Type": "ButtonComponent"})


def hud_archetypes():
    """The level interface's elements, one archetype file each (Data/Entities/<Name>.json). The
    job and destruct buttons stand at their own slot's origin; the rest where they show."""
    out = [
        entity("CountBoardPanel", sprite("CountBoard", shader="base"),
               transform(BOARD_AT[0], BOARD_AT[1], HUD_Z, *BOARD_SIZE)),
        # The walking bots, and two lines below the level's title, under the board.
        slot_text("CountBoardText", 0, {"Type": "CountBoardDisplay"}),
        slot_text("ExitText", 1, {"Type": "ExitDisplay"}),
        slot_text("LostText", 2, {"Type": "LostDisplay"}),
        slot_text("LevelTime", 3, {"Type": "BehaviorFontChange"}, chars=5),
        button_entity("DestructButton", {"Type": "BehaviorDestructButton", "Hotkey": DESTRUCT_KEY,
                                         "Perpetual": True}, "JobButton_Destruct", 0, 0, JOB_SIZE),
        button_entity("PauseButton", {"Type": "BehaviorPauseButton"}, "Button_Pause", *PAUSE_AT, PAUSE_SIZE),
    ]
    for texture, name, hotkey in JOBS.values():
        out.append(button_entity(name, {"Type": "BehaviorJobButton", "Hotkey": hotkey, "Perpetual": True},
                                 texture, 0, 0, JOB_SIZE))
    for i, (speed, texture, hotkey) in enumerate(SPEEDS):
        out.append(button_entity("SpeedButton%dx" % speed, {"Type": "BehaviorChangeSpeedButton",
                                                          "CurrentSpeedState": speed, "Hotkey": hotkey},
                                 texture, PAUSE_AT[0] - (len(SPEEDS) - i) * JOB_STEP, BAND_Y, JOB_SIZE))
    return out


def hud(level):
    """The level's interface entities: the board, its counts, the time, the speed and pause
    buttons under one; one more per job bar slot (the level's jobs, then the destruct button)."""
    board = ["CountBoardPanel", "CountBoardText", "ExitText", "LostText", "LevelTime"]
    speeds = ["SpeedButton%dx" % speed for speed, _, _ in SPEEDS]

    def ui(name, elements, x=0.0, y=0.0):
        return entity(name, {"Type": "BehaviorUI", "UIElements": elements}, transform(x, y, HUD_DEPTH))

    out = [ui("HUD", board + speeds + ["PauseButton"])]
    bar = [JOBS[job][1] for job in level.jobs] + ["DestructButton"]
    for i, name in enumerate(bar):
        out.append(ui("JobBarSlot%d" % (i + 1), [name], JOB_LEFT + i * JOB_STEP, BAND_Y))
    return out


def check(level):
    """The layout rules every level keeps; a broken one stops the generator."""
    t, (sx, sy), (ex, ey) = level.terrain, level.spawner, level.exit_at
    solid = lambda x, y: t.get(x, y) is not None and t.get(x, y).flags[0]
    landing = t.surface(sx, below=sy)
    drop = (sy - BOT // 2 - landing) / CELLS_PER_UNIT
    assert 0 < drop < 3, "level %d: the hatch is %.2f units above the ground below it" % (level.number, drop)
    # A bot walking into the exit glides to its middle without walking: a step down on the way
    # would make it fall, stop, and never arrive. So the ground is level and open from where a
    # bot first touches the door (its far side 14 cells out) to the middle, on both sides.
    for x in range(ex - 14, ex + 15):
        assert solid(x, ey - 1) and not any(solid(x, y) for y in range(ey, ey + 12)), \
            "level %d: the ground at the exit is not level and open at column %d" % (level.number, x)
    assert level.exit_max < level.bots and level.dead_max >= 1, "level %d: limits that cannot be met" % level.number


def level_scene(level):
    t = level.terrain
    sx, sy = world(*level.spawner)
    ex, ey = world(*level.exit_at)
    entities = [
        entity("MainCamera", transform(0, 0, 15)),
        entity("Music", {"Type": "MusicPlayer", "SongName": "LevelSong%d" % level.number,
                         "Volume": 1.0}),
        entity("Background", sprite("Background_Level%d" % level.number, shader="base"),
               transform(0, 0, -1, 24, 13.5)),
        entity("Terrain", {"Type": "PixelGrid", "Source": "Level%d" % level.number,
                           "palette": "Level%d" % level.number, "Origin": list(ORIGIN),
                           "CellSize": CELLS_PER_UNIT}),
        entity("Exit", sprite("Exit"), box_collider(), transform(ex, ey + 0.75, 0.05, 1.5, 1.5)),
        entity("Spawner", {"Type": "BehaviorSpawner", "MonkeySpawnCountMax": level.bots,
                           "SpawnDuration": level.spawn_every, "MonkeyWaitDuration": 0.2,
                           "ExitOutSpeed": 1.0},
               sprite("Spawner"), transform(sx, sy, BOT_Z, 1.5, 1.5)),
        # How many bots the hatch still holds, above it, clear of the bots dropping out.
        text_entity("SpawnerText", "", sx - HATCH_DIGIT[0] / 2, sy + 0.95, HATCH_DIGIT, {"Type": "SpawnerDisplay"}),
    ]
    # Lifts: a box the bots stand on (it gives way to nothing), moved by its path between its two
    # floors. The path's points lie a little beyond each floor, where the lift's top edge turns
    # it, so it always comes down just below the lower floor and up just above the upper one:
    # the bots step down onto it and off it.
    for i, lift in enumerate(level.lifts):
        x = (lift.x0 + lift.width / 2 - ORIGIN[0]) / CELLS_PER_UNIT
        low = (lift.low - ORIGIN[1]) / CELLS_PER_UNIT - LIFT_OVERRUN
        high = (lift.high - ORIGIN[1]) / CELLS_PER_UNIT + LIFT_OVERRUN
        width = lift.width / CELLS_PER_UNIT
        entities.append(entity("Lift", sprite("Lift"),
                               {"Type": "ColliderLine", "ColliderType": "line", "PixelGridCollider": False,
                                "ResolveCollision": 0, "Collision Mask": [True, False, False]},
                               {"Type": "Physics", "Velocity": [0, r(-lift.speed), 0],
                                "MaxVelocity": [0, r(2 * lift.speed), 0], "Gravity": 0},
                               {"Type": "BehaviorPath", "StartPos": [r(x), r(high), 0], "EndPos": [r(x), r(low), 0],
                                "WaitDuration": 0},
                               transform(x, high - LIFT_OVERRUN - lift.below / 2, 0.05, width, lift.below)))
    # Bots that leave the world die on its edge: below the grid and beside it.
    entities += [
        entity("WorldBound", sprite("WorldBound", shader="base", **{"ST scaling": [60, 1]}), box_collider(),
               transform(0, -6.3, 0.2, 24, 0.4)),
        entity("WorldBound", box_collider(), transform(-11.6, 0, 0, 1, 14)),
        entity("WorldBound", box_collider(), transform(11.6, 0, 0, 1, 14)),
    ]
    # The count board decides the level; the interface shows its counts.
    entities.append(entity("CountBoard", {"Type": "BehaviorCountBoard", "DeadMax": level.dead_max,
                                          "ExitMax": level.exit_max}))
    entities += hud(level)
    for i, line in enumerate(level.hints):
        entities.append(text_entity("HintText", line, level.hints_at[0], level.hints_at[1] - i * 0.34, TEXT))
    following = ("Data/Scenes/LevelScene%d.json" % (level.number + 1) if level.number < len(LEVEL_MAKERS)
                 else "Data/Scenes/GameEndScene.json")
    name = "LevelScene%d" % level.number
    return {"SceneFile": "Data/Scenes/%s.json" % name, "SceneName": name,
            "Name_Syntactical_Sugar": level.title, "NextScene": following,
            "WinScene": "Data/Scenes/WinScene.json", "LoseScene": "Data/Scenes/LoseScene.json",
            "Entities": entities}


def scene_text(doc):
    # Four-space indents as the game writes them, with short number lists kept on one line.
    out = json.dumps(doc, indent=4)
    atom = r"(?:-?[\d.]+|true|false)"
    return re.sub(r"\[\s+(%s(?:,\s+%s)*)\s+\]" % (atom, atom),
                  lambda m: "[" + " ".join(m.group(1).split()) + "]", out) + "\n"


def write(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    tmp = path.with_suffix(path.suffix + ".tmp")
    tmp.write_text(text)
    tmp.replace(path)


def main():
    LEVELS.mkdir(parents=True, exist_ok=True)
    SCENES.mkdir(parents=True, exist_ok=True)
    write(LEVELS / "debug.json", json.dumps(materials_file(DEBUG_MATERIALS), indent=4) + "\n")
    meadow().save(str(LEVELS / "Meadow.png"))
    for element in hud_archetypes():
        write(ENTITIES / (element["Name"] + ".json"), scene_text(element))
    for make in LEVEL_MAKERS:
        level = make()
        check(level)
        stem = "Level%d" % level.number
        write(LEVELS / (stem + ".json"), json.dumps(materials_file(level.materials()), indent=4) + "\n")
        level.terrain.picture().save(str(LEVELS / (stem + ".png")))
        write(SCENES / ("LevelScene%d.json" % level.number), scene_text(level_scene(level)))


if __name__ == "__main__":
    main()
