// Helpers the workbook dialog tests share: workbooks written by xlsxwriter from rows given as
// JSON, and column choices ticked with the keyboard as a user ticks them.
#pragma once

#include "data/ui/ImportExcelBase.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace testsupport
{
// Writes a workbook: sheets is a list of {name, rows}; a row cell null is left empty.
inline void writeWorkbook(const QString &path, const QJsonArray &sheets)
{
    const ProcResult r = python(QStringLiteral(R"(
import json, sys, xlsxwriter
wb = xlsxwriter.Workbook(sys.argv[1])
for sheet in json.load(sys.stdin):
    ws = wb.add_worksheet(sheet['name'])
    for r, row in enumerate(sheet['rows']):
        for c, v in enumerate(row):
            if v is not None:
                ws.write_string(r, c, v) if isinstance(v, str) else ws.write(r, c, v)
wb.close()
)"),
                                {path}, QJsonDocument(sheets).toJson());
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
}

inline QJsonObject sheet(const QString &name, const QList<QStringList> &rows)
{
    QJsonArray jrows;
    for (const QStringList &row : rows) {
        QJsonArray cells;
        for (const QString &c : row)
            cells.append(c.isNull() ? QJsonValue() : QJsonValue(c));
        jrows.append(cells);
    }
    return QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("rows"), jrows}};
}

// Ticks or unticks column choice j: its row made current, then Space, as on the keyboard.
inline void toggleColumn(ImportExcelBase &dialog, int j)
{
    dialog.ColList->setCurrentIndex(dialog.ListData_xl->index(j, 0));
    QTest::keyClick(dialog.ColList, Qt::Key_Space);
}

inline QStringList choiceTitles(const ImportExcelBase &dialog)
{
    QStringList titles;
    for (int j = 0; j < dialog.ListData_xl->count(); ++j)
        titles << dialog.ListData_xl->objectValue(QStringLiteral("Extension"), j);
    return titles;
}
} // namespace testsupport
