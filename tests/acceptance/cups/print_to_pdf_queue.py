#!/usr/bin/python3
"""Printing through CUPS as a user does: a design whose QR Code is bound to a 7-row series, the
print window set to 3 rows and 2 columns on the "PDF" queue, Print. CUPS-PDF writes the job into
the user's ~/PDF: two pages, six labels on the first, one on the second, each reading its row.
Run by scripts/acceptance.sh --cups, which starts CUPS and makes the queue."""

import glob
import os
import pwd
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from lib.session import Session, AcceptanceError, cardtool_path, check  # noqa: E402

ROWS = 7



def value(k):
    return "LABEL-%02d" % k


def qr_codes(png):
    r = subprocess.run(["ZXingReader", "-1", "-format", "QRCode", png], capture_output=True, text=True, timeout=60)
    return re.findall(r'"(LABEL-\d+)"', r.stdout)


def main():
    # CUPS-PDF writes into the home of the job's owner as the system knows it.
    out_dir = os.path.join(pwd.getpwuid(os.getuid()).pw_dir, "PDF")
    before = set(glob.glob(os.path.join(out_dir, "*.pdf")))
    work = tempfile.mkdtemp(prefix="tessaly-cups-")
    try:
        data = os.path.join(work, "data")
        dataset = os.path.join(data, "tessaly-designer", "DataSet")
        os.makedirs(dataset)
        with open(os.path.join(dataset, "labels.txt"), "w") as f:
            f.write("\n".join(value(k) for k in range(1, ROWS + 1)))
        design = os.path.join(work, "labels.dcard")
        made = subprocess.run([cardtool_path(), "design-new", design, "--qr-series", "labels"],
                              capture_output=True, text=True, timeout=60)
        check(made.returncode == 0, "cardtool design-new failed: %s" % made.stderr)

        with Session("cups_print", args=[design], env={"XDG_DATA_HOME": data}) as s:
            s.focus()
            s.key("ctrl+p")
            window = s.wait_for_window("^Print$")
            s.focus(window)
            # From the printer (the only queue, "PDF"): orientation, page setup, the two gaps, width,
            # height, then rows.
            s.key(*["Tab"] * 7)
            # A4 takes two columns of these 85.72 mm cards: 3 rows of 2.
            s.key("ctrl+a")
            s.type_text("3")
            s.key("Tab", "ctrl+a")
            s.type_text("2")
            s.key("Tab")
            s.screenshot("print-window")
            s.key("Return")  # Print is the default button
            # CUPS-PDF renames the finished file into place: the job is there once poppler reads
            # a new PDF in full.
            def arrived():
                for path in sorted(set(glob.glob(os.path.join(out_dir, "*.pdf"))) - before):
                    if subprocess.run(["pdfinfo", path], capture_output=True, timeout=60).returncode == 0:
                        return path
                return None
            pdf = s.wait_until(arrived, "a PDF in %s" % out_dir, 120)
            info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, timeout=60).stdout
            check(re.search(r"Pages:\s+2\b", info), "the job has not 2 pages:\n%s" % info)
            prefix = os.path.join(work, "page")
            subprocess.run(["pdftoppm", "-r", "150", "-png", pdf, prefix], check=True, timeout=120)
            first = qr_codes(prefix + "-1.png")
            second = qr_codes(prefix + "-2.png")
            check(sorted(first) == [value(k) for k in range(1, 7)], "page 1 reads %s" % first)
            check(second == [value(7)], "page 2 reads %s" % second)
            # The print window stays open after a run, as for a next one; Cancel closes it.
            s.focus(window)
            s.key("Escape")
            s.wait_for_window_gone("^Print$")
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("cups_print: ok")


if __name__ == "__main__":
    main()
