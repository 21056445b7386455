// The program's access to XLSX workbooks: opening one, its sheet titles, a sheet's title row and
// rows for the import dialogs, and writing a one-sheet workbook from the shipped template.
#pragma once

#include "XlsxReader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class SpreadsheetWriter
{
public:
    // The workbook the import dialogs have open.
    static SpreadsheetWriter &shared();

    // only_col true opens the workbook (no rows come back; the old workbook is closed even when
    // the new one cannot be read); false gives every row of sheet Excel_Sheet_Number.
    static XlsxRows ReadWorkbook(const QString &path, bool only_col);
    // The title row of sheet Excel_Sheet_Number; sets Excel_Sheet_Columns.
    static XlsxRows ReadData_only_column();
    // Sheet titles of the open workbook in workbook order.
    static QStringList Read_Sheet_Name();

    // Writes rows as the first sheet of a copy of the template; the file is replaced only when
    // the whole workbook was written. hasTitleRow changes nothing: every row is written alike.
    static bool WriteWorkbook(const QString &path, const QList<QStringList> &rows, bool hasTitleRow,
                              QString *message = nullptr);

    static QString ColumnIndexToName(int n);
    static QString ColumnNumber_To_Name(int n) { return ColumnIndexToName(n); }

    // The workbook template; tests and the resource setup may point it elsewhere.
    static void setTemplatePath(const QString &path);
    static QString templatePath();

    // The two generated parts: the worksheet (filling sharedStrings) and the shared strings.
    static QByteArray WriteWorksheetData(const QList<QStringList> &rows, QStringList *sharedStrings);
    static QByteArray WriteSharedStringsXML(const QStringList &sharedStrings);

    XlsxReader &reader() { return m_reader; }

private:
    XlsxReader m_reader;
};
