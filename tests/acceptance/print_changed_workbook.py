#!/usr/bin/python3
"""A workbook fixed on disk while the print window stays open, as a user meets it: a design whose QR
Code reads the column "Code" of a workbook loaded in the personal details; File > Print to a PDF
file, 3 rows of 2. Then one code is corrected and two rows are added in the workbook, and Print is
pressed again in the same window: the question about the changed workbook comes first, and after
Load Again the new PDF's labels read the corrected code and the new rows."""

import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import guests, guests_design, load_guests, write_guests  # noqa: E402
from lib.session import Session, check  # noqa: E402
from lib.sheets import close_print_window_and_quit, name_pdf_file, open_print_window, set_three_rows_of_two  # noqa: E402


def print_to(s, window, pdf, before_panel=None):
    """Print (the default button) in the print window, the PDF file named in its panel; the codes
    of every label, in the order of the pages."""
    s.focus(window)
    s.key("Return")
    if before_panel:
        before_panel(s)
    name_pdf_file(s, pdf)
    pages = pdf[:-4] + "-page"
    subprocess.run(["pdftoppm", "-r", "150", "-png", pdf, pages], check=True, timeout=120)
    codes = []
    for png in sorted(p for p in os.listdir(os.path.dirname(pdf)) if p.startswith(os.path.basename(pages))):
        r = subprocess.run(["ZXingReader", "-format", "QRCode", os.path.join(os.path.dirname(pdf), png)],
                           capture_output=True, text=True, timeout=60)
        codes += re.findall(r'"([PQ]-\d{4})"', r.stdout)
    return codes


def load_again(s):
    """The question before printing: Return answers Load Again."""
    box = s.wait_until(s.question_box, "the question about the changed workbook")
    check(not s.find_window("^Print to File"), "the file panel opened before the question")
    s.screenshot_painted("print-changed-question", box)
    s.focus(box)
    s.key("Return")
    s.wait_for_window_gone(".", window=box)


def main():
    work = tempfile.mkdtemp(prefix="tessaly-print-changed-")
    try:
        book, design = guests_design(work)

        # No print system answers: the PDF file is the one printer.
        env = {"CUPS_SERVER": os.path.join(work, "no-cups.sock")}
        with Session("print_changed_workbook", args=[design], env=env) as s:
            load_guests(s, book)

            window = open_print_window(s)
            set_three_rows_of_two(s, "print-changed-before")
            first = print_to(s, window, os.path.join(work, "first.pdf"))
            check(sorted(first) == [r[1] for r in guests(3)], "the first sheets read %s" % first)

            # Fixed on disk while the window stays open: guest 2's code, and guests 4 and 5.
            write_guests(book, 5, corrected=2)
            second = print_to(s, window, os.path.join(work, "second.pdf"), before_panel=load_again)
            s.screenshot_painted("print-changed-after", window)
            check(sorted(second) == sorted(r[1] for r in guests(5, corrected=2)),
                  "the sheets after Load Again read %s" % second)
            close_print_window_and_quit(s, window)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("print_changed_workbook: ok")


if __name__ == "__main__":
    main()
