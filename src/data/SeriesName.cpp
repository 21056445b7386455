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
    return problem(typed, QStringLiteral("a Batch Processing Series"),
                   QStringLiteral("Please enter a name for the Batch Processing Series."));
}

QString SeriesName::problem(const QString &typed, const QString &subject, const QString &emptyMessage)
{
    const QString name = Trim_Str(typed);
    if (name.isEmpty())
        return emptyMessage;
    if (clean(name) != name) {
        const QChar c = reservedNameCharacters.contains(name.front()) ? name.front() : name.back();
        return QStringLiteral("The name of %1 must not begin or end with \"%2\".").arg(subject, QString(c));
    }
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QStringLiteral("The name of %1 must not contain \"/\" or \"\\\".").arg(subject);
    if (name.startsWith(QLatin1Char('.')))
        return QStringLiteral("The name of %1 must not start with \".\".").arg(subject);
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
