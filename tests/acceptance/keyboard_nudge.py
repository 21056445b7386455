#!/usr/bin/python3
"""Select All and the arrow keys in a real window: two rectangles from the Tools menu, a click on
them (the card takes the keyboard), Ctrl+A, two Right and one Down move both by those points, with
their handles drawn the moment they moved, and they stay selected (Ctrl+C copies them both); the
design file shows where they went."""

import os
import sys

from PIL import Image, ImageChops

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, AcceptanceError, check, dump_design  # noqa: E402


def changed_box(before, after):
    box = ImageChops.difference(Image.open(before).convert("RGB"), Image.open(after).convert("RGB")).getbbox()
    if not box:
        raise AcceptanceError("nothing changed on the screen")
    return box


def main():
    with Session("keyboard_nudge") as s:
        s.focus()
        empty = s.screenshot("empty")
        for _ in range(2):  # Tools > Rectangle twice
            s.focus()
            s.key("alt+t", "r")
        made = s.screenshot("made")
        # The rectangles are the dark outlines new on the card; the edit buttons above it and the
        # inspector beside it changed too, so only the card's area is searched (the window stands
        # at (100, 0), 1000 x 800, with the card view between y 120 and 780, x 270 and 780).
        left, top, right, bottom = changed_box(empty, made)
        a = Image.open(made).convert("L")
        b = Image.open(empty).convert("L")
        dark = [(x, y) for y in range(max(top, 120), min(bottom, 780)) for x in range(max(left, 270), min(right, 780))
                if a.getpixel((x, y)) < 90 and b.getpixel((x, y)) >= 90]
        check(dark, "no rectangle outline appeared")
        x0 = min(p[0] for p in dark)
        y0 = min(p[1] for p in dark)
        s.xdotool("mousemove", "--sync", str(x0 + 10), str(y0 + 10), "click", "1")

        s.key("ctrl+a", "Right", "Right", "Down")
        nudged = s.screenshot("nudged")
        # The handles are drawn at once: a filled grey square on the first rectangle's corner, which
        # moved 2 points right and 1 down (1 pixel a point at 100 %); its outline alone would darken
        # only a cross of pixels there.
        grey = Image.open(nudged).convert("L")
        cx, cy = x0 + 2, y0 + 1
        square = sum(1 for y in range(cy - 2, cy + 3) for x in range(cx - 2, cx + 3) if grey.getpixel((x, y)) < 160)
        check(square >= 20, "no handle is drawn at the first rectangle's corner (%d of 25 dark)" % square)

        s.key("ctrl+c")
        try:
            s.wait_until(lambda: b"application/x-tessaly-card-objects" in s.clipboard("TARGETS"),
                         "the copied objects", 10)
        except AcceptanceError:
            check(False, "nothing stayed selected to copy: %s" % s.clipboard("TARGETS"))

        design = os.path.join(s.home, "nudged.dcard")
        check(s.save_design(design), "no design file was written")
        found = [o["_bounds"][:2] for o in dump_design(design)["front"]["objects"]]
        # The second rectangle started beside the first, where nothing was drawn.
        check(found == [[84, 51], [32, 31]], "the rectangles are at %s" % found)

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("keyboard_nudge: ok")


if __name__ == "__main__":
    main()
