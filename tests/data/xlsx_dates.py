#!/usr/bin/python3
"""Writes workbooks of date and time cells with xlsxwriter and openpyxl, and prints what a
spreadsheet shows in each cell, computed here with strftime from the value written.

usage: xlsx_dates.py WORKDIR
Prints a JSON object: workbook path -> rows of [label, shown text].
"""
import datetime
import json
import os
import sys

import openpyxl
import xlsxwriter

WHEN = datetime.datetime(2023, 1, 4, 15, 7, 9)
EARLY = datetime.datetime(2001, 11, 30, 8, 5, 0)
SPAN = datetime.timedelta(days=1, hours=2, minutes=3, seconds=4)

# (number format, value, strftime pattern or a fixed answer)
CASES = [
    ("yyyy-mm-dd", WHEN, "%Y-%m-%d"),
    ("dd/mm/yyyy", EARLY, "%d/%m/%Y"),
    ("d mmmm yyyy", EARLY, "%-d %B %Y"),
    ("dddd, mmm d, yy", WHEN, "%A, %b %-d, %y"),
    ("hh:mm", WHEN, "%H:%M"),
    ("h:mm:ss AM/PM", EARLY, "%-I:%M:%S %p"),
    ('yyyy-mm-dd"T"hh:mm:ss', WHEN, "%Y-%m-%dT%H:%M:%S"),
    ("[$-409]mmmm d, yyyy;@", WHEN, "%B %-d, %Y"),
    ("mmmmm yy", WHEN, "J %y"),
    (14, WHEN, "%-m/%-d/%Y"),
    (15, EARLY, "%-d-%b-%y"),
    (16, EARLY, "%-d-%b"),
    (17, WHEN, "%b-%y"),
    (18, WHEN, "%-I:%M %p"),
    (19, EARLY, "%-I:%M:%S %p"),
    (20, WHEN, "%-H:%M"),
    (21, WHEN, "%-H:%M:%S"),
    (22, WHEN, "%-m/%-d/%Y %-H:%M"),
    (45, WHEN, "%M:%S"),
    (46, SPAN, "=26:03:04"),
    (47, WHEN, "%M:%S.0"),
]


def shown(value, pattern):
    return pattern[1:] if pattern.startswith("=") else value.strftime(pattern)


def xlsxwriter_book(path, date_1904):
    wb = xlsxwriter.Workbook(path, {"date_1904": date_1904})
    ws = wb.add_worksheet("Dates")
    rows = []
    for r, (fmt, value, pattern) in enumerate(CASES):
        label = "fmt %s" % fmt
        ws.write_string(r, 0, label)
        ws.write_datetime(r, 1, value, wb.add_format({"num_format": fmt}))
        rows.append([label, shown(value, pattern)])
    # Numbers show under their own formats; text stays as stored, whatever its style.
    r = len(CASES)
    ws.write_string(r, 0, "number 0.00")
    ws.write_number(r, 1, 3.14159, wb.add_format({"num_format": "0.00"}))
    ws.write_string(r + 1, 0, "number general")
    ws.write_number(r + 1, 1, 44930)
    ws.write_string(r + 2, 0, "text under a date style")
    ws.write_string(r + 2, 1, "2023-01-04 soon", wb.add_format({"num_format": "yyyy-mm-dd"}))
    ws.write_string(r + 3, 0, "quoted days")
    ws.write_number(r + 3, 1, 12, wb.add_format({"num_format": '0 "days"'}))
    rows += [["number 0.00", "3.14"], ["number general", "44930"],
             ["text under a date style", "2023-01-04 soon"], ["quoted days", "12 days"]]
    wb.close()
    return rows


def openpyxl_book(path, epoch1904):
    wb = openpyxl.Workbook()
    if epoch1904:
        wb.epoch = openpyxl.utils.datetime.CALENDAR_MAC_1904
    ws = wb.active
    ws.title = "Plain"
    ws.append(["Joined", WHEN.date()])
    ws.append(["Stamp", WHEN])
    ws["B2"].number_format = "yyyy-mm-dd hh:mm:ss"
    ws.append(["Custom", EARLY])
    ws["B3"].number_format = "d.m.yyyy"
    wb.save(path)
    return [["Joined", WHEN.strftime("%Y-%m-%d")], ["Stamp", WHEN.strftime("%Y-%m-%d %H:%M:%S")],
            ["Custom", EARLY.strftime("%-d.%-m.%Y")]]


def main():
    work = sys.argv[1]
    out = {}
    for name, date_1904 in (("xw1900.xlsx", False), ("xw1904.xlsx", True)):
        path = os.path.join(work, name)
        out[path] = xlsxwriter_book(path, date_1904)
    for name, epoch1904 in (("op1900.xlsx", False), ("op1904.xlsx", True)):
        path = os.path.join(work, name)
        out[path] = openpyxl_book(path, epoch1904)
    print(json.dumps(out))


if __name__ == "__main__":
    main()
