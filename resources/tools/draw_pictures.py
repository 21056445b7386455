#!/usr/bin/python3
"""Draws the program's own sample and pattern pictures into resources/shipped.

Run with Debian's /usr/bin/python3 (standard library only):
    /usr/bin/python3 resources/tools/draw_pictures.py
Writes no.png, sign_sample.png, fingerprints.png, barcode_sample.png and the hatch patterns of
Fill_Style_Image. The output is deterministic, so re-running it changes no committed file.
"""
import math
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "shipped")


class Canvas:
    """RGBA pixels with straight alpha, drawn by coverage (one sample, distance-based anti-aliasing)."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(fill) for _ in range(w * h)]

    def blend(self, x, y, colour, coverage):
        if coverage <= 0 or x < 0 or y < 0 or x >= self.w or y >= self.h:
            return
        a = colour[3] / 255.0 * min(coverage, 1.0)
        d = self.px[y * self.w + x]
        da = d[3] / 255.0
        oa = a + da * (1 - a)
        if oa <= 0:
            return
        for i in range(3):
            d[i] = int(round((colour[i] * a + d[i] * da * (1 - a)) / oa))
        d[3] = int(round(oa * 255))

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.blend(x, y, colour, 1.0)

    def polyline(self, points, width, colour, closed=False):
        """Strokes the polyline with round joins; each pixel takes its best coverage once."""
        half = width / 2.0
        best = {}
        segs = list(zip(points, points[1:] + (points[:1] if closed else [])))
        for (ax, ay), (bx, by) in segs:
            x0 = int(math.floor(min(ax, bx) - half - 1))
            x1 = int(math.ceil(max(ax, bx) + half + 1))
            y0 = int(math.floor(min(ay, by) - half - 1))
            y1 = int(math.ceil(max(ay, by) + half + 1))
            dx, dy = bx - ax, by - ay
            ll = dx * dx + dy * dy
            for y in range(max(0, y0), min(self.h, y1 + 1)):
                for x in range(max(0, x0), min(self.w, x1 + 1)):
                    px, py = x + 0.5, y + 0.5
                    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / ll))
                    dist = math.hypot(px - (ax + t * dx), py - (ay + t * dy))
                    cov = half + 0.5 - dist
                    if cov > best.get((x, y), 0):
                        best[(x, y)] = cov
        for (x, y), cov in best.items():
            self.blend(x, y, colour, cov)

    def png(self):
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)
            for x in range(self.w):
                raw.extend(bytes(self.px[y * self.w + x]))

        def chunk(kind, data):
            c = kind + data
            return struct.pack(">I", len(data)) + c + struct.pack(">I", zlib.crc32(c) & 0xFFFFFFFF)

        ihdr = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
                + chunk(b"IEND", b""))


def save(canvas, *parts):
    path = os.path.join(ROOT, *parts)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(canvas.png())


def no_image():
    # Placeholder for a missing picture: a framed landscape icon crossed out.
    c = Canvas(120, 90, (236, 236, 236, 255))
    grey = (150, 150, 150, 255)
    c.polyline([(1, 1), (118, 1), (118, 88), (1, 88)], 2, grey, closed=True)
    c.polyline([(20, 70), (45, 40), (62, 58), (78, 44), (100, 70)], 3, grey)
    sun = [(80 + 8 * math.cos(a / 12 * 2 * math.pi), 24 + 8 * math.sin(a / 12 * 2 * math.pi)) for a in range(12)]
    c.polyline(sun, 2.5, grey, closed=True)
    red = (200, 60, 60, 255)
    c.polyline([(12, 10), (108, 80)], 4, red)
    c.polyline([(108, 10), (12, 80)], 4, red)
    save(c, "no.png")


def signature():
    # A made-up flowing hand: loops along a baseline, then an underline stroke.
    c = Canvas(220, 80)
    ink = (20, 30, 110, 255)
    pts = []
    for i in range(0, 601):
        t = i / 600.0
        x = 14 + 170 * t + 9 * math.sin(t * 2 * math.pi * 7)
        y = 42 - 16 * math.cos(t * 2 * math.pi * 7) * (0.6 + 0.4 * math.sin(t * math.pi)) - 8 * t
        pts.append((x, y))
    c.polyline(pts, 2.2, ink)
    tail = [(30 + 170 * t, 62 - 6 * math.sin(t * math.pi) + 4 * t) for t in [i / 80.0 for i in range(81)]]
    c.polyline(tail, 1.8, ink)
    save(c, "sign_sample.png")


def fingerprint():
    # Ridges: nested ellipses around a core, bent by a slow wave, cut off by an oval print outline.
    c = Canvas(90, 110)
    ink = (60, 60, 60, 255)
    cx, cy = 45, 52
    for k in range(1, 15):
        rx, ry = 2.6 * k, 3.3 * k
        pts = []
        for i in range(181):
            a = i / 180.0 * 2 * math.pi
            wobble = 1 + 0.05 * math.sin(5 * a + k)
            x = cx + rx * wobble * math.cos(a)
            y = cy + ry * wobble * math.sin(a) - 0.8 * k * max(0.0, -math.sin(a))
            if ((x - 45) / 42) ** 2 + ((y - 55) / 52) ** 2 <= 1:
                pts.append((x, y))
            elif len(pts) > 1:
                c.polyline(pts, 1.4, ink)
                pts = []
            else:
                pts = []
        if len(pts) > 1:
            c.polyline(pts, 1.4, ink)
    save(c, "fingerprints.png")


EAN_L = ["0001101", "0011001", "0010011", "0111101", "0100011", "0110001", "0101111", "0111011", "0110111",
         "0001011"]
EAN_G = ["0100111", "0110011", "0011011", "0100001", "0011101", "0111001", "0000101", "0010001", "0001001",
         "0010111"]
EAN_R = ["1110010", "1100110", "1101100", "1000010", "1011100", "1001110", "1010000", "1000100", "1001000",
         "1110100"]
EAN_PARITY = ["LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG", "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL",
              "LGGLGL"]


def ean13_modules(digits):
    first = int(digits[0])
    bits = "101"
    for i, d in enumerate(digits[1:7]):
        bits += (EAN_L if EAN_PARITY[first][i] == "L" else EAN_G)[int(d)]
    bits += "01010"
    for d in digits[7:]:
        bits += EAN_R[int(d)]
    return bits + "101"


def barcode():
    # A readable EAN-13 sample (5901234123457), one pixel per module, quiet zones of eleven modules.
    digits = "590123412345"
    total = sum(int(d) * (3 if i % 2 else 1) for i, d in enumerate(digits))
    digits += str((10 - total % 10) % 10)
    bits = ean13_modules(digits)
    m, quiet, h = 1, 11, 44
    c = Canvas((len(bits) + 2 * quiet) * m, h, (255, 255, 255, 255))
    for i, b in enumerate(bits):
        if b == "1":
            c.rect((quiet + i) * m, 4, (quiet + i + 1) * m, h - 4, (0, 0, 0, 255))
    save(c, "barcode_sample.png")


def hatches():
    # Pattern tiles, black lines on transparent ground so the hatch background colour shows through.
    ink = (0, 0, 0, 255)
    n = 12

    def tile(name, lines, width=1.2, dots=None):
        c = Canvas(n, n)
        for line in lines:
            c.polyline(line, width, ink)
        for (x, y) in dots or []:
            c.polyline([(x, y), (x + 0.01, y)], 2.6, ink)
        save(c, "Fill_Style_Image", name + ".png")

    mid = n / 2.0
    tile("Horizontal", [[(-1, mid), (n + 1, mid)]])
    tile("Vertical", [[(mid, -1), (mid, n + 1)]])
    # Diagonals run corner to corner and wrap into the neighbouring tiles seamlessly.
    fwd = [[(-1, n + 1), (n + 1, -1)], [(-1, 1), (1, -1)], [(n - 1, n + 1), (n + 1, n - 1)]]
    bwd = [[(-1, -1), (n + 1, n + 1)], [(-1, n - 1), (1, n + 1)], [(n - 1, -1), (n + 1, 1)]]
    tile("Forward_Diagonal", fwd)
    tile("Backward_Diagonal", bwd)
    tile("Cross", [[(-1, mid), (n + 1, mid)], [(mid, -1), (mid, n + 1)]])
    tile("Diagonal_Cross", fwd + bwd)
    tile("Dots", [], dots=[(3, 3), (9, 9)])
    tile("Bricks", [[(-1, 0.5), (n + 1, 0.5)], [(-1, mid + 0.5), (n + 1, mid + 0.5)], [(3.5, 0.5), (3.5, mid + 0.5)],
                    [(9.5, mid + 0.5), (9.5, n + 1)]])


if __name__ == "__main__":
    no_image()
    signature()
    fingerprint()
    barcode()
    hatches()
