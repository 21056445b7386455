#!/usr/bin/python3
"""Printing with no printer installed, as a user does: a design whose QR Code is bound to a 7-row
series, File > Print (Ctrl+P) opens the print window with the PDF file as its one printer, 3 rows
and 2 columns, Print, then the file panel. The PDF has two pages (pdfinfo), six labels on the
first and one on the second, each reading its row."""

import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session  # noqa: E402
from lib.sheets import check_sheets, close_print_window_and_quit, make_design, name_pdf_file, open_print_window, set_three_rows_of_two  # noqa: E402


def main():
    work = tempfile.mkdtemp(prefix="tessaly-print-pdf-")
    try:
        data, design = make_design(work, "sheets", "SHEET")
        pdf = os.path.join(work, "labels.pdf")

        # No print system answers (a scheduler of this machine included): no printer is installed.
        env = {"XDG_DATA_HOME": data, "CUPS_SERVER": os.path.join(work, "no-cups.sock")}
        with Session("print_pdf", args=[design], env=env) as s:
            window = open_print_window(s)
            set_three_rows_of_two(s, "print-window-pdf-file")
            s.key("Return")  # Print is the default button; the PDF file asks where to go
            name_pdf_file(s, pdf)
            check_sheets(pdf, work, "SHEET")
            close_print_window_and_quit(s, window)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("print_pdf: ok")


if __name__ == "__main__":
    main()
