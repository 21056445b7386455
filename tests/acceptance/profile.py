#!/usr/bin/python3
"""Personal details as a user meets them: the Details button opens the front side's details, a
name typed and confirmed lands on the card as a text object at its default place, saved and
checked with cardtool's dump."""

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, AcceptanceError, cardtool_path, check  # noqa: E402

DIALOG = "Front Side User Profile Information"



def differs(shot, other):
    from PIL import Image, ImageChops
    with Image.open(shot) as a, Image.open(other) as b:
        return ImageChops.difference(a.convert("RGB"), b.convert("RGB")).getbbox() is not None


def button_groups(shot, box):
    """The buttons of the window's left-hand column, found on a screenshot by their outlines: a
    list of groups (buttons that touch), each a list of button centres, top to bottom."""
    from PIL import Image
    x0, y0, w, h = box
    with Image.open(shot) as picture:
        px = picture.convert("RGB").load()

    def outline(p):  # the grey of a button's outline
        return max(p) - min(p) < 20 and 150 <= p[0] <= 195

    # Inside the column a pixel line down the screen meets only the buttons' top and bottom
    # outlines; the column's own sides and the pictures below meet far more or far fewer.
    inside = [x for x in range(x0, x0 + w // 4)
              if 30 <= sum(1 for y in range(y0, y0 + h) if outline(px[x, y])) <= 100]
    check(inside, "no column of buttons on the left")
    xc = inside[len(inside) // 2]
    rows = [y for y in range(y0, y0 + h) if all(outline(px[x, y]) for x in range(xc - 10, xc + 11))]
    buttons = []
    i = 0
    while i + 1 < len(rows):
        if 10 <= rows[i + 1] - rows[i] <= 40:
            buttons.append((rows[i], rows[i + 1]))
            i += 2
        else:
            i += 1
    groups = []
    for top, bottom in buttons:
        if groups and top - groups[-1][-1][1] <= 3:
            groups[-1].append((top, bottom))
        else:
            groups.append([(top, bottom)])
    return [[(xc, (top + bottom) // 2) for top, bottom in group] for group in groups]


def main():
    with Session("profile") as s:
        # "Details" has no key of its own (the canvas keeps the keyboard): it is the fourth of the
        # card buttons below the tools (Card, Background, Grid, Details, Print, Mail), found on
        # the screen rather than at a measured place.
        before = s.screenshot("main")
        groups = button_groups(before, s.geometry(s.window))
        check(len(groups) >= 2 and len(groups[0]) == 16 and len(groups[1]) == 6,
              "the left-hand column shows button groups of %s" % [len(g) for g in groups])
        x, y = groups[1][3]
        s.xdotool("mousemove", "--sync", str(x), str(y), "click", "1")
        dialog = s.wait_for_window(DIALOG)
        s.focus(dialog)
        s.type_text("Ada Example")  # the name field has the focus
        s.key("Tab", "Tab", "Tab", "Tab")
        s.screenshot("profile")
        s.focus(dialog)
        s.key("Return")  # OK is the default button
        check(s.wait_for_window_gone(DIALOG, window=dialog), "the details window stayed open")
        s.screenshot_when("placed", lambda shot: differs(shot, before), "the name on the card")

        design = os.path.join(s.home, "details.dcard")
        check(s.save_design(design), "no design file was written")
        dump = subprocess.run([cardtool_path(), "design-dump", design], capture_output=True, text=True, timeout=60)
        check(dump.returncode == 0, "cardtool design-dump failed: %s" % dump.stderr)
        objects = json.loads(dump.stdout)["front"]["objects"]
        names = [o for o in objects if o.get("control_ID") == "Fup_Name"]
        check(len(names) == 1, "front objects: %s" % [o.get("control_ID") for o in objects])
        check(names[0]["Text_Value"] == "Ada Example", "the name reads %r" % names[0]["Text_Value"])
        check(names[0]["ctrl_is_visible"], "the name is hidden")

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("profile: ok")


if __name__ == "__main__":
    main()
