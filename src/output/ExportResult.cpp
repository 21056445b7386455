#include "output/ExportResult.h"

#include "output/ExportPaths.h"

#include <QDir>

QString ExportResult::message() const
{
    if (!refusal.isEmpty())
        return refusal;
    const QString noteText = notes.isEmpty() ? QString() : QLatin1Char('\n') + notes.join(QLatin1Char('\n'));
    if (allWritten()) {
        // After the usual words, how many and where, so that a user finds the cards: a card of
        // several files names each. "Successfully" only for cards written whole.
        const QString where = QDir::toNativeSeparators(path);
        QString count = written == 1 ? QStringLiteral("1 card was written to %1.").arg(where)
                                     : QStringLiteral("%1 cards were written to %2.").arg(written).arg(where);
        if (sideFiles.size() > 1) {
            QStringList lines;
            for (const SideFile &file : sideFiles)
                lines << QStringLiteral("The %1 was written to %2.")
                             .arg(file.side, QDir::toNativeSeparators(file.path));
            count = lines.join(QLatin1Char('\n'));
        }
        if (!notes.isEmpty())
            return count + noteText;
        const QString made = written > 1 ? QStringLiteral("Cards have been exported successfully.\n")
                                         : QStringLiteral("Card has been exported successfully.\n");
        return made + count;
    }
    QString text;
    if (outOfSpace)
        text = ExportPaths::unableSavingMessage() +
               QStringLiteral("\n\nExport stopped when the disk was full: %1 of %2 cards were written.")
                   .arg(written)
                   .arg(total);
    else if (stopped)
        text = QStringLiteral("Export stopped: %1 of %2 cards were written.").arg(written).arg(total);
    else
        text = QStringLiteral("%1 of %2 cards were written.").arg(written).arg(total);
    if (failed > 0)
        text += QStringLiteral(" %1 of %2 cards could not be written.").arg(failed).arg(total);
    if (!problems.isEmpty())
        text += QLatin1Char('\n') + problems.join(QLatin1Char('\n'));
    return text + noteText;
}

QString ExportResult::summaryLine() const
{
    const QString line = QStringLiteral("%1 cards written, %2 failed").arg(written).arg(failed);
    return incomplete > 0 ? line + QStringLiteral(", %1 without a picture").arg(incomplete) : line;
}

namespace
{

// The first maxProblems lines, then "..." once.
void appendCapped(QStringList &lines, const QString &line)
{
    if (lines.size() < ExportResult::maxProblems)
        lines.append(line);
    else if (lines.size() == ExportResult::maxProblems)
        lines.append(QStringLiteral("..."));
}

} // namespace

void ExportResult::addProblem(const QString &problem)
{
    appendCapped(problems, problem);
}

void ExportResult::addNote(const QString &note)
{
    appendCapped(notes, note);
}
