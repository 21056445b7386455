#!/usr/bin/python3
"""Rows added while the print run's PDF file is being named, as a user meets it: a design whose text
reads a series of 2 rows, File > Print to a PDF file, 3 rows of 2 labels a sheet. While the "Print
to File" panel is open the series grows to 8 rows. After the panel, the run asks about the new
count (Return stops: nothing is written); at the next Print, Go On prints every one of the 8 rows
on 2 sheets, as pdftotext reads them back."""

import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.session import Session, cardtool_path, check  # noqa: E402
from lib.sheets import close_print_window_and_quit, open_print_window, set_three_rows_of_two  # noqa: E402


def guest(k):
    return "Guest-%02d" % k


def write_series(dataset, count):
    with open(os.path.join(dataset, "guests.txt"), "w") as f:
        f.write("\n".join(guest(k) for k in range(1, count + 1)))


def print_growing(s, window, dataset, pdf, answer):
    """Print in the window; while the file panel is open the series grows to 8 rows. Then the
    question about the new count, answered with answer; returns its box's screenshot."""
    s.focus(window)
    s.key("Return")  # Print is the default button
    panel = s.wait_for_window("^Print to File")
    write_series(dataset, 8)
    s.focus(panel)
    s.key("ctrl+a")
    s.type_text(pdf)
    s.key("Return")
    s.wait_for_window_gone("^Print to File")
    box = s.wait_until(s.question_box, "the question about the rows read again")
    s.screenshot_painted("print-rows-added-question", box)
    s.focus(box)
    s.key(answer)
    s.wait_for_window_gone(".", window=box)


def page_words(pdf, page):
    r = subprocess.run(["pdftotext", "-f", str(page), "-l", str(page), pdf, "-"], capture_output=True,
                       text=True, timeout=60)
    return re.findall(r"Guest-\d\d", r.stdout)


def main():
    work = tempfile.mkdtemp(prefix="tessaly-print-rows-added-")
    try:
        data = os.path.join(work, "data")
        dataset = os.path.join(data, "tessaly-designer", "DataSet")
        os.makedirs(dataset)
        write_series(dataset, 2)
        design = os.path.join(work, "guests.dcard")
        made = subprocess.run([cardtool_path(), "design-hand", design, "--text-series", "guests"],
                              capture_output=True, text=True, timeout=60)
        check(made.returncode == 0, "cardtool design-hand failed: %s" % made.stderr)

        # No print system answers: the PDF file is the one printer.
        env = {"XDG_DATA_HOME": data, "CUPS_SERVER": os.path.join(work, "no-cups.sock")}
        with Session("print_rows_added", args=[design], env=env) as s:
            window = open_print_window(s)
            set_three_rows_of_two(s, "print-rows-added-window")

            # Return on the question stops the run: no file, the data kept for the next Print.
            stopped = os.path.join(work, "stopped.pdf")
            print_growing(s, window, dataset, stopped, "Return")
            check(not os.path.exists(stopped), "Return on the question wrote %s" % stopped)

            write_series(dataset, 2)
            pdf = os.path.join(work, "labels.pdf")
            print_growing(s, window, dataset, pdf, "alt+g")  # Go On

            def readable():
                return os.path.exists(pdf) and subprocess.run(
                    ["pdfinfo", pdf], capture_output=True, timeout=60).returncode == 0
            s.wait_until(readable, "a readable PDF at %s" % pdf, 60)
            s.screenshot_painted("print-rows-added-after", window)
            info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, timeout=60).stdout
            check(re.search(r"Pages:\s+2\b", info), "the PDF has not 2 pages:\n%s" % info)
            first, second = page_words(pdf, 1), page_words(pdf, 2)
            check(sorted(first) == [guest(k) for k in range(1, 7)], "page 1 reads %s" % first)
            check(sorted(second) == [guest(7), guest(8)], "page 2 reads %s" % second)
            close_print_window_and_quit(s, window)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("print_rows_added: ok")


if __name__ == "__main__":
    main()
