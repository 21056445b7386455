#include "data/WorkbookReload.h"

#include "data/ColumnBinding.h"
#include "data/XlsxReader.h"
#include "foundation/StringUtils.h"

namespace
{
WorkbookReload::Result refused(const QString &reason)
{
    WorkbookReload::Result r;
    r.reason = reason;
    return r;
}
} // namespace

WorkbookReload::Result WorkbookReload::reload(const ExcelBindingTable &loaded,
                                              const QStringList &boundHeadings)
{
    const QString path = loaded.Excel_Source_Path;
    const WorkbookFacts &was = loaded.sourceFacts;
    // The facts first, so that a change while the rows are read is noticed next time.
    WorkbookFacts facts = WorkbookFacts::take(path);
    if (!facts.isKnown())
        return refused(QStringLiteral("The file cannot be read."));
    XlsxReader reader;
    QString why;
    if (!reader.open(path, &why))
        return refused(why);
    const int sheet = was.sheet.isEmpty() ? 1 : int(reader.sheetNames().indexOf(was.sheet)) + 1;
    if (sheet < 1)
        return refused(QStringLiteral("It has no sheet \"%1\" any more.").arg(was.sheet));
    const XlsxRows read = reader.readSheet(sheet);
    if (!read.ok)
        return refused(read.message.isEmpty() ? XlsxReader::corruptMessage() : read.message);
    if (read.rows.isEmpty())
        return refused(
            QStringLiteral("The sheet \"%1\" is empty.").arg(reader.sheetNames().value(sheet - 1)));

    // Each column as loaded is found again by its heading, its old place first.
    const QStringList sheetTitles = read.rows.first();
    QStringList headings = loaded.columnTitles().mid(1);
    for (const QString &bound : boundHeadings)
        if (const QString heading = Trim_Str(bound); !heading.isEmpty() && !headings.contains(heading))
            headings.append(heading); // no place of its own: found by its heading alone
    Result result;
    QList<int> columns;
    for (int k = 0; k < headings.size(); ++k) {
        const int column =
            ColumnBinding::resolve(sheetTitles, was.columns.value(k, ColumnBinding::Missing), headings.at(k));
        if (column == ColumnBinding::Missing)
            result.goneHeadings.append(headings.at(k));
        else
            columns.append(column);
    }
    if (columns.isEmpty())
        return refused(QStringLiteral("None of the columns its rows came from are on the sheet any more."));

    result.table = ColumnBinding::tableOf(read.rows, columns, was.firstRow);
    result.uncomputedNote = ColumnBinding::uncomputedNote(read.rows, columns);
    facts.sheet = reader.sheetNames().value(sheet - 1);
    facts.firstRow = was.firstRow;
    facts.columns = columns;
    result.table.sourceFacts = facts;
    result.ok = true;
    return result;
}
