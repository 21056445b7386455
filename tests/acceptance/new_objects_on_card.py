#!/usr/bin/python3
"""New objects on the smallest card the program offers (Durable 1452, 59.94 x 40.13 mm, typed into
the start wizard), which already holds a rectangle, a circle and a text: a barcode from the Tools
menu, turned into a QR Code in "Barcode Properties", and a picture three times as wide as high
(900 x 300 pixels, an ellipse) placed with Tools > Picture through the file panel. The saved
design, read by cardtool design-dump, holds every frame inside the card and the picture's frame
in the picture's proportions."""

import os
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, dump_design  # noqa: E402

SMALLEST_MM = (59.94, 40.13)  # 2.36 x 1.58 inches
BARCODE_TITLE = "Barcode Properties"
PICTURE_PANEL_TITLE = "Choose a Picture"
PICTURE = (900, 300)
ELLIPSE = (30, 90, 200)  # nothing else on the card has it
VIEW = (270, 120, 780, 780)  # where the card view sits on the screen (the window at (100, 0))


def changed_centre(before, after):
    """Where the card view changed between two screenshots: the middle (median) of the pixels that
    did, so the handles an object gives up weigh little beside a new object."""
    a = Image.open(after).convert("RGB").load()
    b = Image.open(before).convert("RGB").load()
    left, top, right, bottom = VIEW
    changed = [(x, y) for y in range(top, bottom, 2) for x in range(left, right, 2) if a[x, y] != b[x, y]]
    check(len(changed) > 50, "nothing new showed on the card")
    xs = sorted(p[0] for p in changed)
    ys = sorted(p[1] for p in changed)
    return xs[len(xs) // 2], ys[len(ys) // 2]


def objects(design):
    return dump_design(design)["front"]["objects"]


def expect_on_card(design, card):
    card_w, card_h = card
    for o in objects(design):
        x, y, w, h = o["_bounds"]
        check(x >= -0.01 and y >= -0.01 and x + w <= card_w + 0.01 and y + h <= card_h + 0.01,
              "the %s's frame %s is not inside the %s x %s card" % (o["class"], (x, y, w, h), card_w, card_h))


def main():
    with Session("new_objects_on_card", through_start=False) as s:
        s.get_past_start_window(size_mm=SMALLEST_MM)
        design = os.path.join(s.home, "small.dcard")
        s.focus()
        s.key("alt+t", "r", "alt+t", "c", "alt+t", "t")
        check(s.save_design(design), "no design file was written")
        saved = dump_design(design)
        card = saved["front"]["page"]["Card_Size"]
        check(abs(card[0] - 169.91) < 0.1 and abs(card[1] - 113.75) < 0.1, "the card measures %s" % card)
        check(len(saved["front"]["objects"]) == 3, "the card holds %d objects" % len(saved["front"]["objects"]))
        before = s.screenshot("small-card")

        # A barcode: on the card, though its sample is 120 points wide.
        s.focus()
        s.key("alt+t", "b")
        s.save_again()
        barcode = [o for o in objects(design) if o["class"] == "SKTBarcode"]
        check(len(barcode) == 1, "%d barcodes" % len(barcode))
        expect_on_card(design, card)
        after = s.screenshot("barcode")

        # Double-clicked in its middle: its window, where it becomes a QR Code.
        x, y = changed_centre(before, after)
        window = s.double_click(x, y, BARCODE_TITLE)
        s.focus(window)
        s.key("shift+Tab", "q")  # from the value to the type list: the first type with a Q
        s.screenshot("qr-code-window")
        s.key("Return")
        check(s.wait_for_window_gone(BARCODE_TITLE, window=window), "Return did not accept the barcode window")

        # A picture three times as wide as high, through the Picture tool's file panel.
        png = os.path.join(s.home, "ellipse.png")
        picture = Image.new("RGB", PICTURE, (255, 255, 255))
        ImageDraw.Draw(picture).ellipse((0, 0, PICTURE[0] - 1, PICTURE[1] - 1), fill=ELLIPSE)
        picture.save(png)
        s.focus()
        s.key("alt+t", "p")
        panel = s.wait_for_window(PICTURE_PANEL_TITLE)
        s.focus(panel)
        s.key("ctrl+a")
        s.type_text(png)
        s.key("Return")
        check(s.wait_for_window_gone(PICTURE_PANEL_TITLE, window=panel), "the file panel stayed open")
        s.screenshot("picture")

        s.save_again()
        found = objects(design)
        check(len(found) == 5, "the card holds %d objects" % len(found))
        pictures = [o for o in found if o["class"] == "SKTImage"]
        check(len(pictures) == 1, "%d pictures" % len(pictures))
        x, y, w, h = pictures[0]["_bounds"]
        check(abs(w / h - PICTURE[0] / PICTURE[1]) < 0.01, "the picture's frame %s x %s lost its proportions" % (w, h))
        qr = [o for o in found if o["class"] == "SKTBarcode"]
        check(len(qr) == 1 and qr[0]["linear_or_2d"] == 1 and qr[0]["barcode_font_index"] == 0,
              "the barcode did not become a QR Code: %s" % qr)
        # The QR Code is taller than the sample: the barcode window keeps it on the card.
        expect_on_card(design, card)

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("new_objects_on_card: ok")


if __name__ == "__main__":
    main()
