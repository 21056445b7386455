#!/usr/bin/python3
"""Writes locale_dates.xlsx, dates under format codes whose locale tag names a language, and with
LibreOffice the texts it shows for them (locale_dates.lo.csv). The test reads the workbook and
compares each cell with what LibreOffice showed; LibreOffice is needed only here.
Only full day and month names are compared: abbreviations differ from one program's locale data
to another's (LibreOffice writes Polish months as "III"), so the tests hold a table of their own.

usage: locale_dates.py [OUTDIR]   (default: the folder of this script)
Column A names the case (language, code), column B holds the date.
"""
import datetime
import os
import subprocess
import sys
import tempfile

import openpyxl

LANGUAGES = [("es", "C0A"), ("es-MX", "80A"), ("nl", "413"), ("pl", "415"), ("ru", "419"), ("sv", "41D"),
             ("pt-PT", "816"), ("pt-BR", "416"), ("cs", "405"), ("el", "408"), ("fi", "40B"), ("da", "406"),
             ("nb", "414"), ("tr", "41F"), ("hu", "40E"), ("zh", "804"), ("uk", "422"), ("ca", "403"),
             ("hr", "41A"), ("de", "407"), ("de-AT", "C07"), ("fr", "40C"), ("it", "410"), ("en-GB", "809")]
CODES = ['dddd, d "de" mmmm "de" yyyy', "d mmmm yyyy", "mmmm yyyy"]
DATES = [datetime.date(2024, 3, 1), datetime.date(2023, 1, 4)]


def book(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Dates"
    for language, lcid in LANGUAGES:
        for code in CODES:
            tagged = "[$-%s]%s" % (lcid, code)
            for date in DATES:
                ws.append(["%s | %s | %s" % (language, tagged, date.isoformat()), date])
                ws.cell(ws.max_row, 2).number_format = tagged
    wb.save(path)


def shown_by_libreoffice(path):
    options = "44,34,76,1,,0,false,true,true,false,false"  # UTF-8; token 9: as shown
    with tempfile.TemporaryDirectory() as out:
        profile = tempfile.mkdtemp()
        subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless", "--convert-to",
                        "csv:Text - txt - csv (StarCalc):" + options, "--outdir", out, path],
                       check=True, capture_output=True, env=dict(os.environ, LC_ALL="C.UTF-8"))
        name = os.path.splitext(os.path.basename(path))[0]
        with open(os.path.join(out, name + ".csv"), "rb") as f:
            data = f.read()
    with open(os.path.splitext(path)[0] + ".lo.csv", "wb") as f:
        f.write(data)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(out, "locale_dates.xlsx")
    book(path)
    shown_by_libreoffice(path)
