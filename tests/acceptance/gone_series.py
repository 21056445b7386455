#!/usr/bin/python3
"""A series deleted while the print window stays open, as a user meets it: a design whose QR Code
reads a 7-row series is printed to a PDF file (two sheets); then the series file is deleted and
Print is pressed again in the same window. A message box names the series instead of the file
panel, and the PDF of the first run is left as it was. Ctrl+P afresh names the series again rather
than opening the print window. Opened again while the series is gone, the design names it at once."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check  # noqa: E402
from lib.sheets import check_sheets, make_design, name_pdf_file, open_print_window, set_three_rows_of_two  # noqa: E402


def gone_message(s, label, other_than=()):
    """The message box that names the gone series: shown, pictured, closed with Return."""
    box = s.wait_until(s.question_box, "the message about the gone series")
    check(box not in other_than, "no new message box showed")
    check(not s.find_window("^Print to File"), "the file panel opened for a series that is gone")
    s.screenshot_painted(label, box)
    s.focus(box)
    s.key("Return")
    s.wait_for_window_gone(".", window=box)


def main():
    work = tempfile.mkdtemp(prefix="tessaly-gone-series-")
    try:
        data, design = make_design(work, "guests", "GUEST")
        series = os.path.join(data, "tessaly-designer", "DataSet", "guests.txt")
        pdf = os.path.join(work, "labels.pdf")

        env = {"XDG_DATA_HOME": data, "CUPS_SERVER": os.path.join(work, "no-cups.sock")}
        with Session("gone_series", args=[design], env=env) as s:
            window = open_print_window(s)
            set_three_rows_of_two(s, "gone-series-before")
            s.key("Return")
            name_pdf_file(s, pdf)
            check_sheets(pdf, work, "GUEST")
            with open(pdf, "rb") as f:
                first = f.read()

            os.remove(series)
            s.focus(window)
            s.key("Return")
            gone_message(s, "gone-series-print-again", other_than=(window,))
            with open(pdf, "rb") as f:
                check(f.read() == first, "the first run's PDF was written over")

            s.focus(window)
            s.key("Escape")
            s.wait_for_window_gone("^Print$")
            s.focus()
            s.key("ctrl+p")
            gone_message(s, "gone-series-print-afresh")
            check(not s.find_window("^Print$"), "the print window opened for a series that is gone")
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)

        with Session("gone_series_open", args=[design], env=env) as s:
            gone_message(s, "gone-series-at-open")
            check(s.xdotool("getwindowname", s.window).startswith(os.path.basename(design)),
                  "the design did not open")
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("gone_series: ok")


if __name__ == "__main__":
    main()
