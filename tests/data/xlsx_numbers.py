#!/usr/bin/python3
"""Writes workbooks of number and boolean cells the way Gnumeric (21 significant digits in each
<v>, parts written out here by hand), xlsxwriter and openpyxl write them, and prints what a
spreadsheet shows in each cell.

usage: xlsx_numbers.py WORKDIR
Prints a JSON object: workbook path -> rows of [label, shown text].
"""
import json
import os
import sys
import zipfile

import openpyxl
import xlsxwriter

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"

# (label, cell style, <v> as Gnumeric writes it, shown); style 0 is General, t="b" a boolean.
GNUMERIC = [
    ("general 99.9", 0, "99.9000000000000000014", "99.9"),
    ("general 99.9 exact", 0, "%.21g" % 99.9, "99.9"),
    ("general tenth", 0, "0.100000000000000005551", "0.1"),
    ("general third", 0, "%.21g" % (1 / 3), "0.333333333333333"),
    ("general big", 0, "100000000000000000000", "1E+20"),
    ("general negative", 0, "%.21g" % -0.07, "-0.07"),
    ("two places", 1, "%.21g" % 2.675, "2.68"),
    ("id 4", 2, "%.21g" % 1234.5, "1,234.50"),
    ("id 38 negative", 3, "-1234", "(1,234)"),
    ("id 10", 4, "0.125", "12.50%"),
    ("id 11", 5, "12345", "1.23E+04"),
    ("currency tag", 6, "%.21g" % 1234.5, "1,234.50 EUR"),
]
STYLE_IDS = [0, 164, 4, 38, 10, 11, 165]
CODES = {164: "0.00", 165: "#,##0.00 [$EUR]"}


def gnumeric_book(path):
    rows = ""
    expected = []
    for r, (label, style, v, shown) in enumerate(GNUMERIC, start=1):
        rows += ('<row r="%d"><c r="A%d" t="inlineStr"><is><t>%s</t></is></c>'
                 '<c r="B%d" s="%d"><v>%s</v></c></row>' % (r, r, label, r, style, v))
        expected.append([label, shown])
    r = len(GNUMERIC) + 1
    rows += ('<row r="%d"><c r="A%d" t="inlineStr"><is><t>booleans</t></is></c><c r="B%d" t="b"><v>1</v></c>'
             '<c r="C%d" t="b"><v>0</v></c></row>' % (r, r, r, r))
    expected.append(["booleans", "TRUE"])
    sheet = '<worksheet xmlns="%s"><sheetData>%s</sheetData></worksheet>' % (MAIN, rows)
    fmts = "".join('<numFmt numFmtId="%d" formatCode="%s"/>' % (i, c.replace('"', "&quot;"))
                   for i, c in CODES.items())
    xfs = "".join('<xf numFmtId="%d" fontId="0" fillId="0" borderId="0" xfId="0"/>' % i for i in STYLE_IDS)
    styles = ('<styleSheet xmlns="%s"><numFmts count="%d">%s</numFmts><cellXfs count="%d">%s</cellXfs>'
              '</styleSheet>' % (MAIN, len(CODES), fmts, len(STYLE_IDS), xfs))
    with zipfile.ZipFile(path, "w") as z:
        z.writestr("[Content_Types].xml",
                   '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   '<Default Extension="xml" ContentType="application/xml"/></Types>')
        z.writestr("_rels/.rels", '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/officeDocument" '
                   'Target="xl/workbook.xml"/></Relationships>' % (PKG, REL))
        z.writestr("xl/workbook.xml", '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="Numbers" sheetId="1" '
                   'r:id="rId1"/></sheets></workbook>' % (MAIN, REL))
        z.writestr("xl/_rels/workbook.xml.rels",
                   '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/>'
                   '<Relationship Id="rId2" Type="%s/styles" Target="styles.xml"/></Relationships>' % (PKG, REL, REL))
        z.writestr("xl/worksheets/sheet1.xml", sheet)
        z.writestr("xl/styles.xml", styles)
    return expected


# (label, value, number format or None for General, shown)
WRITTEN = [
    ("sum of tenths", 0.1 + 0.2, None, "0.3"),
    ("third", 1 / 3, None, "0.333333333333333"),
    ("tiny", 1.5e-7, None, "1.5E-07"),
    ("integer", 44930, None, "44930"),
    ("grouped", 1234567.891, "#,##0.00", "1,234,567.89"),
    ("pounds negative", -3.5, '"£"#,##0.00;-"£"#,##0.00', "-£3.50"),
    ("euro tag", 5, "[$€-407] #,##0.00", "€ 5.00"),
    ("percent", 0.5, "0%", "50%"),
    ("thousands", 12345, '#,##0,"K"', "12K"),
    ("optional places", 1.5, "0.0#", "1.5"),
    ("zero section", 0, '0.00;(0.00);"none"', "none"),
    ("escaped text", 12, '0\\ "days"', "12 days"),
    ("id 3", 9876543, 3, "9,876,543"),
    ("id 9", 0.256, 9, "26%"),
    ("id 37", 1234, 37, "1,234 "),
    ("id 39 negative", -0.5, 39, "(0.50)"),
]


def xlsxwriter_book(path):
    wb = xlsxwriter.Workbook(path)
    ws = wb.add_worksheet("Numbers")
    expected = []
    for r, (label, value, fmt, shown) in enumerate(WRITTEN):
        ws.write_string(r, 0, label)
        ws.write_number(r, 1, value, wb.add_format({"num_format": fmt}) if fmt is not None else None)
        expected.append([label, shown])
    ws.write_string(len(WRITTEN), 0, "boolean")
    ws.write_boolean(len(WRITTEN), 1, False)
    wb.close()
    return expected + [["boolean", "FALSE"]]


BUILT_IN = {3: "#,##0", 9: "0%", 37: "#,##0 ;(#,##0)", 39: "#,##0.00;(#,##0.00)"}


def openpyxl_book(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    expected = []
    for label, value, fmt, shown in WRITTEN:
        ws.append([label, value])
        if fmt is not None:
            ws.cell(ws.max_row, 2).number_format = BUILT_IN.get(fmt, fmt)
        expected.append([label, shown])
    ws.append(["boolean", True])
    wb.save(path)
    return expected + [["boolean", "TRUE"]]


def main():
    work = sys.argv[1]
    out = {}
    for name, make in (("gnumeric.xlsx", gnumeric_book), ("xlsxwriter.xlsx", xlsxwriter_book),
                       ("openpyxl.xlsx", openpyxl_book)):
        path = os.path.join(work, name)
        out[path] = make(path)
    print(json.dumps(out))


if __name__ == "__main__":
    main()
