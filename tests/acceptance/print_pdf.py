#!/usr/bin/python3
"""Printing with no printer installed, as a user does: a design whose QR Code is bound to a 7-row
series, File > Print (Ctrl+P) opens the print window with the PDF file as its one printer, 3 rows
and 2 columns, Print, then the file panel. The PDF has two pages (pdfinfo), six labels on the
first and one on the second, each reading its row."""

import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, cardtool_path, check  # noqa: E402

ROWS = 7


def value(k):
    return "SHEET-%02d" % k


def qr_codes(png):
    r = subprocess.run(["ZXingReader", "-1", "-format", "QRCode", png], capture_output=True, text=True,
                       timeout=60)
    return re.findall(r'"(SHEET-\d+)"', r.stdout)


def main():
    work = tempfile.mkdtemp(prefix="tessaly-print-pdf-")
    try:
        data = os.path.join(work, "data")
        dataset = os.path.join(data, "tessaly-designer", "DataSet")
        os.makedirs(dataset)
        with open(os.path.join(dataset, "sheets.txt"), "w") as f:
            f.write("\n".join(value(k) for k in range(1, ROWS + 1)))
        design = os.path.join(work, "sheets.dcard")
        made = subprocess.run([cardtool_path(), "design-new", design, "--qr-series", "sheets"],
                              capture_output=True, text=True, timeout=60)
        check(made.returncode == 0, "cardtool design-new failed: %s" % made.stderr)
        pdf = os.path.join(work, "labels.pdf")

        # No print system answers (a scheduler of this machine included): no printer is installed.
        env = {"XDG_DATA_HOME": data, "CUPS_SERVER": os.path.join(work, "no-cups.sock")}
        with Session("print_pdf", args=[design], env=env) as s:
            s.focus()
            s.key("ctrl+p")
            window = s.wait_for_window("^Print$")
            s.focus(window)
            # From the printer: orientation, page setup, the two gaps, width, height, then rows.
            s.key(*["Tab"] * 7)
            s.key("ctrl+a")
            s.type_text("3")
            s.key("Tab", "ctrl+a")
            s.type_text("2")
            s.key("Tab")
            s.screenshot("print-window-pdf-file")
            s.key("Return")  # Print is the default button; the PDF file asks where to go
            panel = s.wait_for_window("^Print to File")
            s.focus(panel)
            s.key("ctrl+a")
            s.type_text(pdf)
            s.key("Return")
            s.wait_for_window_gone("^Print to File")
            # Written in full once poppler reads it (a file still being written does not read).
            def readable():
                return os.path.exists(pdf) and subprocess.run(
                    ["pdfinfo", pdf], capture_output=True, timeout=60).returncode == 0
            s.wait_until(readable, "a readable PDF at %s" % pdf, 60)
            info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, timeout=60).stdout
            check(re.search(r"Pages:\s+2\b", info), "the PDF has not 2 pages:\n%s" % info)
            prefix = os.path.join(work, "page")
            subprocess.run(["pdftoppm", "-r", "150", "-png", pdf, prefix], check=True, timeout=120)
            first = qr_codes(prefix + "-1.png")
            second = qr_codes(prefix + "-2.png")
            check(sorted(first) == [value(k) for k in range(1, 7)], "page 1 reads %s" % first)
            check(second == [value(7)], "page 2 reads %s" % second)
            # The print window stays open for a next run; Cancel closes it.
            s.focus(window)
            s.key("Escape")
            s.wait_for_window_gone("^Print$")
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("print_pdf: ok")


if __name__ == "__main__":
    main()
