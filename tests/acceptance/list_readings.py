#!/usr/bin/python3
"""Lists imported as a user does, through Data > Import Series, the text file option: a two-line
Windows-1250 list, which one character set alone reads as names, becomes a series holding the
names as written (had the character set window opened, Return would take its first reading); a
UTF-8 list with one Windows-1252 byte opens the character set window on UTF-8 with the byte named,
where Return takes nothing and Escape writes nothing."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.series import import_list  # noqa: E402
from lib.session import Session, check  # noqa: E402

POLISH = ["Łukasz Wójcik", "Śląsk"]


def main():
    with Session("list_readings") as s:
        dataset = os.path.join(s.data_folder(), "DataSet")
        polish = os.path.join(s.home, "polish.txt")
        with open(polish, "wb") as f:
            f.write("".join(n + "\r\n" for n in POLISH).encode("cp1250"))
        wizard = import_list(s, "Polish", polish)
        series = os.path.join(dataset, "Polish.txt")

        def settled():
            return bool(s.find_window("Character Set")) or os.path.exists(series)

        s.wait_until(settled, "the series Polish.txt or the character set window", 10)
        charset = s.find_window("Character Set")
        if charset:
            s.screenshot_painted("polish-charset", charset)
            s.focus(charset)
            s.key("Return")
        s.wait_for_window_gone("Import Series", window=wizard)
        s.wait_until(lambda: os.path.exists(series), "the series file Polish.txt", 10)
        with open(series, "rb") as f:
            content = f.read()
        check(content == "".join(n + "\n" for n in POLISH).encode("utf-8"), "Polish.txt holds %r" % content)
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)

    with Session("list_readings_slip") as s:
        dataset = os.path.join(s.data_folder(), "DataSet")
        slip = os.path.join(s.home, "slip.txt")
        with open(slip, "wb") as f:
            f.write("Zoë Martin\r\nRené Lefèvre\r\n".encode("utf-8") + "Café\r\n".encode("cp1252"))
        wizard = import_list(s, "Slip", slip)
        charset = s.wait_for_window("Character Set")
        s.screenshot_painted("slip-charset", charset)
        s.focus(charset)
        # OK is off while UTF-8, which cannot read the byte 0xE9 on line 3, is chosen: Return takes
        # nothing, and the Escape after it finds the window still open.
        s.key("Return")
        s.key("Escape")
        check(s.wait_for_window_gone("Character Set", window=charset), "Escape left the character set window open")
        check(s.find_window("Import Series"), "Return or Escape closed the import window too")
        check(not os.path.exists(os.path.join(dataset, "Slip.txt")), "a series was written from the stray byte")
        s.focus(wizard)
        s.key("Escape")
        s.wait_for_window_gone("Import Series", window=wizard)
        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("list_readings: ok")


if __name__ == "__main__":
    main()
