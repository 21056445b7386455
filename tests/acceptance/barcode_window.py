#!/usr/bin/python3
"""A barcode from the Tools menu, opened with a double-click on the card: "Barcode Properties"
shows, a new value is typed and Return accepts it; the saved design renders a barcode that
ZXingReader reads back as that value."""

import os
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, AcceptanceError, cardtool_path, screenshot_dir, check  # noqa: E402

BARCODE_TITLE = "Barcode Properties"
VALUE = "CARD7"  # short enough for Code 39 bars to fit on the card
BAR_PIXELS = 14  # bars of 0.6 cm stand 17 pixels tall at 100 %



def new_bars(before, after):
    """Centre of the bars that appeared between two screenshots: columns that turned dark for at
    least BAR_PIXELS rows in a row (button captions that change are shorter than that)."""
    a = Image.open(after).convert("L")
    b = Image.open(before).convert("L")
    width, height = a.size
    pa, pb = a.load(), b.load()
    spots = []
    for x in range(0, width, 2):
        run = 0
        for y in range(height):
            if pa[x, y] < 80 and pb[x, y] >= 80:
                run += 1
                if run == BAR_PIXELS:
                    spots.append((x, y - run // 2))
            else:
                run = 0
    if len(spots) < 10:
        raise AcceptanceError("the new barcode was not found on the screen")
    xs = sorted(p[0] for p in spots)
    ys = sorted(p[1] for p in spots)
    return xs[len(xs) // 2], ys[len(ys) // 2]


def main():
    with Session("barcode_window") as s:
        card = s.screenshot("card")
        s.focus()
        s.key("alt+t", "b")  # Tools > Barcode: a barcode at the next free place on the card
        created = s.screenshot("barcode-created")

        # Double-click in the middle of its bars.
        x, y = new_bars(card, created)
        dialog = s.double_click(x, y, BARCODE_TITLE)
        s.focus(dialog)
        s.screenshot("barcode-window")
        s.key("ctrl+a")
        s.type_text(VALUE)
        s.key("Return")
        s.wait_for_window_gone(BARCODE_TITLE)
        check(not s.find_window(BARCODE_TITLE), "Return did not accept the barcode window")
        s.screenshot("barcode")

        design = os.path.join(s.home, "barcode.dcard")
        check(s.save_design(design), "no design file was written")

        png = os.path.join(screenshot_dir(), "barcode-card.png")
        render = subprocess.run([cardtool_path(), "render", design, "--format", "png", "--dpi", "600",
                                 "--out", png], capture_output=True, text=True, timeout=120)
        check(render.returncode == 0, "cardtool render failed: %s" % render.stderr)
        read = subprocess.run(["ZXingReader", "-1", "-norotate", "-noscale", png], capture_output=True, text=True, timeout=60)
        check(VALUE in read.stdout, "ZXingReader read %r" % read.stdout.strip())

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("barcode_window: ok")


if __name__ == "__main__":
    main()
