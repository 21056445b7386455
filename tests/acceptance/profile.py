#!/usr/bin/python3
"""Personal details as a user meets them: the Details button opens the front side's details, a
name typed and confirmed lands on the card as a text object at its default place, saved and
checked with cardtool's dump."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.screen import button_groups  # noqa: E402
from lib.session import Session, check, dump_design  # noqa: E402

DIALOG = "Front Side User Profile Information"



def differs(shot, other):
    from PIL import Image, ImageChops
    with Image.open(shot) as a, Image.open(other) as b:
        return ImageChops.difference(a.convert("RGB"), b.convert("RGB")).getbbox() is not None


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
        s.key("Tab", "Tab")  # off the name, onto the next row's box: Return goes to OK
        s.screenshot("profile")
        s.focus(dialog)
        s.key("Return")  # OK is the default button
        check(s.wait_for_window_gone(DIALOG, window=dialog), "the details window stayed open")
        s.screenshot_when("placed", lambda shot: differs(shot, before), "the name on the card")

        design = os.path.join(s.home, "details.dcard")
        check(s.save_design(design), "no design file was written")
        objects = dump_design(design)["front"]["objects"]
        names = [o for o in objects if o.get("control_ID") == "Fup_Name"]
        check(len(names) == 1, "front objects: %s" % [o.get("control_ID") for o in objects])
        check(names[0]["Text_Value"] == "Ada Example", "the name reads %r" % names[0]["Text_Value"])
        check(names[0]["ctrl_is_visible"], "the name is hidden")

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("profile: ok")


if __name__ == "__main__":
    main()
