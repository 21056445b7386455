// cardtool series-edit: holds a series open for editing as another instance of the program does,
// until its standard input closes, so tests can meet a series in use elsewhere.
#include "Command.h"

#include "data/SeriesEditing.h"

CARDTOOL_COMMAND(seriesEditCommand, "series-edit", "DATA_FOLDER NAME (held until standard input closes)")
{
    if (args.size() != 2) {
        cardtool::fail(QStringLiteral("series-edit: a data folder and a series name are needed"));
        return 1;
    }
    const SeriesEditing editing(args.at(0), args.at(1));
    if (!editing.holdsLock()) {
        cardtool::fail(QStringLiteral("series-edit: the series is held elsewhere"));
        return 1;
    }
    cardtool::writeStdout("held\n");
    cardtool::readStdin();
    return 0;
}
