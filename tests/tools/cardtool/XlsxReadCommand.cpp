// cardtool xlsx-sheets / xlsx-read: the sheet titles of a workbook and the rows of one sheet, as
// JSON, for checks against an independent reader.
#include "Command.h"

#include "data/ColumnBinding.h"
#include "data/XlsxReader.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace
{

// A JSON string of the text: quotes, backslashes and control characters escaped, the rest UTF-8.
void appendJsonString(QByteArray &out, const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += "\\u00";
                out += hex[u >> 4];
                out += hex[u & 15];
            }
        } else {
            out += c;
        }
    }
    out += '"';
}

} // namespace

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

CARDTOOL_COMMAND(
    xlsxReadCommand, "xlsx-read",
    "FILE --sheet N   JSON array of the rows of sheet N (from 1); formulas never computed on stderr")
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
    // The rows are still given: the cells named hold what the workbook stored, which is no result.
    const QString uncomputed = ColumnBinding::uncomputedNote(rows.rows, {});
    if (!uncomputed.isEmpty())
        cardtool::fail(uncomputed);
    // Written row by row: a whole document of two million cells took more memory than the
    // table it was made from.
    constexpr qsizetype Chunk = 1 << 20;
    QByteArray out;
    out.reserve(Chunk + 4096);
    out += '[';
    for (qsizetype r = 0; r < rows.rows.size(); ++r) {
        if (r > 0)
            out += ',';
        out += '[';
        for (int c = 0; c < rows.rows.columnCount(); ++c) {
            if (c > 0)
                out += ',';
            appendJsonString(out, rows.rows.text(r, c));
        }
        out += ']';
        if (out.size() >= Chunk) {
            if (!cardtool::writeStdout(out)) {
                cardtool::fail(QStringLiteral("xlsx-read: the rows could not be written"));
                return 1;
            }
            out.resize(0);
        }
    }
    out += "]\n";
    if (!cardtool::writeStdout(out)) {
        cardtool::fail(QStringLiteral("xlsx-read: the rows could not be written"));
        return 1;
    }
    return 0;
}
