#!/usr/bin/python3
"""Writes the workbooks of rownumbers/ and the CSV LibreOffice makes of each.

Each workbook leaves rows out, writes empty rows, or ends in empty and only formatted rows, the
way different programs save a sheet: openpyxl and xlsxwriter write only rows that hold cells;
handmade_rows.xlsx is written part by part (rows without numbers, empty row elements in the
middle and at the end, a leading row left out). The CSV files are LibreOffice's own reading of the
same sheets (`soffice --headless --convert-to csv`): row k of the CSV is the row the sheet numbers
k. LibreOffice is needed only to run this script; the files it made are kept beside it.
Run: /usr/bin/python3 tests/data/make_row_numbering.py
"""
import os
import subprocess
import tempfile
import zipfile

import openpyxl
import xlsxwriter
from openpyxl.styles import Font, PatternFill

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "rownumbers")
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"


def make_openpyxl(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.append(["Name", "City", "Amount"])
    ws.append(["Ann", "Oslo", 12])
    ws["A5"] = "Bo"
    ws["C5"] = 7.5
    ws["C6"] = 3
    ws["A9"] = "Cy"
    ws["B9"] = "Bergen, NO"
    ws["B30"] = "far down"
    # Formatting only, below the data: no rows of data.
    ws["A33"].font = Font(bold=True)
    ws["C36"].fill = PatternFill("solid", fgColor="FFFF00")
    wb.save(path)


def make_xlsxwriter(path):
    wb = xlsxwriter.Workbook(path)
    ws = wb.add_worksheet("Gaps")
    shaded = wb.add_format({"bg_color": "#DDDDDD"})
    # Row 1 is left out: the titles stand in row 2, from column B.
    ws.write_row(1, 1, ["Name", "Code"])
    ws.write_row(2, 1, ["Dag", 101])
    ws.write_row(6, 1, ["Eva", 102])
    ws.write(7, 2, 103)
    ws.write_row(11, 1, ["Finn", 104])
    ws.set_row(14, 30)  # a taller empty row
    ws.write_blank(17, 1, None, shaded)
    wb.close()


def sheet_part(rows):
    return ('<worksheet xmlns="%s"><dimension ref="A1:C60"/><sheetData>%s</sheetData></worksheet>'
            % (MAIN, "".join(rows)))


def inline(ref, text):
    return '<c r="%s" t="inlineStr"><is><t>%s</t></is></c>' % (ref, text)


def make_handmade(path):
    rows = [
        # Row 1 is left out.
        '<row r="2">%s%s</row>' % (inline("A2", "Title"), inline("B2", "Value")),
        '<row r="3" customFormat="false" ht="12.8" hidden="false" customHeight="false"/>',
        '<row r="4"><c r="A4" s="1"/></row>',
        # Rows without numbers follow the one before.
        '<row>%s<c><v>5</v></c></row>' % inline("A5", "five"),
        '<row><c r="B6"><v>6</v></c></row>',
        '<row r="8">%s</row>' % inline("A8", "eight"),
        '<row r="9"/>',
        '<row r="12"><c r="C12"><v>12</v></c></row>',
        # Only formatting and empty rows from here on.
        '<row r="13" ht="20" customHeight="1"/>',
        '<row r="20"><c r="A20" s="1"/><c r="C20" s="1"/></row>',
        '<row r="60" ht="30" customHeight="1"><c r="B60" s="1"/></row>',
    ]
    styles = ('<styleSheet xmlns="%s"><fonts count="2"><font><sz val="11"/></font><font><b/><sz val="11"/></font></fonts>'
              '<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>'
              '<borders count="1"><border/></borders><cellStyleXfs count="1"><xf/></cellStyleXfs>'
              '<cellXfs count="2"><xf/><xf fontId="1" applyFont="1"/></cellXfs></styleSheet>' % MAIN)
    parts = [
        ("[Content_Types].xml",
         '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
         '<Default Extension="xml" ContentType="application/xml"/>'
         '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
         '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
         '<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>'
         '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
         '</Types>'),
        ("_rels/.rels", '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/officeDocument" Target="xl/workbook.xml"/></Relationships>' % (PKG, REL)),
        ("xl/_rels/workbook.xml.rels",
         '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/>'
         '<Relationship Id="rId2" Type="%s/styles" Target="styles.xml"/></Relationships>' % (PKG, REL, REL)),
        ("xl/workbook.xml", '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="Hand" sheetId="1" r:id="rId1"/></sheets></workbook>' % (MAIN, REL)),
        ("xl/styles.xml", styles),
        ("xl/worksheets/sheet1.xml", sheet_part(rows)),
    ]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, xml in parts:
            info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, '<?xml version="1.0" encoding="UTF-8"?>\n' + xml)


def to_csv(path):
    with tempfile.TemporaryDirectory() as profile, tempfile.TemporaryDirectory() as out:
        subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless",
                        "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1", "--outdir", out, path],
                       check=True, capture_output=True)
        name = os.path.splitext(os.path.basename(path))[0] + ".csv"
        with open(os.path.join(out, name), "rb") as f:
            data = f.read()
    with open(os.path.splitext(path)[0] + ".csv", "wb") as f:
        f.write(data)


if __name__ == "__main__":
    os.makedirs(HERE, exist_ok=True)
    for name, make in (("openpyxl_gaps.xlsx", make_openpyxl), ("xlsxwriter_gaps.xlsx", make_xlsxwriter),
                       ("handmade_rows.xlsx", make_handmade)):
        path = os.path.join(HERE, name)
        make(path)
        to_csv(path)
