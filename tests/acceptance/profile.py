#!/usr/bin/python3
"""Personal details as a user meets them: the Details button opens the front side's details, a
name typed and confirmed lands on the card as a text object at its default place, saved and
checked with cardtool's dump."""

import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, AcceptanceError, cardtool_path, check  # noqa: E402

DIALOG = "Front Side User Profile Information"



def geometry(s, window):
    """Position and size of a window on the screen."""
    out = s.xdotool("getwindowgeometry", window)
    x = y = 0
    for line in out.splitlines():
        if "Position:" in line:
            x, y = (int(v) for v in line.split(":")[1].split("(")[0].strip().split(","))
    return x, y


def main():
    with Session("profile") as s:
        x, y = geometry(s, s.window)
        # "Details" in the left-hand column, below Card, Background and Grid.
        s.xdotool("mousemove", "--sync", str(x + 84), str(y + 465), "click", "1")
        dialog = s.wait_for_window(DIALOG)
        s.focus(dialog)
        s.type_text("Ada Example")  # the name field has the focus
        s.key("Tab", "Tab", "Tab", "Tab")
        s.screenshot("profile")
        s.focus(dialog)
        s.key("Return")  # OK is the default button
        s.wait_for_window_gone(DIALOG)
        time.sleep(0.5)
        s.screenshot("placed")

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
