#!/usr/bin/python3
"""A data folder that cannot be made: the program says "Can not access Varnesk Data file." and
ends with status 1. A damaged design named on the command line is refused the same way Open
refuses it, and the editor still opens."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, AcceptanceError, check  # noqa: E402



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
            deadline = time.time() + 10
            while s.app.poll() is None and time.time() < deadline:
                time.sleep(0.1)
            check(s.app.returncode == 1, "exit status %s" % s.app.returncode)
    finally:
        os.remove(blocker)

    with Session("damaged_design", args=["/nonexistent/or/damaged.dcard"], expect_main_window=False) as s:
        s.wait_for_main_window()
        box = s.modal_window(timeout=20)
        s.screenshot("damaged-design")
        s.focus(box)
        s.key("Return")
        time.sleep(0.5)
        check(s.app.poll() is None, "the program ended after refusing the design")
        s.get_past_start_window()  # a refused design leads to the start window
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("start_failure: ok")


if __name__ == "__main__":
    main()
