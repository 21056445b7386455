"""The print scripts' shared job: a design with one QR Code bound to seven rows, printed 3 x 2 on
A4 (two sheets), and the sheets read back: two pages, every label's symbol on its own sheet."""

import os
import re
import subprocess

from lib.session import cardtool_path, check

ROWS = 7


def value(prefix, k):
    return "%s-%02d" % (prefix, k)


def make_design(work, name, prefix):
    """A data folder under work with the rows as series `name`, and a design bound to it.
    Returns (data folder for XDG_DATA_HOME, design path)."""
    data = os.path.join(work, "data")
    dataset = os.path.join(data, "tessaly-designer", "DataSet")
    os.makedirs(dataset)
    with open(os.path.join(dataset, name + ".txt"), "w") as f:
        f.write("\n".join(value(prefix, k) for k in range(1, ROWS + 1)))
    design = os.path.join(work, name + ".dcard")
    made = subprocess.run([cardtool_path(), "design-new", design, "--qr-series", name],
                          capture_output=True, text=True, timeout=60)
    check(made.returncode == 0, "cardtool design-new failed: %s" % made.stderr)
    return data, design


def open_print_window(s):
    """File > Print (Ctrl+P) from the main window: the print window, focused."""
    s.focus()
    s.key("ctrl+p")
    window = s.wait_for_window("^Print$")
    s.focus(window)
    return window


def set_three_rows_of_two(s, screenshot):
    """In the focused print window: from the printer, past orientation, page setup, width and
    height, to rows and columns. A4 takes two columns of CR80 cards: 3 rows of 2."""
    s.key(*["Tab"] * 5)
    s.key("ctrl+a")
    s.type_text("3")
    s.key("Tab", "ctrl+a")
    s.type_text("2")
    s.key("Tab")
    s.screenshot(screenshot)


def name_pdf_file(s, pdf):
    """Types the PDF file's name into the print window's "Print to File" panel and waits until
    the file is written in full (a file still being written does not read in poppler)."""
    panel = s.wait_for_window("^Print to File")
    s.focus(panel)
    s.key("ctrl+a")
    s.type_text(pdf)
    s.key("Return")
    s.wait_for_window_gone("^Print to File")

    def readable():
        return os.path.exists(pdf) and subprocess.run(
            ["pdfinfo", pdf], capture_output=True, timeout=60).returncode == 0
    s.wait_until(readable, "a readable PDF at %s" % pdf, 60)


def check_sheets(pdf, work, prefix):
    """Two pages; the first carries labels 1 to 6, the second label 7."""
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, timeout=60).stdout
    check(re.search(r"Pages:\s+2\b", info), "the PDF has not 2 pages:\n%s" % info)
    pages = os.path.join(work, "page")
    subprocess.run(["pdftoppm", "-r", "150", "-png", pdf, pages], check=True, timeout=120)

    def qr_codes(png):
        r = subprocess.run(["ZXingReader", "-1", "-format", "QRCode", png], capture_output=True,
                           text=True, timeout=60)
        return re.findall(r'"(%s-\d+)"' % prefix, r.stdout)

    first = qr_codes(pages + "-1.png")
    second = qr_codes(pages + "-2.png")
    check(sorted(first) == [value(prefix, k) for k in range(1, 7)], "page 1 reads %s" % first)
    check(second == [value(prefix, 7)], "page 2 reads %s" % second)


def close_print_window_and_quit(s, window):
    """The print window stays open for a next run; Escape closes it, then the program quits."""
    s.focus(window)
    s.key("Escape")
    s.wait_for_window_gone("^Print$")
    status = s.quit(save=False)
    check(status == 0, "exit status %s" % status)
