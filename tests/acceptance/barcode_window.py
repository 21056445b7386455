#!/usr/bin/python3
"""A barcode from the Tools menu, opened with a double-click on the card: "Barcode Properties"
shows, a new value is typed and Return accepts it; the saved design renders a barcode that
ZXingReader reads back as that value."""

import os
import subprocess
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, AcceptanceError, cardtool_path, screenshot_dir  # noqa: E402

BARCODE_TITLE = "Barcode Properties"
VALUE = "CARD7"  # short enough for Code 39 bars to fit on the card
CARD_WIDTH = 243  # points, shown one pixel per point at 100 %
CARD_HEIGHT = 154


def check(condition, message):
    if not condition:
        raise AcceptanceError(message)


def card_origin(screenshot):
    """Top-left pixel of the white card page: the first place where a white run of the card's
    width starts and stays white for the card's height."""
    image = Image.open(screenshot).convert("RGB")
    width, height = image.size
    pixels = image.load()

    def white(x, y):
        return pixels[x, y] == (255, 255, 255)

    for y in range(height - CARD_HEIGHT):
        run = 0
        for x in range(width):
            run = run + 1 if white(x, y) else 0
            if run == CARD_WIDTH - 4:
                left = x - run + 1
                if all(white(left + 2, y + dy) and white(left + CARD_WIDTH - 6, y + dy)
                       for dy in range(0, CARD_HEIGHT - 4, 8)):
                    return left, y
    raise AcceptanceError("the card page was not found on the screen")


def main():
    with Session("barcode_window") as s:
        card = s.screenshot("card")
        left, top = card_origin(card)
        s.focus()
        s.key("alt+t", "b")  # Tools > Barcode: a barcode at (30, 30) on the card
        s.screenshot("barcode-created")

        # The barcode's picture covers its bounds from (30, 30); double-click inside it.
        x, y = left + 60, top + 50
        s.xdotool("mousemove", "--sync", str(x), str(y))
        s.xdotool("click", "--repeat", "2", "--delay", "80", "1")
        dialog = s.wait_for_window(BARCODE_TITLE)
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
