#!/usr/bin/python3
"""A list too short for its character set to be certain, imported as a user does: Data > Import
Series, the text file option, a series name and the file typed, OK. The character set window shows
the rows as Windows-1252 reads them; Escape goes back to the import window with nothing written;
OK again, two steps down to Central European (Windows-1250), and the series holds the names as
written."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check  # noqa: E402

NAMES = "Jiří Dvořák\r\nŁódź\r\n"


def main():
    with Session("list_charset") as s:
        listing = os.path.join(s.home, "czech.txt")
        with open(listing, "wb") as f:
            f.write(NAMES.encode("cp1250"))
        series = os.path.join(s.data_folder(), "DataSet", "Czech.txt")

        s.focus()
        s.key("alt+d", "i")
        wizard = s.wait_for_window("Import Series")
        s.focus(wizard)
        s.key("Down")  # from the workbook option to the text file option
        s.key("Tab", "ctrl+a")
        s.type_text("Czech")
        s.key("Tab")
        s.type_text(listing)
        s.screenshot("import-filled")
        s.key("Return")

        charset = s.wait_for_window("Character Set")
        s.screenshot_painted("charset-guess", charset)
        s.focus(charset)
        s.key("Escape")
        check(s.wait_for_window_gone("Character Set", window=charset), "Escape left the character set window open")
        check(s.find_window("Import Series"), "Escape closed the import window too")
        check(not os.path.exists(series), "a series was written although the import was cancelled")

        s.focus(wizard)
        s.key("Return")
        charset = s.wait_for_window("Character Set")
        s.focus(charset)
        s.key("Down", "Down")  # Windows-1252, ISO-8859-1, Windows-1250
        s.screenshot_painted("charset-chosen", charset)
        s.key("Return")
        s.wait_for_window_gone("Import Series", window=wizard)
        s.wait_until(lambda: os.path.exists(series), "the series file Czech.txt", 10)
        with open(series, "rb") as f:
            content = f.read()
        check(content == "Jiří Dvořák\nŁódź\n".encode("utf-8"), "Czech.txt holds %r" % content)

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("list_charset: ok")


if __name__ == "__main__":
    main()
