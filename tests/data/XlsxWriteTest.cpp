// Writing workbooks: what openpyxl gives back from a series export, which values become numbers,
// escapes that keep the file valid, and failures that are never reported as success.
#include "DataTestUtil.h"

#include "data/SeriesFiles.h"
#include "data/SpreadsheetWriter.h"
#include "data/XlsxReader.h"
#include "data/XlsxText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace datatest;

TEST(XlsxWrite, PlainNumbersOnly)
{
    for (const char *n : {"0", "7", "-7", "12", "3.14", "-0.5", "123456789012345", "0.00000000000001"})
        EXPECT_TRUE(XlsxText::isPlainNumber(QString::fromLatin1(n))) << n;
    for (const char *t :
         {"", "-", "-0", "00123", "+7", "12,5", "12.50", "1.", ".5", "1e5", " 1", "1 ", "1234567890123456",
          "0.000000000000001", "12345678901234567890", "0.0", "١٢", "0x1F", "NaN"})
        EXPECT_FALSE(XlsxText::isPlainNumber(QString::fromUtf8(t))) << t;
}

TEST(XlsxWrite, EscapesKeepThePartValid)
{
    EXPECT_EQ(XlsxText::escape(QStringLiteral("a\x01"
                                              "b\rc\td\ne")),
              QStringLiteral("a_x0001_b_x000D_c\td\ne"));
    EXPECT_EQ(XlsxText::escape(QStringLiteral("_x0041_ and _x00zz_")),
              QStringLiteral("_x005F_x0041_ and _x00zz_"));
    EXPECT_EQ(XlsxText::escape(QString(QChar(0xFFFF))), QStringLiteral("_xFFFF_"));
    EXPECT_EQ(XlsxText::escape(QString(QChar(0xD800))), QStringLiteral("_xD800_"));
    const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\x82");
    EXPECT_EQ(XlsxText::escape(emoji), emoji);
    for (const QString &s :
         {QStringLiteral("a\x01"
                         "b"),
          QStringLiteral("_x0041_"), QStringLiteral("x\ry"), QStringLiteral("_x005F_x0041_")})
        EXPECT_EQ(XlsxText::unescape(XlsxText::escape(s)), s);
    EXPECT_EQ(XlsxText::ColumnIndexToName(27), QStringLiteral("AA"));
    EXPECT_EQ(XlsxText::ColumnIndexToName(52), QStringLiteral("AZ"));
    EXPECT_EQ(XlsxText::ColumnIndexToName(703), QStringLiteral("AAA"));
    EXPECT_EQ(XlsxText::columnOfReference(u"XFD1"), 16384);
    EXPECT_EQ(XlsxText::columnOfReference(u"XFE1"), 0);
}

TEST(XlsxWrite, OpenpyxlGivesBackEveryValue)
{
    QTemporaryDir tmp;
    const QString out = tmp.filePath(QStringLiteral("export.xlsx"));
    const QStringList values{QStringLiteral("00123"),
                             QStringLiteral("+7"),
                             QStringLiteral("12,5"),
                             QStringLiteral("12345678901234567890"),
                             QStringLiteral("<&>\"'"),
                             QString::fromUtf8("Grüße 日本 \xF0\x9F\x8E\x82"),
                             QStringLiteral("a\x01"
                                            "b\x1F"
                                            "c"),
                             QStringLiteral("_x0041_"),
                             QStringLiteral("12"),
                             QStringLiteral("-3.25"),
                             QStringLiteral("12.50"),
                             QStringLiteral("-0"),
                             QStringLiteral("abc"),
                             QStringLiteral("abc")};
    // Lines as the manager holds them: trimmed, blank lines left out.
    const QByteArray input = ("  " + values.join(QLatin1Char('\n')) + "\r\n\n   \n").toUtf8();
    const ProcResult w = cardtool({QStringLiteral("xlsx-write"), out}, input);
    ASSERT_EQ(w.exitCode, 0) << w.err.toStdString();

    const ProcResult py = python(QStringLiteral(R"(
import json, sys, warnings
warnings.simplefilter('ignore')
import openpyxl
ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
print(json.dumps([[c.value for c in row] for row in ws.iter_rows()]))
)"),
                                 {out});
    ASSERT_EQ(py.exitCode, 0) << py.err.toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(py.out).array();
    ASSERT_EQ(rows.size(), values.size() + 1);
    EXPECT_EQ(rows[0].toArray()[0].toString(), QStringLiteral("Batch Value"));
    for (int i = 0; i < values.size(); ++i) {
        const QJsonValue v = rows[i + 1].toArray()[0];
        const QString &want = values[i];
        if (XlsxText::isPlainNumber(want)) {
            EXPECT_TRUE(v.isDouble()) << want.toStdString();
            EXPECT_DOUBLE_EQ(v.toDouble(), want.toDouble());
        } else if (want.contains(QChar(1))) {
            EXPECT_EQ(v.toString(),
                      QStringLiteral("a_x0001_b_x001F_c")); // openpyxl leaves escapes as they are
        } else {
            EXPECT_EQ(v.toString(), want) << want.toStdString();
        }
    }
    // Our reader resolves the escapes and gives every value back exactly.
    XlsxReader reader;
    ASSERT_TRUE(reader.open(out));
    const XlsxRows back = reader.readSheet(1);
    ASSERT_TRUE(back.ok);
    ASSERT_EQ(back.rows.size(), values.size() + 1);
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(back.rows[i + 1][0], values[i]);
}

TEST(XlsxWrite, WorksheetLayout)
{
    QStringList strings;
    const QByteArray sheet =
        SpreadsheetWriter::WriteWorksheetData({{"Batch Value"}, {"12"}, {"abc"}, {"abc"}}, &strings);
    EXPECT_TRUE(sheet.contains("<dimension ref=\"A1:A4\"/>"));
    EXPECT_TRUE(sheet.contains("<c r=\"A2\">"));
    EXPECT_TRUE(sheet.contains("<c r=\"A4\" t=\"s\">"));
    EXPECT_EQ(strings, (QStringList{"Batch Value", "abc", "abc"}));
    EXPECT_TRUE(SpreadsheetWriter::WriteSharedStringsXML(strings).contains("count=\"3\" uniqueCount=\"3\""));
}

TEST(XlsxWrite, FailuresAreReported)
{
    QTemporaryDir tmp;
    const SeriesResult noFolder =
        SeriesFiles::Export({QStringLiteral("a")}, tmp.filePath(QStringLiteral("missing/out.xlsx")), true);
    EXPECT_FALSE(noFolder.ok());
    EXPECT_NE(noFolder.message, SeriesFiles::MsgExported);
    const SeriesResult noFolderTxt =
        SeriesFiles::Export({QStringLiteral("a")}, tmp.filePath(QStringLiteral("missing/out.txt")), false);
    EXPECT_FALSE(noFolderTxt.ok());
    EXPECT_EQ(noFolderTxt.message, SeriesFiles::MsgFileAccess);

    // Without its template nothing is written and the old file stays.
    const QString target = tmp.filePath(QStringLiteral("keep.xlsx"));
    writeFile(target, "old");
    SpreadsheetWriter::setTemplatePath(tmp.filePath(QStringLiteral("no-template.xlsx")));
    QString message;
    EXPECT_FALSE(SpreadsheetWriter::WriteWorkbook(target, {{"x"}}, false, &message));
    SpreadsheetWriter::setTemplatePath({});
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(readFile(target), QByteArray("old"));

    const SeriesResult ok = SeriesFiles::Export({QStringLiteral("1"), QStringLiteral("b")}, target, true);
    EXPECT_TRUE(ok.ok());
    EXPECT_EQ(ok.message, SeriesFiles::MsgExported);
}
