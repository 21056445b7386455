#!/usr/bin/python3
"""A data folder that cannot be made: the program says "Can not access Varnesk Data file." and
ends with status 1. A damaged design named on the command line is refused the same way Open
refuses it, and the editor still opens."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check  # noqa: E402



def main():
    blocker = os.path.join(os.environ.get("TMPDIR", "/tmp"), "tessaly-not-a-folder-%d" % os.getpid())
    with open(blocker, "w") as f:
        f.write("a file where the data folder should go")
    try:
        # The data folder goes under XDG_DATA_HOME, which is a plain file here.
        with Session("start_failure", env={"XDG_DATA_HOME": blocker}, expect_main_window=False) as s:
            box = s.modal_window(timeout=20)
            s.screenshot("data-root-failure")
            s.focus(box)
            s.key("Return")
            status = s.wait_for_exit(10)
            check(status == 1, "exit status %s" % status)
    finally:
        os.remove(blocker)

    with Session("damaged_design", args=["/nonexistent/or/damaged.dcard"], expect_main_window=False) as s:
        s.wait_for_main_window()
        box = s.modal_window(timeout=20)
        s.screenshot("damaged-design")
        s.focus(box)
        s.key("Return")
        check(s.wait_for_window_gone(".", window=box), "the refusal stayed open")
        # A refused design leads to the start window (waiting for it fails if the program ends).
        s.get_past_start_window()
        check(s.app.poll() is None, "the program ended after refusing the design")
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("start_failure: ok")


if __name__ == "__main__":
    main()
