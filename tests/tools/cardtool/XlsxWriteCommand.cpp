// cardtool xlsx-write: a series export to a workbook, one value per line of standard input, as
// the series manager holds them (trimmed, empty lines left out).
#include "Command.h"

#include "data/SeriesFiles.h"
#include "foundation/StringUtils.h"

CARDTOOL_COMMAND(xlsxWriteCommand, "xlsx-write",
                 "OUT   export the values on stdin, one a line, as a workbook")
{
    if (args.size() != 1) {
        cardtool::fail(QStringLiteral("xlsx-write needs OUT"));
        return 1;
    }
    QStringList values;
    for (const QString &line : QString::fromUtf8(cardtool::readStdin()).split(QLatin1Char('\n'))) {
        const QString v = Trim_Str(line);
        if (!v.isEmpty())
            values << v;
    }
    const SeriesResult r = SeriesFiles::Export(values, args.first(), true);
    if (!r.ok()) {
        cardtool::fail(r.message);
        return 1;
    }
    return 0;
}
