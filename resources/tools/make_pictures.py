#!/usr/bin/python3
"""Draws the shipped pictures of the browsers, the print window, the wizard and the promotion window.

Run with Debian's /usr/bin/python3 (python3-pil):
    /usr/bin/python3 resources/tools/make_pictures.py
Writes into resources/shipped: Background/*.jpg, LibraryImage/<category>/*.png (lower-case
category folders), the 18 alignment-button pictures of the print window, pattern_1.jpg,
Wizard_pattern.jpg, banner.png and promotion_S.png, promotion_R.png, promotion_B.png.
Everything is drawn from fixed numbers, so a second run writes the same files.
"""
import math
import os
import random

from PIL import Image, ImageDraw, ImageFilter

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "shipped")


def out(*parts):
    path = os.path.join(ROOT, *parts)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


def save_jpg(img, *parts):
    img.convert("RGB").save(out(*parts), "JPEG", quality=86, optimize=True)


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

def bg_confetti(rng):
    w, h = 600, 600
    img = vertical_gradient(w, h, (255, 248, 230), (255, 226, 236))
    d = ImageDraw.Draw(img)
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
    return quiet_middle(img, 60, 40, 150, 25, (255, 252, 245))


def quiet_middle(img, margin, radius, strength, blur, colour):
    """A softly veiled middle where the texts go."""
    w, h = img.size
    veil = Image.new("L", (w, h), 0)
    ImageDraw.Draw(veil).rounded_rectangle([margin, margin, w - margin, h - margin], radius, fill=strength)
    veil = veil.filter(ImageFilter.GaussianBlur(blur))
    return Image.composite(Image.new("RGB", (w, h), colour), img, veil)


def bg_hearts(rng):
    w, h = 600, 600
    img = vertical_gradient(w, h, (255, 235, 238), (248, 187, 208))
    d = ImageDraw.Draw(img)
    for _ in range(40):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        if 90 < x < w - 90 and 90 < y < h - 90:
            continue
        d.polygon(heart_points(x, y, rng.uniform(18, 46)), fill=lerp((236, 64, 122), (255, 255, 255), rng.random() * 0.5))
    return img


def bg_stars(rng):
    w, h = 600, 600
    img = vertical_gradient(w, h, (26, 35, 126), (74, 20, 140))
    d = ImageDraw.Draw(img)
    for _ in range(220):
        x, y, r = rng.uniform(0, w), rng.uniform(0, h), rng.uniform(0.6, 2.0)
        d.ellipse([x - r, y - r, x + r, y + r], fill=(255, 255, 255))
    for _ in range(14):
        x, y = rng.uniform(20, w - 20), rng.uniform(20, h - 20)
        s = rng.uniform(8, 18)
        d.polygon(star_points(x, y, s, s * 0.45), fill=(255, 236, 179))
    return quiet_middle(img, 70, 30, 110, 30, (240, 240, 255))


def bg_flowers(rng):
    w, h = 600, 600
    img = vertical_gradient(w, h, (241, 248, 233), (220, 237, 200))
    d = ImageDraw.Draw(img)
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
    return img


def bg_waves(rng):
    w, h = 600, 600
    img = vertical_gradient(w, h, (224, 247, 250), (178, 235, 242))
    d = ImageDraw.Draw(img)
    for band in range(6):
        base = h - 40 - band * 26
        colour = lerp((0, 151, 167), (178, 235, 242), band / 6)
        pts = [(x, base + 12 * math.sin(x / 45 + band)) for x in range(0, w + 10, 10)]
        d.polygon(pts + [(w, h), (0, h)], fill=colour)
    return img


def bg_gold_frame(rng):
    w, h = 600, 600
    img = Image.new("RGB", (w, h), (255, 253, 246))
    d = ImageDraw.Draw(img)
    for inset, width, colour in ((18, 6, (191, 144, 0)), (34, 2, (212, 175, 55)), (44, 1, (191, 144, 0))):
        d.rectangle([inset, inset, w - inset, h - inset], outline=colour, width=width)
    for cx, cy in ((60, 60), (w - 60, 60), (60, h - 60), (w - 60, h - 60)):
        d.polygon(star_points(cx, cy, 16, 6, 4, 0), fill=(212, 175, 55))
    return img


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


def canvas():
    return Image.new("RGBA", (N * S, N * S), (0, 0, 0, 0))


def art_balloons():
    img = canvas()
    d = ImageDraw.Draw(img)
    for (x, y, c) in ((55, 60, (229, 57, 53)), (100, 50, (30, 136, 229)), (80, 80, (253, 216, 53))):
        d.line([(x * S, (y + 30) * S), (80 * S, 150 * S)], fill=(120, 120, 120), width=2 * S)
        d.ellipse([(x - 24) * S, (y - 30) * S, (x + 24) * S, (y + 30) * S], fill=c)
        d.ellipse([(x - 12) * S, (y - 20) * S, (x - 4) * S, (y - 8) * S], fill=(255, 255, 255, 150))
    return smooth(img, S)


def art_cake():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([30 * S, 80 * S, 130 * S, 140 * S], 8 * S, fill=(244, 143, 177))
    d.rectangle([30 * S, 100 * S, 130 * S, 108 * S], fill=(255, 255, 255))
    d.rounded_rectangle([45 * S, 55 * S, 115 * S, 82 * S], 6 * S, fill=(255, 204, 128))
    for x in (60, 80, 100):
        d.rectangle([(x - 3) * S, 32 * S, (x + 3) * S, 55 * S], fill=(129, 212, 250))
        d.ellipse([(x - 5) * S, 18 * S, (x + 5) * S, 33 * S], fill=(255, 193, 7))
    d.rectangle([20 * S, 140 * S, 140 * S, 146 * S], fill=(189, 189, 189))
    return smooth(img, S)


def art_gift():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.rectangle([30 * S, 65 * S, 130 * S, 145 * S], fill=(67, 160, 71))
    d.rectangle([24 * S, 50 * S, 136 * S, 70 * S], fill=(56, 142, 60))
    d.rectangle([72 * S, 50 * S, 88 * S, 145 * S], fill=(229, 57, 53))
    d.ellipse([45 * S, 25 * S, 80 * S, 52 * S], outline=(229, 57, 53), width=6 * S)
    d.ellipse([80 * S, 25 * S, 115 * S, 52 * S], outline=(229, 57, 53), width=6 * S)
    return smooth(img, S)


def art_party_hat():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.polygon([(80 * S, 15 * S), (35 * S, 140 * S), (125 * S, 140 * S)], fill=(126, 87, 194))
    for k, c in enumerate(((255, 235, 59), (77, 208, 225), (255, 138, 101))):
        y = 60 + k * 28
        d.line([(60 * S - k * 6 * S, y * S), (100 * S + k * 6 * S, y * S)], fill=c, width=7 * S)
    d.ellipse([70 * S, 5 * S, 90 * S, 25 * S], fill=(255, 235, 59))
    return smooth(img, S)


def art_flower(petal, centre, n=8):
    def draw():
        img = canvas()
        d = ImageDraw.Draw(img)
        d.line([(80 * S, 90 * S), (80 * S, 155 * S)], fill=(56, 142, 60), width=6 * S)
        d.ellipse([82 * S, 115 * S, 120 * S, 132 * S], fill=(102, 187, 106))
        for k in range(n):
            a = 2 * math.pi * k / n
            px, py = 80 + 30 * math.cos(a), 70 + 30 * math.sin(a)
            d.ellipse([(px - 20) * S, (py - 20) * S, (px + 20) * S, (py + 20) * S], fill=petal)
        d.ellipse([62 * S, 52 * S, 98 * S, 88 * S], fill=centre)
        return smooth(img, S)
    return draw


def art_tulip():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.line([(80 * S, 80 * S), (80 * S, 155 * S)], fill=(56, 142, 60), width=6 * S)
    d.polygon([(80 * S, 150 * S), (40 * S, 95 * S), (78 * S, 120 * S)], fill=(102, 187, 106))
    d.ellipse([48 * S, 30 * S, 112 * S, 95 * S], fill=(236, 64, 122))
    d.polygon([(48 * S, 60 * S), (60 * S, 20 * S), (80 * S, 50 * S), (100 * S, 20 * S), (112 * S, 60 * S)],
              fill=(236, 64, 122))
    return smooth(img, S)


def art_heart(colour, outline=None):
    def draw():
        img = canvas()
        d = ImageDraw.Draw(img)
        d.polygon([(x * S, y * S) for x, y in heart_points(80, 85, 120)], fill=colour)
        if outline:
            d.line([(x * S, y * S) for x, y in heart_points(80, 85, 100)] + [(heart_points(80, 85, 100)[0][0] * S,
                   heart_points(80, 85, 100)[0][1] * S)], fill=outline, width=4 * S)
        return smooth(img, S)
    return draw


def art_two_hearts():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.polygon([(x * S, y * S) for x, y in heart_points(62, 75, 85)], fill=(244, 67, 54))
    d.polygon([(x * S, y * S) for x, y in heart_points(100, 95, 85)], fill=(255, 138, 128))
    return smooth(img, S)


def art_star(colour):
    def draw():
        img = canvas()
        d = ImageDraw.Draw(img)
        d.polygon([(x * S, y * S) for x, y in star_points(80, 85, 72, 30)], fill=colour)
        return smooth(img, S)
    return draw


def art_tree():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.rectangle([70 * S, 130 * S, 90 * S, 155 * S], fill=(121, 85, 72))
    for k, (top, half) in enumerate(((20, 30), (50, 45), (80, 60))):
        d.polygon([(80 * S, top * S), ((80 - half) * S, (top + 55) * S), ((80 + half) * S, (top + 55) * S)],
                  fill=(46, 125, 50))
    for x, y, c in ((65, 75, (229, 57, 53)), (95, 95, (255, 235, 59)), (70, 115, (30, 136, 229)),
                    (100, 125, (229, 57, 53))):
        d.ellipse([(x - 6) * S, (y - 6) * S, (x + 6) * S, (y + 6) * S], fill=c)
    d.polygon([(x * S, y * S) for x, y in star_points(80, 20, 14, 6)], fill=(255, 213, 79))
    return smooth(img, S)


def art_snowflake():
    img = canvas()
    d = ImageDraw.Draw(img)
    for k in range(6):
        a = k * math.pi / 3
        ex, ey = 80 + 65 * math.cos(a), 80 + 65 * math.sin(a)
        d.line([(80 * S, 80 * S), (ex * S, ey * S)], fill=(79, 195, 247), width=6 * S)
        for t in (0.45, 0.7):
            bx, by = 80 + 65 * t * math.cos(a), 80 + 65 * t * math.sin(a)
            for side in (-1, 1):
                b = a + side * math.pi / 4
                d.line([(bx * S, by * S), ((bx + 18 * math.cos(b)) * S, (by + 18 * math.sin(b)) * S)],
                       fill=(79, 195, 247), width=5 * S)
    return smooth(img, S)


def art_bell():
    img = canvas()
    d = ImageDraw.Draw(img)
    d.pieslice([30 * S, 25 * S, 130 * S, 150 * S], 180, 360, fill=(255, 193, 7))
    d.rectangle([30 * S, 86 * S, 130 * S, 120 * S], fill=(255, 193, 7))
    d.polygon([(30 * S, 120 * S), (18 * S, 132 * S), (142 * S, 132 * S), (130 * S, 120 * S)], fill=(255, 160, 0))
    d.ellipse([70 * S, 128 * S, 90 * S, 148 * S], fill=(255, 160, 0))
    d.ellipse([72 * S, 12 * S, 88 * S, 28 * S], outline=(255, 160, 0), width=4 * S)
    return smooth(img, S)


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
        save_jpg(draw(rng), "Background", name)
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
