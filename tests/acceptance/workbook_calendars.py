#!/usr/bin/python3
"""Dates as the spreadsheet shows them, as a user meets them: a workbook whose date cells carry
East-Asian codes and calendars (Japanese eras, day names under a tag written as a name, the Hijri and
Buddhist calendars a locale id names) loaded in the personal details, and a QR Code bound to its
column "Date"; each exported card's QR Code reads the date as LibreOffice shows it."""

import datetime
import glob
import os
import re
import shutil
import sys
import tempfile

import openpyxl

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lib.details import DIALOG, load_workbook, open_details  # noqa: E402
from lib.screen import qr_text  # noqa: E402
from lib.session import Session, check, new_design  # noqa: E402

DAY = datetime.date(2024, 3, 1)
SHOWN = [
    ('[$-411]ggge"年"m"月"d"日"', "令和6年3月1日"),
    ("[$-411]ge.m.d", "R6.3.1"),
    ("[$-ja-JP]aaaa", "金曜日"),
    ("[$-804]aaaa", "星期五"),
    ('[$-404]e"年"m"月"d"日"', "113年3月1日"),
    ("[$-1060401]d mmmm yyyy", "21 شعبان 1445"),
    ("[$-1070000]d/m/yyyy", "1/3/2567"),
]


def read_qr(path):
    """The QR Code's text, characters ZXingReader writes as <U+XXXX> read back."""
    text = qr_text(path)
    return text and re.sub(r"<U\+([0-9A-Fa-f]+)>", lambda m: chr(int(m.group(1), 16)), text)


def write_book(path):
    book = openpyxl.Workbook()
    ws = book.active
    ws.append(["Name", "Date"])
    for k, (code, _) in enumerate(SHOWN, start=1):
        ws.append(["Guest %d" % k, DAY])
        ws.cell(ws.max_row, 2).number_format = code
    book.save(path)


def main():
    work = tempfile.mkdtemp(prefix="tessaly-calendars-")
    try:
        path = os.path.join(work, "dates.xlsx")
        write_book(path)
        design = os.path.join(work, "dates.dcard")
        new_design(design, "--qr-column", "Date")
        with Session("workbook_calendars", args=[design]) as s:
            dialog = open_details(s)
            load_workbook(s, dialog, path, "dates")
            # View Excel shows the rows as the cards will: the dates drawn in their calendars.
            x, y, width, _ = s.geometry(dialog)
            s.xdotool("mousemove", "--sync", str(x + int(width * 0.8615)), str(y + 18), "click", "1")
            table = s.wait_for_window("^Excel Data$")
            s.screenshot_painted("dates-in-the-table", table)
            s.focus(table)
            s.key("Escape")
            check(s.wait_for_window_gone("^Excel Data$", window=table), "the table stayed open")
            s.focus(dialog)
            s.key("Tab", "Tab", "Return")  # off the buttons, then OK
            check(s.wait_for_window_gone(DIALOG, window=dialog), "the details window stayed open")

            out = os.path.join(work, "out")
            os.makedirs(out)
            s.export_cards(out)
            batch = os.path.join(out, "ZOLV Tessaly Greeting Card")
            s.wait_until(lambda: len(glob.glob(os.path.join(batch, "Card_*.png"))) == len(SHOWN), "the cards", 120)
            s.close_exported_files()
            for k, (code, shown) in enumerate(SHOWN, start=1):
                got = read_qr(os.path.join(batch, "Card_%d.png" % k))
                check(got == shown, "Card_%d under %s reads %r, not %r" % (k, code, got, shown))
            status = s.quit(save=False)
            check(status == 0, "exit status %s" % status)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("workbook_calendars: ok")


if __name__ == "__main__":
    main()
