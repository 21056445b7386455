#!/usr/bin/python3
"""Writes calendar_dates.xlsx, dates under the codes of East-Asian dates (eras, era years, Buddhist
years, day names), under locale ids whose calendar byte names another calendar, and under locale
tags written as names, and with LibreOffice the texts it shows for them (calendar_dates.lo.csv).
The test reads the workbook and compares each cell with what LibreOffice showed; LibreOffice is
needed only here.

usage: calendar_dates.py [OUTDIR]   (default: the folder of this script)
Column A names the case (code, date), column B holds the date.
"""
import datetime
import os
import sys

from locale_dates import shown_by_libreoffice

import openpyxl

CODES = [
    # Japanese eras and day names
    '[$-411]ggge"年"m"月"d"日"', "[$-411]ge.m.d", '[$-411]gge"年"', "[$-411]ee", "[$-411]aaa", "[$-411]aaaa",
    '[$-411]yyyy"年"m"月"d"日" aaaa',
    # Chinese day names, the Taiwanese year
    "[$-804]aaa", "[$-804]aaaa", '[$-804]yyyy"年"m"月"d"日" aaaa', '[$-404]e"年"m"月"d"日"',
    '[$-404]ggge"年"m"月"d"日"', "[$-404]aaaa",
    # Buddhist years
    "[$-41E]bbbb", "[$-41E]bb", "[$-41E]d/m/bbbb", "[$-409]bbbb", "[$-409]e",
    # Calendars the locale id's calendar byte names
    "[$-1060401]d mmmm yyyy", "[$-1060401]dd/mm/yyyy", "[$-1070000]d/m/yyyy", "[$-1070000]yyyy",
    "[$-D07041E]d mmmm yyyy", "[$-1040404]yyyy/mm/dd", "[$-1030411]yyyy/mm/dd", "[$-108040D]d mmmm yyyy",
    "[$-1060401]dddd d mmmm yyyy",
    # Locale tags written as names
    '[$-ja-JP]ggge"年"m"月"d"日"', "[$-ja-JP]aaaa", "[$-es-ES]dddd, d mmmm yyyy", "[$-ar-SA]dddd d mmmm yyyy",
    "[$-ru-RU]d mmmm yyyy", "[$-de-DE]dddd, d. mmmm yyyy", "[$-zh-CN]aaaa", "[$-fr-FR]d mmmm yyyy",
    # and the same under their numeric ids
    '[$-C0A]dddd, d mmmm yyyy', "[$-401]dddd d mmmm yyyy", "[$-419]d mmmm yyyy", "[$-407]dddd, d. mmmm yyyy",
    "[$-40C]d mmmm yyyy",
    # Short months, alone and dated
    "[$-413]d mmm yyyy", "[$-413]mmm yyyy", "[$-419]d mmm yyyy", "[$-419]mmm yyyy", "[$-407]d mmm yyyy",
    "[$-40C]d mmm yyyy", "[$-40C]mmm yyyy", "[$-C0A]d mmm yyyy", "[$-406]d mmm yyyy", "[$-410]d mmm yyyy",
]
DATES = [datetime.date(2024, 3, 1), datetime.date(2019, 5, 1), datetime.date(1989, 1, 7), datetime.date(2023, 1, 4)]


def book(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Dates"
    for code in CODES:
        for date in DATES:
            ws.append(["%s | %s" % (code, date.isoformat()), date])
            ws.cell(ws.max_row, 2).number_format = code
    wb.save(path)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(out, "calendar_dates.xlsx")
    book(path)
    shown_by_libreoffice(path)
