#!/usr/bin/python3
"""Barcode pictures through `cardtool export` beside zint --batch: a card the size of one symbol,
its barcode bound to a series of values, written as 300-dpi PNG files on one thread.

The designs start from `cardtool design-new --qr-series` and are changed with plistlib: the card's
size, no border, a white page, and for Code 128 the barcode's kind.
"""
import os
import plistlib
import struct
import subprocess

FRONT_BORDER, FRONT_FILL, FRONT_SIDES, FRONT_SIZE = 1, 5, 14, 19
BACK_OFFSET = 28  # the back page's fields follow the front's
OBJECTS = 62


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24])


def symbol_box(path):
    """Size of a card that holds what is drawn at its top left corner, with the same margin on the
    right and at the bottom as on the left and at the top (a symbol's quiet zone)."""
    from PIL import Image, ImageOps
    x0, y0, x1, y1 = ImageOps.invert(Image.open(path).convert("L")).getbbox()
    return x1 + x0, y1 + y0


def make_design(cardtool, path, series, kind, size=None):
    subprocess.run([cardtool, "design-new", path, "--qr-series", series], check=True,
                   capture_output=True)
    with open(path, "rb") as f:
        items = plistlib.load(f)
    for offset in (0, BACK_OFFSET):
        items[FRONT_BORDER + offset] = "N"
        items[FRONT_FILL + offset] = "Y" if size else "N"  # the fill colour is white
        items[FRONT_SIDES + offset] = "1"
        items[FRONT_SIZE + offset] = "{%d, %d}" % (size or (400, 300))
    archive = plistlib.loads(items[OBJECTS])
    for obj in archive["$objects"]:
        if isinstance(obj, dict) and "barcode_font_index" in obj:
            obj["_bounds"] = "{{0, 0}, {60, 60}}"
            if kind == "code128":
                obj["linear_or_2d"] = 0
                obj["barcode_font_index"] = 9
                obj["linear_width_val"] = 10.0
    items[OBJECTS] = plistlib.dumps(archive, fmt=plistlib.FMT_BINARY)
    with open(path, "wb") as f:
        plistlib.dump(items, f)


def prepare(cardtool, work, kind, values_file):
    """The design for `kind` (code128 or qr) and its series folder; the card is cut to the symbol,
    measured on a first card drawn on a larger page."""
    series = "codes" if kind == "code128" else "qr"
    data = os.path.join(work, "series-" + kind)
    os.makedirs(data, exist_ok=True)
    with open(values_file) as f:
        values = [line for line in f.read().split("\n") if line]
    with open(os.path.join(data, series + ".txt"), "w") as f:
        f.write("\n".join(values))
    design = os.path.join(work, kind + ".dcard")
    # First on a large clear card at 72 dpi (one pixel a point), to find the symbol's size.
    probe_data = os.path.join(work, "probe-" + kind)
    os.makedirs(probe_data, exist_ok=True)
    with open(os.path.join(probe_data, series + ".txt"), "w") as f:
        f.write(values[0])
    make_design(cardtool, design, series, kind)
    probe = os.path.join(work, "probe-out-" + kind)
    subprocess.run([cardtool, "export", design, "--to", probe, "--dpi", "72", "--data", probe_data],
                   check=True, capture_output=True)
    size = symbol_box(os.path.join(probe, "ZOLV Tessaly Greeting Card", "Card_1.png"))
    make_design(cardtool, design, series, kind, size)
    return design, data


def export_command(cardtool, design, data, out):
    """One thread, 300 dpi, into a new folder `out`."""
    return [cardtool, "export", design, "--to", out, "--dpi", "300", "--threads", "1", "--data", data]
