#!/usr/bin/python3
"""Draws the shipped pictures of the browsers, the print window, the wizard and the promotion window.

Run with Debian's /usr/bin/python3 (python3-pil):
    /usr/bin/python3 resources/tools/make_pictures.py
Writes into resources/shipped: Background/*.jpg (1800 pixels square: 300 dpi on every built-in card
size, either way up), LibraryImage/<category>/*.png (640 pixels, lower-case
category folders), the 18 alignment-button pictures of the print window, pattern_1.jpg,
Wizard_pattern.jpg, banner.png and promotion_S.png, promotion_R.png, promotion_B.png.
Everything is drawn from fixed numbers, so a second run writes the same files.
"""
import math
import os
import random

from PIL import Image, ImageDraw, ImageFilter

# TESSALY_PICTURES_OUT names another folder to write into (the tests compare it with the shipped one).
ROOT = os.environ.get("TESSALY_PICTURES_OUT") or os.path.join(os.path.dirname(os.path.abspath(__file__)), "..",
                                                               "shipped")


def out(*parts):
    path = os.path.join(ROOT, *parts)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


def save_jpg(img, *parts, quality=86, subsampling=-1):
    img.convert("RGB").save(out(*parts), "JPEG", quality=quality, optimize=True, subsampling=subsampling)


def save_png(img, *parts):
    img.save(out(*parts), "PNG", optimize=True)


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def vertical_gradient(w, h, top, bottom):
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        d.line([(0, y), (w, y)], fill=lerp(top, bottom, y / max(1, h - 1)))
    return img


def star_points(cx, cy, outer, inner, n=5, turn=-math.pi / 2):
    pts = []
    for k in range(2 * n):
        r = outer if k % 2 == 0 else inner
        a = turn + k * math.pi / n
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def heart_points(cx, cy, size):
    pts = []
    for k in range(120):
        t = 2 * math.pi * k / 120
        x = 16 * math.sin(t) ** 3
        y = 13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)
        pts.append((cx + x * size / 34, cy - y * size / 34))
    return pts


def smooth(img, scale):
    """Draw large, then shrink: cheap anti-aliasing."""
    return img.resize((img.width // scale, img.height // scale), Image.LANCZOS)


# --- backgrounds: soft designs a card's text stays readable on ---------------------------------
# Drawn in a 600-unit square, then rendered at BG_SIZE pixels: 300 dpi on the largest built-in card
# (5.91 x 4.96 in, either way up) needs 1773 pixels along each side. Drawn at twice that and
# shrunk, so edges are smooth; saved without chroma subsampling, so coloured edges do not ring.

BG_UNITS = 600
BG_SIZE = 1800
BG_DRAW = 2 * BG_SIZE
BG_K = BG_DRAW / BG_UNITS


class ScaledDraw:
    """ImageDraw in background units: every coordinate, width and radius times BG_K."""

    def __init__(self, img):
        self.d = ImageDraw.Draw(img)

    @staticmethod
    def _xy(xy):
        flat = []
        for v in xy:
            if isinstance(v, (tuple, list)):
                flat.append(tuple(c * BG_K for c in v))
            else:
                flat.append(v * BG_K)
        return flat

    @staticmethod
    def _kw(kw):
        if "width" in kw:
            kw = dict(kw, width=max(1, int(round(kw["width"] * BG_K))))
        return kw

    def ellipse(self, xy, **kw):
        self.d.ellipse(self._xy(xy), **self._kw(kw))

    def line(self, xy, **kw):
        self.d.line(self._xy(xy), **self._kw(kw))

    def polygon(self, xy, **kw):
        self.d.polygon(self._xy(xy), **self._kw(kw))

    def rectangle(self, xy, **kw):
        self.d.rectangle(self._xy(xy), **self._kw(kw))


def bg_canvas(top, bottom=None):
    """A background's picture at drawing size: a vertical gradient, or one colour."""
    if bottom is None:
        return Image.new("RGB", (BG_DRAW, BG_DRAW), top)
    return vertical_gradient(BG_DRAW, BG_DRAW, top, bottom)


def bg_finish(img):
    return img.resize((BG_SIZE, BG_SIZE), Image.LANCZOS)

def bg_confetti(rng):
    w, h = BG_UNITS, BG_UNITS
    img = bg_canvas((255, 248, 230), (255, 226, 236))
    d = ScaledDraw(img)
    colours = [(244, 143, 177), (129, 212, 250), (255, 213, 79), (165, 214, 167), (206, 147, 216)]
    for _ in range(150):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        c = rng.choice(colours)
        if rng.random() < 0.5:
            r = rng.uniform(3, 7)
            d.ellipse([x - r, y - r, x + r, y + r], fill=c)
        else:
            a = rng.uniform(0, math.pi)
            dx, dy = 9 * math.cos(a), 9 * math.sin(a)
            d.line([(x - dx, y - dy), (x + dx, y + dy)], fill=c, width=4)
    return bg_finish(quiet_middle(img, 60, 40, 150, 25, (255, 252, 245)))


def quiet_middle(img, margin, radius, strength, blur, colour):
    """A softly veiled middle where the texts go."""
    w, h = img.size
    k = w / BG_UNITS
    veil = Image.new("L", (w, h), 0)
    ImageDraw.Draw(veil).rounded_rectangle([margin * k, margin * k, w - margin * k, h - margin * k], radius * k,
                                           fill=strength)
    veil = veil.filter(ImageFilter.GaussianBlur(blur * k))
    return Image.composite(Image.new("RGB", (w, h), colour), img, veil)


def bg_hearts(rng):
    w, h = BG_UNITS, BG_UNITS
    img = bg_canvas((255, 235, 238), (248, 187, 208))
    d = ScaledDraw(img)
    for _ in range(40):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        if 90 < x < w - 90 and 90 < y < h - 90:
            continue
        d.polygon(heart_points(x, y, rng.uniform(18, 46)), fill=lerp((236, 64, 122), (255, 255, 255), rng.random() * 0.5))
    return bg_finish(img)


def bg_stars(rng):
    w, h = BG_UNITS, BG_UNITS
    img = bg_canvas((26, 35, 126), (74, 20, 140))
    d = ScaledDraw(img)
    for _ in range(220):
        x, y, r = rng.uniform(0, w), rng.uniform(0, h), rng.uniform(0.6, 2.0)
        d.ellipse([x - r, y - r, x + r, y + r], fill=(255, 255, 255))
    for _ in range(14):
        x, y = rng.uniform(20, w - 20), rng.uniform(20, h - 20)
        s = rng.uniform(8, 18)
        d.polygon(star_points(x, y, s, s * 0.45), fill=(255, 236, 179))
    return bg_finish(quiet_middle(img, 70, 30, 110, 30, (240, 240, 255)))


def bg_flowers(rng):
    w, h = BG_UNITS, BG_UNITS
    img = bg_canvas((241, 248, 233), (220, 237, 200))
    d = ScaledDraw(img)
    corners = [(0, 0), (w, 0), (0, h), (w, h)]
    for cx, cy in corners:
        for _ in range(7):
            x = cx + rng.uniform(-20, 120) * (1 if cx == 0 else -1)
            y = cy + rng.uniform(-20, 120) * (1 if cy == 0 else -1)
            petal = rng.choice([(244, 143, 177), (255, 183, 77), (186, 104, 200), (255, 241, 118)])
            r = rng.uniform(14, 26)
            for k in range(6):
                a = k * math.pi / 3
                px, py = x + r * math.cos(a), y + r * math.sin(a)
                d.ellipse([px - r * 0.7, py - r * 0.7, px + r * 0.7, py + r * 0.7], fill=petal)
            d.ellipse([x - r * 0.5, y - r * 0.5, x + r * 0.5, y + r * 0.5], fill=(255, 213, 79))
    return bg_finish(img)


def bg_waves(rng):
    w, h = BG_UNITS, BG_UNITS
    img = bg_canvas((224, 247, 250), (178, 235, 242))
    d = ScaledDraw(img)
    for band in range(6):
        base = h - 40 - band * 26
        colour = lerp((0, 151, 167), (178, 235, 242), band / 6)
        pts = [(x, base + 12 * math.sin(x / 45 + band)) for x in range(0, w + 10, 10)]
        d.polygon(pts + [(w, h), (0, h)], fill=colour)
    return bg_finish(img)


def bg_gold_frame(rng):
    w, h = BG_UNITS, BG_UNITS
    img = bg_canvas((255, 253, 246))
    d = ScaledDraw(img)
    for inset, width, colour in ((18, 6, (191, 144, 0)), (34, 2, (212, 175, 55)), (44, 1, (191, 144, 0))):
        d.rectangle([inset, inset, w - inset, h - inset], outline=colour, width=width)
    for cx, cy in ((60, 60), (w - 60, 60), (60, h - 60), (w - 60, h - 60)):
        d.polygon(star_points(cx, cy, 16, 6, 4, 0), fill=(212, 175, 55))
    return bg_finish(img)


BACKGROUNDS = [
    ("Confetti.jpg", bg_confetti),
    ("Hearts.jpg", bg_hearts),
    ("Night_Stars.jpg", bg_stars),
    ("Spring_Flowers.jpg", bg_flowers),
    ("Sea_Waves.jpg", bg_waves),
    ("Gold_Frame.jpg", bg_gold_frame),
]


# --- library pictures: clip art on transparency, lower-case category folders --------------------

S = 4  # drawing scale before shrinking
N = 160
ART_OUT = 4  # library pictures are N * ART_OUT = 640 pixels: at least 600
A = 2 * ART_OUT  # their drawing scale, shrunk by half for smooth edges


def art_finish(img):
    return img.resize((N * ART_OUT, N * ART_OUT), Image.LANCZOS)


def canvas():
    return Image.new("RGBA", (N * A, N * A), (0, 0, 0, 0))


def art_balloons():
    img = canvas()
    d = ImageDraw.Draw(img)
    for (x, y, c) in ((55, 60, (229, 57, 53)), (100, 50, (30, 136, 229)), (80, 80, (253, 216, 53))):
        d.line([(x * A, (y + 30) * A), (80 * A, 150 * A)], fill=(120, 120, 120), width=2 * A)
        d.ellipse([(x - 24) * A, (y - 30) * A, (x + 24) * A, (y + 30) * A], fill=c)
        d.ellipse([(x - 12) * A, (y - 20) * A, (x - 4) * A, (y - 8) * A], fill=(255, 255, 255, 150))
    return art_finish(img)


def art_cake():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([30 * A, 80 * A, 130 * A, 140 * A], 8 * A, fill=(244, 143, 177))
    d.rectangle([30 * A, 100 * A, 130 * A, 108 * A], fill=(255, 255, 255))
    d.rounded_rectangle([45 * A, 55 * A, 115 * A, 82 * A], 6 * A, fill=(255, 204, 128))
    for x in (60, 80, 100):
        d.rectangle([(x - 3) * A, 32 * A, (x + 3) * A, 55 * A], fill=(129, 212, 250))
        d.ellipse([(x - 5) * A, 18 * A, (x + 5) * A, 33 * A], fill=(255, 193, 7))
    d.rectangle([20 * A, 140 * A, 140 * A, 146 * A], fill=(189, 189, 189))
    return art_finish(img)


def art_gift():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.rectangle([30 * A, 65 * A, 130 * A, 145 * A], fill=(67, 160, 71))
    d.rectangle([24 * A, 50 * A, 136 * A, 70 * A], fill=(56, 142, 60))
    d.rectangle([72 * A, 50 * A, 88 * A, 145 * A], fill=(229, 57, 53))
    d.ellipse([45 * A, 25 * A, 80 * A, 52 * A], outline=(229, 57, 53), width=6 * A)
    d.ellipse([80 * A, 25 * A, 115 * A, 52 * A], outline=(229, 57, 53), width=6 * A)
    return art_finish(img)


def art_party_hat():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.polygon([(80 * A, 15 * A), (35 * A, 140 * A), (125 * A, 140 * A)], fill=(126, 87, 194))
    for k, c in enumerate(((255, 235, 59), (77, 208, 225), (255, 138, 101))):
        y = 60 + k * 28
        d.line([(60 * A - k * 6 * A, y * A), (100 * A + k * 6 * A, y * A)], fill=c, width=7 * A)
    d.ellipse([70 * A, 5 * A, 90 * A, 25 * A], fill=(255, 235, 59))
    return art_finish(img)


def art_flower(petal, centre, n=8):
    def draw():
        img = canvas()
        d = ImageDraw.Draw(img)
        d.line([(80 * A, 90 * A), (80 * A, 155 * A)], fill=(56, 142, 60), width=6 * A)
        d.ellipse([82 * A, 115 * A, 120 * A, 132 * A], fill=(102, 187, 106))
        for k in range(n):
            a = 2 * math.pi * k / n
            px, py = 80 + 30 * math.cos(a), 70 + 30 * math.sin(a)
            d.ellipse([(px - 20) * A, (py - 20) * A, (px + 20) * A, (py + 20) * A], fill=petal)
        d.ellipse([62 * A, 52 * A, 98 * A, 88 * A], fill=centre)
        return art_finish(img)
    return draw


def art_tulip():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.line([(80 * A, 80 * A), (80 * A, 155 * A)], fill=(56, 142, 60), width=6 * A)
    d.polygon([(80 * A, 150 * A), (40 * A, 95 * A), (78 * A, 120 * A)], fill=(102, 187, 106))
    d.ellipse([48 * A, 30 * A, 112 * A, 95 * A], fill=(236, 64, 122))
    d.polygon([(48 * A, 60 * A), (60 * A, 20 * A), (80 * A, 50 * A), (100 * A, 20 * A), (112 * A, 60 * A)],
              fill=(236, 64, 122))
    return art_finish(img)


def art_heart(colour, outline=None):
    def draw():
        img = canvas()
        d = ImageDraw.Draw(img)
        d.polygon([(x * A, y * A) for x, y in heart_points(80, 85, 120)], fill=colour)
        if outline:
            d.line([(x * A, y * A) for x, y in heart_points(80, 85, 100)] + [(heart_points(80, 85, 100)[0][0] * A,
                   heart_points(80, 85, 100)[0][1] * A)], fill=outline, width=4 * A)
        return art_finish(img)
    return draw


def art_two_hearts():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.polygon([(x * A, y * A) for x, y in heart_points(62, 75, 85)], fill=(244, 67, 54))
    d.polygon([(x * A, y * A) for x, y in heart_points(100, 95, 85)], fill=(255, 138, 128))
    return art_finish(img)


def art_star(colour):
    def draw():
        img = canvas()
        d = ImageDraw.Draw(img)
        d.polygon([(x * A, y * A) for x, y in star_points(80, 85, 72, 30)], fill=colour)
        return art_finish(img)
    return draw


def art_tree():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.rectangle([70 * A, 130 * A, 90 * A, 155 * A], fill=(121, 85, 72))
    for k, (top, half) in enumerate(((20, 30), (50, 45), (80, 60))):
        d.polygon([(80 * A, top * A), ((80 - half) * A, (top + 55) * A), ((80 + half) * A, (top + 55) * A)],
                  fill=(46, 125, 50))
    for x, y, c in ((65, 75, (229, 57, 53)), (95, 95, (255, 235, 59)), (70, 115, (30, 136, 229)),
                    (100, 125, (229, 57, 53))):
        d.ellipse([(x - 6) * A, (y - 6) * A, (x + 6) * A, (y + 6) * A], fill=c)
    d.polygon([(x * A, y * A) for x, y in star_points(80, 20, 14, 6)], fill=(255, 213, 79))
    return art_finish(img)


def art_snowflake():
    img = canvas()
    d = ImageDraw.Draw(img)
    for k in range(6):
        a = k * math.pi / 3
        ex, ey = 80 + 65 * math.cos(a), 80 + 65 * math.sin(a)
        d.line([(80 * A, 80 * A), (ex * A, ey * A)], fill=(79, 195, 247), width=6 * A)
        for t in (0.45, 0.7):
            bx, by = 80 + 65 * t * math.cos(a), 80 + 65 * t * math.sin(a)
            for side in (-1, 1):
                b = a + side * math.pi / 4
                d.line([(bx * A, by * A), ((bx + 18 * math.cos(b)) * A, (by + 18 * math.sin(b)) * A)],
                       fill=(79, 195, 247), width=5 * A)
    return art_finish(img)


def art_bell():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.pieslice([30 * A, 25 * A, 130 * A, 150 * A], 180, 360, fill=(255, 193, 7))
    d.rectangle([30 * A, 86 * A, 130 * A, 120 * A], fill=(255, 193, 7))
    d.polygon([(30 * A, 120 * A), (18 * A, 132 * A), (142 * A, 132 * A), (130 * A, 120 * A)], fill=(255, 160, 0))
    d.ellipse([70 * A, 128 * A, 90 * A, 148 * A], fill=(255, 160, 0))
    d.ellipse([72 * A, 12 * A, 88 * A, 28 * A], outline=(255, 160, 0), width=4 * A)
    return art_finish(img)


LIBRARY = {
    "birthday": [("balloons.png", art_balloons), ("cake.png", art_cake), ("gift.png", art_gift),
                 ("party_hat.png", art_party_hat)],
    "flowers": [("daisy.png", art_flower((255, 255, 255), (255, 193, 7))),
                ("rose.png", art_flower((229, 57, 53), (183, 28, 28), 10)),
                ("sunflower.png", art_flower((255, 213, 79), (121, 85, 72), 12)), ("tulip.png", art_tulip)],
    "love": [("heart.png", art_heart((229, 57, 53))), ("pink_heart.png", art_heart((244, 143, 177), (255, 255, 255))),
             ("two_hearts.png", art_two_hearts)],
    "holiday season": [("tree.png", art_tree), ("snowflake.png", art_snowflake), ("bell.png", art_bell),
                       ("gold_star.png", art_star((255, 193, 7)))],
}


# --- the print window's alignment buttons -------------------------------------------------------

PLAIN = ["top_left", "top_center", "top_right", "middle_left", "middle_center", "middle_right",
         "bootom_left", "bootom_center", "boottom_right"]
SELECTED = ["top_left - sel", "top_center - sel", "top_right - sel", "middle_left - sel", "middle_center_sel",
            "middle_right - sel", "bootom_left - sel", "bootom_center - sel", "boottom_right - sel"]


def alignment_button(index, selected):
    size = 32 * S
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    face = (52, 120, 246) if selected else (250, 250, 250)
    edge = (30, 80, 190) if selected else (150, 150, 150)
    mark = (255, 255, 255) if selected else (90, 90, 90)
    d.rounded_rectangle([S, S, size - S, size - S], 5 * S, fill=face, outline=edge, width=S)
    d.rectangle([6 * S, 6 * S, size - 6 * S, size - 6 * S], outline=mark, width=S)
    col, row = index % 3, index // 3
    x0, y0 = 8 * S + col * 6 * S, 8 * S + row * 6 * S
    d.rectangle([x0, y0, x0 + 4 * S, y0 + 4 * S], fill=mark)
    return smooth(img, S)


# --- patterns, banner and the promotion pictures ------------------------------------------------

def pattern_tile(a, b, dots):
    img = Image.new("RGB", (64, 64), a)
    d = ImageDraw.Draw(img)
    for x, y in ((16, 16), (48, 48)):
        d.ellipse([x - 5, y - 5, x + 5, y + 5], fill=dots)
    for x, y in ((48, 16), (16, 48)):
        d.ellipse([x - 2, y - 2, x + 2, y + 2], fill=b)
    return img


def banner():
    w, h = 600, 80
    img = vertical_gradient(w, h, (92, 107, 192), (57, 73, 171)).convert("RGBA")
    d = ImageDraw.Draw(img)
    rng = random.Random(7)
    for _ in range(30):
        x, y, s = rng.uniform(0, w), rng.uniform(0, h), rng.uniform(3, 8)
        d.polygon(star_points(x, y, s, s * 0.45), fill=(255, 255, 255, 90))
    for k, c in enumerate(((244, 143, 177), (255, 213, 79), (129, 212, 250))):
        d.polygon([(x, y) for x, y in heart_points(40 + k * 34, 40, 34)], fill=c)
    return img


def promotion(kind):
    size = 220 * S
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    box = [20 * S, 20 * S, 200 * S, 200 * S]
    if kind == "S":  # a sheet of labels
        d.rounded_rectangle(box, 14 * S, fill=(255, 255, 255), outline=(120, 144, 156), width=3 * S)
        for r in range(4):
            for c in range(2):
                x, y = 34 + c * 84, 34 + r * 40
                d.rounded_rectangle([x * S, y * S, (x + 70) * S, (y + 30) * S], 6 * S, fill=(255, 236, 179),
                                    outline=(255, 160, 0), width=2 * S)
                d.line([((x + 8) * S, (y + 12) * S), ((x + 50) * S, (y + 12) * S)], fill=(120, 120, 120), width=3 * S)
    elif kind == "R":  # a name badge with a photo
        d.rounded_rectangle(box, 18 * S, fill=(227, 242, 253), outline=(30, 136, 229), width=4 * S)
        d.rectangle([20 * S, 20 * S, 200 * S, 60 * S], fill=(30, 136, 229))
        d.ellipse([80 * S, 4 * S, 140 * S, 30 * S], outline=(90, 90, 90), width=4 * S)
        d.ellipse([75 * S, 72 * S, 145 * S, 142 * S], fill=(255, 204, 128))
        d.line([(60 * S, 160 * S), (160 * S, 160 * S)], fill=(60, 60, 60), width=6 * S)
        d.line([(75 * S, 180 * S), (145 * S, 180 * S)], fill=(140, 140, 140), width=4 * S)
    else:  # barcodes
        d.rounded_rectangle(box, 14 * S, fill=(255, 255, 255), outline=(84, 110, 122), width=3 * S)
        rng = random.Random(3)
        x = 40
        while x < 180:
            wbar = rng.choice((2, 2, 4, 6))
            d.rectangle([x * S, 50 * S, (x + wbar) * S, 150 * S], fill=(33, 33, 33))
            x += wbar + rng.choice((2, 4))
        d.line([(40 * S, 170 * S), (180 * S, 170 * S)], fill=(120, 120, 120), width=4 * S)
    return smooth(img, S)


def main():
    rng = random.Random(2024)
    for name, draw in BACKGROUNDS:
        save_jpg(draw(rng), "Background", name, quality=88, subsampling=0)
    for category, pictures in LIBRARY.items():
        for name, draw in pictures:
            save_png(draw(), "LibraryImage", category, name)
    for k in range(9):
        save_png(alignment_button(k, False), PLAIN[k] + ".png")
        save_png(alignment_button(k, True), SELECTED[k] + ".png")
    save_jpg(pattern_tile((232, 234, 246), (197, 202, 233), (159, 168, 218)), "pattern_1.jpg")
    save_jpg(pattern_tile((252, 228, 236), (248, 187, 208), (244, 143, 177)), "Wizard_pattern.jpg")
    save_png(banner(), "banner.png")
    for kind in "SRB":
        save_png(promotion(kind), "promotion_%s.png" % kind)


if __name__ == "__main__":
    main()
