"""The bot: a small walking robot with a teal head, a one-eyed visor, an orange body, a red
antenna bulb and stubby slate legs. Every pose is drawn on a 16 x 16 logical grid (top-left
origin, facing right, feet on the bottom row), outlined, then doubled to a 32 x 32 frame.

Sheets are one row of frames; `SHEETS` maps a sheet name to (frame count, frame drawer)."""

import pixelart as pa

LOGICAL = 16
SCALE = 2
FRAME = LOGICAL * SCALE

OUT = (24, 22, 40)
HEAD = (78, 196, 176)
HEAD_D = (40, 132, 126)
HEAD_L = (168, 240, 218)
BODY = (244, 146, 62)
BODY_D = (188, 92, 40)
BODY_L = (255, 200, 120)
LEG = (74, 82, 110)
FOOT = (46, 50, 72)
VISOR = (22, 30, 58)
EYE = (255, 232, 96)
GLINT = (255, 255, 255)
BULB = (250, 84, 96)
BULB_L = (255, 170, 170)
HAT = (255, 206, 40)
HAT_D = (200, 146, 20)
STEEL = (176, 186, 204)
STEEL_D = (104, 114, 138)
PLANK = (206, 140, 72)
PLANK_D = (140, 84, 40)
DUST = (170, 140, 108)
SPARK = (255, 240, 150)
SPARK_O = (255, 150, 40)
CANOPY = (252, 248, 236)
CANOPY_S = (96, 170, 250)


# ---- body parts (logical coordinates) ------------------------------------------------------
def legs(img, dy=0, front_dx=0, back_dx=0, front_lift=0, back_lift=0, spread=0):
    """Two thin legs from the body's bottom to the feet; dx moves a foot along x, lift
    raises it. The back leg is drawn darker so the two read apart."""
    hip_y = 12 + dy
    for hip_x, dx, lift, colour, foot in ((6 - spread, back_dx, back_lift, FOOT, (34, 36, 54)),
                                          (9 + spread, front_dx, front_lift, LEG, FOOT)):
        fx = hip_x + dx
        fy = 15 - lift
        if fy - 1 >= hip_y:
            img.line(hip_x, hip_y, fx, fy - 1, colour)
        img.rect(fx, fy, 2, 1, foot)


def body(img, dy=0, chest=EYE):
    img.rect(5, 8 + dy, 6, 4, BODY)
    img.rect(5, 8 + dy, 6, 1, BODY_D)
    img.rect(10, 9 + dy, 1, 3, BODY_D)
    img.rect(5, 9 + dy, 1, 2, BODY_L)
    img.put(7, 10 + dy, chest)


def head(img, dy=0, dx=0, eyes="side", hat=False):
    """The head box (rows 3-7 at rest) with its visor. eyes: side (looking right), down,
    front (two eyes), wide, shut, cross (broken), happy."""
    x0, y0 = 3 + dx, 3 + dy
    img.rect(x0, y0, 10, 5, HEAD)
    img.rect(x0, y0, 9, 1, HEAD_L)
    img.rect(x0 + 9, y0 + 1, 1, 4, HEAD_D)
    img.rect(x0, y0 + 4, 10, 1, HEAD_D)
    for cx, cy in ((x0, y0), (x0 + 9, y0), (x0, y0 + 4), (x0 + 9, y0 + 4)):
        img.put(cx, cy, (0, 0, 0, 0), blend=False)
    img.put(x0 + 1, y0 + 2, HEAD_D)  # ear bolt
    if eyes in ("front", "wide", "shut", "cross", "happy"):
        vx, vw = x0 + 2, 6
    else:
        vx, vw = x0 + 4, 5
    img.rect(vx, y0 + 1, vw, 3, VISOR)
    ey = y0 + 1
    if eyes == "side":
        img.rect(vx + 2, ey, 2, 2, EYE)
        img.put(vx + 3, ey, GLINT)
    elif eyes == "down":
        img.rect(vx + 2, ey + 1, 2, 2, EYE)
        img.put(vx + 3, ey + 1, GLINT)
    elif eyes == "front":
        img.rect(vx + 1, ey, 1, 2, EYE)
        img.rect(vx + 4, ey, 1, 2, EYE)
    elif eyes == "wide":
        img.rect(vx + 1, ey, 1, 3, EYE)
        img.rect(vx + 4, ey, 1, 3, EYE)
        img.put(vx + 1, ey, GLINT)
        img.put(vx + 4, ey, GLINT)
    elif eyes == "shut":
        img.rect(vx + 1, ey + 1, 4, 1, EYE)
    elif eyes == "happy":
        for ex in (vx + 1, vx + 4):
            img.put(ex, ey, EYE)
        img.rect(vx + 2, ey + 2, 2, 1, EYE)
    elif eyes == "cross":
        for ex in (vx + 1, vx + 3):
            img.put(ex, ey, BULB)
            img.put(ex + 1, ey + 1, BULB)
            img.put(ex + 1, ey, BULB)
            img.put(ex, ey + 1, BULB)
    if hat:
        img.rect(x0 + 1, y0 - 2, 8, 2, HAT)
        img.rect(x0, y0 - 1, 11, 1, HAT_D)
        img.put(x0 + 4, y0 - 2, (255, 250, 200))


def antenna(img, dy=0, lean=0, lit=True):
    img.put(6 + (lean if lean < 0 else 0), 2 + dy, LEG)
    bx = 5 + lean
    img.rect(bx, 0 + dy, 2, 2, BULB if lit else BODY_D)
    img.put(bx, 0 + dy, BULB_L if lit else BODY)


def arm(img, x0, y0, x1, y1):
    img.line(x0, y0, x1, y1, LEG)
    img.put(x1, y1, STEEL)


def finish(logical):
    """Outline a logical pose and double it into a full frame."""
    logical.outline(OUT)
    return logical.scaled(SCALE)


def canvas():
    return pa.Image(LOGICAL, LOGICAL)


# ---- sheets --------------------------------------------------------------------------------
# Rest pose rows: bulb 0-1, stalk 2, head 3-7, body 8-11, legs 12-14, feet 15.
WALK_FRONT = [2, 1, 0, -1, -2, -1, 0, 1]


def walk_frame(i, hat=False, carry=False):
    img = canvas()
    f = WALK_FRONT[i % 8]
    front_lift = 1 if i % 8 in (5, 6, 7) else 0
    back_lift = 1 if i % 8 in (1, 2, 3) else 0
    dy = 1 if i % 4 == 0 else 0
    legs(img, dy, front_dx=f, back_dx=-f, front_lift=front_lift, back_lift=back_lift)
    arm(img, 6, 9 + dy, 6 - f // 2, 11 + dy)           # back arm, behind the body
    body(img, dy)
    if not hat:
        antenna(img, dy, lean=(-1 if f > 0 else 0))
    head(img, dy, eyes="side", hat=hat)
    if carry:
        img.rect(9, 8 + dy, 7, 2, PLANK)                # a plank held at chest height
        img.rect(9, 9 + dy, 7, 1, PLANK_D)
        arm(img, 9, 9 + dy, 10, 9 + dy)
    else:
        arm(img, 9, 9 + dy, 10 + f // 2, 11 + dy)       # front arm swings
    return finish(img)


def block_frame(i):
    img = canvas()
    wave = (0, 1, 0, -1)[i % 4]
    legs(img, 0, front_dx=1, back_dx=-1, spread=1)
    body(img, 0, chest=BULB if i % 2 == 0 else EYE)
    antenna(img, 0, lit=(i % 2 == 0))
    head(img, 0, eyes="front")
    # both arms straight out, open hands raised: "stop"
    for side in (-1, 1):
        sx = 4 if side < 0 else 11
        hx = 1 if side < 0 else 14
        hy = 9 + (wave if side > 0 else -wave)
        img.rect(min(sx, hx), hy, abs(sx - hx) + 1, 1, LEG)
        img.rect(hx, hy - 3, 1, 4, STEEL)
        img.put(hx, hy - 3, (236, 240, 248))
    return finish(img)


def dig_frame(i):
    """Shovel work in front of the feet: 0-1 push down, 2 lever, 3 throw over the shoulder,
    4-5 swing back."""
    img = canvas()
    k = i % 6
    dy = (1, 1, 0, 0, 0, 1)[k]
    legs(img, dy, front_dx=1, back_dx=-1)
    body(img, dy)
    antenna(img, dy, lean=(-1, -1, 0, 1, 0, -1)[k])
    head(img, dy + (1 if k < 2 else 0), eyes="down")
    # shovel: hands at the grip, blade end
    grip, blade = [((10, 9), (14, 14)), ((10, 10), (14, 15)), ((10, 9), (13, 13)),
                   ((9, 8), (12, 4)), ((10, 8), (14, 9)), ((10, 9), (14, 13))][k]
    img.line(grip[0], grip[1] + dy, blade[0], blade[1], PLANK_D)
    bx, by = blade
    img.rect(bx - 1 if bx > 12 else bx, by - 1, 2, 2, STEEL)
    img.put(bx, by, STEEL_D)
    arm(img, 8, 9 + dy, grip[0], grip[1] + dy)
    # dirt: near the blade while digging, flying back over the head on the throw
    specks = [[(13, 15), (15, 14)], [(12, 15), (15, 15)], [(14, 12), (12, 14)],
              [(9, 1), (7, 0), (11, 2)], [(4, 0), (2, 2)], [(1, 5), (13, 15)]][k]
    for (x, y) in specks:
        img.put(x, y, DUST)
    return finish(img)


def tunnel_frame(i):
    img = canvas()
    legs(img, 0, front_dx=2, back_dx=-2)
    body(img, 0)
    antenna(img, 0, lean=-(i % 2))
    head(img, 0, eyes="side")
    # a drill held forward: a motor block and a cone with turning stripes
    img.rect(9, 8, 2, 4, STEEL_D)
    img.put(9, 9, BULB)
    for col, half in enumerate((2, 2, 1, 1, 0)):
        x = 11 + col
        for y in range(10 - half, 10 + half + 1):
            stripe = (x - y + i) % 3 == 0
            img.put(x, y, STEEL_D if stripe else STEEL)
    arm(img, 8, 9, 9, 10)
    sparks = (((15, 7), (14, 13)), ((15, 13), (13, 7)), ((14, 6), (15, 12)))[i % 3]
    img.put(*sparks[0], SPARK)
    img.put(*sparks[1], SPARK_O)
    return finish(img)


def bridge_frame(i):
    """A hard hat on; frames 0-3 walk carrying a plank, 4-7 lower it to the ground ahead."""
    if i < 4:
        return walk_frame(i * 2, hat=True, carry=True)
    img = canvas()
    k = i - 4
    dy = 1
    legs(img, dy, front_dx=1, back_dx=-1)
    body(img, dy)
    head(img, dy + 1, dx=1, eyes="down", hat=True)
    py = (9, 11, 13, 14)[k]
    img.rect(10, py, 6, 2, PLANK)
    img.rect(10, py + 1, 6, 1, PLANK_D)
    arm(img, 9, 9 + dy, 10, min(py, 13))
    if k == 3:
        img.put(15, 12, SPARK)
        img.put(9, 13, SPARK_O)
    return finish(img)


def umbrella_frame(i):
    img = canvas()
    sway = (0, 1, 0, -1)[i % 4]
    # legs dangle, feet pointing down
    img.rect(6, 13, 1, 2, FOOT)
    img.rect(9, 13, 1, 2, LEG)
    img.put(6 + (1 if sway > 0 else 0), 15, (34, 36, 54))
    img.put(9 + (1 if sway < 0 else 0), 15, FOOT)
    body(img, 1)
    head(img, 1, eyes="happy")
    # a domed canopy over the head, its shaft held up on the right
    cx = 8 + sway
    for y, half in ((0, 3), (1, 5), (2, 6), (3, 7)):
        for x in range(cx - half, cx + half + 1):
            stripe = ((x - cx + 1) // 3) % 2 == 0
            img.put(x, y, CANOPY if stripe else CANOPY_S)
    for x in (cx - 7, cx - 4, cx - 1, cx + 2, cx + 5):
        img.put(x, 3, (0, 0, 0, 0), blend=False)
    img.line(cx + 1, 4, 13, 9, STEEL_D)
    arm(img, 10, 10, 13, 9)
    return finish(img)


def fall_frame(i):
    img = canvas()
    up = i % 2
    legs(img, 0, front_dx=(1 if up else -1), back_dx=(-1 if up else 1),
         front_lift=1 - up, back_lift=up)
    body(img, 0)
    antenna(img, 0, lean=(1 if up else -1))
    head(img, 0, eyes="wide")
    # arms thrown up, hands open
    for (x0, x1, y1) in ((4, 1, 4 + up), (11, 14, 5 - up)):
        img.line(x0, 9, x1, y1 + 1, LEG)
        img.rect(x1, y1 - 1, 1, 2, STEEL)
    return finish(img)


def explode_frame(i):
    """0: flash, 1: bulge with sparks, 2: burst, 3: pieces fly, 4: smoke, 5: last wisps."""
    img = canvas()
    white = (255, 255, 255)
    if i == 0:
        legs(img, 0)
        body(img, 0, chest=white)
        antenna(img, 0)
        head(img, 0, eyes="cross")
        for y in range(LOGICAL):
            for x in range(LOGICAL):
                c = img.get(x, y)
                if c[3]:
                    img.put(x, y, pa.mix(c, white, 0.55), blend=False)
        return finish(img)
    if i == 1:
        legs(img, 0, spread=1)
        body(img, -1, chest=white)
        head(img, -1, eyes="cross")
        for (x, y) in ((1, 2), (14, 3), (2, 12), (14, 11), (8, 0)):
            img.put(x, y, SPARK)
        return finish(img)
    if i == 2:
        img.circle(8, 9, 6, SPARK_O)
        img.circle(8, 9, 4, SPARK)
        img.circle(8, 9, 2, white)
        for (x0, y0, x1, y1) in ((8, 1, 8, 0), (1, 9, 0, 9), (15, 9, 14, 9), (2, 3, 3, 4),
                                 (13, 3, 12, 4), (3, 14, 4, 13), (13, 14, 12, 13)):
            img.line(x0, y0, x1, y1, SPARK)
        return finish(img)
    if i == 3:
        img.circle(8, 10, 4, (120, 112, 120))
        img.circle(7, 9, 2, (170, 160, 168))
        img.rect(1, 2, 3, 2, HEAD)         # bits of the bot thrown out
        img.rect(12, 1, 2, 2, BODY)
        img.rect(1, 12, 2, 1, LEG)
        img.rect(13, 12, 2, 2, STEEL)
        img.put(7, 0, BULB)
        return finish(img)
    if i == 4:
        img.circle(6, 9, 3, (132, 124, 134, 220))
        img.circle(10, 8, 2, (150, 142, 150, 200))
        for (x, y) in ((2, 5), (12, 4), (1, 13), (13, 14)):
            img.put(x, y, (120, 120, 130))
        img.put(12, 3, BODY)
        img.put(2, 13, HEAD)
        return finish(img)
    img.circle(8, 8, 2, (150, 142, 150, 140))
    img.put(3, 6, (140, 140, 150, 160))
    img.put(12, 5, (140, 140, 150, 160))
    return finish(img)


SHEETS = {
    # name: (frames, drawer, looping suggestion, what it shows)
    "Bot_Walk": (8, walk_frame, True, "walking cycle; frames 0 and 4 are the footfalls"),
    "Bot_Block": (4, block_frame, True, "blocker: arms out, chest and antenna blink"),
    "Bot_Dig": (6, dig_frame, True,
                "digger with a shovel: 0-1 push down, 2 lever, 3 throw dirt back, 4-5 swing back"),
    "Bot_Bridge": (8, bridge_frame, True,
                   "bridge builder in a hard hat: 0-3 walk carrying a plank, 4-7 lay it ahead"),
    "Bot_Tunnel": (6, tunnel_frame, True, "tunneller: drill held forward, turning, sparks"),
    "Bot_Umbrella": (4, umbrella_frame, True, "floating under an open umbrella, swaying"),
    "Bot_Fall": (4, fall_frame, True, "falling: arms up, legs kicking, eyes wide"),
    "Bot_Explode": (6, explode_frame, False,
                    "death: 0 flash, 1 bulge, 2 burst, 3 pieces fly, 4 smoke, 5 wisps"),
}


def sheet(name):
    count, drawer, _, _ = SHEETS[name]
    img = pa.Image(FRAME * count, FRAME)
    for i in range(count):
        img.blit(drawer(i), i * FRAME, 0, blend=False)
    return img


def opaque_bounds(name):
    """(x0, y0, x1, y1), inclusive, of every opaque pixel over all frames of a sheet,
    in frame coordinates (top-left origin)."""
    count, drawer, _, _ = SHEETS[name]
    xs, ys = [], []
    for i in range(count):
        f = drawer(i)
        for y in range(FRAME):
            for x in range(FRAME):
                if f.get(x, y)[3]:
                    xs.append(x)
                    ys.append(y)
    return min(xs), min(ys), max(xs), max(ys)


def pose(name, i=0):
    """One 32 x 32 frame of a sheet."""
    return SHEETS[name][1](i)
