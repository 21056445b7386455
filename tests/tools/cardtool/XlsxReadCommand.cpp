// cardtool xlsx-sheets / xlsx-read: the sheet titles of a workbook and the rows of one sheet, as
// JSON, for checks against an independent reader.
#include "Command.h"

#include "data/XlsxReader.h"

#include <QJsonArray>
#include <QJsonDocument>

CARDTOOL_COMMAND(xlsxSheetsCommand, "xlsx-sheets", "FILE   JSON array of the sheet titles in workbook order")
{
    if (args.size() != 1) {
        cardtool::fail(QStringLiteral("xlsx-sheets needs FILE"));
        return 1;
    }
    XlsxReader reader;
    QString message;
    if (!reader.open(args.first(), &message)) {
        cardtool::fail(message);
        return 1;
    }
    QJsonArray names;
    for (const QString &n : reader.sheetNames())
        names.append(n);
    cardtool::writeStdout(QJsonDocument(names).toJson(QJsonDocument::Compact) + '\n');
    return 0;
}

CARDTOOL_COMMAND(xlsxReadCommand, "xlsx-read", "FILE --sheet N   JSON array of the rows of sheet N (from 1)")
{
    QStringList rest = args;
    QString sheetText = QStringLiteral("1");
    cardtool::takeOption(rest, QStringLiteral("--sheet"), &sheetText);
    bool numberOk = false;
    const int sheet = sheetText.toInt(&numberOk);
    if (rest.size() != 1 || !numberOk) {
        cardtool::fail(QStringLiteral("xlsx-read needs FILE --sheet N"));
        return 1;
    }
    XlsxReader reader;
    QString message;
    if (!reader.open(rest.first(), &message)) {
        cardtool::fail(message);
        return 1;
    }
    if (sheet < 1 || sheet > reader.sheetCount()) {
        cardtool::fail(
            QStringLiteral("no sheet %1; the workbook has %2").arg(sheet).arg(reader.sheetCount()));
        return 1;
    }
    const XlsxRows rows = reader.readSheet(sheet);
    if (!rows.ok) {
        cardtool::fail(rows.message);
        return 1;
    }
    QJsonArray out;
    for (qsizetype r = 0; r < rows.rows.size(); ++r)
        out.append(QJsonArray::fromStringList(rows.rows.at(r)));
    cardtool::writeStdout(QJsonDocument(out).toJson(QJsonDocument::Compact) + '\n');
    return 0;
}
