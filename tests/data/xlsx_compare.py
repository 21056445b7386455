#!/usr/bin/python3
"""Checks `cardtool xlsx-sheets` and `cardtool xlsx-read` against openpyxl (data_only=True).
Date cells are compared as their number format shows them (see SHOWN).

usage: xlsx_compare.py CARDTOOL WORKDIR [WORKBOOK...]
Without workbooks it first writes its own with openpyxl (normal and write-only) and xlsxwriter
(rich strings, formulas with cached values, constant memory, several sheets) into WORKDIR.
Exit 0 when every sheet of every workbook matches; otherwise the differences are printed.
"""
import datetime
import json
import os
import subprocess
import sys
import warnings

import openpyxl
from openpyxl.utils.datetime import to_excel

warnings.simplefilter("ignore")


def make_openpyxl(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "People"
    ws.append(["Name", "Age", "Joined", "Member", "Note"])
    ws.append(["Ann", 34, datetime.date(2021, 3, 4), True, "first"])
    ws.append(["Bob", 2.5, datetime.datetime(2020, 1, 2, 12, 30), False, None])
    ws.append(["Åsa ünïcode 日本", -7, None, None, "  spaced  "])
    ws["G2"] = "far right"
    ws["B6"] = 1e20
    other = wb.create_sheet("Second")
    other["A1"] = "only"
    other["C3"] = 3
    wb.save(path)


def make_openpyxl_write_only(path):
    wb = openpyxl.Workbook(write_only=True)
    ws = wb.create_sheet("Stream")
    ws.append(["id", "value", "text"])
    for i in range(1, 300):
        ws.append([i, i * 1.25, "row %d" % i])
    wb.save(path)


def make_xlsxwriter(path, constant_memory):
    import xlsxwriter
    wb = xlsxwriter.Workbook(path, {"constant_memory": constant_memory})
    bold = wb.add_format({"bold": True})
    red = wb.add_format({"font_color": "red"})
    ws = wb.add_worksheet("Rich")
    ws.write_string(0, 0, "Title")
    ws.write_rich_string(0, 1, "plain ", bold, "bold", " and ", red, "red")
    ws.write_string(0, 2, "after rich")
    ws.write_number(1, 0, 10)
    ws.write_number(1, 1, 32)
    ws.write_formula(1, 2, "=A2+B2", None, 42)
    ws.write_formula(2, 2, '="x"&"y"', None, "xy")
    ws.write_boolean(2, 0, True)
    ws.write_formula(2, 1, "=1/0", None, "#DIV/0!")
    ws.write_string(3, 0, "tail")
    ws.write_rich_string(3, 3, bold, "only ", "runs")
    ws2 = wb.add_worksheet("Numbers")
    for r in range(50):
        ws2.write_row(r, 0, [r, r * 0.5, "s%d" % r, -r])
    ws3 = wb.add_worksheet("Empty")
    wb.close()


# How a spreadsheet shows the date formats these workbooks use, as strftime patterns.
SHOWN = {
    "yyyy-mm-dd": "%Y-%m-%d",
    "YYYY-MM-DD": "%Y-%m-%d",
    "YYYY\\-MM\\-DD": "%Y-%m-%d",
    "yyyy-mm-dd h:mm:ss": "%Y-%m-%d %-H:%M:%S",
}


def norm(v, number_format="General"):
    if v is None:
        return ""
    if isinstance(v, bool):
        return "TRUE" if v else "FALSE"
    if isinstance(v, (datetime.datetime, datetime.date)):
        # Date cells read as the spreadsheet shows them, under the cell's own format.
        if number_format not in SHOWN:
            return "no expectation for format %r" % number_format
        return v.strftime(SHOWN[number_format])
    if isinstance(v, (int, float)):
        return float(v)
    return str(v)


def same(ours, theirs):
    if isinstance(theirs, float):
        try:
            return abs(float(ours) - theirs) <= 1e-9 * max(1.0, abs(theirs))
        except ValueError:
            return False
    return ours == theirs


def check(cardtool, path):
    problems = []
    wb = openpyxl.load_workbook(path, data_only=True)
    out = subprocess.run([cardtool, "xlsx-sheets", path], capture_output=True, text=True)
    if out.returncode != 0 or json.loads(out.stdout) != wb.sheetnames:
        problems.append("%s: sheets %r, expected %r" % (path, out.stdout, wb.sheetnames))
        return problems
    for n, ws in enumerate(wb.worksheets, start=1):
        out = subprocess.run([cardtool, "xlsx-read", path, "--sheet", str(n)], capture_output=True, text=True)
        if out.returncode != 0:
            problems.append("%s sheet %d: exit %d %s" % (path, n, out.returncode, out.stderr))
            continue
        rows = json.loads(out.stdout)
        cells = {k: c.value for k, c in ws._cells.items()}
        formats = {k: c.number_format for k, c in ws._cells.items()}
        # Row k of ours is the sheet's row k, whether or not the file holds it, up to the last row
        # holding a value.
        present = range(1, max([r for (r, _), v in cells.items() if v is not None] + [0]) + 1)
        max_col = max([c for (_, c), v in cells.items() if v is not None] + [0])
        if len(rows) != len(present):
            problems.append("%s sheet %d: %d rows, expected %d" % (path, n, len(rows), len(present)))
            continue
        if rows and any(len(r) != len(rows[0]) for r in rows):
            problems.append("%s sheet %d: rows of different widths" % (path, n))
        if rows and len(rows[0]) < max_col:
            problems.append("%s sheet %d: width %d, expected %d" % (path, n, len(rows[0]), max_col))
            continue
        for i, r in enumerate(present):
            for c in range(1, max_col + 1):
                theirs = norm(cells.get((r, c)), formats.get((r, c), "General"))
                ours = rows[i][c - 1]
                if not same(ours, theirs):
                    problems.append("%s sheet %d %s: %r, expected %r" % (path, n, ws.cell(r, c).coordinate, ours, theirs))
    return problems


def main():
    cardtool, workdir = sys.argv[1], sys.argv[2]
    books = sys.argv[3:]
    if not books:
        books = [os.path.join(workdir, n) for n in ("openpyxl.xlsx", "openpyxl_wo.xlsx", "xw.xlsx", "xw_cm.xlsx")]
        make_openpyxl(books[0])
        make_openpyxl_write_only(books[1])
        make_xlsxwriter(books[2], False)
        make_xlsxwriter(books[3], True)
    problems = []
    for b in books:
        problems += check(cardtool, b)
    for p in problems:
        print(p)
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
