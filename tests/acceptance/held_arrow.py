#!/usr/bin/python3
"""A held arrow key is one undo step, with the key repeats the X server itself makes. A rectangle
from the Tools menu, a click on it; then, several times and at two repeat rates (the X server's
timing varies, so one hold proves nothing): Right held down with xdotool keydown, a wait, keyup,
and one Ctrl+Z; the design saved then holds the rectangle where it started."""

import os
import subprocess
import sys
import time

from PIL import Image, ImageChops

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, dump_design  # noqa: E402

# The card view between x 270 and 780, y 120 and 780 (the window stands at (100, 0), 1000 x 800).
CARD_AREA = (270, 120, 780, 780)
HOLD_SECONDS = 1.5
HOLDS_PER_RATE = 4
RATES = ((300, 25), (200, 100))  # delay in ms before the repeats, then repeats a second


def card_of(path):
    with Image.open(path) as shot:
        return shot.convert("RGB").crop(CARD_AREA)


def same_card(a, b):
    return ImageChops.difference(card_of(a), card_of(b)).getbbox() is None


def main():
    with Session("held_arrow") as s:
        s.focus()
        empty = s.screenshot("empty")
        s.key("alt+t", "r")
        made = s.screenshot("rectangle")
        box = ImageChops.difference(card_of(empty), card_of(made)).getbbox()
        check(box, "no rectangle appeared on the card")
        x = CARD_AREA[0] + box[0] + 12
        y = CARD_AREA[1] + box[1] + 12
        s.xdotool("mousemove", "--sync", str(x), str(y), "click", "1")
        design = os.path.join(s.home, "held.dcard")
        check(s.save_design(design), "no design file was written")
        start = dump_design(design)["front"]["objects"][0]["_bounds"][:2]
        s.focus()
        before = s.screenshot("before-holds")

        for delay, rate in RATES:
            subprocess.run(["xset", "r", "rate", str(delay), str(rate)], env=s.env, check=True, timeout=30)
            for hold in range(HOLDS_PER_RATE):
                label = "rate-%d-hold-%d" % (rate, hold)
                s.xdotool("keydown", "Right")
                time.sleep(HOLD_SECONDS)
                s.xdotool("keyup", "Right")
                s.screenshot_when(label, lambda p: not same_card(p, before), "the held key to move the rectangle")
                s.key("ctrl+z")
                s.screenshot(label + "-undone")
                s.save_again()
                at = dump_design(design)["front"]["objects"][0]["_bounds"][:2]
                check(at == start, "%s: after one Ctrl+Z the rectangle stands at %s, started at %s"
                      % (label, at, start))
                s.focus()

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("held_arrow: ok")


if __name__ == "__main__":
    main()
