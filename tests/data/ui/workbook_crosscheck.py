"""Independent checks of the workbook column dialogs.

make BOOK: writes a workbook with xlsxwriter (rich text runs, formulas with cached values, a line
break inside a cell, numbers, an empty cell, dates and a time under their own formats).
Date cells are expected as their format shows them (strftime patterns in SHOWN).
table BOOK TABLE_JSON: the binding table the dialog built must hold openpyxl's cells.
series BOOK FOLDER: every column's series file, read line by line, must hold openpyxl's cells.
"""
import datetime
import json
import sys
import warnings

warnings.simplefilter("ignore")

SHOWN = {"dd/mm/yyyy": "%d/%m/%Y", "yyyy-mm-dd": "%Y-%m-%d", "h:mm AM/PM": "%-I:%M %p"}


def make(path):
    import xlsxwriter
    wb = xlsxwriter.Workbook(path)
    ws = wb.add_worksheet("Guests")
    bold = wb.add_format({"bold": True})
    red = wb.add_format({"font_color": "red"})
    ws.write_row(0, 0, ["Name", "Greeting", "Total", "Note", "Joined"])
    ws.write_datetime(1, 4, datetime.datetime(2023, 1, 4), wb.add_format({"num_format": "dd/mm/yyyy"}))
    ws.write_datetime(2, 4, datetime.datetime(1999, 12, 31), wb.add_format({"num_format": "yyyy-mm-dd"}))
    ws.write_datetime(3, 4, datetime.datetime(2020, 2, 29, 18, 45), wb.add_format({"num_format": "h:mm AM/PM"}))
    ws.write_string(1, 0, "Ann")
    ws.write_rich_string(1, 1, "Happy ", bold, "birthday", red, " dear")
    ws.write_formula(1, 2, "=1+2", None, 3)
    ws.write_string(1, 3, "two\nlines")
    ws.write_string(2, 0, "  Bo  ")
    ws.write_rich_string(2, 1, bold, "Merry", " Christmas")
    ws.write_formula(2, 2, '=A1&"x"', None, "Namex")
    ws.write_number(3, 0, 2.5)
    ws.write_string(3, 1, "Grüße 日本")
    ws.write_formula(3, 2, "=2*2", None, 4)
    ws.write_string(3, 3, "x")
    wb.close()


def cells(path):
    import openpyxl
    ws = openpyxl.load_workbook(path, data_only=True).worksheets[0]
    rows = []
    for row in ws.iter_rows():
        out = []
        for c in row:
            v = c.value
            if isinstance(v, (datetime.date, datetime.datetime)):
                out.append(v.strftime(SHOWN[c.number_format]))
            elif v is None:
                out.append("")
            elif isinstance(v, float) and v.is_integer():
                out.append(str(int(v)))
            else:
                out.append(str(v))
        rows.append([c.strip() for c in out])
    return rows


def one_line(text):
    return text.replace("\r\n", " ").replace("\n", " ").replace("\r", " ")


def check_table(path, table_json):
    rows = cells(path)
    with open(table_json, encoding="utf-8") as f:
        table = json.load(f)
    want_titles = ["Row"] + rows[0]
    if table["titles"] != want_titles:
        sys.exit("titles %r != %r" % (table["titles"], want_titles))
    want = []
    for i, row in enumerate(rows[1:]):
        rec = {"Extension": str(i + 1)}
        for k, v in enumerate(row):
            rec["Column%d" % (k + 1)] = v
        want.append(rec)
    if table["rows"] != want:
        sys.exit("rows %r != %r" % (table["rows"], want))


def check_series(path, folder):
    rows = cells(path)
    for k, title in enumerate(rows[0]):
        with open("%s/%s.txt" % (folder, title), "rb") as f:
            data = f.read().decode("utf-8")
        if not data.endswith("\n"):
            sys.exit("%s.txt does not end its last line" % title)
        lines = data[:-1].split("\n")
        want = [one_line(r[k]) for r in rows[1:]]
        if lines != want:
            sys.exit("%s.txt: %r != %r" % (title, lines, want))


if __name__ == "__main__":
    kind = sys.argv[1]
    if kind == "make":
        make(sys.argv[2])
    elif kind == "table":
        check_table(sys.argv[2], sys.argv[3])
    elif kind == "series":
        check_series(sys.argv[2], sys.argv[3])
    print("ok")
