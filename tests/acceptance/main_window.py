#!/usr/bin/python3
"""The main window as a user meets it: a text and two rectangles from the Tools menu, copied to the
clipboard as card objects, PDF and TIFF, saved through the file dialog, checked with cardtool, and
the program left with Ctrl+Q."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, AcceptanceError, check, dump_design  # noqa: E402



def main():
    with Session("main_window") as s:
        # Tools > Text, whose words take the keyboard, then Tools > Rectangle twice: with a rectangle
        # shown the card has the keyboard again, for Select All and Copy.
        for mnemonic in ("t", "r", "r"):
            s.focus()
            s.key("alt+t", mnemonic)
        s.screenshot("main")

        s.focus()
        s.key("ctrl+a", "ctrl+c")
        wanted = ("application/x-tessaly-card-objects", "application/pdf", "image/tiff")

        def offered():
            targets = s.clipboard("TARGETS").decode(errors="replace").split()
            return all(w in targets for w in wanted)
        try:
            s.wait_until(offered, "the copied objects on the clipboard", 10)
        except AcceptanceError:
            check(False, "the clipboard lacks one of %s: %s" % (wanted, s.clipboard("TARGETS")))
        pdf = s.clipboard("application/pdf")
        info = subprocess.run(["pdfinfo", "-"], input=pdf, capture_output=True, timeout=30)
        check(info.returncode == 0, "the copied PDF does not read: %s" % info.stderr.decode(errors="replace"))

        design = os.path.join(s.home, "a.dcard")
        check(s.save_design(design), "no design file was written")
        s.screenshot("saved")

        objects = dump_design(design)["front"]["objects"]
        found = [(o["class"], o["_bounds"][0], o["_bounds"][1]) for o in objects]
        # Each from the next new-object place on to the nearest where nothing is drawn yet.
        check(found == [("Shape_Control", 70, 102), ("Shape_Control", 82, 50), ("SKTText", 30, 30)],
              "front objects are %s" % found)

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("main_window: ok")


if __name__ == "__main__":
    main()
