#!/usr/bin/python3
"""Makes resources/shipped/Template.xlsx, the empty one-sheet workbook that series exports fill.

The program replaces xl/worksheets/sheet1.xml and xl/sharedStrings.xml; every other part here is
copied as it stands, so the content types and relationships already declare both.
Run: /usr/bin/python3 resources/tools/make_template_xlsx.py
"""
import os
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "shipped", "Template.xlsx")
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"
DECL = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'

PARTS = [
    ("[Content_Types].xml",
     '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
     '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
     '<Default Extension="xml" ContentType="application/xml"/>'
     '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
     '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
     '<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>'
     '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>'
     '<Override PartName="/docProps/core.xml" ContentType="application/vnd.openxmlformats-package.core-properties+xml"/>'
     '<Override PartName="/docProps/app.xml" ContentType="application/vnd.openxmlformats-officedocument.extended-properties+xml"/>'
     '</Types>'),
    ("_rels/.rels",
     f'<Relationships xmlns="{PKG}">'
     f'<Relationship Id="rId1" Type="{REL}/officeDocument" Target="xl/workbook.xml"/>'
     '<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties" Target="docProps/core.xml"/>'
     f'<Relationship Id="rId3" Type="{REL}/extended-properties" Target="docProps/app.xml"/>'
     '</Relationships>'),
    ("docProps/app.xml",
     '<Properties xmlns="http://schemas.openxmlformats.org/officeDocument/2006/extended-properties">'
     '<Application>Tessaly Greeting Designer</Application></Properties>'),
    ("docProps/core.xml",
     '<cp:coreProperties xmlns:cp="http://schemas.openxmlformats.org/package/2006/metadata/core-properties" '
     'xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>Batch Values</dc:title></cp:coreProperties>'),
    ("xl/workbook.xml",
     f'<workbook xmlns="{MAIN}" xmlns:r="{REL}"><bookViews><workbookView/></bookViews>'
     '<sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>'),
    ("xl/_rels/workbook.xml.rels",
     f'<Relationships xmlns="{PKG}">'
     f'<Relationship Id="rId1" Type="{REL}/worksheet" Target="worksheets/sheet1.xml"/>'
     f'<Relationship Id="rId2" Type="{REL}/styles" Target="styles.xml"/>'
     f'<Relationship Id="rId3" Type="{REL}/sharedStrings" Target="sharedStrings.xml"/>'
     '</Relationships>'),
    ("xl/styles.xml",
     f'<styleSheet xmlns="{MAIN}">'
     '<fonts count="1"><font><sz val="12"/><name val="Calibri"/><family val="2"/></font></fonts>'
     '<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>'
     '<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>'
     '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
     '<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>'
     '<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>'
     '</styleSheet>'),
    ("xl/worksheets/sheet1.xml",
     f'<worksheet xmlns="{MAIN}" xmlns:r="{REL}"><dimension ref="A1"/><sheetData/></worksheet>'),
    ("xl/sharedStrings.xml", f'<sst xmlns="{MAIN}" count="0" uniqueCount="0"/>'),
]

with zipfile.ZipFile(OUT, "w", zipfile.ZIP_DEFLATED) as z:
    for name, xml in PARTS:
        info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, DECL + xml)
print(os.path.normpath(OUT))
