#!/usr/bin/python3
"""A list several character sets read as names, imported as a user does: Data > Import Series, the
text file option, a series name and the file typed, OK. The character set window shows the rows as
Turkish (Windows-1254), the likeliest, reads them; Escape goes back to the import window with
nothing written; OK again, Return takes the reading shown, and the series holds the names as
written."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.series import import_list  # noqa: E402
from lib.session import Session, check  # noqa: E402

NAMES = "Şükrü Öztürk\r\nAyşe Şahin\r\n"


def main():
    with Session("list_charset") as s:
        listing = os.path.join(s.home, "turkish.txt")
        with open(listing, "wb") as f:
            f.write(NAMES.encode("cp1254"))
        series = os.path.join(s.data_folder(), "DataSet", "Turkish.txt")

        wizard = import_list(s, "Turkish", listing, "import-filled")

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
        s.key("Return")
        s.wait_for_window_gone("Import Series", window=wizard)
        s.wait_until(lambda: os.path.exists(series), "the series file Turkish.txt", 10)
        with open(series, "rb") as f:
            content = f.read()
        check(content == NAMES.replace("\r\n", "\n").encode("utf-8"), "Turkish.txt holds %r" % content)

        status = s.quit(save=False)
        check(status == 0, "exit status %s" % status)
    print("list_charset: ok")


if __name__ == "__main__":
    main()
