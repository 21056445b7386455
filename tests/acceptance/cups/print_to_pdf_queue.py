#!/usr/bin/python3
"""Printing through CUPS as a user does: a design whose QR Code is bound to a 7-row series, the
print window set to 3 rows and 2 columns on the "PDF" queue, Print. CUPS-PDF writes the job into
the user's ~/PDF: two pages, six labels on the first, one on the second, each reading its row.
Run by scripts/acceptance.sh --cups, which starts CUPS and makes the queue."""

import glob
import os
import pwd
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from lib.session import Session  # noqa: E402
from lib.sheets import check_sheets, close_print_window_and_quit, make_design, set_three_rows_of_two  # noqa: E402


def main():
    # CUPS-PDF writes into the home of the job's owner as the system knows it.
    out_dir = os.path.join(pwd.getpwuid(os.getuid()).pw_dir, "PDF")
    before = set(glob.glob(os.path.join(out_dir, "*.pdf")))
    work = tempfile.mkdtemp(prefix="tessaly-cups-")
    try:
        data, design = make_design(work, "labels", "LABEL")

        with Session("cups_print", args=[design], env={"XDG_DATA_HOME": data}) as s:
            s.focus()
            s.key("ctrl+p")
            window = s.wait_for_window("^Print$")
            s.focus(window)
            set_three_rows_of_two(s, "print-window")
            s.key("Return")  # Print is the default button
            # CUPS-PDF renames the finished file into place: the job is there once poppler reads
            # a new PDF in full.
            def arrived():
                for path in sorted(set(glob.glob(os.path.join(out_dir, "*.pdf"))) - before):
                    if subprocess.run(["pdfinfo", path], capture_output=True, timeout=60).returncode == 0:
                        return path
                return None
            pdf = s.wait_until(arrived, "a PDF in %s" % out_dir, 120)
            check_sheets(pdf, work, "LABEL")
            close_print_window_and_quit(s, window)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("cups_print: ok")


if __name__ == "__main__":
    main()
