"""Backgrounds, level props (spawner hatch, exit door, blocks, ladder, hazard edge) and the
spotlight mask. All drawn from code with a fixed random seed per picture."""

import math
import random

import pixelart as pa

BG_W, BG_H = 480, 270


def _hills(img, rng, colour, base, amp, waves, top_colour=None, flat_tops=False):
    """A silhouette band whose top edge is a sum of sines; filled down to the bottom."""
    phases = [(rng.uniform(0, 6.28), rng.uniform(0.6, 1.4)) for _ in range(waves)]
    for x in range(img.width):
        h = 0.0
        for k, (ph, f) in enumerate(phases):
            h += math.sin(x * 0.012 * (k + 1) * f + ph) / (k + 1)
        if flat_tops:
            h = round(h * 1.6) / 1.6
        y0 = int(base - h * amp)
        img.rect(x, y0, 1, img.height - y0, colour)
        if top_colour is not None:
            img.put(x, y0, top_colour)


def _mesas(img, rng, colour, base, heights, count):
    """Flat-topped rock plateaus with sloped sides and a band of strata, down to the bottom."""
    step = img.width // count
    for k in range(count):
        w = rng.randrange(step // 2, step + step // 2)
        x = k * step + rng.randrange(-step // 4, step // 4 + 1)
        h = rng.randrange(*heights)
        top = base - h
        slope = rng.randrange(6, 16)
        img.polygon([(x - slope, img.height), (x, top), (x + w, top), (x + w + slope, img.height)], colour)
        img.rect(x, top, w, 2, pa.shade(colour, 1.25))
        for band in range(top + 8, img.height, 11):
            inset = (band - top) * slope // (img.height - top)
            img.rect(x - inset, band, w + 2 * inset, 1, pa.shade(colour, 0.85))


def _stars(img, rng, count, max_y, colours=((255, 255, 255), (200, 220, 255), (255, 240, 200))):
    for _ in range(count):
        x, y = rng.randrange(img.width), rng.randrange(max_y)
        c = rng.choice(colours)
        a = rng.choice((120, 180, 255))
        img.put(x, y, (c[0], c[1], c[2], a))
        if rng.random() < 0.06:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                img.put(x + dx, y + dy, (c[0], c[1], c[2], 110))


def _sky(img, stops):
    """Vertical gradient through several (t, colour) stops."""
    for y in range(img.height):
        t = y / (img.height - 1)
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t0 <= t <= t1:
                img.rect(0, y, img.width, 1, pa.mix(c0, c1, (t - t0) / (t1 - t0)), blend=False)
                break


def _glow(img, cx, cy, r, colour, strength=0.6):
    for y in range(int(cy - r), int(cy + r) + 1):
        for x in range(int(cx - r), int(cx + r) + 1):
            d = math.hypot(x - cx, y - cy) / r
            if d < 1:
                a = int(255 * strength * (1 - d) ** 2)
                # quantise so the glow reads as pixel-art bands
                a = (a // 24) * 24
                if a:
                    img.put(x, y, (colour[0], colour[1], colour[2], a))


def background_menu():
    rng = random.Random(101)
    img = pa.Image(BG_W, BG_H)
    _sky(img, [(0, (24, 18, 56)), (0.55, (72, 40, 110)), (1, (230, 120, 120))])
    _stars(img, rng, 260, 170)
    # The moon stands right of the middle, where the menus' headlines do not reach its glow.
    _glow(img, 400, 58, 60, (255, 200, 240), 0.35)
    img.circle(400, 58, 16, (255, 236, 246))
    img.circle(394, 54, 3, (240, 214, 230))
    img.circle(404, 65, 2, (240, 214, 230))
    _hills(img, rng, (64, 36, 96), 200, 24, 3)
    _hills(img, rng, (42, 24, 70), 225, 18, 4)
    _hills(img, rng, (24, 14, 44), 250, 10, 5)
    # floating islands with a lit beacon each, clear of the middle where the menus stand
    for (x, y, w) in ((70, 120, 60), (96, 196, 40), (420, 170, 50)):
        img.polygon([(x, y), (x + w, y), (x + w * 0.6, y + w * 0.5), (x + w * 0.3, y + w * 0.45)],
                    (36, 22, 60))
        img.rect(x, y - 2, w, 3, (90, 200, 170))
        img.rect(x + w // 2, y - 10, 2, 8, (120, 110, 150))
        img.rect(x + w // 2 - 1, y - 13, 4, 3, (255, 120, 130))
        _glow(img, x + w // 2, y - 12, 10, (255, 120, 130), 0.5)
    return img


def background_level(n):
    rng = random.Random(200 + n)
    img = pa.Image(BG_W, BG_H)
    if n == 1:   # morning meadow
        _sky(img, [(0, (96, 170, 248)), (0.6, (178, 218, 250)), (1, (255, 226, 190))])
        _glow(img, 90, 60, 50, (255, 250, 210), 0.6)
        img.circle(90, 60, 14, (255, 248, 214))
        for (cx, cy, w) in ((220, 50, 40), (330, 80, 56), (420, 40, 30)):
            for k in range(4):
                img.ellipse(cx + k * w / 5 - w / 3, cy - (k % 2) * 4, w / 4, w / 7, (255, 255, 255, 230))
        _hills(img, rng, (140, 200, 150), 170, 26, 3)
        _hills(img, rng, (90, 170, 100), 205, 22, 4, top_colour=(150, 220, 130))
        _hills(img, rng, (60, 132, 74), 240, 14, 5, top_colour=(110, 190, 96))
        for _ in range(40):
            x, y = rng.randrange(BG_W), rng.randrange(236, BG_H)
            img.put(x, y, rng.choice(((255, 240, 120), (255, 170, 200), (255, 255, 255))))
    elif n == 2:  # sunset canyon
        _sky(img, [(0, (52, 36, 104)), (0.45, (200, 90, 110)), (0.8, (255, 160, 90)), (1, (255, 210, 140))])
        _glow(img, 300, 120, 90, (255, 220, 150), 0.5)
        img.circle(300, 120, 28, (255, 214, 140))
        _mesas(img, rng, (150, 70, 80), 190, (40, 80), 5)
        _mesas(img, rng, (110, 46, 64), 215, (30, 60), 6)
        _hills(img, rng, (66, 28, 48), 244, 6, 4)
        for x in range(30, BG_W, 97):   # cacti silhouettes
            y = 248
            img.rect(x, y - 16, 3, 16, (40, 18, 34))
            img.rect(x - 4, y - 10, 4, 2, (40, 18, 34))
            img.rect(x - 4, y - 14, 2, 4, (40, 18, 34))
            img.rect(x + 3, y - 8, 4, 2, (40, 18, 34))
            img.rect(x + 5, y - 12, 2, 4, (40, 18, 34))
    elif n == 3:  # crystal cave
        _sky(img, [(0, (10, 14, 28)), (0.5, (24, 40, 64)), (1, (16, 56, 70))])
        for _ in range(18):
            x = rng.randrange(BG_W)
            w = rng.randrange(8, 22)
            h = rng.randrange(20, 80)
            img.polygon([(x - w, 0), (x + w, 0), (x, h)], (20, 26, 44))
        _hills(img, rng, (22, 34, 52), 210, 20, 4)
        for _ in range(14):
            x = rng.randrange(10, BG_W - 10)
            base = rng.randrange(200, 262)
            h = rng.randrange(14, 40)
            c = rng.choice(((90, 230, 240), (200, 120, 255), (120, 255, 190)))
            _glow(img, x, base - h // 2, h, c, 0.35)
            img.polygon([(x - 5, base), (x, base - h), (x + 5, base)], c)
            img.polygon([(x - 1, base), (x, base - h), (x + 2, base)], pa.mix(c, (255, 255, 255), 0.5))
        _hills(img, rng, (12, 18, 30), 250, 8, 5)
        for _ in range(60):
            x, y = rng.randrange(BG_W), rng.randrange(BG_H)
            img.put(x, y, (140, 240, 255, rng.choice((60, 120, 200))))
    elif n == 4:  # night works
        _sky(img, [(0, (8, 10, 30)), (0.6, (26, 36, 86)), (1, (60, 60, 120))])
        _stars(img, rng, 220, 160)
        img.circle(400, 50, 18, (240, 240, 220))
        img.circle(392, 44, 3, (210, 210, 196))
        img.circle(406, 58, 2, (210, 210, 196))
        _hills(img, rng, (30, 34, 70), 215, 12, 3)
        x = 0
        while x < BG_W:
            w = rng.randrange(24, 60)
            h = rng.randrange(40, 120)
            top = 250 - h
            img.rect(x, top, w, BG_H - top, (18, 20, 42))
            if rng.random() < 0.4:
                cx = x + rng.randrange(4, max(5, w - 8))
                img.rect(cx, top - 30, 6, 30, (18, 20, 42))
                _glow(img, cx + 3, top - 36, 8, (200, 200, 220), 0.25)
            for wy in range(top + 6, 250, 8):
                for wx in range(x + 4, x + w - 4, 7):
                    if rng.random() < 0.35:
                        img.rect(wx, wy, 3, 4, rng.choice(((255, 210, 110), (255, 180, 90), (160, 220, 255))))
            x += w + rng.randrange(2, 10)
        img.rect(0, 250, BG_W, 20, (12, 12, 28))
    else:         # lava deep
        _sky(img, [(0, (24, 6, 10)), (0.55, (70, 16, 20)), (0.85, (170, 48, 24)), (1, (255, 140, 40))])
        for _ in range(10):
            x = rng.randrange(BG_W)
            w = rng.randrange(20, 40)
            img.polygon([(x - w, 0), (x + w, 0), (x, rng.randrange(30, 70))], (36, 10, 14))
        _hills(img, rng, (60, 16, 20), 200, 30, 4)
        _hills(img, rng, (34, 10, 14), 232, 20, 5)
        img.rect(0, 252, BG_W, 18, (255, 120, 30))
        for x in range(0, BG_W, 2):
            y = 252 + int(2 * math.sin(x * 0.15))
            img.rect(x, y, 2, 2, (255, 210, 80))
        _glow(img, 120, 262, 80, (255, 140, 40), 0.35)
        _glow(img, 380, 262, 90, (255, 140, 40), 0.35)
        for _ in range(90):
            x, y = rng.randrange(BG_W), rng.randrange(BG_H - 20)
            img.put(x, y, rng.choice(((255, 200, 80), (255, 120, 40), (255, 240, 170))))
    return img


def world_bound():
    """Tileable 32 x 32 hazard edge: black and amber diagonal stripes."""
    img = pa.Image(32, 32)
    for y in range(32):
        for x in range(32):
            img.put(x, y, (250, 180, 40) if ((x + y) // 8) % 2 == 0 else (30, 26, 30))
    return img


def spawner_frame(k):
    """A round portal hatch with a swirling inside; k (0-3) turns the swirl and bolts."""
    img = pa.Image(64, 64)
    cx = cy = 31.5
    for y in range(64):
        for x in range(64):
            d = math.hypot(x - cx, y - cy)
            if d <= 20:
                a = math.atan2(y - cy, x - cx)
                band = int((a * 3 / math.pi + d / 5 - k * 0.5) * 2) % 4
                c = ((120, 70, 220), (70, 190, 230), (170, 110, 255), (40, 40, 120))[band]
                if d < 5:
                    c = (240, 240, 255)
                elif d < 8:
                    c = pa.mix(c, (255, 255, 255), 0.5)
                img.put(x, y, c)
            elif d <= 26:
                t = (y - (cy - 26)) / 52
                c = pa.mix((196, 204, 222), (88, 96, 120), t)
                if d > 25:
                    c = (30, 30, 44)
                elif d < 21:
                    c = (40, 40, 60)
                img.put(x, y, c)
            elif d <= 27:
                img.put(x, y, (22, 22, 34))
    for i in range(8):
        a = i * math.pi / 4 + k * math.pi / 16
        bx, by = cx + 23.5 * math.cos(a), cy + 23.5 * math.sin(a)
        img.rect(int(bx) - 1, int(by) - 1, 2, 2, (250, 210, 90))
    # a lip at the bottom where the bots drop out
    img.rect(20, 52, 24, 4, (70, 74, 96))
    img.rect(20, 52, 24, 1, (150, 156, 180))
    img.frame(19, 51, 26, 6, (22, 22, 34))
    return img


def exit_frame(k):
    """A door with a glowing way in and a chequered flag above; k (0-3) waves the flag."""
    img = pa.Image(64, 64)
    out = (24, 20, 30)
    # frame and posts
    img.rect(12, 18, 40, 46, (120, 92, 70))
    img.rect(12, 18, 40, 3, (180, 140, 100))
    img.rect(14, 22, 4, 42, (150, 114, 84))
    img.rect(46, 22, 4, 42, (96, 72, 56))
    img.frame(11, 17, 42, 47, out)
    # the way in, glowing warm
    glow = 0.08 * (k % 2)
    img.gradient(19, 23, 26, 41, pa.mix((255, 236, 150), (255, 255, 255), glow), (255, 150, 60))
    img.frame(18, 22, 28, 42, out)
    for i in range(3):
        img.rect(22 + i * 8, 56, 4, 2, (255, 250, 220))
    # sign plate
    img.rect(20, 10, 24, 9, (60, 170, 110))
    img.frame(19, 9, 26, 11, out)
    img.text(23, 11, "OUT", (255, 255, 240))
    # flag pole and chequered flag
    img.rect(50, 0, 2, 18, (200, 200, 210))
    img.rect(49, 0, 4, 2, (255, 220, 90))
    wave = (0, 1, 2, 1)[k]
    for fx in range(12):
        off = int(round(math.sin((fx + k * 2) * 0.7) * 1.2))
        for fy in range(8):
            c = (250, 250, 250) if ((fx // 3) + (fy // 3)) % 2 == 0 else (30, 30, 36)
            img.put(52 + fx, 2 + fy + off + (wave if fx > 8 else 0) // 2, c)
    return img


def block():
    """A 32 x 32 barrier crate: bots turn when they walk into one."""
    img = pa.Image(32, 32)
    img.rect(0, 0, 32, 32, (40, 34, 40))
    img.rect(2, 2, 28, 28, (196, 132, 70))
    img.rect(2, 2, 28, 2, (236, 176, 110))
    img.rect(2, 28, 28, 2, (140, 90, 50))
    for i in range(0, 28):
        img.put(2 + i, 2 + i, (140, 90, 50))
        img.put(3 + i, 2 + i, (140, 90, 50))
        img.put(29 - i, 2 + i, (140, 90, 50))
        img.put(28 - i, 2 + i, (140, 90, 50))
    img.frame(2, 2, 28, 28, (110, 70, 40), 2)
    for (x, y) in ((4, 4), (26, 4), (4, 26), (26, 26)):
        img.rect(x, y, 2, 2, (230, 220, 200))
    return img


def ladder():
    """A 128 x 16 ladder lying along +x (the ladder swings about its left end)."""
    img = pa.Image(128, 16)
    for y in (1, 12):
        img.rect(0, y, 128, 3, (210, 160, 90))
        img.rect(0, y, 128, 1, (250, 210, 140))
        img.rect(0, y + 3, 128, 1, (30, 22, 20))
    for x in range(4, 128, 12):
        img.rect(x, 4, 3, 8, (170, 120, 70))
        img.rect(x, 4, 1, 8, (220, 180, 120))
    return img


def lift():
    """A 64 x 112 freight lift, two bots wide: a deck with hazard stripes on top of a braced
    steel cage that fills the whole picture, as the bots meet all of it."""
    img = pa.Image(64, 112)
    steel, dark, light = (92, 104, 124), (46, 52, 64), (150, 162, 182)
    img.rect(0, 0, 64, 112, dark)
    # the cage: two side posts, cross braces in every bay
    for x in (0, 58):
        img.rect(x, 0, 6, 112, steel)
        img.rect(x + 1, 0, 1, 112, light)
    for bay in range(10, 112, 17):
        img.rect(6, bay, 52, 3, steel)
        img.rect(6, bay, 52, 1, light)
        img.line(6, bay + 3, 57, bay + 16, steel, 2)
        img.line(57, bay + 3, 6, bay + 16, steel, 2)
    # the deck with its yellow and black edge
    img.rect(0, 0, 64, 10, (70, 76, 90))
    for x in range(64):
        img.put(x, 0, (250, 200, 40) if (x // 4) % 2 == 0 else (30, 30, 34), blend=False)
        img.put(x, 1, (250, 200, 40) if ((x + 1) // 4) % 2 == 0 else (30, 30, 34), blend=False)
    img.rect(0, 2, 64, 1, light)
    for x in range(4, 64, 8):
        img.rect(x, 5, 2, 2, (190, 196, 210))
    return img


def spotlight():
    """Black square with a round clear hole: the closing end-of-level view."""
    img = pa.Image(256, 256, (0, 0, 0, 255))
    for y in range(256):
        for x in range(256):
            if math.hypot(x - 127.5, y - 127.5) < 124:
                img.put(x, y, (0, 0, 0, 0), blend=False)
    return img
