// Workbooks for the tests as a spreadsheet program writes them (openpyxl), and the binding table the
// column import makes of one.
#pragma once

#include "data/ColumnBinding.h"
#include "data/XlsxReader.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace testsupport
{

// A one-sheet workbook of the rows given, its sheet titled sheet (openpyxl's own title when empty).
inline void writeOneSheet(const QString &path, const QList<QStringList> &rows, const QString &sheet = {})
{
    QJsonArray json;
    for (const QStringList &row : rows)
        json.append(QJsonArray::fromStringList(row));
    const ProcResult r =
        python(QStringLiteral("import sys, json, openpyxl\n"
                              "wb = openpyxl.Workbook(); ws = wb.active\n"
                              "if sys.argv[2]: ws.title = sys.argv[2]\n"
                              "for row in json.loads(sys.argv[3]): ws.append(row)\n"
                              "wb.save(sys.argv[1])\n"),
               {path, sheet, QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact))});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
}

// The table the column import makes of the columns (sheet positions) of a sheet whose first row
// titles them, with the facts of the file as loaded now.
inline ExcelBindingTable loadedTable(const QString &path, const QString &sheet, const QList<int> &columns)
{
    XlsxReader reader;
    EXPECT_TRUE(reader.open(path));
    ExcelBindingTable table = ColumnBinding::tableOf(reader.readSheet(1).rows, columns, 1);
    table.Excel_Source_Path = path;
    table.sourceFacts = WorkbookFacts::take(path);
    table.sourceFacts.sheet = sheet;
    table.sourceFacts.columns = columns;
    return table;
}

} // namespace testsupport
