"""Interface pictures: the glyph sheets, job and control buttons, menu buttons, icons,
screen banners, panels, slider parts, the title, the splash pictures and the how-to-play
pages."""

import math

import pixelart as pa
import bots

# ---- glyph sheet ---------------------------------------------------------------------------
CELL_W, CELL_H = 16, 20          # one atlas cell
GLYPH_SCALE = 2                  # each font pixel is 2 x 2 picture pixels
GLYPH_X, GLYPH_Y = 2, 1          # top-left of the glyph inside its cell


def glyph_sheet(outline=False):
    """16 x 8 cells of CELL_W x CELL_H; code c sits at cell c - 32, column (c-32) mod 16,
    row (c-32) div 16 counted from the top. White glyphs on transparent; code 127 is a solid
    block (a text cursor). With `outline`, every glyph gets a one-pixel black rim."""
    img = pa.Image(16 * CELL_W, 8 * CELL_H)
    for code in range(32, 128):
        i = code - 32
        cx, cy = (i % 16) * CELL_W, (i // 16) * CELL_H
        cell = pa.Image(CELL_W, CELL_H)
        if code == 127:
            cell.rect(GLYPH_X, GLYPH_Y, 10 + 1, 14, (255, 255, 255))
        else:
            cell.text(GLYPH_X, GLYPH_Y, chr(code), (255, 255, 255), GLYPH_SCALE, bold=True)
        if outline:
            cell.outline((0, 0, 0, 255), diagonal=True)
        img.blit(cell, cx, cy, blend=False)
    return img


# ---- shared drawing ------------------------------------------------------------------------
def big_text(s, scale, top=(255, 236, 120), bottom=(255, 130, 40), rim=(36, 18, 30),
             rim_width=2, shadow=(0, 0, 0, 140)):
    """Chunky headline text: a vertical gradient fill, a light top edge on every stroke, a
    thick rim and a drop shadow. Returns a tight transparent picture."""
    pad = rim_width + scale
    mask = pa.text_image(s, (255, 255, 255), scale, bold=True)
    w, h = mask.width + 2 * pad, mask.height + 2 * pad
    fill = pa.Image(w, h)
    cap = (pa.GLYPH_H - 2) * scale
    for y in range(mask.height):
        for x in range(mask.width):
            if mask.get(x, y)[3]:
                t = min(1.0, y / max(1, cap - 1))
                c = pa.mix(top, bottom, t)
                if not mask.get(x, y - 1)[3] and y < cap:
                    c = pa.mix(c, (255, 255, 255), 0.55)
                fill.put(x + pad, y + pad, c, blend=False)
    for _ in range(rim_width):
        fill.outline(rim, diagonal=True)
    out = pa.Image(w + scale, h + scale)
    if shadow:
        for y in range(h):
            for x in range(w):
                if fill.get(x, y)[3]:
                    out.put(x + scale, y + scale, shadow, blend=False)
    out.blit(fill, 0, 0)
    return out


def centred(img, pic, y=None):
    x = (img.width - pic.width) // 2
    img.blit(pic, x, (img.height - pic.height) // 2 if y is None else y)


def panel(w, h, face=(28, 34, 62, 250), rim=(10, 12, 24, 255), edge=(96, 116, 180, 255)):
    img = pa.Image(w, h)
    img.rect(2, 2, w - 4, h - 4, face, blend=False)
    img.frame(0, 0, w, h, rim, 2)
    img.frame(2, 2, w - 4, h - 4, edge)
    img.frame(3, 3, w - 6, h - 6, pa.shade(face, 0.7))
    for (x, y) in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        img.put(x, y, (0, 0, 0, 0), blend=False)
    return img


# ---- job and control buttons ---------------------------------------------------------------
# name, label, hotkey shown, face colours (top, bottom), icon (sheet, frame)
JOBS = [
    ("Blocker", "BLOCK", "1", ((255, 150, 120), (214, 76, 60)), ("Bot_Block", 0)),
    ("Digger", "DIG", "2", ((240, 196, 120), (170, 110, 50)), ("Bot_Dig", 1)),
    ("Tunneller", "TUNNEL", "3", ((200, 160, 255), (124, 80, 210)), ("Bot_Tunnel", 0)),
    ("Bridge", "BRIDGE", "4", ((255, 236, 120), (220, 170, 40)), ("Bot_Bridge", 6)),
    ("Umbrella", "UMBRELLA", "5", ((150, 220, 255), (60, 140, 230)), ("Bot_Umbrella", 0)),
]
DESTRUCT_KEY = "X"
SPEED_KEYS = {"Speed2x": "F", "Speed4x": "G"}
JOB_BUTTON = 96


def _icon_face(size, top, bottom):
    img = pa.Image(size, size)
    pa.BUTTON_STYLES["_job"] = (top, bottom, (20, 18, 30), (255, 255, 255), (0, 0, 0))
    pa.bevel_box(img, 0, 0, size, size, "_job", radius=4)
    del pa.BUTTON_STYLES["_job"]
    return img


def _hotkey_badge(img, key, x=5, y=5):
    w = pa.text_width(key, 2, True) + 8
    img.rect(x + 1, y, w - 2, 20, (24, 22, 36))
    img.rect(x, y + 1, w, 18, (24, 22, 36))
    img.rect(x + 2, y + 2, w - 4, 16, (250, 250, 255))
    img.text(x + 4, y + 3, key, (24, 22, 36), 2, bold=True)


def _label(img, text, y):
    """A bold scale-2 label, tightened (or thinned) until it fits the button."""
    for bold, tracking in ((True, 0), (True, -1), (False, -1), (False, -2)):
        w = pa.text_width(text, 2, bold, tracking)
        if w <= img.width - 8:
            break
    img.text((img.width - w) // 2, y, text, (255, 255, 255), 2, bold=bold,
             shadow=(20, 18, 30), tracking=tracking)


def job_button(name):
    _, label, key, (top, bottom), (sheet, frame) = next(j for j in JOBS if j[0] == name)
    img = _icon_face(JOB_BUTTON, top, bottom)
    icon = bots.pose(sheet, frame).scaled(2)
    img.blit(icon, JOB_BUTTON - icon.width - 8, 2)
    _hotkey_badge(img, key)
    _label(img, label, JOB_BUTTON - 22)
    return img


def destruct_button():
    img = _icon_face(JOB_BUTTON, (120, 120, 130), (60, 56, 70))
    # a round bomb with a lit fuse
    img.circle(48, 48, 20, (24, 22, 36))
    img.circle(48, 48, 18, (60, 60, 76))
    img.circle(42, 42, 5, (120, 124, 150))
    img.rect(56, 24, 8, 8, (24, 22, 36))
    img.rect(57, 25, 6, 6, (110, 110, 130))
    img.line(62, 24, 70, 14, (200, 160, 100), 2)
    for (dx, dy, c) in ((0, 0, (255, 255, 200)), (-3, 0, (255, 170, 40)), (3, 0, (255, 170, 40)),
                        (0, -3, (255, 170, 40)), (0, 3, (255, 120, 40))):
        img.rect(71 + dx, 12 + dy, 2, 2, c)
    _hotkey_badge(img, DESTRUCT_KEY)
    _label(img, "BOOM", JOB_BUTTON - 22)
    return img


def control_button(kind):
    """The 64 x 64 pause button; the speed buttons are 96 x 96 like the job buttons, with the
    hotkey of 2x and 4x on a badge."""
    size = 64 if kind in ("Pause", "Speed1x") else JOB_BUTTON
    img = _icon_face(size, (150, 170, 210), (70, 86, 130))
    ink, rim = (255, 255, 255), (20, 22, 40)

    def tri(x, y, h):
        pts = [(x, y), (x + h * 0.85, y + h / 2), (x, y + h)]
        img.polygon([(px - 1, py - 1) for px, py in pts] + [], rim)
        img.polygon([(px + 1, py + 1) for px, py in pts], rim)
        img.polygon(pts, ink)

    if kind == "Pause":
        for x in (20, 36):
            img.rect(x - 1, 15, 10, 34, rim)
            img.rect(x, 16, 8, 32, ink)
        return img
    count, label = {"Speed1x": (1, "1x"), "Speed2x": (2, "2x"), "Speed4x": (3, "4x")}[kind]
    key = SPEED_KEYS.get(kind)
    h = 22 if size == 64 else 30
    step = 12 if size == 64 else 16
    total = count * step + h * 0.85 - step
    x0 = int((size - total) // 2)
    top = 10 if size == 64 else 26
    for i in range(count):
        tri(x0 + i * step, top, h)
    if key:
        _hotkey_badge(img, key)
    if size == 64:
        w = pa.text_width(label, 2, True)
        img.text((64 - w) // 2, 40, label, ink, 2, bold=True, shadow=rim)
    else:
        _label(img, label, size - 22)
    return img


def dim():
    """Black at a little over half opacity: laid over the whole screen behind an overlay."""
    return pa.Image(4, 4, (0, 0, 0, 150))


def arrow_button(direction):
    img = pa.Image(64, 64)
    pa.bevel_box(img, 0, 0, 64, 64, "normal", radius=4)
    pts = [(40, 14), (40, 50), (18, 32)] if direction == "Left" else [(24, 14), (24, 50), (46, 32)]
    img.polygon([(x + 2, y + 2) for x, y in pts], (16, 20, 36))
    img.polygon(pts, (255, 255, 255))
    return img


# ---- sliders -------------------------------------------------------------------------------
def slider_track():
    img = pa.Image(320, 24)
    img.rect(4, 8, 312, 8, (16, 18, 30))
    img.gradient(5, 9, 310, 6, (60, 70, 110), (120, 170, 255), horizontal=True)
    img.rect(5, 9, 310, 1, (180, 210, 255))
    for i in range(11):
        x = 8 + i * 30
        img.rect(x, 2 if i % 5 == 0 else 4, 2, 4 if i % 5 == 0 else 2, (220, 226, 240))
        img.rect(x, 18, 2, 4 if i % 5 == 0 else 2, (220, 226, 240))
    return img


THUMB_W, THUMB_H, THUMB_TOP = 24, 60, 25   # the knob fills rows THUMB_TOP .. THUMB_H - 1


def slider_thumb():
    """A gold knob in the lower part of a taller, otherwise clear picture: the game sets a thumb
    a quarter unit above its track's middle, and at 0.02 units a pixel the knob's middle then
    sits on the track's."""
    img = pa.Image(THUMB_W, THUMB_H)
    knob = pa.Image(THUMB_W, THUMB_H - THUMB_TOP)
    pa.bevel_box(knob, 0, 0, THUMB_W, knob.height, "gold", radius=3)
    mid = knob.height // 2
    for y in (mid - 5, mid, mid + 5):
        knob.rect(6, y - 1, 12, 2, (120, 80, 20))
        knob.rect(6, y, 12, 1, (255, 240, 180))
    img.blit(knob, 0, THUMB_TOP)
    return img


# ---- hover compositions --------------------------------------------------------------------
SPARKLE_FRAMES, SPARKLE = 6, 32
WAVE_FRAMES, WAVE_W, WAVE_H = 10, 32, 48


def sparkle_sheet():
    """A burst of light in six 32 x 32 frames, empty at both ends: played once when the cursor
    enters a menu button, it rests invisible."""
    img = pa.Image(SPARKLE * SPARKLE_FRAMES, SPARKLE)
    gold, white = (255, 220, 90), (255, 255, 240)

    def star(cx, cy, r, c):
        img.rect(cx - r, cy, 2 * r + 1, 1, c)
        img.rect(cx, cy - r, 1, 2 * r + 1, c)
        if r > 2:
            img.rect(cx - 1, cy - 1, 3, 3, c)

    for k, (big, small) in enumerate(((0, 0), (3, 0), (7, 2), (10, 4), (5, 3), (0, 0))):
        x = k * SPARKLE
        if big:
            star(x + 16, 16, big, gold)
            star(x + 16, 16, max(1, big // 2), white)
        if small:
            star(x + 6, 7, small, gold)
            star(x + 26, 25, small // 2 + 1, white)
    return img


def wave_sheet():
    """A bot popping up over the top edge of a button to wave, in ten 32 x 48 frames: it rises
    from the bottom of the frame (clipped there, as if behind the button), waves with both arms
    and sinks back; the first and last frames are empty, so at rest nothing shows."""
    img = pa.Image(WAVE_W * WAVE_FRAMES, WAVE_H)
    rise = bots.pose("Bot_Walk", 0)
    up, out = bots.pose("Bot_Fall", 0), bots.pose("Bot_Block", 1)
    steps = [None, (rise, 38), (rise, 26), (rise, 16), (up, 16), (out, 16), (up, 16), (rise, 26),
             (rise, 38), None]
    for k, step in enumerate(steps):
        if not step:
            continue
        figure, top = step
        frame = pa.Image(WAVE_W, WAVE_H)
        frame.blit(figure, 0, top)   # whatever falls below the frame is cut off
        img.blit(frame, k * WAVE_W, 0)
    return img


# ---- icons ---------------------------------------------------------------------------------
def icon(kind):
    img = pa.Image(32, 32)
    if kind == "Bots":
        img.blit(bots.pose("Bot_Walk", 2), 0, 0)
    elif kind == "Saved":
        img.rect(6, 4, 20, 26, (120, 92, 70))
        img.gradient(9, 7, 14, 23, (255, 240, 160), (255, 150, 60))
        img.frame(5, 3, 22, 28, (24, 20, 30))
        for i, (x, y) in enumerate(((10, 18), (13, 21), (16, 18), (19, 15), (22, 12))):
            img.rect(x, y, 3, 3, (24, 20, 30))
        for (x, y) in ((11, 18), (14, 21), (17, 18), (20, 15), (23, 12)):
            img.rect(x, y, 2, 2, (80, 220, 120))
    elif kind == "Lost":
        img.blit(bots.pose("Bot_Explode", 1), 0, 0)
    elif kind == "Lock":
        img.rect(9, 4, 14, 14, (24, 20, 30))
        img.rect(12, 7, 8, 11, (0, 0, 0, 0), blend=False)
        img.rect(11, 6, 10, 2, (180, 186, 200))
        img.rect(10, 6, 2, 10, (180, 186, 200))
        img.rect(20, 6, 2, 10, (180, 186, 200))
        img.rect(5, 14, 22, 16, (24, 20, 30))
        img.gradient(6, 15, 20, 14, (255, 214, 90), (200, 140, 30))
        img.rect(15, 19, 2, 6, (80, 50, 10))
        img.rect(14, 18, 4, 3, (80, 50, 10))
    elif kind == "Star":
        pts = []
        for k in range(10):
            r = 14 if k % 2 == 0 else 6
            a = -math.pi / 2 + k * math.pi / 5
            pts.append((16 + r * math.cos(a), 17 + r * math.sin(a)))
        img.polygon(pts, (255, 220, 70))
        img.outline((60, 40, 10))
    return img


# The count board's slots, left to right: caption, icon (None for none).
BOARD_SLOTS = [("WALKING", "Bots"), ("TO SAVE", "Saved"), ("LOST", "Lost"), ("TIME", None)]
BOARD_SLOT_W, BOARD_H = 136, 78
BOARD_WINDOW = (6, 28, 124, 44)   # the dark number window of a slot: x, y, width, height
BOARD_ICON_X = 10                 # the icon's left edge in a slot; the count follows it


def count_board():
    """A panel of 136 x 72 slots (walking, to save, lost, time): a caption along the top of each
    slot and below it a dark window holding the slot's icon at the left; the game writes the
    count into the window, right after the icon (centred in a slot without one)."""
    width = BOARD_SLOT_W * len(BOARD_SLOTS)
    img = panel(width, BOARD_H, face=(22, 26, 44, 240))
    wx, wy, ww, wh = BOARD_WINDOW
    for i, (caption, kind) in enumerate(BOARD_SLOTS):
        x = i * BOARD_SLOT_W
        if i:
            img.rect(x - 1, 6, 2, BOARD_H - 12, (10, 12, 24))
            img.rect(x + 1, 6, 1, BOARD_H - 12, (70, 84, 130))
        w = pa.text_width(caption, 2, True)
        img.text(x + (BOARD_SLOT_W - w) // 2, 6, caption, (255, 214, 120), 2, bold=True,
                 shadow=(10, 12, 24))
        img.rect(x + wx, wy, ww, wh, (8, 10, 18, 255))
        img.frame(x + wx, wy, ww, wh, (60, 72, 110))
        if kind:
            img.blit(icon(kind), x + BOARD_ICON_X, wy + (wh - 32) // 2)
    return img


# ---- screens -------------------------------------------------------------------------------
def banner(text, scale=None, colours=None):
    top, bottom = colours or ((255, 236, 120), (255, 130, 40))
    s = scale or max(2, min(6, 500 // ((len(text) * 6 - 1) + 2)))
    return big_text(text, s, top, bottom)


def title():
    """The game name, big, with a bot standing on its last letter."""
    scale, rim = 12, 3
    word = big_text("ZOVERAV", scale, (150, 255, 220), (40, 150, 190), rim=(16, 14, 40), rim_width=rim)
    top = 56
    img = pa.Image(word.width + 8, word.height + top)
    img.blit(word, 4, top)
    pad = rim + scale
    letter_x = 4 + pad + 6 * pa.ADVANCE * scale          # left of the last letter
    bot = bots.pose("Bot_Walk", 2).scaled(2)
    img.blit(bot, letter_x + (5 * scale) // 2 - 32, top + pad - 64 + 2)
    return img


def game_logo():
    img = pa.Image(640, 320)
    t = title()
    centred(img, t, 8)
    sub = big_text("A PUZZLE OF LITTLE BOTS", 3, (255, 255, 255), (200, 210, 255), rim_width=1)
    centred(img, sub, 8 + t.height + 10)
    for k, (name, f) in enumerate((("Bot_Walk", 0), ("Bot_Umbrella", 1), ("Bot_Dig", 3),
                                   ("Bot_Bridge", 6), ("Bot_Block", 0))):
        img.blit(bots.pose(name, f).scaled(2), 160 + k * 64, 320 - 68)
    return img


def maker_logo():
    """The maker's emblem: a stylised V of two sheets over a ring, and the name."""
    img = pa.Image(256, 256)
    cx, cy = 128, 104
    img.circle(cx, cy, 78, (30, 36, 70))
    img.circle(cx, cy, 72, (240, 244, 255))
    img.circle(cx, cy, 66, (30, 36, 70))
    img.polygon([(cx - 54, cy - 40), (cx - 26, cy - 40), (cx, cy + 30), (cx - 10, cy + 52)],
                (120, 220, 200))
    img.polygon([(cx + 54, cy - 40), (cx + 26, cy - 40), (cx, cy + 30), (cx + 10, cy + 52)],
                (255, 160, 90))
    img.polygon([(cx - 8, cy + 34), (cx + 8, cy + 34), (cx, cy + 52)], (255, 255, 255))
    name = big_text("VOSTREL", 5, (255, 255, 255), (190, 200, 230), rim=(20, 24, 50))
    centred(img, name, 196)
    return img


def presents_text():
    return big_text("VOSTREL PRESENTS", 3, (255, 255, 255), (200, 210, 240), rim_width=1)


def sound_logo():
    img = pa.Image(256, 128)
    ink = (240, 244, 255)
    img.rect(40, 44, 16, 28, ink)
    img.polygon([(56, 44), (80, 24), (80, 92), (56, 72)], ink)
    for r in (16, 28, 40):
        for a in range(-50, 51, 2):
            t = math.radians(a)
            img.rect(int(84 + r * math.cos(t)), int(58 + r * math.sin(t)), 3, 3, (120, 220, 255))
    word = big_text("SOUND", 4, (255, 255, 255), (160, 200, 255), rim=(20, 24, 50))
    img.blit(word, 130, 28)
    img.text(132, 84, "OPENAL SOFT", (200, 210, 240), 1, bold=True)
    img.text(132, 96, "LIBSNDFILE", (200, 210, 240), 1, bold=True)
    return img


def app_icon():
    """64 x 64 window icon: the bot's head on a rounded tile."""
    img = pa.Image(64, 64)
    pa.BUTTON_STYLES["_icon"] = ((70, 60, 130), (36, 28, 80), (14, 10, 30), (0, 0, 0), (0, 0, 0))
    pa.bevel_box(img, 0, 0, 64, 64, "_icon", radius=6)
    del pa.BUTTON_STYLES["_icon"]
    img.blit(bots.pose("Bot_Walk", 2).scaled(2), 0, 0)
    return img


# ---- how-to-play pages ---------------------------------------------------------------------
PAGE_W, PAGE_H = 480, 270


def _ground(img, x, y, w, h, top=(120, 200, 90), fill=(130, 92, 60)):
    img.rect(x, y, w, h, fill)
    img.rect(x, y, w, 3, top)
    for i in range(x + 3, x + w - 2, 7):
        img.put(i, y + 6 + (i * 7) % 5, pa.shade(fill, 0.8))


STAGE_H = 150
G = STAGE_H - 24    # ground line of an illustration


def _page(title_text, lines, draw):
    img = panel(PAGE_W, PAGE_H, face=(24, 30, 56, 255))
    t = big_text(title_text, 3, rim_width=1)
    centred(img, t, 6)
    stage = pa.Image(PAGE_W - 40, STAGE_H)
    stage.gradient(0, 0, stage.width, stage.height, (70, 120, 190), (150, 200, 240))
    draw(stage)
    img.blit(stage, 20, 42)
    img.frame(19, 41, stage.width + 2, stage.height + 2, (10, 12, 24))
    y = 42 + STAGE_H + 8
    for line in lines:
        w = pa.text_width(line, 1, True)
        img.text((PAGE_W - w) // 2, y, line, (240, 242, 255), 1, bold=True, shadow=(0, 0, 0))
        y += 13
    return img


def _bot(stage, name, frame, x, ground_y, flip=False, scale=2):
    p = bots.pose(name, frame)
    if flip:
        p = p.flipped_h()
    p = p.scaled(scale) if scale > 1 else p
    stage.blit(p, x, ground_y - p.height)


def _planks(stage, x, y, count):
    for i in range(count):
        stage.rect(x + i * 12, y, 12, 8, (24, 20, 30))
        stage.rect(x + i * 12 + 1, y + 1, 10, 6, (206, 140, 72))
        stage.rect(x + i * 12 + 1, y + 5, 10, 2, (140, 84, 40))


def howto_pages():
    pages = {}

    def basics1(s):
        _ground(s, 0, G, s.width, 24)
        s.blit(spawner_small(), 24, 0)
        _bot(s, "Bot_Fall", 1, 24, G - 6)
        _bot(s, "Bot_Walk", 2, 140, G)
        _bot(s, "Bot_Walk", 6, 230, G)
        ex = exit_small()
        s.blit(ex, s.width - 90, G - ex.height)
    pages["HowTo_Basics_1"] = _page("THE BOTS", [
        "Bots drop out of the hatch and walk on their own.",
        "Press SPACE to open the hatch.",
        "Lead enough of them to the door to win the level.",
        "Long falls, hazards and the edge of the world break them."], basics1)

    def basics2(s):
        _ground(s, 0, G, s.width, 24)
        for k, j in enumerate(JOBS):
            b = job_button(j[0])
            small = pa.Image(48, 48)
            for y in range(48):
                for x in range(48):
                    small.put(x, y, b.get(x * 2, y * 2), blend=False)
            s.blit(small, 20 + k * 56, 14)
        _bot(s, "Bot_Walk", 2, 330, G)
        pts = [(372, 70), (372, 92), (378, 86), (383, 96), (387, 94), (382, 84), (390, 84)]
        s.polygon([(x + 1, y + 1) for x, y in pts], (0, 0, 0))
        s.polygon(pts, (255, 255, 255))
    pages["HowTo_Basics_2"] = _page("GIVING JOBS", [
        "Click a job button (or press its number key 1-5),",
        "then click a bot to give it that job.",
        "BOOM (key X) breaks the next bot you click.",
        "The count board shows bots out, saved and lost."], basics2)

    def blocker(s):
        _ground(s, 0, G, s.width, 24)
        _bot(s, "Bot_Block", 0, 190, G)
        _bot(s, "Bot_Walk", 2, 110, G)
        _bot(s, "Bot_Walk", 6, 290, G, flip=True)
        s.polygon([(92, G - 30), (104, G - 36), (104, G - 24)], (255, 255, 255))
        s.polygon([(368, G - 30), (356, G - 36), (356, G - 24)], (255, 255, 255))
    pages["HowTo_Blocker_1"] = _page("BLOCKER", [
        "A blocker stands still with its arms out.",
        "Other bots turn round when they meet it.",
        "It never moves again and counts as lost,",
        "so spend blockers with care."], blocker)

    def digger(s):
        _ground(s, 0, G, s.width, 24)
        s.rect(196, G, 28, 24, (44, 32, 28))
        s.rect(196, G, 28, 3, (70, 50, 40))
        _bot(s, "Bot_Dig", 0, 178, G + 12)
        for (x, y) in ((230, G - 40), (240, G - 50), (250, G - 36), (160, G - 60)):
            s.rect(x, y, 3, 3, (170, 140, 108))
    pages["HowTo_Digger_1"] = _page("DIGGER", [
        "A digger cuts straight down through soft ground.",
        "It stops when nothing below can be dug,",
        "and then walks on from the bottom of its hole.",
        "Mind the drop: a deep hole is a long fall."], digger)

    def tunneller(s):
        _ground(s, 0, G, s.width, 24)
        s.rect(240, 30, 120, G - 30, (130, 92, 60))
        s.rect(240, 30, 120, 3, (120, 200, 90))
        s.rect(240, G - 56, 46, 56, (50, 36, 30))
        _bot(s, "Bot_Tunnel", 1, 182, G)
        _bot(s, "Bot_Walk", 2, 60, G)
    pages["HowTo_Tunneller_1"] = _page("TUNNELLER", [
        "A tunneller stops, revs its drill for a second",
        "and cuts a doorway through the wall in front.",
        "Then it walks on through the hole it made.",
        "Hard rock and metal cannot be cut."], tunneller)

    def bridge(s):
        _ground(s, 0, G, 150, 24)
        _ground(s, 330, G, s.width - 330, 24)
        s.rect(150, G + 12, 180, 12, (255, 120, 40))
        s.rect(150, G + 12, 180, 2, (255, 210, 80))
        _planks(s, 150, G, 5)
        _bot(s, "Bot_Bridge", 2, 186, G)
    pages["HowTo_Bridge_1"] = _page("BRIDGE BUILDER", [
        "A bridge builder lays planks ahead as it walks,",
        "keeping its bridge level over gaps and hazards.",
        "It stops building when it falls, stands still,",
        "or meets anything that is not empty air."], bridge)

    def umbrella(s):
        _ground(s, 0, G - 70, 120, 94)
        _ground(s, 120, G, s.width - 120, 24)
        _bot(s, "Bot_Walk", 2, 40, G - 70)
        _bot(s, "Bot_Umbrella", 0, 170, G - 40)
        _bot(s, "Bot_Walk", 6, 320, G)
        for y in range(40, 90, 12):
            s.rect(160, y, 1, 6, (255, 255, 255, 150))
            s.rect(240, y + 6, 1, 6, (255, 255, 255, 150))
    pages["HowTo_Umbrella_1"] = _page("UMBRELLA", [
        "A bot with an umbrella keeps walking as usual,",
        "but opens it whenever it starts to fall",
        "and floats down gently: no fall can break it.",
        "It may carry the umbrella while doing other jobs."], umbrella)
    return pages


def spawner_small():
    import scenery
    return scenery.spawner_frame(0)


def exit_small():
    import scenery
    return scenery.exit_frame(0)
