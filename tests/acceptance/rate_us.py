#!/usr/bin/python3
"""Exit shows the "Rate Us" window; Return (its default, OK) closes it without asking the desktop
to open anything (an xdg-open stand-in first on PATH records any address), and the program ends
with status 0."""

import os
import stat
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import RATE_US_TITLE, Session, check  # noqa: E402



def stub_opener(folder, log):
    for name in ("xdg-open", "xdg-email"):
        path = os.path.join(folder, name)
        with open(path, "w") as f:
            f.write("#!/bin/sh\nprintf '%%s %%s\\n' '%s' \"$*\" >> '%s'\n" % (name, log))
        os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR | stat.S_IXGRP | stat.S_IXOTH)


def main():
    stubs = tempfile.mkdtemp(prefix="tessaly-xdg-")
    log = os.path.join(stubs, "opened.log")
    stub_opener(stubs, log)
    env = {"PATH": stubs + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin")}
    with Session("rate_us", env=env) as s:
        s.screenshot("editor")
        data = os.path.join(s.home, "data", "tessaly-designer")
        for shipped in ("Help.pdf", "Title.txt", "Message.txt", "banner.png", "pattern_1.jpg",
                        "Background", "LibraryImage", "Templates", "top_left - sel.png"):
            check(os.path.exists(os.path.join(data, shipped)), "the data folder lacks " + shipped)

        s.key("alt+h", "Return")  # Help > Help and Support
        help_window = s.wait_for_window("Help and Support")
        s.screenshot("help-and-support")
        s.focus(help_window)
        s.key("Escape")
        s.wait_for_window_gone("Help and Support")

        s.focus()
        s.key("ctrl+q")
        s.answer_save_question(False)  # the wizard's texts were deleted: unsaved changes
        rate = s.wait_for_window(RATE_US_TITLE)
        s.screenshot("rate-us")
        s.focus(rate)
        s.key("Return")  # the default button: OK, no browser
        status = s.wait_for_exit(20)
        check(status == 0, "exit status %s" % status)
        check(not os.path.exists(log), "Return opened %r" % (open(log).read() if os.path.exists(log) else ""))
    print("rate_us: ok")


if __name__ == "__main__":
    main()
