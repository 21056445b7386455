#!/usr/bin/python3
"""A 16-bit PNG of 1600 x 1000 pixels whose opacity runs from clear on the left to opaque on the
right, placed well below its size on the card: the canvas shows it and File > Export (PNG at
300 dpi) writes it as PIL sees the file, flattened on the white card, neither gone nor bleached."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

from PIL import Image, ImageChops, ImageStat

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, cardtool_path, check, screenshot_dir  # noqa: E402

WIDTH, HEIGHT = 1600, 1000
BOX = (24, 24, 120, 75)  # points on the card
DPI = 300


def write_rgba16(path):
    """Green over a red-to-blue run downward, opacity 0 to 100 % left to right, 16 bits a sample."""
    rows = bytearray()
    for y in range(HEIGHT):
        red = 65535 * (HEIGHT - 1 - y) // (HEIGHT - 1)
        rows += b"\0" + b"".join(struct.pack(">HHHH", red, 40000, 65535 - red, 65535 * x // (WIDTH - 1))
                                  for x in range(WIDTH))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 16, 6, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))


def expected(path, size):
    """PIL's reading flattened on white and averaged down to the box's pixels."""
    with Image.open(path) as image:
        rgba = image.convert("RGBA")
    flat = Image.new("RGBA", rgba.size, (255, 255, 255, 255))
    flat.alpha_composite(rgba)
    return flat.convert("RGB").resize(size, Image.Resampling.BOX)


def picture_shown(shot):
    """The ramp's opaque orange corner shows on the canvas, nothing else on the screen has it."""
    with Image.open(shot) as image:
        colours = image.convert("RGB").getcolors(1 << 20) or []
    return sum(n for n, (r, g, b) in colours if r > 200 and 120 < g < 200 and b < 120) > 200


def main():
    work = tempfile.mkdtemp(prefix="tessaly-transparent-")
    try:
        picture = os.path.join(work, "ramp16.png")
        write_rgba16(picture)
        design = os.path.join(work, "ramp.dcard")
        r = subprocess.run([cardtool_path(), "design-hand", design, "--picture",
                            "%d,%d,%d,%d=%s" % (*BOX, picture)], capture_output=True, text=True, timeout=60)
        check(r.returncode == 0, "cardtool design-hand failed: %s" % r.stderr)
        with Session("transparent_picture", args=(design,)) as s:
            s.screenshot_when("ramp-on-canvas", picture_shown, "the partly clear picture on the canvas")
            # A card without data is one picture: the panel asks for its file.
            card = os.path.join(work, "card.png")
            done = s.export_card(card)
            s.focus(done)
            s.key("Escape")
            shutil.copy(card, os.path.join(screenshot_dir(), "exported-card.png"))
            scale = DPI / 72
            left, top = round(BOX[0] * scale), round(BOX[1] * scale)
            size = (round(BOX[2] * scale), round(BOX[3] * scale))
            with Image.open(card) as exported:
                drawn = exported.convert("RGB").crop((left, top, left + size[0], top + size[1]))
            want = expected(picture, size)
            inner = (8, 8, size[0] - 8, size[1] - 8)  # inside the object's border
            diff = ImageChops.difference(drawn.crop(inner), want.crop(inner))
            mean = sum(ImageStat.Stat(diff).mean) / 3
            worst = max(hi for lo, hi in diff.getextrema())
            check(mean < 2 and worst < 40, "the exported picture differs from the file: mean %.1f, worst %d"
                  % (mean, worst))
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("transparent_picture: ok (mean difference %.2f)" % mean)


if __name__ == "__main__":
    main()
