#!/usr/bin/python3
"""Copy and paste keep a group's layout, in a real window: a rectangle from the Tools menu shows
where the card lies on the screen; two texts from Tools > Text are set 100 points apart on one
row, the second moved with the arrow keys, both selected with a click and a Shift+click, copied with Ctrl+C and pasted with Ctrl+V. The saved design, read by cardtool
design-dump, holds the two pasted texts 100 points apart, on the card."""

import os
import sys

from PIL import Image, ImageChops

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, AcceptanceError, check, dump_design  # noqa: E402

APART = 100
VIEW = (270, 120, 780, 780)  # where the card view sits on the screen (the window at (100, 0))


def objects(design):
    return dump_design(design)["front"]["objects"]


def card_origin(s, empty, made, rectangle):
    """The screen pixel of the card's top-left corner: the rectangle's outline is the dark line
    new on the card, and it lies at its frame (1 pixel a point at 100 %)."""
    box = ImageChops.difference(Image.open(empty).convert("RGB"), Image.open(made).convert("RGB")).getbbox()
    if not box:
        raise AcceptanceError("nothing changed on the screen")
    left, top, right, bottom = VIEW
    a = Image.open(made).convert("L")
    b = Image.open(empty).convert("L")
    dark = [(x, y) for y in range(max(box[1], top), min(box[3], bottom)) for x in range(max(box[0], left), min(box[2], right))
            if a.getpixel((x, y)) < 90 and b.getpixel((x, y)) >= 90]
    check(dark, "no rectangle outline appeared")
    x0 = min(p[0] for p in dark)
    y0 = min(p[1] for p in dark)
    return x0 - round(rectangle[0]), y0 - round(rectangle[1])


def click(s, origin, point, *modifiers):
    x, y = origin[0] + round(point[0]), origin[1] + round(point[1])
    for m in modifiers:
        s.xdotool("keydown", m)
    s.xdotool("mousemove", "--sync", str(x), str(y), "click", "1")
    for m in modifiers:
        s.xdotool("keyup", m)


def main():
    with Session("paste_group") as s:
        design = os.path.join(s.home, "group.dcard")
        s.focus()
        empty = s.screenshot("empty")
        s.key("alt+t", "r")
        made = s.screenshot("rectangle")
        check(s.save_design(design), "no design file was written")
        rectangle = objects(design)[0]["_bounds"]
        origin = card_origin(s, empty, made, rectangle)

        # Two texts; a click on the card's bare corner lets go of the second one's words.
        s.focus()
        s.key("alt+t", "t")
        s.focus()
        s.key("alt+t", "t")
        s.save_again()
        second, first = [o["_bounds"] for o in objects(design)[:2]]
        card = dump_design(design)["front"]["page"]["Card_Size"]
        click(s, origin, (card[0] - 3, card[1] - 3))

        # The second text moved to 100 points right of the first, on its row.
        click(s, origin, (second[0] + 5, second[1] + second[3] / 2))
        dx = round(first[0] + APART - second[0])
        dy = round(first[1] - second[1])
        s.xdotool("key", "--delay", "15", *(["Right"] * dx if dx > 0 else ["Left"] * -dx))
        s.xdotool("key", "--delay", "15", *(["Up"] * -dy if dy < 0 else ["Down"] * dy))
        s.save_again()
        second, first = [o["_bounds"] for o in objects(design)[:2]]
        check(second[0] - first[0] == APART and second[1] == first[1],
              "the texts stand at %s and %s before the copy" % (first, second))
        s.screenshot("set-apart")

        # Both selected, copied, pasted.
        click(s, origin, (second[0] + 5, second[1] + second[3] / 2))
        click(s, origin, (first[0] + 5, first[1] + first[3] / 2), "shift")
        s.key("ctrl+c")
        s.wait_until(lambda: b"application/x-tessaly-card-objects" in s.clipboard("TARGETS"), "the copied texts", 10)
        s.key("ctrl+v")
        s.screenshot("pasted")
        s.save_again()
        found = objects(design)
        check(len(found) == 5, "the card holds %d objects after the paste" % len(found))
        pasted = sorted((o["_bounds"] for o in found[:2]), key=lambda b: b[0])
        check(all(o["class"] == "SKTText" for o in found[:2]), "the paste made %s" % [o["class"] for o in found[:2]])
        gap = pasted[1][0] - pasted[0][0]
        check(abs(gap - APART) < 0.01 and pasted[0][1] == pasted[1][1],
              "the pasted texts stand at %s and %s, %s points apart" % (pasted[0], pasted[1], gap))
        for x, y, w, h in pasted:
            check(x >= 0 and y >= 0 and x + w <= card[0] + 0.01 and y + h <= card[1] + 0.01,
                  "a pasted text at %s is not on the %s card" % ((x, y, w, h), card))

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("paste_group: ok")


if __name__ == "__main__":
    main()
