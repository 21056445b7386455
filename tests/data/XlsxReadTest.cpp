// Reading workbooks: against openpyxl for files of openpyxl, xlsxwriter and LibreOffice's layout,
// known answers for unusual cells, and damaged files that must not answer with old rows.
#include "DataTestUtil.h"

#include "data/ColumnBinding.h"
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
    ASSERT_EQ(rows.rows.size(), 5); // row 4 is absent from the file, and empty
    EXPECT_EQ(rows.rows[0], (QStringList{"Name", "Bold and plain", "after rich", "", ""}));
    // E2 is a date under LibreOffice's "YYYY-MM-DD": it reads as shown, not as 45292.
    EXPECT_EQ(rows.rows[1], (QStringList{"12.5", "7", "19.5", "Name-after rich", "2024-01-01"}));
    EXPECT_EQ(rows.rows[2], (QStringList{"TRUE", "FALSE", "#DIV/0!", QString::fromUtf8("東京"), ""}));
    EXPECT_EQ(rows.rows[3], QStringList(5));
    EXPECT_EQ(rows.rows[4][0], QString::fromUtf8("Grüße <&>"));
    // An empty text is a result of its formula (E5), not a formula never computed.
    EXPECT_TRUE(rows.rows.uncomputedFormulas().isEmpty());
}

// Workbooks that leave rows out, write them empty, or end in empty and formatted rows, against
// LibreOffice's CSV of each (made by make_row_numbering.py): row k is the row the sheet numbers k,
// and the rows end with the last one holding a value.
TEST(XlsxRead, RowsKeepTheSheetsNumbering)
{
    for (const char *name : {"openpyxl_gaps", "xlsxwriter_gaps", "handmade_rows"}) {
        SCOPED_TRACE(name);
        const QString base = testFile(QStringLiteral("rownumbers/") + QLatin1String(name));
        const ProcResult csv =
            python(QStringLiteral("import csv,json,sys\n"
                                  "with open(sys.argv[1],newline='',encoding='utf-8') as f:\n"
                                  "    print(json.dumps(list(csv.reader(f))))\n"),
                   {base + QStringLiteral(".csv")});
        ASSERT_EQ(csv.exitCode, 0) << csv.errText().toStdString();
        const QList<QStringList> expected = rowsOf(csv.out);
        XlsxReader reader;
        ASSERT_TRUE(reader.open(base + QStringLiteral(".xlsx")));
        const XlsxRows rows = reader.readSheet(1);
        ASSERT_TRUE(rows.ok) << rows.message.toStdString();
        ASSERT_EQ(rows.rows.size(), expected.size());
        for (qsizetype r = 0; r < expected.size(); ++r) {
            for (int c = 0; c < std::max(rows.columns, int(expected[r].size())); ++c)
                EXPECT_EQ(rows.rows.text(r, c), expected[r].value(c))
                    << "row " << r + 1 << " column " << c + 1;
        }
    }
}

// Formulas whose result the workbook does not hold are named on loading, and so are the 0 and the
// empty value that a workbook marked to be recalculated may hold in place of a result
// (make_formula_workbooks.py): xlsxwriter writes them for a formula given no result, and
// writes the same for a formula given 0 or "". Every other result stored is trusted, whatever
// the mark.
TEST(XlsxRead, FormulasNeverComputedAreNamed)
{
    const QString never =
        QStringLiteral(" hold formulas that were never computed; open and save the workbook "
                       "in a spreadsheet program first.");
    struct Case {
        const char *file;
        QString note; // named on loading; "" for none
        QString total;
    } const cases[] = {
        {"openpyxl", QStringLiteral("Total: C2-C41; Label: D2-D3") + never, ""},
        {"xlsxwriter", QStringLiteral("Total: C2-C41; Label: D2-D3") + never, "0"},
        {"xlsxwriter_values", QStringLiteral("Zero: E2-E41; Empty: F2-F41") + never, "5"},
        {"lo_saved", "", "5"},
        {"gnumeric_saved", "", "5"},
        {"lo_values", "", "5"},
        {"gnumeric_values", "", "5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        XlsxReader book;
        ASSERT_TRUE(book.open(testFile(QStringLiteral("formulas/%1.xlsx").arg(QLatin1String(c.file)))));
        const XlsxRows read = book.readSheet(1);
        ASSERT_TRUE(read.ok) << read.message.toStdString();
        EXPECT_EQ(ColumnBinding::uncomputedNote(read.rows, {}).toStdString(), c.note.toStdString());
        ASSERT_EQ(read.rows.size(), 41);
        EXPECT_EQ(read.rows.text(1, 2), c.total);
    }
    // Without the mark to recalculate, only a formula without a result counts: a missing or empty
    // value of a number, not the empty text a text formula gave.
    QTemporaryDir tmp;
    const QString path = makeWorkbook(
        tmp, QStringLiteral("f.xlsx"),
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
        "<row r=\"1\"><c r=\"A1\"><f>1+1</f></c><c r=\"B1\"><f>2*3</f><v>6</v></c>"
        "<c r=\"C1\" t=\"str\"><f>\"\"</f><v></v></c><c r=\"D1\"><f>C1</f><v></v></c></row>"
        "<row r=\"3\"><c r=\"A3\"><f>A1</f></c></row></sheetData></worksheet>");
    XlsxReader reader;
    ASSERT_TRUE(reader.open(path));
    const XlsxRows rows = reader.readSheet(1);
    ASSERT_TRUE(rows.ok);
    ASSERT_EQ(rows.rows.size(), 3); // a formula is content, though it shows nothing yet
    EXPECT_EQ(rows.rows[0][1], QStringLiteral("6"));
    EXPECT_EQ(
        ColumnBinding::uncomputedNote(rows.rows, {}),
        QStringLiteral("A1, A3; D1 hold formulas that were never computed; open and save the workbook in a "
                       "spreadsheet program first."));
    EXPECT_EQ(ColumnBinding::uncomputedNote(rows.rows, {1, 2}), QString());
    EXPECT_EQ(ColumnBinding::uncomputedNote(rows.rows, {3}),
              QStringLiteral("D1 holds a formula that was never computed; open and save the workbook in a "
                             "spreadsheet program first."));
}

TEST(XlsxRead, RowNumbersBeyondTheSheetAreRefusedAndRowsOutOfOrderFollowOn)
{
    struct Case {
        const char *what;
        QByteArray rows;
        qsizetype size; // -1: refused as too large
        QString last;   // the first cell of the last row
    } const cases[] = {
        {"the sheet's last row", "<row r=\"1048576\"><c><v>1</v></c></row>", XlsxReader::MaxRows, "1"},
        {"past the last row", "<row r=\"1048577\"><c><v>1</v></c></row>", -1, ""},
        {"a number no sheet has", "<row r=\"99999999999999\"><c><v>1</v></c></row>", -1, ""},
        {"a row numbered before the last",
         "<row r=\"3\"><c><v>3</v></c></row><row r=\"2\"><c><v>4</v></c></row>", 4, "4"},
        {"a number that is none", "<row r=\"x\"><c><v>1</v></c></row><row><c><v>2</v></c></row>", 2, "2"},
    };
    QTemporaryDir tmp;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        XlsxReader reader;
        ASSERT_TRUE(reader.open(makeWorkbook(
            tmp, QStringLiteral("r.xlsx"),
            "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
                c.rows + "</sheetData></worksheet>")));
        const XlsxRows rows = reader.readSheet(1);
        EXPECT_EQ(rows.ok, c.size >= 0);
        if (c.size < 0) {
            EXPECT_EQ(rows.message, XlsxReader::tooLargeMessage());
            continue;
        }
        ASSERT_EQ(rows.rows.size(), c.size);
        EXPECT_EQ(rows.rows.text(c.size - 1, 0), c.last);
    }
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
    // No dimension, rows and cells without references, inline strings, a t="d" cell (without a
    // style: its serial number in the General form), an escape, an error cell, and a
    // shared-string index equal to the count (no such entry: empty).
    ASSERT_EQ(a.size(), 4);
    EXPECT_EQ(a[0], (QStringList{"1", "zero", "inline"}));
    EXPECT_EQ(a[1], (QStringList{"", "45351.4166666667", "x"}));
    EXPECT_EQ(a[2], QStringList(3));
    EXPECT_EQ(a[3], (QStringList{"", "one\rtwo _x0041_", "#N/A"}));

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
    // The sheet's row 1 is empty: its titles are the defaults, as wide as the dimension says.
    EXPECT_EQ(titles.rows[0], (QStringList{"Untitled Column 1", "Untitled Column 2", "Untitled Column 3",
                                           "Untitled Column 4"}));
    EXPECT_EQ(DataState::instance().Excel_Sheet_Columns, 4);
    const XlsxRows all = SpreadsheetWriter::ReadWorkbook(path, false);
    ASSERT_TRUE(all.ok);
    EXPECT_EQ(all.rows, (QList<QStringList>{{"", "", "", ""}, {"", "b", "", "d"}, {"", "", "5", ""}}));
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
