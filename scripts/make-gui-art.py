#!/usr/bin/env python3
"""Draws the GUI's icons (.ico) and menu bitmaps (.bmp) and writes gui/res/art.rc.

Only the Python standard library is used: the shapes are rasterised here with
4 x 4 supersampling and the ICO/BMP bytes are written by hand.

Icons hold 32-bit images with an alpha channel and a matching AND mask; the
first image of each file is the size the dialogs use at 96 DPI when they ask
for the icon's own size; at another DPI they take the image nearest to that
size scaled (16, 24 and 32 pixels are held for 150 % and 200 %). Menu bitmaps
are 16 x 15 pixels with the 16-colour VGA palette; their background is the
standard light grey, which the menu maps to the current 3D face colour and
then masks out.

Usage: make-gui-art.py [RES_DIR]   (default: gui/res beside this script's repo)
"""
import math
import os
import struct
import sys

SS = 4  # supersampling per axis


# --------------------------------------------------------------------------
# A small anti-aliased canvas working in unit coordinates (0..1 across).
# --------------------------------------------------------------------------
class Canvas:
    def __init__(self, size):
        self.n = size
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def u(self, pixels):
        """Length of `pixels` device pixels in unit space."""
        return pixels / self.n

    def _paint(self, bbox, inside, colour, alpha=1.0):
        n = self.n
        x0 = max(0, int(math.floor(bbox[0] * n)) - 1)
        y0 = max(0, int(math.floor(bbox[1] * n)) - 1)
        x1 = min(n, int(math.ceil(bbox[2] * n)) + 1)
        y1 = min(n, int(math.ceil(bbox[3] * n)) + 1)
        step = 1.0 / (n * SS)
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                cr = cg = cb = 0.0
                for sy in range(SS):
                    y = (py * SS + sy + 0.5) * step
                    for sx in range(SS):
                        x = (px * SS + sx + 0.5) * step
                        if inside(x, y):
                            hits += 1
                            if callable(colour):
                                c = colour(x, y)
                            else:
                                c = colour
                            cr += c[0]
                            cg += c[1]
                            cb += c[2]
                if not hits:
                    continue
                cov = hits / (SS * SS) * alpha
                src = (cr / hits / 255.0, cg / hits / 255.0, cb / hits / 255.0)
                dr, dg, db, da = self.px[py][px]
                oa = cov + da * (1.0 - cov)
                if oa <= 0:
                    continue
                mix = lambda s, d: (s * cov + d * da * (1.0 - cov)) / oa
                self.px[py][px] = (mix(src[0], dr), mix(src[1], dg), mix(src[2], db), oa)

    # Shapes -------------------------------------------------------------
    def poly(self, pts, colour, alpha=1.0):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]

        def inside(x, y):
            c = False
            j = len(pts) - 1
            for i in range(len(pts)):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c

        self._paint((min(xs), min(ys), max(xs), max(ys)), inside, colour, alpha)

    def circle(self, cx, cy, r, colour, alpha=1.0):
        self._paint((cx - r, cy - r, cx + r, cy + r),
                    lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour, alpha)

    def ring(self, cx, cy, r, w, colour, a0=None, a1=None):
        """Ring of radius r (centre line) and width w; optional arc a0..a1 in degrees
        (0 = right, counter-clockwise as seen on screen)."""
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            if abs(d - r) > w / 2:
                return False
            if a0 is None:
                return True
            a = math.degrees(math.atan2(cy - y, x - cx)) % 360
            lo, hi = a0 % 360, a1 % 360
            return lo <= a <= hi if lo <= hi else (a >= lo or a <= hi)

        e = r + w
        self._paint((cx - e, cy - e, cx + e, cy + e), inside, colour)

    def rrect(self, x0, y0, x1, y1, r, colour, alpha=1.0):
        def inside(x, y):
            if x < x0 or x > x1 or y < y0 or y > y1:
                return False
            qx = min(max(x, x0 + r), x1 - r)
            qy = min(max(y, y0 + r), y1 - r)
            return (x - qx) ** 2 + (y - qy) ** 2 <= r * r

        self._paint((x0, y0, x1, y1), inside, colour, alpha)

    def rect(self, x0, y0, x1, y1, colour, alpha=1.0):
        self._paint((x0, y0, x1, y1), lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, colour, alpha)

    def line(self, x0, y0, x1, y1, w, colour, alpha=1.0):
        dx, dy = x1 - x0, y1 - y0
        ll = dx * dx + dy * dy or 1e-9

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / ll))
            return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= (w / 2) ** 2

        h = w / 2
        self._paint((min(x0, x1) - h, min(y0, y1) - h, max(x0, x1) + h, max(y0, y1) + h),
                    inside, colour, alpha)

    def rgba(self):
        out = []
        for row in self.px:
            out.append([(int(round(r * 255)), int(round(g * 255)), int(round(b * 255)),
                         int(round(a * 255))) for r, g, b, a in row])
        return out


def vgrad(top, bottom, y0, y1):
    def colour(x, y):
        t = min(1.0, max(0.0, (y - y0) / ((y1 - y0) or 1)))
        return tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3))
    return colour


def shade(c, f):
    """Darkens (f < 1) or lightens (f > 1) a colour."""
    if f < 1:
        return tuple(v * f for v in c)
    return tuple(v + (255 - v) * (f - 1) for v in c)


# Palette of the glyphs
BLUE = (36, 110, 200)
BLUE_D = (18, 60, 130)
GREEN = (46, 170, 70)
GREEN_D = (20, 100, 40)
RED = (215, 40, 40)
RED_D = (130, 15, 15)
YELLOW = (250, 205, 70)
YELLOW_D = (170, 120, 20)
GREY = (150, 155, 165)
GREY_D = (80, 85, 95)
WHITE = (255, 255, 255)
PAPER_D = (120, 125, 135)
ORANGE = (245, 140, 30)


# --------------------------------------------------------------------------
# Glyphs: each draws on a Canvas; `c.u(1)` is one device pixel.
# --------------------------------------------------------------------------
def glyph_app(c):
    o = c.u(1)
    c.rrect(0.04, 0.04, 0.96, 0.96, 0.2, BLUE_D)
    c.rrect(0.04 + o, 0.04 + o, 0.96 - o, 0.96 - o, 0.2 - o,
            vgrad(shade(BLUE, 1.35), BLUE, 0.04, 0.96))
    # wind streaks
    for y, x0, x1 in ((0.34, 0.12, 0.40), (0.50, 0.08, 0.36), (0.66, 0.12, 0.40)):
        c.line(x0, y, x1, y, max(c.u(1.5), 0.06), WHITE, 0.85)
    # launch arrow
    c.poly([(0.40, 0.22), (0.86, 0.50), (0.40, 0.78)], WHITE)
    c.poly([(0.47, 0.36), (0.71, 0.50), (0.47, 0.64)], ORANGE)


def glyph_gear(c, body=GREY, dark=GREY_D):
    teeth = 8
    cx = cy = 0.5
    r_out, r_in = 0.46, 0.34
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        r = r_out if (i % 4) in (1, 2) else r_in
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    c.poly(pts, dark)
    o = c.u(1)
    pts2 = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        r = (r_out if (i % 4) in (1, 2) else r_in) - o
        pts2.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    c.poly(pts2, vgrad(shade(body, 1.4), body, 0.1, 0.9))
    c.circle(cx, cy, 0.14 + o, dark)
    c.circle(cx, cy, 0.14, WHITE)


def glyph_services(c):
    glyph_gear(c, (110, 140, 190), BLUE_D)


def window_frame(c, x0, y0, x1, y1, title=BLUE):
    o = c.u(1)
    c.rect(x0, y0, x1, y1, GREY_D)
    c.rect(x0 + o, y0 + o, x1 - o, y1 - o, WHITE)
    th = max(c.u(3), 0.18)
    c.rect(x0 + o, y0 + o, x1 - o, y0 + th, vgrad(shade(title, 1.3), title, y0, y0 + th))
    return y0 + th


def glyph_programs(c):
    window_frame(c, 0.22, 0.06, 0.94, 0.62, (120, 140, 170))
    top = window_frame(c, 0.06, 0.32, 0.78, 0.94)
    o = c.u(1)
    for i, y in enumerate((top + 0.12, top + 0.26, top + 0.40)):
        if y < 0.9:
            c.rect(0.14, y, 0.14 + (0.5 if i != 1 else 0.36), y + max(o, 0.05), GREY)


def glyph_configure(c):
    o = c.u(1)
    w = max(c.u(2), 0.08)
    for y, k in ((0.22, 0.66), (0.50, 0.32), (0.78, 0.56)):
        c.line(0.10, y, 0.90, y, w, GREY_D)
        c.rrect(k - 0.10, y - 0.14, k + 0.10, y + 0.14, 0.05, BLUE_D)
        c.rrect(k - 0.10 + o, y - 0.14 + o, k + 0.10 - o, y + 0.14 - o, 0.04,
                vgrad(shade(BLUE, 1.5), BLUE, y - 0.14, y + 0.14))


def glyph_start(c):
    o = c.u(1)
    c.circle(0.5, 0.5, 0.46, GREEN_D)
    c.circle(0.5, 0.5, 0.46 - o, vgrad(shade(GREEN, 1.45), GREEN, 0.05, 0.95))
    c.poly([(0.38, 0.26), (0.76, 0.50), (0.38, 0.74)], WHITE)


def glyph_save(c):
    o = c.u(1)
    c.rrect(0.08, 0.08, 0.92, 0.92, 0.06, BLUE_D)
    c.rrect(0.08 + o, 0.08 + o, 0.92 - o, 0.92 - o, 0.05, vgrad(shade(BLUE, 1.3), BLUE, 0.1, 0.9))
    c.rect(0.24, 0.08 + o, 0.76, 0.40, WHITE)                       # label
    c.rect(0.30, 0.56, 0.70, 0.92 - o, (200, 205, 215))             # shutter
    c.rect(0.54, 0.61, 0.63, 0.86, GREY_D)


def glyph_reset(c):
    w = max(c.u(2.5), 0.13)
    c.ring(0.5, 0.53, 0.32, w + c.u(2), BLUE_D, 140, 450)
    c.ring(0.5, 0.53, 0.32, w, BLUE, 140, 450)
    # arrow head at the open end (upper left)
    a = math.radians(140)
    ex, ey = 0.5 + 0.32 * math.cos(a), 0.53 - 0.32 * math.sin(a)
    c.poly([(ex - 0.24, ey - 0.02), (ex + 0.10, ey - 0.18), (ex + 0.06, ey + 0.20)], BLUE_D)
    c.poly([(ex - 0.18, ey - 0.01), (ex + 0.07, ey - 0.13), (ex + 0.04, ey + 0.14)], BLUE)


def glyph_running(c):
    o = c.u(1)
    c.rrect(0.06, 0.12, 0.94, 0.82, 0.06, GREY_D)
    c.rect(0.06 + 2 * o, 0.12 + 2 * o, 0.94 - 2 * o, 0.82 - 2 * o, (20, 40, 30))
    c.rect(0.38, 0.82, 0.62, 0.90, GREY_D)
    c.rect(0.24, 0.88, 0.76, 0.94, GREY_D)
    w = max(c.u(1.6), 0.06)
    pts = [(0.14, 0.50), (0.34, 0.50), (0.42, 0.28), (0.52, 0.68), (0.60, 0.42), (0.66, 0.50),
           (0.86, 0.50)]
    for a, b in zip(pts, pts[1:]):
        c.line(a[0], a[1], b[0], b[1], w, (90, 230, 110))


def glyph_cross(c, inset=0.14):
    w = 0.24
    a, b = inset, 1 - inset
    c.line(a, a, b, b, w + c.u(2), RED_D)
    c.line(a, b, b, a, w + c.u(2), RED_D)
    col = vgrad(shade(RED, 1.4), RED, a, b)
    c.line(a, a, b, b, w, col)
    c.line(a, b, b, a, w, col)


def glyph_delete(c):
    glyph_cross(c)


def folder(c, open_front=True):
    o = c.u(1)
    c.poly([(0.04, 0.20), (0.36, 0.20), (0.44, 0.28), (0.88, 0.28), (0.88, 0.86), (0.04, 0.86)],
           YELLOW_D)
    c.poly([(0.04 + o, 0.20 + o), (0.36 - o, 0.20 + o), (0.44 - o, 0.28 + o), (0.88 - o, 0.28 + o),
            (0.88 - o, 0.86 - o), (0.04 + o, 0.86 - o)], shade(YELLOW, 0.88))
    if open_front:
        c.rect(0.14, 0.34, 0.80, 0.60, WHITE)  # paper sticking out
        c.poly([(0.18, 0.44), (0.98, 0.44), (0.86, 0.86), (0.04, 0.86)], YELLOW_D)
        c.poly([(0.18 + o, 0.44 + o), (0.98 - 1.5 * o, 0.44 + o), (0.86 - o, 0.86 - o),
                (0.04 + 1.5 * o, 0.86 - o)], vgrad(shade(YELLOW, 1.4), YELLOW, 0.44, 0.86))


def glyph_browse(c):
    folder(c)


def glyph_add(c):
    folder(c)
    o = c.u(1)
    c.circle(0.72, 0.70, 0.27, GREEN_D)
    c.circle(0.72, 0.70, 0.27 - o, GREEN)
    w = max(c.u(2), 0.09)
    c.line(0.58, 0.70, 0.86, 0.70, w, WHITE)
    c.line(0.72, 0.56, 0.72, 0.84, w, WHITE)


def glyph_web(c):
    o = c.u(1)
    c.circle(0.5, 0.5, 0.45, BLUE_D)
    c.circle(0.5, 0.5, 0.45 - o, vgrad((120, 190, 250), BLUE, 0.05, 0.95))
    lw = max(c.u(1), 0.035)
    for dx in (0.0,):
        c.line(0.5 + dx, 0.06, 0.5 + dx, 0.94, lw, WHITE, 0.8)
    c.line(0.06, 0.5, 0.94, 0.5, lw, WHITE, 0.8)
    c.ring(0.5, 0.5, 0.44, lw, WHITE)
    # meridian ellipse and two parallels
    def ellipse_ring(rx):
        def inside(x, y):
            v = ((x - 0.5) / rx) ** 2 + ((y - 0.5) / 0.44) ** 2
            return abs(math.sqrt(v) - 1) < lw / 0.44 / 2 * 1.3
        c._paint((0.5 - rx - 0.05, 0.0, 0.5 + rx + 0.05, 1.0), inside, WHITE, 0.8)
    ellipse_ring(0.2)
    c.line(0.14, 0.28, 0.86, 0.28, lw, WHITE, 0.7)
    c.line(0.14, 0.72, 0.86, 0.72, lw, WHITE, 0.7)


def glyph_email(c):
    o = c.u(1)
    c.rect(0.04, 0.20, 0.96, 0.80, GREY_D)
    c.rect(0.04 + o, 0.20 + o, 0.96 - o, 0.80 - o, vgrad(WHITE, (225, 230, 240), 0.2, 0.8))
    w = max(c.u(1), 0.04)
    c.line(0.06, 0.22, 0.5, 0.56, w, GREY_D)
    c.line(0.94, 0.22, 0.5, 0.56, w, GREY_D)
    c.line(0.06, 0.78, 0.38, 0.48, w, GREY)
    c.line(0.94, 0.78, 0.62, 0.48, w, GREY)


def page(c, x0=0.14, y0=0.04, x1=0.78, y1=0.96, fold=0.22, lines=True):
    o = c.u(1)
    pts = [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]
    c.poly(pts, PAPER_D)
    c.poly([(x0 + o, y0 + o), (x1 - fold - o * 0.4, y0 + o), (x1 - o, y0 + fold + o * 0.4),
            (x1 - o, y1 - o), (x0 + o, y1 - o)], vgrad(WHITE, (232, 236, 244), y0, y1))
    c.poly([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], (200, 205, 215))
    if lines:
        w = max(o, 0.04)
        y = y0 + fold + 0.1
        while y < y1 - 0.1:
            c.line(x0 + 0.1, y, x1 - 0.1, y, w, (150, 170, 200))
            y += max(0.12, c.u(3))


def glyph_edit(c):
    page(c)
    # pencil from upper right to lower left
    w = 0.17
    c.line(0.90, 0.20, 0.46, 0.64, w + c.u(2), YELLOW_D)
    c.line(0.90, 0.20, 0.46, 0.64, w, YELLOW)
    c.line(0.92, 0.18, 0.84, 0.26, w, (230, 120, 140))  # eraser
    c.poly([(0.40, 0.58), (0.52, 0.70), (0.34, 0.76)], (230, 200, 160))
    c.poly([(0.365, 0.69), (0.41, 0.735), (0.34, 0.76)], (40, 40, 40))


ICONS = [
    # id, file, glyph, sizes (first = natural size)
    (134, "zephlaunch", glyph_app, (32, 16, 48)),
    (138, "services", glyph_services, (24, 16, 32)),
    (139, "programs", glyph_programs, (24, 16, 32)),
    (140, "configure", glyph_configure, (24, 16, 32)),
    (141, "start", glyph_start, (24, 16, 32)),
    (143, "save", glyph_save, (24, 16, 32)),
    (144, "reset", glyph_reset, (24, 16, 32)),
    (145, "running", glyph_running, (24, 16, 32)),
    (146, "delete", glyph_delete, (24, 16, 32)),
    (147, "browse", glyph_browse, (16, 24, 32)),
    (160, "web", glyph_web, (16, 24, 32)),
    (161, "email", glyph_email, (16, 24, 32)),
    (166, "edit", glyph_edit, (16, 24, 32)),
    (167, "add", glyph_add, (16, 24, 32)),
]


def ico_image(pixels):
    n = len(pixels)
    hdr = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] < 128:  # transparent
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return hdr + bytes(xor) + bytes(mask)


def write_ico(path, images):
    count = len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    datas = [ico_image(p) for p in images]
    offset = 6 + 16 * count
    for p, d in zip(images, datas):
        n = len(p)
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(d), offset)
        offset += len(d)
    for d in datas:
        out += d
    with open(path, "wb") as f:
        f.write(out)


# --------------------------------------------------------------------------
# Menu bitmaps: 16 x 15 pixel art in the VGA palette.
# --------------------------------------------------------------------------
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
# pixel letters -> palette index; '.' is the background (light grey, masked out)
KEY = {".": 7, "k": 0, "m": 1, "g": 2, "o": 3, "n": 4, "p": 5, "t": 6, "d": 8,
       "r": 9, "l": 10, "y": 11, "b": 12, "f": 13, "c": 14, "w": 15}

BITMAPS = {
    155: ("exit", [
        "................",
        "...dddddddd.....",
        "...dwwwwwwkd....",
        "...dwttttwk.....",
        "...dwttttwk..n..",
        "...dwttttwk..nn.",
        "...dwttttwnnnnnn",
        "...dwtttwwnnnnnn",
        "...dwttttwk..nn.",
        "...dwttttwk..n..",
        "...dwttttwk.....",
        "...dwttttwk.....",
        "...dwwwwwwkd....",
        "...dkkkkkkkk....",
        "................"]),
    156: ("new", [
        "...kkkkkkkk.....",
        "...kwwwwwwkk....",
        "...kwwwwwwkwk...",
        "...kwwwwwwkkkk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kwwwwwwwwwk..",
        "...kkkkkkkkkkk..",
        "................"]),
    157: ("delete", [
        "................",
        "..mm.......mm...",
        ".mrrm.....mrrm..",
        "..mrrm...mrrm...",
        "...mrrm.mrrm....",
        "....mrrmrrm.....",
        ".....mrrrm......",
        ".....mrrrm......",
        "....mrrmrrm.....",
        "...mrrm.mrrm....",
        "..mrrm...mrrm...",
        ".mrrm.....mrrm..",
        "..mm.......mm...",
        "................",
        "................"]),
    158: ("shortcut", [
        "..kkkkkkkk......",
        "..kwwwwwwkk.....",
        "..kwwwwwwkwk....",
        "..kwwwwwwkkkk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwkkkkkkwwk...",
        "..kwkwwwwkwwk...",
        "..kwkwwnnkwwk...",
        "..kwkwnwnkwwk...",
        "..kwkwwwnkwwk...",
        "..kwkkkkkkwwk...",
        "..kkkkkkkkkkk...",
        "................"]),
    162: ("about", [
        "................",
        ".....nnnnn......",
        "...nnbbbbbnn....",
        "..nbbbbwbbbbn...",
        "..nbbbbwbbbbn...",
        ".nbbbbbbbbbbbn..",
        ".nbbbbwwbbbbbn..",
        ".nbbbbbwbbbbbn..",
        ".nbbbbbwbbbbbn..",
        ".nbbbbbwbbbbbn..",
        "..nbbbwwwbbbn...",
        "..nbbbbbbbbbn...",
        "...nnbbbbbnn....",
        ".....nnnnn......",
        "................"]),
    163: ("servicemanager", [
        "......kkkk......",
        "..kk..kwwk..kk..",
        "..kwkkkwwkkkwk..",
        "...kwwwwwwwwk...",
        "..kwwwkkkkwwwk..",
        "kkkwwk....kwwkkk",
        "kwwwwk....kwwwwk",
        "kwwwwk....kwwwwk",
        "kkkwwk....kwwkkk",
        "..kwwwkkkkwwwk..",
        "...kwwwwwwwwk...",
        "..kwkkkwwkkkwk..",
        "..kk..kwwk..kk..",
        "......kkkk......",
        "................"]),
    165: ("programoptions", [
        "................",
        ".kkkkkk.........",
        ".kwwwwk.........",
        ".kwwwgk..kkkkkk.",
        ".kgwggk.........",
        ".kwggwk.........",
        ".kkkkkk.........",
        "................",
        ".kkkkkk.........",
        ".kwwwwk.........",
        ".kwwwwk..kkkkkk.",
        ".kwwwwk.........",
        ".kwwwwk.........",
        ".kkkkkk.........",
        "................"]),
}


def write_bmp(path, rows):
    h = len(rows)
    w = len(rows[0])
    assert all(len(r) == w for r in rows), path
    stride = ((w * 4 + 31) // 32) * 4
    bits = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, ch in enumerate(row):
            idx = KEY[ch]
            if x % 2 == 0:
                line[x // 2] |= idx << 4
            else:
                line[x // 2] |= idx
        bits += line
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(bits), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + palette + bytes(bits))


ART_RC_HEAD = """// Icons and menu bitmaps of the GUI. Generated by scripts/make-gui-art.py;
// included by zephlaunch.rc (and by the control tests). File names are relative
// to gui/res, which must be on the resource compiler's include path.
#include "art_ids.h"

"""


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "gui", "res")
    os.makedirs(os.path.join(res, "icons"), exist_ok=True)
    os.makedirs(os.path.join(res, "bitmaps"), exist_ok=True)
    names = {}
    with open(os.path.join(res, "art_ids.h")) as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 3 and parts[0] == "#define":
                names[int(parts[2])] = parts[1]
    rc = [ART_RC_HEAD]
    for rid, name, glyph, sizes in ICONS:
        images = []
        for s in sizes:
            c = Canvas(s)
            glyph(c)
            images.append(c.rgba())
        write_ico(os.path.join(res, "icons", name + ".ico"), images)
        rc.append('%-24s ICON   "icons/%s.ico"\n' % (names[rid], name))
    rc.append("\n")
    for rid in sorted(BITMAPS):
        name, rows = BITMAPS[rid]
        write_bmp(os.path.join(res, "bitmaps", name + ".bmp"), rows)
        rc.append('%-24s BITMAP "bitmaps/%s.bmp"\n' % (names[rid], name))
    with open(os.path.join(res, "art.rc"), "w", newline="\n") as f:
        f.write("".join(rc))


if __name__ == "__main__":
    main()
