// cardtool list-import: the values the series import wizard would take from a TXT, CSV or RTF
// file, one a line.
#include "Command.h"

#include "data/ListImport.h"

CARDTOOL_COMMAND(listImportCommand, "list-import",
                 "FILE [--kind txt|csv|rtf] [--column N]   values a list file gives, one a line")
{
    QStringList rest = args;
    QString kindText, columnText;
    const bool kindGiven = cardtool::takeOption(rest, QStringLiteral("--kind"), &kindText);
    const bool columnGiven = cardtool::takeOption(rest, QStringLiteral("--column"), &columnText);
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--"))) {
        cardtool::fail(QStringLiteral("list-import: give exactly one file"));
        return 1;
    }
    const QString path = rest.first();
    ListImport::Kind kind = ListImport::kindOf(path);
    if (kindGiven) {
        if (kindText == QLatin1String("txt"))
            kind = ListImport::Kind::Txt;
        else if (kindText == QLatin1String("csv"))
            kind = ListImport::Kind::Csv;
        else if (kindText == QLatin1String("rtf"))
            kind = ListImport::Kind::Rtf;
        else {
            cardtool::fail(QStringLiteral("list-import: --kind must be txt, csv or rtf"));
            return 1;
        }
    }
    int column = 0;
    if (columnGiven) {
        bool ok = false;
        column = columnText.toInt(&ok);
        if (!ok || column < 1) {
            cardtool::fail(QStringLiteral("list-import: --column must be a whole number from 1"));
            return 1;
        }
        if (kind != ListImport::Kind::Csv) {
            cardtool::fail(QStringLiteral("list-import: --column applies to CSV files only"));
            return 1;
        }
    }
    const ListImportResult r = ListImport::readFile(path, kind, column);
    if (!r.ok()) {
        cardtool::fail(QStringLiteral("list-import: ") + r.message);
        return 1;
    }
    // What was left out, or that the character set is a guess, goes beside the values.
    if (!r.note.isEmpty())
        cardtool::fail(QStringLiteral("list-import: ") + r.note);
    QByteArray out;
    for (qsizetype i = 0; i < r.values.size(); ++i)
        out += r.values.view(i).toUtf8() + '\n';
    return cardtool::writeStdout(out) ? 0 : 1;
}
