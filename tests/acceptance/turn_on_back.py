#!/usr/bin/python3
"""The card turned from its back page: a level card with two pictures, a red rectangle, a Code 128,
a Code 39 and a QR Code on the front is opened; View > Back Side, a click on the empty desk, the
card page's Orientation set to Vertical. A box says at once what moved and what no longer fits (its
screenshot shows the words, which the window tests compare); on the front no object lies over
another, as none did before; the front is pictured. One Ctrl+Z gives the level card and every
place back."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, dump_design, hand_design, write_png  # noqa: E402

def covers(a, b):
    """Two frames (x, y, w, h) that overlap by more than a rounding."""
    w = min(a[0] + a[2], b[0] + b[2]) - max(a[0], b[0])
    h = min(a[1] + a[3], b[1] + b[3]) - max(a[1], b[1])
    return w > 0.5 and h > 0.5


def front_frames(design):
    return [(o["class"], o["_bounds"]) for o in dump_design(design)["front"]["objects"]]


def main():
    # A folder of its own: another run of this script may be going on beside this one.
    work = tempfile.mkdtemp(prefix="tessaly-turn-on-back-")
    try:
        turn(work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("turn_on_back: ok")


def turn(work):
    design = os.path.join(work, "turn.dcard")
    blue = os.path.join(work, "blue.png")
    green = os.path.join(work, "green.png")
    write_png(blue, 100, 60, (40, 80, 220))
    write_png(green, 100, 60, (40, 180, 60))
    hand_design(design, "--rect", "5,5,100,30=#ff0000;#000000;1;S",
                "--picture", "110,5,50,30=" + blue, "--picture", "165,5,50,30=" + green,
                "--barcode", "5,37,60,30=5901234;Code 128", "--barcode", "5,95.5,60,30=ABC;Code 39",
                "--barcode", "161,37,40,40=Hello QR;QR Code")
    with Session("turn_on_back", args=(design,)) as s:
        s.focus()
        s.save_again()  # the barcodes' frames as the program reads them: the boxes they draw
        saved = dump_design(design)
        # A design that stores no size has the credit card's, level.
        card_w, card_h = saved["front"]["page"]["Card_Size"] or [0, 0]
        if not card_w:
            card_w, card_h = 243, 154
        before = front_frames(design)
        for i, (_, a) in enumerate(before):
            check(a[0] >= 0 and a[1] >= 0 and a[0] + a[2] <= card_w and a[1] + a[3] <= card_h,
                  "object %d (%s) is not on the %s x %s card" % (i, a, card_w, card_h))
            for _, b in before[i + 1:]:
                check(not covers(a, b), "%s and %s overlap before the turn" % (a, b))
        s.screenshot("level-front")

        # The back, a click on the empty desk, the card page's orientation (the fourth control from
        # the canvas: its page, name, sides, orientation) moved one down to Vertical.
        s.focus()
        s.key("alt+v", "b")
        s.xdotool("mousemove", "--sync", "300", "700", "click", "1")
        s.key("Tab", "Tab", "Tab", "Tab")
        s.screenshot("orientation-focused")
        s.key("Down")
        s.acknowledge_box("turn-message")
        s.focus()
        s.key("alt+v", "f")
        s.screenshot("turned-front")
        s.save_again()
        turned = dump_design(design)
        new_w, new_h = turned["front"]["page"]["Card_Size"]
        check(abs(new_w - card_h) < 0.5 and abs(new_h - card_w) < 0.5,
              "the card is %s x %s, was %s x %s" % (new_w, new_h, card_w, card_h))
        after = front_frames(design)
        check(len(after) == len(before), "the front holds %d objects, held %d" % (len(after), len(before)))
        for i, (kind, a) in enumerate(after):
            for kind_b, b in after[i + 1:]:
                check(not covers(a, b), "the %s at %s lies over the %s at %s" % (kind, a, kind_b, b))

        s.focus()
        s.key("ctrl+z")
        s.save_again()
        check(front_frames(design) == before, "after Ctrl+Z the front is %s, was %s" % (front_frames(design), before))
        level = dump_design(design)["front"]["page"]["Card_Size"]
        check(not level[0] or level[0] > level[1], "Ctrl+Z left the card %s" % level)
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)


if __name__ == "__main__":
    main()
