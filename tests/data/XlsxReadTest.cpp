// Reading workbooks: against openpyxl for files of openpyxl, xlsxwriter and LibreOffice's layout,
// known answers for unusual cells, and damaged files that must not answer with old rows.
#include "DataTestUtil.h"

#include "data/DataState.h"
#include "data/SSZipArchive.h"
#include "data/SpreadsheetWriter.h"
#include "data/XlsxReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace datatest;

namespace
{

// A one-sheet workbook around the given worksheet body, without shared strings.
QString makeWorkbook(const QTemporaryDir &tmp, const QString &name, const QByteArray &sheetXml)
{
    const QString path = tmp.filePath(name);
    SSZipArchive zip(path);
    EXPECT_TRUE(zip.open());
    zip.writeData("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                  "<Relationship Id=\"r1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                  "relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>",
                  QStringLiteral("_rels/.rels"));
    zip.writeData("<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                  "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
                  "<sheet name=\"Only\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>",
                  QStringLiteral("xl/workbook.xml"));
    zip.writeData("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                  "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                  "relationships/worksheet\" Target=\"/xl/worksheets/data.xml\"/></Relationships>",
                  QStringLiteral("xl/_rels/workbook.xml.rels"));
    zip.writeData(sheetXml, QStringLiteral("xl/worksheets/data.xml"));
    EXPECT_TRUE(zip.close());
    return path;
}

QList<QStringList> rowsOf(const QByteArray &json)
{
    QList<QStringList> rows;
    for (const QJsonValue &r : QJsonDocument::fromJson(json).array()) {
        QStringList row;
        for (const QJsonValue &c : r.toArray())
            row << c.toString();
        rows << row;
    }
    return rows;
}

} // namespace

TEST(XlsxRead, MatchesOpenpyxlForOtherWriters)
{
    QTemporaryDir tmp;
    // Writes workbooks with openpyxl and xlsxwriter, then compares every sheet; the committed
    // LibreOffice-layout workbook is compared too.
    const ProcResult r = run(QStringLiteral("/usr/bin/python3"), {testFile(QStringLiteral("xlsx_compare.py")),
                                                                  QStringLiteral(CARDTOOL_PATH), tmp.path()});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    const ProcResult lo = run(QStringLiteral("/usr/bin/python3"),
                              {testFile(QStringLiteral("xlsx_compare.py")), QStringLiteral(CARDTOOL_PATH),
                               tmp.path(), testFile(QStringLiteral("lo_layout.xlsx"))});
    EXPECT_EQ(lo.exitCode, 0) << lo.out.toStdString() << lo.err.toStdString();
}

TEST(XlsxRead, RichRunsFormulasAndPhoneticRunsKeepTheirPlaces)
{
    XlsxReader reader;
    ASSERT_TRUE(reader.open(testFile(QStringLiteral("lo_layout.xlsx"))));
    EXPECT_EQ(reader.sheetNames(), (QStringList{QStringLiteral("Tabelle1"), QStringLiteral("Zweite")}));
    const XlsxRows rows = reader.readSheet(1);
    ASSERT_TRUE(rows.ok);
    ASSERT_EQ(rows.rows.size(), 4); // row 4 is absent from the file
    EXPECT_EQ(rows.rows[0], (QStringList{"Name", "Bold and plain", "after rich", "", ""}));
    // E2 is a date under LibreOffice's "YYYY-MM-DD": it reads as shown, not as 45292.
    EXPECT_EQ(rows.rows[1], (QStringList{"12.5", "7", "19.5", "Name-after rich", "2024-01-01"}));
    EXPECT_EQ(rows.rows[2], (QStringList{"TRUE", "FALSE", "#DIV/0!", QString::fromUtf8("東京"), ""}));
    EXPECT_EQ(rows.rows[3][0], QString::fromUtf8("Grüße <&>"));
}

TEST(XlsxRead, UnusualCellsOfOtherWriters)
{
    // odd_cells.xlsx: the workbook lists "First" (part sheet2.xml) before "Second" (sheet1.xml).
    const ProcResult sheets =
        cardtool({QStringLiteral("xlsx-sheets"), testFile(QStringLiteral("odd_cells.xlsx"))});
    EXPECT_EQ(sheets.out.trimmed(), QByteArray(R"(["First","Second"])"));
    const ProcResult first =
        cardtool({QStringLiteral("xlsx-read"), testFile(QStringLiteral("odd_cells.xlsx")),
                  QStringLiteral("--sheet"), "1"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QList<QStringList> a = rowsOf(first.out);
    // No dimension, cells without references, inline strings, a t="d" cell (without a style: its
    // serial number in the General form), an escape, an error cell, and a shared-string index
    // equal to the count (no such entry: empty).
    ASSERT_EQ(a.size(), 3);
    EXPECT_EQ(a[0], (QStringList{"1", "zero", "inline"}));
    EXPECT_EQ(a[1], (QStringList{"", "45351.4166666667", "x"}));
    EXPECT_EQ(a[2], (QStringList{"", "one\rtwo _x0041_", "#N/A"}));

    const ProcResult second =
        cardtool({QStringLiteral("xlsx-read"), testFile(QStringLiteral("odd_cells.xlsx")),
                  QStringLiteral("--sheet"), "2"});
    const QList<QStringList> b = rowsOf(second.out);
    ASSERT_EQ(b.size(), 2);
    // The dimension says A1, but the cells reach AB: every cell lands in its column.
    ASSERT_EQ(b[0].size(), 28);
    EXPECT_EQ(b[0][0], QStringLiteral("2"));
    EXPECT_EQ(b[0][27], QStringLiteral("28"));
    EXPECT_EQ(b[1][2], QStringLiteral("FALSE"));

    for (const QString &n : {QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("x")}) {
        const ProcResult bad =
            cardtool({QStringLiteral("xlsx-read"), testFile(QStringLiteral("odd_cells.xlsx")),
                      QStringLiteral("--sheet"), n});
        EXPECT_EQ(bad.exitCode, 1) << n.toStdString();
        EXPECT_FALSE(bad.err.isEmpty());
    }
}

TEST(XlsxRead, TitleRowAndDimension)
{
    QTemporaryDir tmp;
    const QString path = makeWorkbook(
        tmp, QStringLiteral("t.xlsx"),
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><dimension "
        "ref=\"B2:D5\"/>"
        "<sheetData><row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t>b</t></is></c><c r=\"D2\" "
        "t=\"inlineStr\">"
        "<is><t>d</t></is></c></row><row r=\"3\"><c r=\"C3\"><v>5</v></c></row></sheetData></worksheet>");
    DataState::instance().reset();
    DataState::instance().Excel_Sheet_Number = 1;
    ASSERT_TRUE(SpreadsheetWriter::ReadWorkbook(path, true).ok);
    EXPECT_EQ(SpreadsheetWriter::Read_Sheet_Name(), QStringList{QStringLiteral("Only")});
    const XlsxRows titles = SpreadsheetWriter::ReadData_only_column();
    ASSERT_TRUE(titles.ok);
    ASSERT_EQ(titles.rows.size(), 1);
    EXPECT_EQ(titles.rows[0], (QStringList{"Untitled Column 1", "b", "Untitled Column 3", "d"}));
    EXPECT_EQ(DataState::instance().Excel_Sheet_Columns, 4);
    const XlsxRows all = SpreadsheetWriter::ReadWorkbook(path, false);
    ASSERT_TRUE(all.ok);
    EXPECT_EQ(all.rows, (QList<QStringList>{{"", "b", "", "d"}, {"", "", "5", ""}}));
}

TEST(XlsxRead, UnreadableWorkbookNeverGivesEarlierRows)
{
    QTemporaryDir tmp;
    const QString good =
        makeWorkbook(tmp, QStringLiteral("good.xlsx"),
                     "<worksheet><sheetData><row><c><v>7</v></c></row></sheetData></worksheet>");
    QByteArray bytes = readFile(good);
    writeFile(tmp.filePath(QStringLiteral("truncated.xlsx")), bytes.left(bytes.size() / 2));
    writeFile(tmp.filePath(QStringLiteral("text.xlsx")), "Name,Age\nAnn,3\n");
    // An encrypted entry (traditional zip encryption) cannot be read without a password.
    QByteArray encrypted = bytes;
    encrypted[6] = char(encrypted[6] | 1);
    const qsizetype central = encrypted.lastIndexOf(QByteArray("PK\x01\x02", 4));
    for (qsizetype at = encrypted.indexOf(QByteArray("PK\x01\x02", 4)); at >= 0 && at <= central;
         at = encrypted.indexOf(QByteArray("PK\x01\x02", 4), at + 4))
        encrypted[at + 8] = char(encrypted[at + 8] | 1);
    writeFile(tmp.filePath(QStringLiteral("encrypted.xlsx")), encrypted);
    // A flipped bit in the worksheet's deflated data: a checksum error.
    QByteArray flipped = bytes;
    const qsizetype sheetAt = flipped.indexOf("xl/worksheets/data.xml");
    flipped[sheetAt + 22 + 3] = char(flipped[sheetAt + 22 + 3] ^ 0x04);
    writeFile(tmp.filePath(QStringLiteral("flipped.xlsx")), flipped);

    DataState::instance().Excel_Sheet_Number = 1;
    for (const QString &name :
         {QStringLiteral("truncated.xlsx"), QStringLiteral("text.xlsx"), QStringLiteral("encrypted.xlsx"),
          QStringLiteral("flipped.xlsx"), QStringLiteral("missing.xlsx")}) {
        ASSERT_TRUE(SpreadsheetWriter::ReadWorkbook(good, true).ok);
        ASSERT_TRUE(SpreadsheetWriter::ReadData_only_column().ok);
        const QString bad = tmp.filePath(name);
        const XlsxRows opened = SpreadsheetWriter::ReadWorkbook(bad, true);
        const XlsxRows titles = SpreadsheetWriter::ReadData_only_column();
        const XlsxRows rows = SpreadsheetWriter::ReadWorkbook(bad, false);
        EXPECT_FALSE(opened.ok && titles.ok && rows.ok) << name.toStdString();
        EXPECT_TRUE(rows.rows.isEmpty()) << name.toStdString();
        // An encrypted workbook says so beside the usual words.
        EXPECT_EQ(rows.message, name.startsWith(QLatin1String("encrypted")) ? XlsxReader::encryptedMessage()
                                                                            : XlsxReader::corruptMessage())
            << name.toStdString();
        const ProcResult tool = cardtool({QStringLiteral("xlsx-read"), bad, QStringLiteral("--sheet"), "1"});
        EXPECT_EQ(tool.exitCode, 1) << name.toStdString();
        EXPECT_TRUE(tool.out.isEmpty());
    }
}
