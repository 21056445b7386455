#!/usr/bin/python3
"""Pictures of every kind, and an independent reading of them with PIL.

  drawn_pictures.py write DIR   writes the pictures into DIR and prints their names
  drawn_pictures.py check DIR   compares each DIR/out/NAME@HOW.ppm with DIR/NAME read by PIL,
                                flattened on white and averaged down to the drawing's size;
                                prints one line for each drawing that differs

PNGs are written byte by byte, so every colour type, bit depth, transparency and interlacing
is there; JPEG, TIFF and BMP by PIL. Each kind comes below and above a million pixels, where large pictures start to be decoded at
the size they are drawn.
"""
import os
import struct
import sys
import zlib

from PIL import Image, ImageChops, ImageFilter, ImageOps, ImageStat

SIZES = [(800, 500), (1280, 800)]  # a million pixels between them


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def pack(samples, depth):
    """One row of 8-bit samples (bytes) packed at depth bits each."""
    if depth == 8:
        return bytes(samples)
    if depth == 16:
        out = bytearray(2 * len(samples))
        out[0::2] = samples
        out[1::2] = samples  # v * 257: the full 16-bit range
        return bytes(out)
    per = 8 // depth
    padded = bytes(samples) + bytes(-len(samples) % per)
    out = bytearray(len(padded) // per)
    for i in range(per):
        part = padded[i::per]
        shift = 8 - depth * (i + 1)
        for j, v in enumerate(part):
            out[j] |= v << shift
    return bytes(out)


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def png(path, image, ctype, depth, plte=None, trns=None, interlaced=False):
    """image: a PIL picture whose bytes are the samples (L, LA, RGB, RGBA or P as indices)."""
    w, h = image.size
    data = image.tobytes()
    spp = len(data) // (w * h)
    rows = [data[y * w * spp:(y + 1) * w * spp] for y in range(h)]
    packed = {}

    def row_bytes(r):
        if r not in packed:
            packed[r] = pack(r, depth)
        return packed[r]

    raw = bytearray()
    if not interlaced:
        for r in rows:
            raw += b"\0" + row_bytes(r)
    else:
        for x0, y0, dx, dy in ADAM7:
            if x0 >= w or y0 >= h:
                continue
            for y in range(y0, h, dy):
                r = rows[y]
                sub = bytearray(len(range(x0, w, dx)) * spp)
                for c in range(spp):
                    sub[c::spp] = r[x0 * spp + c::dx * spp]
                raw += b"\0" + pack(bytes(sub), depth)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, ctype, 0, 0, int(interlaced)))
    if plte:
        out += chunk(b"PLTE", bytes(plte))
    if trns is not None:
        out += chunk(b"tRNS", trns)
    out += chunk(b"IDAT", zlib.compress(bytes(raw), 6)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(out)


def ramp(w, h, across):
    """0..255 left to right (across) or top to bottom."""
    g = Image.linear_gradient("L")  # 256 x 256, top to bottom
    if across:
        g = g.rotate(90, expand=True)
    return g.resize((w, h), Image.Resampling.BILINEAR)


def smooth(w, h):
    """Red grows to the right, green downward, alpha to the right: every turn or mirror shows."""
    x, y = ramp(w, h, True), ramp(w, h, False)
    blue = Image.new("L", (w, h), 150)
    return Image.merge("RGBA", (x, y, blue, x))


def blocks(w, h, cols, rows, levels):
    """An index picture of cols x rows blocks, numbered 0, 1, ... wrapping at levels."""
    small = Image.new("L", (cols, rows))
    small.putdata([(i % levels) for i in range(cols * rows)])
    return small.resize((w, h), Image.Resampling.NEAREST)


# Palette entries: colour and opacity (25 %, 75 %, opaque, clear, half).
PALETTE = [(255, 0, 0, 64), (0, 0, 255, 191), (0, 160, 0, 255), (255, 255, 0, 0),
           (200, 0, 200, 128), (0, 200, 200, 255), (90, 60, 30, 191), (250, 130, 0, 64)]


def palette_png(path, w, h, depth, with_trns, interlaced=False):
    n = min(1 << depth, 16)
    cols, rows = {1: (2, 1), 2: (2, 2), 4: (4, 2), 8: (4, 4)}[depth]
    index = blocks(w, h, cols, rows, n)
    entries = [PALETTE[i % len(PALETTE)] for i in range(n)]
    plte = [c for e in entries for c in e[:3]]
    trns = bytes(e[3] for e in entries) if with_trns else None
    png(path, index, 3, depth, plte=plte, trns=trns, interlaced=interlaced)


def grey_png(path, w, h, depth, with_trns):
    if depth == 8:
        image = ImageChops.add(ramp(w, h, True), ramp(w, h, False), scale=2)
        # a clear block: the grey value tRNS names, nowhere else in the ramps' sum
        if with_trns:
            image.paste(1, (0, 0, w // 3, h // 3))
            image = image.point(lambda v: 1 if v == 1 else max(v, 2))
        png(path, image, 0, 8, trns=struct.pack(">H", 1) if with_trns else None)
        return
    levels = 1 << depth
    index = blocks(w, h, 4 if depth > 1 else 2, 2, levels)
    png(path, index, 0, depth, trns=struct.pack(">H", 0) if with_trns else None)


def write(folder):
    for w, h in SIZES:
        tag = f"{w}x{h}"

        def path(name):
            return os.path.join(folder, f"{name}_{tag}")

        rgba = smooth(w, h)
        for depth in (1, 2, 4, 8):
            for trns in (False, True):
                grey_png(path(f"grey{depth}{'_trns' if trns else ''}") + ".png", w, h, depth, trns)
                palette_png(path(f"palette{depth}{'_trns' if trns else ''}") + ".png", w, h, depth, trns)
        for depth in (8, 16):
            if depth == 16:
                png(path("grey16") + ".png", ImageChops.add(ramp(w, h, True), ramp(w, h, False), scale=2), 0, 16)
            png(path(f"grey_alpha{depth}") + ".png", Image.merge("LA", (rgba.getchannel(1), rgba.getchannel(3))), 4, depth)
            png(path(f"rgb{depth}") + ".png", rgba.convert("RGB"), 2, depth)
            png(path(f"rgba{depth}") + ".png", rgba, 6, depth)
        rgb = rgba.convert("RGB")
        rgb_trns = rgb.copy()
        rgb_trns.paste((10, 20, 30), (0, 0, w // 3, h // 3))
        png(path("rgb8_trns") + ".png", rgb_trns, 2, 8, trns=struct.pack(">HHH", 10, 20, 30))
        png(path("rgba8_interlaced") + ".png", rgba, 6, 8, interlaced=True)
        palette_png(path("palette8_trns_interlaced") + ".png", w, h, 8, True, interlaced=True)

        rgb.save(path("photo") + ".jpg", quality=95)
        rgb.convert("L").save(path("photo_grey") + ".jpg", quality=95)
        rgb.convert("CMYK").save(path("photo_cmyk") + ".jpg", quality=95)
        for orientation in range(2, 9):
            exif = Image.Exif()
            exif[0x0112] = orientation
            rgb.save(path(f"photo_turned{orientation}") + ".jpg", quality=95, exif=exif)
        rgba.save(path("rgba") + ".tif", compression="tiff_lzw")
        rgb.save(path("rgb") + ".bmp")
    for name in sorted(os.listdir(folder)):
        print(name)


def flattened(source):
    """The picture as PIL reads it, upright, flattened on white."""
    image = ImageOps.exif_transpose(Image.open(source))
    if image.mode.startswith("I"):  # 16-bit grey
        image = image.point(lambda v: v * (1 / 257)).convert("L")
    image = image.convert("RGBA")
    flat = Image.new("RGBA", image.size, (255, 255, 255, 255))
    flat.alpha_composite(image)
    return flat.convert("RGB")


def check(folder):
    out = os.path.join(folder, "out")
    flat = {}
    for drawn_name in sorted(os.listdir(out)):
        stem, how = drawn_name[: -len(".ppm")].split("@")
        drawn = Image.open(os.path.join(out, drawn_name)).convert("RGB")
        if stem not in flat:
            flat = {stem: flattened(os.path.join(folder, stem))}
        expected = flat[stem].resize(drawn.size, Image.Resampling.BOX)  # averaged down
        # Softened alike, so that where two good scalings put an edge a pixel apart is no fault.
        radius = max(1, min(drawn.size) // 100)
        diff = ImageChops.difference(drawn.filter(ImageFilter.BoxBlur(radius)),
                                     expected.filter(ImageFilter.BoxBlur(radius)))
        mean = sum(ImageStat.Stat(diff).mean) / 3
        far = sum(diff.convert("L").point(lambda v: 255 if v > 40 else 0).histogram()[255:]) / (
            drawn.size[0] * drawn.size[1])
        if mean > 3 or far > 0.01:
            print(f"{stem} {how}: {drawn.size[0]}x{drawn.size[1]} differs, mean {mean:.1f}, "
                  f"{far * 100:.1f} % of pixels far off")


if __name__ == "__main__":
    {"write": write, "check": check}[sys.argv[1]](sys.argv[2])
