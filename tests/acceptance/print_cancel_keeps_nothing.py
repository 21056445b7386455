#!/usr/bin/python3
"""A print layout left unprinted is not kept, as a user meets it: File > Print, 3 rows of 2, then
Escape: the remembered layout (print.ini) holds nothing, and the window opens afresh. The same
layout printed to a PDF file is kept. (Cancel and the close button: PrintWindowTest.)"""

import glob
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, check  # noqa: E402
from lib.sheets import check_sheets, close_print_window_and_quit, make_design, name_pdf_file, open_print_window, set_three_rows_of_two  # noqa: E402


def kept_layout(s):
    """The remembered layout's file under the session's configuration folder, or ""."""
    found = glob.glob(os.path.join(s.home, "config", "**", "print.ini"), recursive=True)
    return open(found[0]).read() if found else ""


def main():
    work = tempfile.mkdtemp(prefix="tessaly-print-cancel-")
    try:
        data, design = make_design(work, "sheets", "SHEET")
        pdf = os.path.join(work, "labels.pdf")
        env = {"XDG_DATA_HOME": data, "CUPS_SERVER": os.path.join(work, "no-cups.sock")}
        with Session("print_cancel_keeps_nothing", args=[design], env=env) as s:
            window = open_print_window(s)
            set_three_rows_of_two(s, "print-laid-out-then-escape")
            s.key("Escape")
            s.wait_for_window_gone("^Print$")
            check(kept_layout(s) == "", "a layout left by Escape was kept:\n%s" % kept_layout(s))
            window = open_print_window(s)
            s.screenshot("print-opened-afresh")
            set_three_rows_of_two(s, "print-laid-out-to-print")
            s.key("Return")
            name_pdf_file(s, pdf)
            check_sheets(pdf, work, "SHEET")
            s.wait_until(lambda: "3" in kept_layout(s), "the printed layout kept in print.ini")
            close_print_window_and_quit(s, window)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("print_cancel_keeps_nothing: ok")


if __name__ == "__main__":
    main()
