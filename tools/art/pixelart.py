"""Small RGBA pixel-art toolkit: a picture class, drawing primitives, an own bitmap font,
text drawing and a bevelled button maker. Python 3 standard library only.

Colours are (r, g, b) or (r, g, b, a) tuples of 0..255. Coordinates are in pixels with
(0, 0) at the TOP-left of the picture, as PNG stores it (the game's loader flips rows).
Drawing blends with source-over alpha unless `blend=False` is passed.
"""

import struct
import zlib


def rgba(c):
    """Normalise a colour tuple to four components."""
    if len(c) == 3:
        return (c[0], c[1], c[2], 255)
    return tuple(c)


def mix(a, b, t):
    """Linear blend of two colours, t in 0..1 (0 gives a)."""
    a, b = rgba(a), rgba(b)
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(4))


def shade(c, f):
    """Brighten (f > 1) or darken (f < 1) a colour, alpha kept."""
    c = rgba(c)
    return (min(255, int(c[0] * f)), min(255, int(c[1] * f)), min(255, int(c[2] * f)), c[3])


class Image:
    """A width x height RGBA picture, initially filled with `fill` (transparent by default)."""

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        assert width > 0 and height > 0, "Image needs a positive size"
        self.width = width
        self.height = height
        self.px = bytearray(bytes(rgba(fill)) * (width * height))

    # ---- pixel access -------------------------------------------------------------------
    def get(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = (y * self.width + x) * 4
            return tuple(self.px[i:i + 4])
        return (0, 0, 0, 0)

    def put(self, x, y, c, blend=True):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return
        c = rgba(c)
        i = (y * self.width + x) * 4
        if not blend or c[3] == 255:
            self.px[i:i + 4] = bytes(c)
            return
        if c[3] == 0:
            return
        sa = c[3] / 255.0
        da = self.px[i + 3] / 255.0
        oa = sa + da * (1.0 - sa)
        for k in range(3):
            s = c[k] * sa
            d = self.px[i + k] * da * (1.0 - sa)
            self.px[i + k] = int(round((s + d) / oa)) if oa > 0 else 0
        self.px[i + 3] = int(round(oa * 255))

    # ---- primitives ---------------------------------------------------------------------
    def rect(self, x, y, w, h, c, blend=True):
        """Filled rectangle with top-left (x, y)."""
        for yy in range(max(0, y), min(self.height, y + h)):
            for xx in range(max(0, x), min(self.width, x + w)):
                self.put(xx, yy, c, blend)

    def frame(self, x, y, w, h, c, thickness=1):
        """Rectangle outline `thickness` pixels wide, inside the given box."""
        t = thickness
        self.rect(x, y, w, t, c)
        self.rect(x, y + h - t, w, t, c)
        self.rect(x, y + t, t, h - 2 * t, c)
        self.rect(x + w - t, y + t, t, h - 2 * t, c)

    def line(self, x0, y0, x1, y1, c, thickness=1):
        """Straight line between two pixel centres (Bresenham), optionally thickened."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        off = (thickness - 1) // 2
        while True:
            if thickness == 1:
                self.put(x0, y0, c)
            else:
                self.rect(x0 - off, y0 - off, thickness, thickness, c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def circle(self, cx, cy, r, c, fill=True):
        """Circle of radius r around (cx, cy); filled or a one-pixel ring."""
        for yy in range(int(cy - r - 1), int(cy + r + 2)):
            for xx in range(int(cx - r - 1), int(cx + r + 2)):
                d2 = (xx - cx) ** 2 + (yy - cy) ** 2
                if fill:
                    if d2 <= r * r + r * 0.8:
                        self.put(xx, yy, c)
                elif (r - 0.5) ** 2 <= d2 <= (r + 0.5) ** 2:
                    self.put(xx, yy, c)

    def ellipse(self, cx, cy, rx, ry, c):
        """Filled axis-aligned ellipse."""
        for yy in range(int(cy - ry - 1), int(cy + ry + 2)):
            for xx in range(int(cx - rx - 1), int(cx + rx + 2)):
                if ((xx - cx) / max(rx, 0.5)) ** 2 + ((yy - cy) / max(ry, 0.5)) ** 2 <= 1.05:
                    self.put(xx, yy, c)

    def gradient(self, x, y, w, h, top, bottom, horizontal=False):
        """Filled rectangle shading from `top` to `bottom` (left to right if horizontal)."""
        n = (w if horizontal else h) - 1
        for i in range(w if horizontal else h):
            c = mix(top, bottom, i / n if n > 0 else 0)
            if horizontal:
                self.rect(x + i, y, 1, h, c)
            else:
                self.rect(x, y + i, w, 1, c)

    def polygon(self, pts, c):
        """Filled polygon (even-odd rule, scanline at pixel centres)."""
        ys = [p[1] for p in pts]
        for yy in range(int(min(ys)), int(max(ys)) + 1):
            yc = yy + 0.5
            xs = []
            for i in range(len(pts)):
                (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % len(pts)]
                if (y0 <= yc < y1) or (y1 <= yc < y0):
                    xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for xx in range(int(round(a)), int(round(b))):
                    self.put(xx, yy, c)

    def outline(self, c, diagonal=False):
        """Paint `c` on every transparent pixel that touches an opaque one (a 1-px rim)."""
        src = bytes(self.px)
        w, h = self.width, self.height
        nb = [(-1, 0), (1, 0), (0, -1), (0, 1)]
        if diagonal:
            nb += [(-1, -1), (1, -1), (-1, 1), (1, 1)]
        for y in range(h):
            for x in range(w):
                if src[(y * w + x) * 4 + 3] != 0:
                    continue
                for dx, dy in nb:
                    xx, yy = x + dx, y + dy
                    if 0 <= xx < w and 0 <= yy < h and src[(yy * w + xx) * 4 + 3] > 96:
                        self.put(x, y, c, blend=False)
                        break

    def blit(self, src, x, y, blend=True):
        """Copy another Image with its top-left at (x, y)."""
        for yy in range(src.height):
            for xx in range(src.width):
                c = src.get(xx, yy)
                if c[3]:
                    self.put(x + xx, y + yy, c, blend)

    def flipped_h(self):
        out = Image(self.width, self.height)
        for y in range(self.height):
            for x in range(self.width):
                out.put(self.width - 1 - x, y, self.get(x, y), blend=False)
        return out

    def scaled(self, f):
        """Nearest-neighbour enlargement by an integer factor."""
        out = Image(self.width * f, self.height * f)
        for y in range(self.height):
            for x in range(self.width):
                c = self.get(x, y)
                if c[3]:
                    out.rect(x * f, y * f, f, f, c, blend=False)
        return out

    # ---- text ---------------------------------------------------------------------------
    def text(self, x, y, s, c, scale=1, bold=False, shadow=None, tracking=0):
        """Draw `s` with the built-in font; (x, y) is the top-left of the first cell.
        `shadow` is an optional colour drawn one scaled pixel down-right beneath;
        `tracking` adds (or, negative, removes) pixels between letters."""
        if shadow is not None:
            self.text(x + scale, y + scale, s, shadow, scale, bold, tracking=tracking)
        cx = x
        for ch in s:
            g = glyph(ch)
            for gy, row in enumerate(g):
                for gx, bit in enumerate(row):
                    if bit == "#":
                        self.rect(cx + gx * scale, y + gy * scale, scale + (1 if bold else 0), scale, c)
            cx += ADVANCE * scale + (1 if bold else 0) + tracking
        return cx

    # ---- output -------------------------------------------------------------------------
    def png_bytes(self):
        raw = bytearray()
        stride = self.width * 4
        for y in range(self.height):
            raw.append(0)
            raw += self.px[y * stride:(y + 1) * stride]

        def chunk(tag, data):
            body = tag + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        ihdr = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
                + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))

    def save(self, path):
        """Write the picture as an RGBA PNG (temporary file then rename)."""
        import os
        tmp = path + ".tmp"
        with open(tmp, "wb") as f:
            f.write(self.png_bytes())
        os.replace(tmp, path)


def load_png(path):
    """Read back an 8-bit RGBA/RGB PNG written by this module (non-interlaced)."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path + " is not a PNG"
    pos, idat, w, h, ctype = 8, b"", 0, 0, 6
    while pos < len(data):
        n = struct.unpack(">I", data[pos:pos + 4])[0]
        tag = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + n]
        if tag == b"IHDR":
            w, h, _, ctype = struct.unpack(">IIBB", body[:10])
        elif tag == b"IDAT":
            idat += body
        pos += 12 + n
    bpp = 4 if ctype == 6 else 3
    raw = zlib.decompress(idat)
    img = Image(w, h)
    stride = w * bpp
    prev = bytearray(stride)
    for y in range(h):
        ft = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ft == 1:
                line[i] = (line[i] + a) & 255
            elif ft == 2:
                line[i] = (line[i] + b) & 255
            elif ft == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif ft == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pr = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pr) & 255
        for x in range(w):
            px = line[x * bpp:(x + 1) * bpp]
            img.put(x, y, tuple(px) if bpp == 4 else (px[0], px[1], px[2], 255), blend=False)
        prev = line
    return img


# ==== The font =============================================================================
# Each glyph is 5 columns wide and up to 9 rows tall: rows 0-6 hold capitals and the body of
# lower-case letters (baseline under row 6), rows 7-8 hold descenders. Cells advance 6 pixels;
# a line of text is LINE_HEIGHT pixels tall.
GLYPH_W = 5
GLYPH_H = 9
ADVANCE = 6
LINE_HEIGHT = 10

_FONT_SRC = r"""
! ..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#..
" .#.#. .#.#. ..... ..... ..... ..... .....
# .#.#. .#.#. ##### .#.#. ##### .#.#. .#.#.
$ ..#.. .#### #.#.. .###. ..#.# ####. ..#..
% ##..# ##..# ...#. ..#.. .#... #..## #..##
& .##.. #..#. #.#.. .#... #.#.# #..#. .##.#
' ..#.. ..#.. ..... ..... ..... ..... .....
( ...#. ..#.. .#... .#... .#... ..#.. ...#.
) .#... ..#.. ...#. ...#. ...#. ..#.. .#...
* ..... ..#.. #.#.# .###. #.#.# ..#.. .....
+ ..... ..#.. ..#.. ##### ..#.. ..#.. .....
, ..... ..... ..... ..... ..... .##.. .##.. ..#.. .#...
- ..... ..... ..... ##### ..... ..... .....
. ..... ..... ..... ..... ..... .##.. .##..
/ ....# ....# ...#. ..#.. .#... #.... #....
0 .###. #...# #..## #.#.# ##..# #...# .###.
1 ..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.
2 .###. #...# ....# ...#. ..#.. .#... #####
3 ####. ....# ....# .###. ....# ....# ####.
4 ...#. ..##. .#.#. #..#. ##### ...#. ...#.
5 ##### #.... ####. ....# ....# #...# .###.
6 .###. #.... #.... ####. #...# #...# .###.
7 ##### ....# ...#. ..#.. ..#.. ..#.. ..#..
8 .###. #...# #...# .###. #...# #...# .###.
9 .###. #...# #...# .#### ....# ....# .###.
: ..... .##.. .##.. ..... .##.. .##.. .....
; ..... .##.. .##.. ..... .##.. .##.. ..#.. .#...
< ...#. ..#.. .#... #.... .#... ..#.. ...#.
= ..... ..... ##### ..... ##### ..... .....
> .#... ..#.. ...#. ....# ...#. ..#.. .#...
? .###. #...# ....# ...#. ..#.. ..... ..#..
@ .###. #...# #.### #.#.# #.### #.... .####
A .###. #...# #...# ##### #...# #...# #...#
B ####. #...# #...# ####. #...# #...# ####.
C .###. #...# #.... #.... #.... #...# .###.
D ####. #...# #...# #...# #...# #...# ####.
E ##### #.... #.... ####. #.... #.... #####
F ##### #.... #.... ####. #.... #.... #....
G .###. #...# #.... #.### #...# #...# .###.
H #...# #...# #...# ##### #...# #...# #...#
I .###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.
J ..### ...#. ...#. ...#. ...#. #..#. .##..
K #...# #..#. #.#.. ##... #.#.. #..#. #...#
L #.... #.... #.... #.... #.... #.... #####
M #...# ##.## #.#.# #.#.# #...# #...# #...#
N #...# ##..# #.#.# #..## #...# #...# #...#
O .###. #...# #...# #...# #...# #...# .###.
P ####. #...# #...# ####. #.... #.... #....
Q .###. #...# #...# #...# #.#.# #..#. .##.#
R ####. #...# #...# ####. #.#.. #..#. #...#
S .#### #.... #.... .###. ....# ....# ####.
T ##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..
U #...# #...# #...# #...# #...# #...# .###.
V #...# #...# #...# #...# .#.#. .#.#. ..#..
W #...# #...# #...# #.#.# #.#.# #.#.# .#.#.
X #...# #...# .#.#. ..#.. .#.#. #...# #...#
Y #...# #...# .#.#. ..#.. ..#.. ..#.. ..#..
Z ##### ....# ...#. ..#.. .#... #.... #####
[ .###. .#... .#... .#... .#... .#... .###.
\ #.... #.... .#... ..#.. ...#. ....# ....#
] .###. ...#. ...#. ...#. ...#. ...#. .###.
^ ..#.. .#.#. #...# ..... ..... ..... .....
_ ..... ..... ..... ..... ..... ..... ..... #####
` .#... ..#.. ..... ..... ..... ..... .....
a ..... ..... .###. ....# .#### #...# .####
b #.... #.... ####. #...# #...# #...# ####.
c ..... ..... .###. #.... #.... #.... .###.
d ....# ....# .#### #...# #...# #...# .####
e ..... ..... .###. #...# ##### #.... .###.
f ..##. .#... .#... ####. .#... .#... .#...
g ..... ..... .#### #...# #...# #...# .#### ....# .###.
h #.... #.... ####. #...# #...# #...# #...#
i ..#.. ..... .##.. ..#.. ..#.. ..#.. .###.
j ...#. ..... ..##. ...#. ...#. ...#. ...#. #..#. .##..
k #.... #.... #..#. #.#.. ##... #.#.. #..#.
l .##.. ..#.. ..#.. ..#.. ..#.. ..#.. .###.
m ..... ..... ##.#. #.#.# #.#.# #.#.# #...#
n ..... ..... ####. #...# #...# #...# #...#
o ..... ..... .###. #...# #...# #...# .###.
p ..... ..... ####. #...# #...# #...# ####. #.... #....
q ..... ..... .#### #...# #...# #...# .#### ....# ....#
r ..... ..... #.##. ##..# #.... #.... #....
s ..... ..... .#### #.... .###. ....# ####.
t .#... .#... ####. .#... .#... .#... ..##.
u ..... ..... #...# #...# #...# #...# .####
v ..... ..... #...# #...# #...# .#.#. ..#..
w ..... ..... #...# #...# #.#.# #.#.# .#.#.
x ..... ..... #...# .#.#. ..#.. .#.#. #...#
y ..... ..... #...# #...# #...# #...# .#### ....# .###.
z ..... ..... ##### ...#. ..#.. .#... #####
{ ...## ..#.. ..#.. ##... ..#.. ..#.. ...##
| ..#.. ..#.. ..#.. ..#.. ..#.. ..#.. ..#.. ..#..
} ##... ..#.. ..#.. ...## ..#.. ..#.. ##...
~ ..... ..... .#... #.#.# ...#. ..... .....
"""

FONT = {" ": ["....."] * GLYPH_H}
for _line in _FONT_SRC.strip("\n").split("\n"):
    _ch, _rows = _line[0], _line[2:].split()
    assert all(len(r) == GLYPH_W for r in _rows), "bad glyph row for " + _ch
    FONT[_ch] = _rows + ["....."] * (GLYPH_H - len(_rows))
assert all(chr(c) in FONT for c in range(32, 127)), "font must cover printable ASCII"

# Shown for characters the font does not have: a hollow box.
_MISSING = ["#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#####"] + ["....."] * 2


def glyph(ch):
    """The rows of one glyph ('#' = ink), a hollow box for unknown characters."""
    return FONT.get(ch, _MISSING)


def text_width(s, scale=1, bold=False, tracking=0):
    """Pixel width of `s` drawn at `scale` (without the trailing gap)."""
    if not s:
        return 0
    return (len(s) * ADVANCE - 1) * scale + (len(s) if bold else 0) + tracking * (len(s) - 1)


def text_image(s, c=(255, 255, 255), scale=1, bold=False):
    """A tight picture of `s` (height of the cap line plus descenders)."""
    img = Image(max(1, text_width(s, scale, bold) + (1 if bold else 0)), GLYPH_H * scale)
    img.text(0, 0, s, c, scale, bold)
    return img


# ==== Buttons ==============================================================================
BUTTON_STYLES = {
    # face top, face bottom, rim, label, label shadow
    "normal": ((104, 128, 168), (58, 74, 112), (20, 24, 40), (250, 250, 255), (16, 20, 36)),
    "primary": ((96, 190, 120), (40, 120, 70), (12, 36, 20), (255, 255, 245), (10, 40, 20)),
    "danger": ((214, 98, 84), (140, 44, 40), (44, 12, 12), (255, 245, 240), (50, 10, 10)),
    "gold": ((236, 196, 92), (176, 120, 40), (56, 36, 10), (40, 24, 4), (255, 236, 170)),
    "dark": ((70, 72, 86), (36, 38, 48), (10, 10, 14), (230, 232, 240), (0, 0, 0)),
    # light neutral face: the game tints it for hover / press / selection
    "plain": ((236, 236, 240), (178, 180, 192), (40, 42, 52), (30, 32, 44), (255, 255, 255)),
}


def bevel_box(img, x, y, w, h, style="normal", radius=2):
    """Draw a bevelled panel in the given style: dark rim, gradient face, light top-left edge,
    dark bottom-right edge, corners cut by `radius` pixels."""
    top, bottom, rim, _, _ = BUTTON_STYLES[style]
    img.gradient(x + 1, y + 1, w - 2, h - 2, top, bottom)
    hi = shade(top, 1.35)
    lo = shade(bottom, 0.65)
    b = max(1, min(w, h) // 16)
    img.rect(x + 1, y + 1, w - 2, b, hi)
    img.rect(x + 1, y + 1, b, h - 2, hi)
    img.rect(x + 1, y + h - 1 - b, w - 2, b, lo)
    img.rect(x + w - 1 - b, y + 1, b, h - 2, lo)
    img.frame(x, y, w, h, rim)
    for i in range(radius):
        for j in range(radius - i):
            for (px, py) in ((x + j, y + i), (x + w - 1 - j, y + i), (x + j, y + h - 1 - i),
                             (x + w - 1 - j, y + h - 1 - i)):
                img.put(px, py, (0, 0, 0, 0), blend=False)
    # re-trace the rim along the cut corners
    for i in range(radius):
        j = radius - i
        for (px, py) in ((x + j, y + i), (x + w - 1 - j, y + i), (x + j, y + h - 1 - i),
                         (x + w - 1 - j, y + h - 1 - i)):
            img.put(px, py, rim, blend=False)


def fit_scale(label, max_w, max_h, bold=True):
    """Largest integer text scale so `label` fits in max_w x max_h (at least 1)."""
    s = 1
    while text_width(label, s + 1, bold) <= max_w and (GLYPH_H - 2) * (s + 1) <= max_h:
        s += 1
    return s


def button(label, width=192, height=48, style="normal", scale=None):
    """A labelled bevelled button picture, the label centred with a drop shadow.
    The text scale is chosen to fit unless `scale` is given."""
    img = Image(width, height)
    bevel_box(img, 0, 0, width, height, style, radius=max(2, height // 12))
    _, _, _, ink, sh = BUTTON_STYLES[style]
    pad = max(4, height // 6)
    s = scale or fit_scale(label, width - 2 * pad, max(7, height // 2))
    tw = text_width(label, s, True)
    has_desc = any(ch in "gjpqy,;" for ch in label)
    th = (GLYPH_H if has_desc else GLYPH_H - 2) * s
    tx = (width - tw) // 2
    ty = (height - th) // 2 + (s // 2 if has_desc else 0)
    img.text(tx, ty, label, ink, s, bold=True, shadow=sh)
    return img
