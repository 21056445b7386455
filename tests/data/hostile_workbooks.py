#!/usr/bin/python3
"""Writes hostile and careless workbooks into a folder, for the workbook reader's refusal tests.

usage: hostile_workbooks.py FOLDER [big]
Every file is a one-sheet workbook "plain.xlsx" changed in one way; "big" adds big_text.xlsx,
whose sheet inflates to about 300 MB of cell text from a few hundred KB, and
text_format_bomb.xlsx, whose one text cell its style's format would show 2,000 times, and
long_format_code.xlsx, whose styles' format codes are 15 million characters long.
"""
import os
import sys
import warnings
import zipfile

warnings.simplefilter("ignore")  # zipfile warns about the duplicate names written on purpose

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"
DTD = '<!DOCTYPE x [<!ENTITY e "%s">]>' % ("x" * 4000)

PARTS = {
    "[Content_Types].xml": '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
    '<Default Extension="xml" ContentType="application/xml"/></Types>',
    "_rels/.rels": '<Relationships xmlns="%s"><Relationship Id="r1" Type="%s/officeDocument" '
    'Target="xl/workbook.xml"/></Relationships>' % (PKG, REL),
    "xl/workbook.xml": '<workbook xmlns="%s" xmlns:r="%s"><sheets><sheet name="One" sheetId="1" r:id="rId1"/>'
    "</sheets></workbook>" % (MAIN, REL),
    "xl/_rels/workbook.xml.rels": '<Relationships xmlns="%s"><Relationship Id="rId1" Type="%s/worksheet" '
    'Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="%s/sharedStrings" '
    'Target="sharedStrings.xml"/></Relationships>' % (PKG, REL, REL),
    "xl/worksheets/sheet1.xml": '<worksheet xmlns="%s"><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c>'
    '<c r="B1"><v>2</v></c></row></sheetData></worksheet>' % MAIN,
    "xl/sharedStrings.xml": '<sst xmlns="%s"><si><t>Name</t></si></sst>' % MAIN,
}


def write(path, parts, extra=()):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, text in parts.items():
            z.writestr(name, text)
        for name, text in extra:
            z.writestr(name, text)


def with_dtd(name):
    parts = dict(PARTS)
    text = parts[name]
    at = text.index(">", text.index("<")) + 1 if text.startswith("<?") else 0
    parts[name] = text[:at] + DTD + text[at:]
    return parts


def laughs():
    # One declared entity used 100,000 times: 400 MB once expanded.
    parts = dict(PARTS)
    parts["xl/sharedStrings.xml"] = ('<?xml version="1.0"?>' + DTD + '<sst xmlns="%s"><si><t>' % MAIN
                                     + "&e;" * 100000 + "</t></si></sst>")
    return parts


def big_text(path):
    cell = "y" * 65536
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=1) as z:
        for name, text in PARTS.items():
            if name != "xl/worksheets/sheet1.xml":
                z.writestr(name, text)
        with z.open("xl/worksheets/sheet1.xml", "w", force_zip64=True) as sheet:
            sheet.write(('<worksheet xmlns="%s"><sheetData>' % MAIN).encode())
            for r in range(1, 4601):
                sheet.write(('<row r="%d"><c r="A%d" t="inlineStr"><is><t>%s</t></is></c></row>'
                             % (r, r, cell)).encode())
            sheet.write(b"</sheetData></worksheet>")


def with_format(codes, text="Name"):
    """The plain workbook, its cells in the style of the first code, and one style for each code."""
    parts = dict(PARTS)
    parts["xl/_rels/workbook.xml.rels"] = parts["xl/_rels/workbook.xml.rels"].replace(
        "</Relationships>", '<Relationship Id="rId3" Type="%s/styles" Target="styles.xml"/></Relationships>' % REL)
    parts["xl/sharedStrings.xml"] = '<sst xmlns="%s"><si><t>%s</t></si></sst>' % (MAIN, text)
    parts["xl/worksheets/sheet1.xml"] = parts["xl/worksheets/sheet1.xml"].replace(
        't="s"', 's="1" t="s"').replace('<c r="B1">', '<c r="B1" s="1">')
    formats = "".join('<numFmt numFmtId="%d" formatCode="%s"/>' % (164 + k, code) for k, code in enumerate(codes))
    styles = "".join('<xf numFmtId="%d"/>' % (164 + k) for k in range(len(codes)))
    parts["xl/styles.xml"] = ('<styleSheet xmlns="%s"><numFmts>%s</numFmts><cellXfs><xf numFmtId="0"/>%s</cellXfs>'
                              '</styleSheet>' % (MAIN, formats, styles))
    return parts


def old_binary(folder):
    import xlwt
    book = xlwt.Workbook()
    book.add_sheet("One").write(0, 0, "Name")
    xls = os.path.join(folder, "old.xls")
    book.save(xls)
    with open(xls, "rb") as f:
        data = bytearray(f.read())
    with open(os.path.join(folder, "old_format.xlsx"), "wb") as f:
        f.write(data)
    # The same compound file with its stream named as a password-protected workbook names it.
    old = "Workbook".encode("utf-16-le") + b"\0\0"
    at = data.index(old)
    new = "EncryptedPackage".encode("utf-16-le") + b"\0\0"
    data[at:at + len(new)] = new
    data[at + 64:at + 66] = len(new).to_bytes(2, "little")
    with open(os.path.join(folder, "encrypted.xlsx"), "wb") as f:
        f.write(data)


def main():
    folder = sys.argv[1]
    write(os.path.join(folder, "plain.xlsx"), PARTS)
    for tag, name in (("root_rels", "_rels/.rels"), ("workbook", "xl/workbook.xml"),
                      ("workbook_rels", "xl/_rels/workbook.xml.rels"), ("sheet", "xl/worksheets/sheet1.xml"),
                      ("strings", "xl/sharedStrings.xml")):
        write(os.path.join(folder, "dtd_%s.xlsx" % tag), with_dtd(name))
    write(os.path.join(folder, "laughs.xlsx"), laughs())
    other_sheet = PARTS["xl/worksheets/sheet1.xml"].replace("<v>2</v>", "<v>3</v>")
    write(os.path.join(folder, "duplicate_sheet.xlsx"), PARTS, [("xl/worksheets/sheet1.xml", other_sheet)])
    write(os.path.join(folder, "duplicate_case.xlsx"), PARTS,
          [("XL/SharedStrings.xml", '<sst xmlns="%s"><si><t>Other</t></si></sst>' % MAIN)])
    old_binary(folder)
    if len(sys.argv) > 2 and sys.argv[2] == "big":
        big_text(os.path.join(folder, "big_text.xlsx"))
        # A text section of 2,000 "@" over a text of 600,000 letters: 1.2 GB once shown.
        write(os.path.join(folder, "text_format_bomb.xlsx"), with_format(["@" * 2000], "y" * 600000))
        # Two codes of 15 million placeholders: each would take 600 MB to take apart.
        write(os.path.join(folder, "long_format_code.xlsx"), with_format(["0" * 15000000 + ";@", "#" * 15000000]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
