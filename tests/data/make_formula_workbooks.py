#!/usr/bin/python3
"""Writes the workbooks of formulas/: one sheet of prices with a formula column, as each program
saves it.

openpyxl.xlsx stores no result for its formulas and xlsxwriter.xlsx stores 0 for each; both mark
the workbook to be recalculated when it is opened. lo_saved.xlsx and gnumeric_saved.xlsx are the
openpyxl workbook opened and saved again by LibreOffice and by Gnumeric, which store every result.
xlsxwriter_values.xlsx gives xlsxwriter each formula's result, with two more columns whose
results are 0 and the empty text; it is marked to be recalculated too. lo_values.xlsx and
gnumeric_values.xlsx are it saved again by LibreOffice and by Gnumeric, without that mark.
LibreOffice and Gnumeric are needed only to run this script; the files they made are kept beside it.
Run: /usr/bin/python3 tests/data/make_formula_workbooks.py
"""
import os
import shutil
import subprocess
import tempfile

import openpyxl
import xlsxwriter

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "formulas")
ROWS = 40  # data rows 2..41


def make_openpyxl(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Prices"
    ws.append(["Name", "Price", "Total", "Label"])
    for r in range(2, ROWS + 2):
        ws.append(["Item %d" % (r - 1), r * 1.25, "=B%d*2" % r, '="#"&A%d' % r if r <= 3 else None])
    wb.save(path)


def make_xlsxwriter(path):
    wb = xlsxwriter.Workbook(path)
    ws = wb.add_worksheet("Prices")
    ws.write_row(0, 0, ["Name", "Price", "Total", "Label"])
    for r in range(2, ROWS + 2):
        ws.write_row(r - 1, 0, ["Item %d" % (r - 1), r * 1.25])
        ws.write_formula(r - 1, 2, "=B%d*2" % r)
        if r <= 3:
            ws.write_formula(r - 1, 3, '="#"&A%d' % r)
    wb.close()


def make_xlsxwriter_values(path):
    wb = xlsxwriter.Workbook(path)
    ws = wb.add_worksheet("Prices")
    ws.write_row(0, 0, ["Name", "Price", "Total", "Label", "Zero", "Empty"])
    for r in range(2, ROWS + 2):
        price = r * 1.25
        ws.write_row(r - 1, 0, ["Item %d" % (r - 1), price])
        ws.write_formula(r - 1, 2, "=B%d*2" % r, None, price * 2)
        if r <= 3:
            ws.write_formula(r - 1, 3, '="#"&A%d' % r, None, "#Item %d" % (r - 1))
        ws.write_formula(r - 1, 4, "=B%d-B%d" % (r, r), None, 0)
        ws.write_formula(r - 1, 5, '=IF(B%d>0,"","-")' % r, None, "")
    wb.close()


def resave(source, target, command):
    with tempfile.TemporaryDirectory() as out:
        subprocess.run(command(source, out), check=True, capture_output=True)
        shutil.move(os.path.join(out, os.path.basename(source)), target)


def libreoffice(source, out):
    profile = tempfile.mkdtemp()
    return ["soffice", "-env:UserInstallation=file://" + profile, "--headless", "--convert-to", "xlsx",
            "--outdir", out, source]


def gnumeric(source, out):
    return ["ssconvert", source, os.path.join(out, os.path.basename(source))]


if __name__ == "__main__":
    os.makedirs(HERE, exist_ok=True)
    made = os.path.join(HERE, "openpyxl.xlsx")
    make_openpyxl(made)
    make_xlsxwriter(os.path.join(HERE, "xlsxwriter.xlsx"))
    resave(made, os.path.join(HERE, "lo_saved.xlsx"), libreoffice)
    resave(made, os.path.join(HERE, "gnumeric_saved.xlsx"), gnumeric)
    given = os.path.join(HERE, "xlsxwriter_values.xlsx")
    make_xlsxwriter_values(given)
    resave(given, os.path.join(HERE, "lo_values.xlsx"), libreoffice)
    resave(given, os.path.join(HERE, "gnumeric_values.xlsx"), gnumeric)
