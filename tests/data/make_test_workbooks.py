#!/usr/bin/python3
"""Writes the hand-made test workbooks of this folder.

lo_layout.xlsx follows the layout LibreOffice Calc gives its XLSX files (LibreOffice is not
installed here nor in CI, so the parts are written out by hand): shared strings made of formatted
runs with phonetic runs, formula cells holding t="str" and t="n" cached values, booleans, errors,
dates as styled serial numbers, a row left out, sheets and rows with LibreOffice's attributes.

odd_cells.xlsx gathers what other writers do: no dimension and cells without references, a too
small dimension, inline strings, t="d" cells, _xHHHH_ escapes, a shared-string index equal to the
count, and sheets whose part names run against the workbook order.
Run: /usr/bin/python3 tests/data/make_test_workbooks.py
"""
import os
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"
CT_SHEET = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"
DECL = '<?xml version="1.0" encoding="UTF-8"?>\n'


def package(path, sheets, shared, styles=True):
    """sheets: list of (title, part file name, xml body)."""
    parts = []
    ct = ('<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
          '<Default Extension="xml" ContentType="application/xml"/>'
          '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
          '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
          '<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>')
    for _, part, _ in sheets:
        ct += '<Override PartName="/xl/worksheets/%s" ContentType="%s"/>' % (part, CT_SHEET)
    if shared is not None:
        ct += '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>'
    ct += '</Types>'
    parts.append(("[Content_Types].xml", ct))
    parts.append(("_rels/.rels", '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/officeDocument" Target="xl/workbook.xml"/></Relationships>' % (PKG, REL)))
    rels = '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/styles" Target="styles.xml"/>' % (PKG, REL)
    wbs = ''
    for i, (title, part, _) in enumerate(sheets):
        rels += '<Relationship Id="rId%d" Type="%s/worksheet" Target="worksheets/%s"/>' % (i + 2, REL, part)
        wbs += '<sheet name="%s" sheetId="%d" state="visible" r:id="rId%d"/>' % (title, i + 1, i + 2)
    if shared is not None:
        rels += '<Relationship Id="rIdS" Type="%s/sharedStrings" Target="sharedStrings.xml"/>' % REL
    rels += '</Relationships>'
    parts.append(("xl/_rels/workbook.xml.rels", rels))
    parts.append(("xl/workbook.xml", '<workbook xmlns="%s" xmlns:r="%s"><fileVersion appName="Calc"/>'
                  '<workbookPr backupFile="false" showObjects="all" date1904="false"/><bookViews><workbookView activeTab="0"/></bookViews>'
                  '<sheets>%s</sheets><calcPr iterateCount="100" refMode="A1" iterate="false" iterateDelta="0.001"/></workbook>' % (MAIN, REL, wbs)))
    parts.append(("xl/styles.xml", '<styleSheet xmlns="%s"><numFmts count="1"><numFmt numFmtId="164" formatCode="YYYY\\-MM\\-DD"/></numFmts>'
                  '<fonts count="2"><font><sz val="10"/><name val="Arial"/><family val="2"/></font><font><b val="true"/><sz val="10"/><name val="Arial"/><family val="2"/></font></fonts>'
                  '<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>'
                  '<borders count="1"><border diagonalUp="false" diagonalDown="false"><left/><right/><top/><bottom/><diagonal/></border></borders>'
                  '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
                  '<cellXfs count="2"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/><xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="true"/></cellXfs>'
                  '<cellStyles count="1"><cellStyle name="Default" xfId="0" builtinId="0"/></cellStyles></styleSheet>' % MAIN))
    for _, part, body in sheets:
        parts.append(("xl/worksheets/" + part, body))
    if shared is not None:
        parts.append(("xl/sharedStrings.xml", '<sst xmlns="%s" count="%d" uniqueCount="%d">%s</sst>' % (MAIN, len(shared), len(shared), "".join(shared))))
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, xml in parts:
            info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, DECL + xml)


def lo_sheet(dim, rows):
    body = ('<worksheet xmlns="%s" xmlns:r="%s"><sheetPr filterMode="false"><pageSetUpPr fitToPage="false"/></sheetPr>'
            '<dimension ref="%s"/><sheetViews><sheetView showFormulas="false" tabSelected="true" workbookViewId="0">'
            '<selection pane="topLeft" activeCell="A1" sqref="A1"/></sheetView></sheetViews>'
            '<sheetFormatPr defaultColWidth="11.53515625" defaultRowHeight="12.8" zeroHeight="false" outlineLevelRow="0" outlineLevelCol="0"/>'
            '<cols><col collapsed="false" customWidth="false" hidden="false" outlineLevel="0" max="1025" min="1" style="0" width="11.52"/></cols>'
            '<sheetData>' % (MAIN, REL, dim))
    for r, cells in rows:
        body += '<row r="%d" customFormat="false" ht="12.8" hidden="false" customHeight="false" outlineLevel="0" collapsed="false">%s</row>' % (r, cells)
    body += ('</sheetData><printOptions headings="false" gridLines="false" gridLinesSet="true" horizontalCentered="false" verticalCentered="false"/>'
             '<pageMargins left="0.7875" right="0.7875" top="1.05277777777778" bottom="1.05277777777778" header="0.7875" footer="0.7875"/>'
             '<pageSetup paperSize="9" scale="100" orientation="portrait"/><headerFooter differentFirst="false" differentOddEven="false">'
             '<oddHeader>&amp;C&amp;&quot;Times New Roman,Regular&quot;&amp;12&amp;A</oddHeader></headerFooter></worksheet>')
    return body


def make_lo_layout():
    shared = [
        '<si><t xml:space="preserve">Name</t></si>',
        '<si><r><rPr><b val="true"/><sz val="10"/><rFont val="Arial"/><family val="2"/></rPr><t xml:space="preserve">Bold </t></r>'
        '<r><rPr><sz val="10"/><rFont val="Arial"/><family val="2"/></rPr><t xml:space="preserve">and plain</t></r></si>',
        '<si><t xml:space="preserve">after rich</t></si>',
        '<si><r><rPr><sz val="10"/><rFont val="Arial"/></rPr><t xml:space="preserve">東京</t></r>'
        '<rPh sb="0" eb="2"><t>トウキョウ</t></rPh><phoneticPr fontId="1"/></si>',
        '<si><t xml:space="preserve">Grüße &lt;&amp;&gt;</t></si>',
    ]
    s1 = lo_sheet("A1:E5", [
        (1, '<c r="A1" s="0" t="s"><v>0</v></c><c r="B1" s="0" t="s"><v>1</v></c><c r="C1" s="0" t="s"><v>2</v></c>'),
        (2, '<c r="A2" s="0" t="n"><v>12.5</v></c><c r="B2" s="0" t="n"><v>7</v></c>'
            '<c r="C2" s="0" t="n"><f aca="false">A2+B2</f><v>19.5</v></c>'
            '<c r="D2" s="0" t="str"><f aca="false">A1&amp;&quot;-&quot;&amp;C1</f><v>Name-after rich</v></c>'
            '<c r="E2" s="1" t="n"><v>45292</v></c>'),
        (3, '<c r="A3" s="0" t="b"><v>1</v></c><c r="B3" s="0" t="b"><f aca="false">1&gt;2</f><v>0</v></c>'
            '<c r="C3" s="0" t="e"><f aca="false">1/0</f><v>#DIV/0!</v></c><c r="D3" s="0" t="s"><v>3</v></c>'),
        (5, '<c r="A5" s="0" t="s"><v>4</v></c><c r="E5" s="0" t="str"><f aca="false">&quot;&quot;</f><v></v></c>'),
    ])
    s2 = lo_sheet("A1:B2", [
        (1, '<c r="A1" s="0" t="s"><v>2</v></c><c r="B1" s="0" t="n"><v>-0.25</v></c>'),
        (2, '<c r="A2" s="0" t="n"><f aca="false">B1*4</f><v>-1</v></c>'),
    ])
    package(os.path.join(HERE, "lo_layout.xlsx"), [("Tabelle1", "sheet1.xml", s1), ("Zweite", "sheet2.xml", s2)], shared)


def make_odd_cells():
    shared = ['<si><t>zero</t></si>', '<si><t>one_x000D_two _x005F_x0041_</t></si>']
    # Listed first in the workbook, stored as sheet2.xml.
    first = ('<worksheet xmlns="%s"><sheetData>'
             '<row><c><v>1</v></c><c t="s"><v>0</v></c><c t="inlineStr"><is><t>in</t><r><t>line</t></r></is></c></row>'
             '<row><c r="B2" t="d"><v>2024-02-29T10:00:00</v></c><c t="str"><v>x</v></c></row>'
             '<row r="4"><c r="A4" t="s"><v>2</v></c><c r="B4" t="s"><v>1</v></c><c r="C4" t="e"><v>#N/A</v></c></row>'
             '</sheetData></worksheet>' % MAIN)
    # Stored as sheet1.xml; its dimension claims one cell but the cells reach column AB.
    second = ('<worksheet xmlns="%s"><dimension ref="A1"/><sheetData>'
              '<row r="1"><c r="A1" t="str"><f>1+1</f><v>2</v></c><c r="AB1"><v>28</v></c></row>'
              '<row r="2"><c r="C2" t="b"><v>0</v></c></row>'
              '</sheetData></worksheet>' % MAIN)
    package(os.path.join(HERE, "odd_cells.xlsx"), [("First", "sheet2.xml", first), ("Second", "sheet1.xml", second)], shared)


if __name__ == "__main__":
    make_lo_layout()
    make_odd_cells()
