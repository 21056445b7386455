// cardtool series-generate: the sequential values of the series generator, one a line.
#include "Command.h"

#include "data/SeriesGenerator.h"

CARDTOOL_COMMAND(seriesGenerateCommand, "series-generate",
                 "--from A --to B [--pad] [--prefix P] [--suffix S]   sequential series values")
{
    QStringList rest = args;
    QString from, to, prefix, suffix;
    cardtool::takeOption(rest, QStringLiteral("--from"), &from);
    cardtool::takeOption(rest, QStringLiteral("--to"), &to);
    cardtool::takeOption(rest, QStringLiteral("--prefix"), &prefix);
    cardtool::takeOption(rest, QStringLiteral("--suffix"), &suffix);
    const bool pad = cardtool::takeFlag(rest, QStringLiteral("--pad"));
    if (!rest.isEmpty()) {
        cardtool::fail(QStringLiteral("unexpected argument ") + rest.first());
        return 1;
    }
    // Streamed in pieces: a long span needs no memory for the whole series.
    QByteArray out;
    bool written = true;
    const GeneratorResult r =
        SeriesGenerator::sequential(from, to, prefix, suffix, pad, [&](const QString &v) {
            out += v.toUtf8() + '\n';
            if (out.size() >= (1 << 20)) {
                written = cardtool::writeStdout(out);
                out.clear();
            }
            return written;
        });
    if (!r.ok()) {
        if (!r.message.isEmpty())
            cardtool::fail(r.message);
        return 1;
    }
    return cardtool::writeStdout(out) ? 0 : 1;
}
