#!/usr/bin/python3
"""Writes saved_dates.xlsx, dates under codes whose locale tag names a language, as LibreOffice saves
them: the codes are written with each language's own separators, LibreOffice opens and saves the
workbook, and so writes the separator of a date under a locale tag as "/" ("[$-419]dd/mm/yyyy").
With LibreOffice again the texts it shows for them (saved_dates.lo.csv). The test reads the saved
workbook and compares each cell with what LibreOffice showed; LibreOffice is needed only here.

usage: saved_dates.py [OUTDIR]   (default: the folder of this script)
Column A names the case (language, code as written), column B holds the date.
"""
import datetime
import os
import shutil
import subprocess
import sys
import tempfile

from locale_dates import shown_by_libreoffice

import openpyxl

LANGUAGES = [("ru", "419"), ("pl", "415"), ("cs", "405"), ("nl", "413"), ("de", "407"), ("hi", "439"),
             ("hu", "40E"), ("tr", "41F"), ("da", "406"), ("fi", "40B"), ("pt-PT", "816"), ("pt-BR", "416"),
             ("nb", "414"), ("sk", "41B"), ("sv", "41D"), ("en-US", "409"), ("en-GB", "809"), ("fr", "40C")]
CODES = ["dd.mm.yyyy", "d. m. yyyy", "dd-mm-yyyy", "yyyy/mm/dd", "d. mmmm yyyy"]
DATE = datetime.date(2024, 3, 10)


def book(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Dates"
    for language, lcid in LANGUAGES:
        for code in CODES:
            tagged = "[$-%s]%s" % (lcid, code)
            ws.append(["%s | %s" % (language, tagged), DATE])
            ws.cell(ws.max_row, 2).number_format = tagged
    wb.save(path)


def saved_by_libreoffice(path):
    with tempfile.TemporaryDirectory() as out:
        profile = tempfile.mkdtemp()
        subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless", "--convert-to",
                        "xlsx:Calc MS Excel 2007 XML", "--outdir", out, path],
                       check=True, capture_output=True, env=dict(os.environ, LC_ALL="C.UTF-8"))
        shutil.copyfile(os.path.join(out, os.path.basename(path)), path)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(out, "saved_dates.xlsx")
    book(path)
    saved_by_libreoffice(path)
    shown_by_libreoffice(path)
