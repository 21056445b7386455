#!/usr/bin/python3
"""A smaller card says what it leaves off: the Wedding template opened, the card page's width typed
as 60 mm and committed with Return. A box says at once how many objects now reach past the card's
edge (its screenshot shows the words); the design keeps the new width, and one Ctrl+Z gives the old
one back. A larger card asks nothing."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check, dump_design  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
TEMPLATE = os.path.join(HERE, "..", "..", "resources", "shipped", "Templates", "Wedding.dcard")


def main():
    # A folder of its own: another run of this script may be going on beside this one.
    work = tempfile.mkdtemp(prefix="tessaly-card-size-edge-")
    try:
        design = os.path.join(work, "wedding.dcard")
        shutil.copy(TEMPLATE, design)
        before = dump_design(design)["front"]["page"]["Card_Size"]
        with Session("card_size_edge", args=(design,)) as s:
            s.focus()
            # From the card into the card page: its name, sides, orientation, category, size list, W.
            s.key("Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab")
            s.key("ctrl+a")
            s.type_text("60")
            s.key("Return")
            s.acknowledge_box("left-off-named")
            s.save_again()
            after = dump_design(design)["front"]["page"]["Card_Size"]
            check(abs(after[0] - 60 * 72 / 25.4) < 0.5, "the card is %s wide, was %s" % (after, before))
            s.focus()
            s.key("ctrl+z")
            s.save_again()
            undone = dump_design(design)["front"]["page"]["Card_Size"]
            check(abs(undone[0] - before[0]) < 0.01, "after Ctrl+Z the card is %s, was %s" % (undone, before))
            check(not s.question_box(), "a box is showing after the size came back")
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("card_size_edge: ok")


if __name__ == "__main__":
    main()
