#include "data/SeriesName.h"

#include "foundation/StringUtils.h"

namespace
{
const QString reservedNameCharacters = QStringLiteral("/\\?%*|\"<>");
}

QString SeriesName::clean(const QString &typed)
{
    QString name = Trim_Str(typed);
    // Blanks can hide a reserved character from a single pass, and the reverse.
    for (;;) {
        const QString next = Remove_Reserve_Char_In_File_Name(name);
        if (next == name)
            return name;
        name = next;
    }
}

QString SeriesName::problem(const QString &typed)
{
    const QString name = Trim_Str(typed);
    if (name.isEmpty())
        return QStringLiteral("Please enter a name for the Batch Processing Series.");
    if (clean(name) != name) {
        const QChar c = reservedNameCharacters.contains(name.front()) ? name.front() : name.back();
        return QStringLiteral("The name of a Batch Processing Series must not begin or end with \"%1\".")
            .arg(c);
    }
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QStringLiteral("The name of a Batch Processing Series must not contain \"/\" or \"\\\".");
    if (name.startsWith(QLatin1Char('.')))
        return QStringLiteral("The name of a Batch Processing Series must not start with \".\".");
    return {};
}

bool SeriesName::reachable(const QString &name)
{
    const QString stem = fileStem(name);
    return !stem.isEmpty() && !stem.contains(QLatin1Char('/')) && !stem.contains(QLatin1Char('\\')) &&
           !stem.startsWith(QLatin1Char('.'));
}

QString SeriesName::fileStem(const QString &name)
{
    return Trim_Str(name);
}
