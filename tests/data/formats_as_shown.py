#!/usr/bin/python3
"""Writes the workbooks of formats_as_shown_*.xlsx and, with LibreOffice, the texts it shows for
their cells (formats_as_shown_*.lo.csv, "as shown"). Both are kept with the tests, which read the
workbooks and compare every cell with what LibreOffice showed; LibreOffice is needed only here.

usage: formats_as_shown.py [OUTDIR]   (default: the folder of this script)
Each workbook has one sheet: column A a label naming the case, column B the cell.
Run with LC_ALL=C.UTF-8: LibreOffice then shows currencies and separators as in English (US).
"""
import datetime
import os
import re
import subprocess
import sys
import tempfile
import zipfile

import openpyxl
import xlsxwriter

# (format code or built-in id, numbers shown under it)
NUMBERS = [
    # Built-in formats stored by their id alone.
    (1, [-1234.567]), (2, [-1234.567]), (3, [-1234.567]), (4, [-1234.567]),
    (5, [1234.5, -1234.5, 0]), (6, [1234.5, -1234.5]), (7, [1234.5, -1234.5, 0]), (8, [-1234.5]),
    (9, [-1234.567]), (10, [-1234.567]), (11, [-1234.567]),
    (12, [1.5, 0.3333, -2.75, 0, 5, 0.99, 3.14159]), (13, [3.14159, 0.3333, 1.5, 5, 123.456]),
    (14, [44930.6299652778]), (15, [44930.6299652778]), (16, [44930.6299652778]), (17, [44930.6299652778]),
    (18, [44930.6299652778]), (19, [44930.6299652778]), (20, [44930.6299652778]), (21, [44930.6299652778]),
    (22, [44930.6299652778]), (45, [44930.6299652778]), (46, [1.0854629629630]), (47, [44930.6299652778]),
    (37, [1234, -1234.567]), (38, [-1234.567]), (39, [-1234.567]), (40, [-1234.567]),
    (41, [1234.5, -1234.5, 0]), (42, [1234.5, -1234.5, 0]), (43, [1234.5, -1234.5, 0]),
    (44, [1234.5, -1234.5, 0]), (48, [12345.678, 0.00012345, 0, -12345.678]), (49, [12.5]),
    # Decimals, grouping, scaling, exponents, literals and currencies.
    ("0.00", [2.675, 1e20]), ("0", [-0.5]), ("#,##0.00", [1234567.891]), ("#,##0", [0]), ("0,000", [5]),
    ("0%", [0.5]), ("0.00%", [0.12345]), ("0.00E+00", [12345, 0.000123, 9.999]), ("0.0E-0", [12345]),
    ("##0.0E+0", [12345]), ('#,##0,"K"', [12345]), ("#,##0.0,,", [123456789]),
    ("0.0#", [1.5, 1.25, 5]), ("0.0?", [1.5]), ("#.##", [0.5, 0]), ('#.##" x"', [0]), ("0.##", [5, 5.5]),
    ("0.", [5]), ("0.?", [5]), ("0.#?", [5]), ("#.#", [0.04]), ("?", [0]), ("#", [0, 5]), ("??.??", [0, 1.5]),
    ("0.##E+00", [100]), ("#.#E+0", [0]),
    ("(000) 000-0000", [5551234567]), ('0\\ "days"', [12]), ("$#,##0.00", [-5]),
    ('"£"#,##0.00;-"£"#,##0.00', [-3.5]), ("[$€-407] #,##0.00", [5]),
    ("#,##0.00 [$€-407];[Red]-#,##0.00 [$€-407]", [-1234.5]), ("[$USD-409]#,##0", [7]),
    ("#,##0 ;(#,##0)", [1234, -1234]), ("0.00_);[Red](0.00)", [-3]), ('0.00;(0.00);"none"', [0]),
    ("0;0", [-4]), ("0;;", [0]), ("0;;;@", [-4]), ("0.00;;", [-1]), (";0.00", [-1, 1]), ("[Blue]0.0*-", [2]),
    # Fractions.
    ("# ?/?", [1.5, 0.75, -0.5, 2, 0.96, -0.001, 123456789.5]), ("# ??/??", [3.14159, -0.000001, 0.9999]),
    ("?/4", [1.5, 0.3, 0.125, 0]), ("?/?", [2.5, 0.1, 0, -0.25]), ("#/#", [1.5, 0]),
    ("# ?/8", [0.3, 1.0625, 0.1875, 2.3125]), ("0 ?/?", [0.5, 0.01, -0.75]), ("# ???/???", [3.14159]),
    ("0/100", [0.257]), ("# #/#", [0.5, 0]), ("# 0/0", [2]), ("0 0/0", [0.5]), ("# ?/?;(# ?/?)", [-1.5]),
    ('?/? "x"', [0.5]), ('# ?/? ;(# ?/?)', [0.001]), ("#,##0 ?/16", [1234.5625]), ("# ?/10", [0.25]),
    ('# ?/? "in"', [1.5]), ('#" "?/?', [1.5]), ("#,### ?/?", [12345.5]), ("0.0 ?/?", [1.5]), ("?/?%", [0.5]),
    # Conditions, General sections, and the minus sign of sections and of values shown as zero.
    ('[>=1000]#,##0,"K"', [1500, 500, -1500]), ('[>=1000]#,##0,"K";0', [1500, 500]),
    ('[<0]"neg";[>0]"pos";"zero"', [-1, 1, 0]), ("[Red][<=100]0;[Blue][>100]0.00", [50, 150, -5]),
    ('[>=1000000]0.0,,"M";[>=1000]0.0,"K";0', [1234567, 12345, 12, -5]), ("[<1]0.00;0", [0.5, 5, -5]),
    ("[<0]0;0", [-5]), ("[<=0]0;0", [-5]), ("[<-1]0;0", [-5]), ("[>0]0;0", [-5]), ("[>=0]0;0", [-5]),
    ("[>0]0;[=0]0;0.0", [-5]), ('[<>0]0;"z"', [-5, 0]), ('[=0]"z";0', [-5, 0]),
    ("[>5]0;[<=-1]0;0", [-5, -0.5]), ("[>=10]0;[<=-10]0;0.0", [-20, -5, 5]), ("[<0]0.0;[>0]0.00", [0, -1, 1]),
    ('[>=1000]#,##0,"K";General', [1500, 5.25]), ("General;-General", [-5.5]), ('"Tel "General', [12.5]),
    ("0.00", [-0.0001, -0.005, -0.0049]), ("0", [-0.4]), ("0.0%", [-0.00001]), ("#,##0;(#,##0)", [-0.4]),
    ('0;-0;"zero"', [-0.4]), ('#,##0,"K"', [-400]), ("0.0E+00", [-0.00001]), ("0.00E+00", [-0.0]),
    ('"text"', [-1, 1]), ("[>=1000]0.00", [-5.5]), ('[>0]0;[=0]"z"', [-5]),
    # Dates under a locale: month and day names of the language.
    ("[$-407]dddd, d. mmmm yyyy", [44930]), ("[$-407]ddd mmm", [44930, 44988, 45280]), ("[$-407]mmm", [45000]),
    ("[$-40C]dddd d mmmm yyyy", [44930, 45160]), ("[$-40C]ddd mmm", [44930, 44988, 45157]),
    ("[$-40C]mmm", [45230, 44985, 45018]), ("[$-40C]mmmmm", [44930]), ("[$-C07]mmmm mmm", [44930]),
    ("[$-807]dddd mmmm", [44930]), ("[$-1040C]dddd mmmm", [44930]), ("[$-410]dddd d mmmm yyyy ddd mmm", [44930]),
    ("[$-409]mmmmm ddd", [44930]), ("[$-407]d. mmmm yyyy;@", [44930]),
]

# Format codes text cells are shown under (the texts "Alice" and, as a formula's text, "Bob").
TEXTS = ['"Name: "@', '0.0;-0.0;0;"Name: "@', "0.0;-0.0", '@" units"', "@@", '"a"@"b"@', ";;;@", ";;;",
         ';;;"x"', "_(@_)", "\\@@", "@;@", "0;@", "yyyy-mm-dd;@", "#,##0;;;[Blue]@", '"x"0;"y"0;"z"0;"t"@',
         44, 49]

# Numbers under codes with a text section.
NUMBERS_UNDER_TEXT = [('"Name: "@', 1234.5), ('0.0;-0.0;0;"Name: "@', 1.25), ("0;@", -12.5),
                      ('@" units"', 12.5), ("#,##0;;;[Blue]@", -12.5), ('"x"0;"y"0;"z"0;"t"@', -12.5)]


def label(code, value):
    return "%s | %r" % (code, value)


def xlsxwriter_book(path):
    wb = xlsxwriter.Workbook(path)
    ws = wb.add_worksheet("Formats")
    row = 0

    def put(name, write):
        nonlocal row
        ws.write_string(row, 0, name)
        write(row)
        row += 1

    for code, values in NUMBERS:
        f = wb.add_format({"num_format": code})
        for v in values:
            put(label(code, v), lambda r: ws.write_number(r, 1, v, f))
    for code in TEXTS:
        f = wb.add_format({"num_format": code})
        put(label(code, "Alice"), lambda r: ws.write_string(r, 1, "Alice", f))
        put(label(code, "=Bob"), lambda r: ws.write_formula(r, 1, '="Bob"', f, "Bob"))
    for code, v in NUMBERS_UNDER_TEXT:
        f = wb.add_format({"num_format": code})
        put(label(code, v), lambda r: ws.write_number(r, 1, v, f))
    wb.close()


WHEN = datetime.datetime(2023, 1, 4, 15, 7, 9)
# (format code, value) of date cells openpyxl writes as ISO text (t="d").
ISO_DATES = [
    ("yyyy-mm-dd", WHEN), ("yyyy-mm-dd", WHEN.date()), ("d mmmm yyyy h:mm", WHEN), ("hh:mm:ss", WHEN),
    ("0.00", WHEN), ("General", WHEN), ("General", WHEN.date()), ("[$-407]dddd d. mmmm yyyy", WHEN),
    ("[$-40C]dddd d mmmm yyyy", WHEN), ("dddd d mmmm yyyy", datetime.date(1900, 3, 1)),
    ("yyyy-mm-dd hh:mm", datetime.datetime(9999, 12, 31, 23, 59)), ("m/d/yy", WHEN), ("mm-dd-yy", WHEN),
    ("h:mm:ss", datetime.time(15, 7, 9)), ("h:mm", datetime.time(15, 7, 9)), ("yyyy-mm-dd", "not a date"),
]
# ISO texts openpyxl does not write, put into t="d" cells afterwards.
ISO_TEXTS = [("d mmmm yyyy h:mm", "2023-01-04T15:07:09Z"), ("d mmmm yyyy h:mm", "2023-01-04T15:07:09+02:00"),
             ("d mmmm yyyy h:mm", "2023-01-04T01:30:00+02:00"), ("hh:mm:ss", "2023-01-04T15:07:09.5"),
             ("yyyy-mm-dd", " 2023-01-04 "), ("yyyy-mm-dd", "2023-13-04"), ("yyyy-mm-dd", "2023-1-4")]


def openpyxl_book(path, epoch1904=False):
    wb = openpyxl.Workbook()
    wb.iso_dates = True
    if epoch1904:
        wb.epoch = openpyxl.utils.datetime.CALENDAR_MAC_1904
    ws = wb.active
    ws.title = "Dates"
    for code, value in ISO_DATES:
        ws.append([label(code, str(value)), value])
        ws.cell(ws.max_row, 2).number_format = code
    for code, text in ISO_TEXTS:
        ws.append([label(code, text), "ISO:" + text])
        ws.cell(ws.max_row, 2).number_format = code
    for code, values in NUMBERS:  # built-in formats, which openpyxl stores by their id
        if isinstance(code, int):
            for v in values:
                ws.append([label(code, v), v])
                ws.cell(ws.max_row, 2).number_format = openpyxl.styles.numbers.BUILTIN_FORMATS[code]
    wb.save(path)
    # The marked texts become t="d" cells holding them.
    with zipfile.ZipFile(path) as z:
        parts = {n: z.read(n) for n in z.namelist()}
    sheet = re.sub(r'(<c r="B\d+"(?: s="\d+")?) t="inlineStr"><is><t[^>]*>ISO:([^<]*)</t></is></c>',
                   r'\1 t="d"><v>\2</v></c>', parts["xl/worksheets/sheet1.xml"].decode())
    parts["xl/worksheets/sheet1.xml"] = sheet.encode()
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in parts.items():
            z.writestr(name, data)


def shown_by_libreoffice(path):
    options = "44,34,76,1,,0,false,true,true,false,false"  # UTF-8; token 9: as shown
    with tempfile.TemporaryDirectory() as out:
        subprocess.run(["soffice", "--headless", "--convert-to", "csv:Text - txt - csv (StarCalc):" + options,
                        "--outdir", out, path], check=True, capture_output=True,
                       env=dict(os.environ, LC_ALL="C.UTF-8"))
        name = os.path.splitext(os.path.basename(path))[0]
        with open(os.path.join(out, name + ".csv"), "rb") as f:
            data = f.read()
    with open(os.path.splitext(path)[0] + ".lo.csv", "wb") as f:
        f.write(data)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    books = [("formats_as_shown_xlsxwriter.xlsx", xlsxwriter_book),
             ("formats_as_shown_openpyxl.xlsx", openpyxl_book),
             ("formats_as_shown_openpyxl_1904.xlsx", lambda p: openpyxl_book(p, True))]
    for name, make in books:
        path = os.path.join(out, name)
        make(path)
        shown_by_libreoffice(path)


if __name__ == "__main__":
    main()
