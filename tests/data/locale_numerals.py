#!/usr/bin/python3
"""Writes locale_numerals.xlsx, numbers and dates under codes whose numerals or calendar the locale
tag names: [DBNum1] to [DBNum3] (Chinese, Japanese and Korean numerals), a locale id's digit byte (the
language's own digits), the first year of a Japanese era, and the calendar bytes of the Korean
Tangun era and of Um al-Qura; and with LibreOffice the texts it shows for them
(locale_numerals.lo.csv). The test reads the workbook and compares each cell with what LibreOffice
showed; LibreOffice is needed only here.

usage: locale_numerals.py [OUTDIR]   (default: the folder of this script)
Column A names the case (code, value), column B holds the value.
"""
import datetime
import os
import sys

from locale_dates import shown_by_libreoffice

import openpyxl

NUMBERS = [1234.56, 10, 0, -25, 1001, 2024, 100000, 0.5, 110]
SPELLED = ["[DBNum1][$-804]General", "[DBNum2][$-804]General", "[DBNum3][$-804]General", "[DBNum2][$-804]0.00",
           "[DBNum1][$-804]#,##0", "[DBNum1][$-411]General", "[DBNum2][$-411]General", "[DBNum3][$-411]General",
           "[DBNum1][$-404]General", "[DBNum2][$-404]General", "[DBNum1]General", "[DBNum1][$-409]General",
           "[DBNum1][$-412]General", "[DBNum2][$-412]General", "[DBNum3][$-412]General"]
DIGITS = [1234.56, -3.25, 0]
NATIVE = ["[$-4000439]0", "[$-4000439]#,##0.00", "[$-2000401]#,##0.00", "[$-2000401]General", "[$-D00041E]0",
          "[$-2000429]0.0", "[$-2000445]0", "[$-2000449]0", "[$-2000453]0", "[$-2000454]0", "[$-2000455]0",
          "[$-2000451]0", "[$-2000446]0", "[$-2000447]0", "[$-200044A]0", "[$-200044B]0", "[$-2000411]0",
          "[$-2000804]0", "[$-1000439]0", "[$-2000409]0"]
DATES = [datetime.datetime(2024, 3, 10), datetime.datetime(2024, 3, 11), datetime.datetime(2019, 5, 1),
         datetime.datetime(2019, 4, 30), datetime.datetime(2020, 12, 25, 9, 5)]
DATE_CODES = [
    # Spelled-out numerals, the first year of an era
    '[DBNum1][$-804]yyyy"年"m"月"d"日"', '[DBNum2][$-804]yyyy"年"m"月"d"日"', '[DBNum3][$-804]yyyy"年"m"月"d"日"',
    '[DBNum1][$-404]yyyy"年"m"月"d"日"', '[DBNum1][$-411]ggge"年"m"月"d"日"', '[DBNum2][$-411]ggge"年"m"月"d"日"',
    '[DBNum1][$-411]yyyy"年"m"月"d"日"', '[$-ja-JP-x-gannen]ggge"年"m"月"d"日"', '[$-411]ggge"年"m"月"d"日"',
    "[DBNum1][$-804]hh:mm:ss", '[DBNum1][$-412]yyyy"년" m"월" d"일"', '[DBNum3][$-412]yyyy"년" m"월" d"일"',
    # The Tangun era and Um al-Qura
    "[$-50412]yyyy", "[$-50412]yyyy-mm-dd", "[$-50412]yy", "[$-1170401]d mmmm yyyy", "[$-1170401]dd/mm/yyyy",
    "[$-1170401]dddd d mmm yyyy",
    # The language's own digits
    "[$-4000439]hh:mm", "[$-4000439]d mmmm yyyy", "[$-D00041E]d mmmm yyyy", "[$-2000401]d mmmm yyyy",
]


def book(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Numerals"
    cases = [(code, v) for code in SPELLED for v in NUMBERS] + [(code, v) for code in NATIVE for v in DIGITS]
    cases += [(code, d) for code in DATE_CODES for d in DATES]
    for code, value in cases:
        shown = value.isoformat() if isinstance(value, datetime.datetime) else repr(value)
        ws.append(["%s | %s" % (code, shown), value])
        ws.cell(ws.max_row, 2).number_format = code
    wb.save(path)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(out, "locale_numerals.xlsx")
    book(path)
    shown_by_libreoffice(path)
