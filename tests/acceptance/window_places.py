#!/usr/bin/python3
"""Every window opens at the same place every time, under a window manager that frames them
(openbox): Qt centres a dialog anew at each showing and counted a frame it did not know yet at the
first, so later openings stood 20 pixels lower and a click a user remembered landed on another
control."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import AcceptanceError, Session, check  # noqa: E402
from barcode_window import new_bars  # noqa: E402

OPENINGS = 3


def placements(s, title, open_window):
    """Where the window stood at each opening, each closed with Escape."""
    seen = []
    for i in range(OPENINGS):
        open_window()
        window = s.wait_for_window(title)
        s.screenshot_painted("%s-%d" % (title.strip("^$").replace(" ", "-").lower(), i), window)
        seen.append(s.geometry(window))
        s.focus(window)
        s.key("Escape")
        s.wait_for_window_gone(title)
        s.focus()
    return seen


def main():
    with Session("window_places") as s:
        wm = subprocess.Popen(["openbox"], env=s.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            # The main window is framed once the manager has taken it: its client area moves down.
            # While the manager maps it into its frame it cannot take the focus for a moment.
            def framed():
                if s.geometry(s.window)[1] <= 0:
                    return False
                try:
                    s.focus()
                except AcceptanceError:
                    return False
                return True
            s.wait_until(framed, "openbox to frame the main window")
            # Each window by its menu keys, the way a user opens it.
            for title, keys in (("^Print$", ("ctrl+p",)), ("^Grid$", ("alt+a", "p")),
                                ("^Export$", ("alt+f", "e")), ("^Import Series$", ("alt+d", "i")),
                                ("^Template Name$", ("alt+f", "l")), ("^E-mail Settings$", ("alt+f", "i")),
                                ("^Templates$", ("alt+f", "t")), ("^Image Library$", ("alt+t", "y"))):
                seen = placements(s, title, lambda keys=keys: s.key(*keys))
                check(len(set(seen)) == 1, "the %s window moved between openings: %s" % (title.strip("^$"), seen))

            # A message box keeps the program's name whole in its title bar however short its text.
            s.key("alt+f", "l")
            name = s.wait_for_window("^Template Name$")
            s.focus(name)
            s.key("ctrl+a", "BackSpace", "Return")
            box = s.wait_for_window("^Tessaly Greeting Designer$", other_than=(s.window,))
            s.screenshot_painted("message-box", box)
            s.focus(box)
            s.key("Return")
            s.wait_for_window_gone("^Tessaly Greeting Designer$", window=box)
            s.focus(name)
            s.key("Escape")
            s.wait_for_window_gone("^Template Name$")
            s.focus()

            card = s.screenshot("card")
            s.key("alt+t", "b")  # a barcode, opened with a double-click on its bars
            x, y = new_bars(card, s.screenshot("barcode-created"))
            barcodes = placements(s, "Barcode Properties", lambda: s.double_click(x, y, "Barcode Properties"))
            check(len(set(barcodes)) == 1, "the Barcode Properties window moved between openings: %s" % barcodes)
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
        finally:
            wm.kill()
            wm.wait()
    print("window_places: ok")


if __name__ == "__main__":
    main()
