#include "data/WorkbookFacts.h"

#include "platform/RegularFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace
{
// Beyond any workbook the reader takes; the bound only keeps a runaway file from being read forever.
constexpr qint64 MostWorkbookBytes = qint64(16) << 30;
} // namespace

WorkbookFacts::Stamp WorkbookFacts::stampOf(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

QByteArray WorkbookFacts::hashOf(const QString &path)
{
    RegularFile::Opened opened = RegularFile::open(path, MostWorkbookBytes);
    if (!opened.file)
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(opened.file.get()))
        return {};
    return hash.result().toHex();
}

WorkbookFacts WorkbookFacts::take(const QString &path)
{
    WorkbookFacts facts;
    const Stamp before = stampOf(path);
    facts.sha256 = hashOf(path);
    if (facts.sha256.isEmpty() || !before.exists())
        return {};
    facts.size = before.size;
    facts.modifiedMs = before.modifiedMs;
    facts.loadedAt = QDateTime::currentDateTimeUtc();
    return facts;
}

bool WorkbookFacts::needsHashing(const QString &path) const
{
    if (!isKnown())
        return false;
    const Stamp now = stampOf(path);
    return now.exists() && now != stamp() && now != settled && now.size == size;
}

WorkbookFacts::Change WorkbookFacts::check(const QString &path) const
{
    if (!isKnown())
        return Change::NothingToCompare;
    const Stamp now = stampOf(path);
    // A workbook that is gone (or moved) has nothing to load again: the rows as loaded stay.
    if (!now.exists())
        return Change::NothingToCompare;
    if (now == stamp() || now == settled)
        return Change::Same;
    // Another size is another file; a new time alone may be a copy or a save without changes.
    if (now.size != size)
        return Change::Changed;
    const QByteArray hash = hashOf(path);
    if (hash.isEmpty())
        return Change::NothingToCompare;
    return hash == sha256 ? Change::Same : Change::Changed;
}

QString WorkbookFacts::loadedText() const
{
    if (!loadedAt.isValid())
        return QString();
    const QDateTime local = loadedAt.toLocalTime();
    const QLocale locale;
    return QStringLiteral("on %1 at %2")
        .arg(locale.toString(local.date(), QStringLiteral("d MMMM yyyy")),
             locale.toString(local.time(), QStringLiteral("HH:mm")));
}
