#include "data/SeriesEditing.h"

#include "data/SeriesFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace
{
std::pair<qint64, qint64> stampOfSeries(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {-1, -1};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}
} // namespace

SeriesEditing::SeriesEditing(const QString &folder, const QString &name)
    : m_path(SeriesFiles::safePath(folder, name))
{
    std::tie(m_size, m_modifiedMs) = stampOfSeries(m_path);
    const QString lock = lockPath(folder, name);
    if (lock.isEmpty())
        return;
    auto file = std::make_unique<QLockFile>(lock);
    // Only a living holder counts: a lock left by an instance that ended is taken over.
    file->setStaleLockTime(0);
    if (file->tryLock(0))
        m_lock = std::move(file);
}

SeriesEditing::~SeriesEditing() = default;

bool SeriesEditing::holdsLock() const
{
    return m_lock != nullptr;
}

bool SeriesEditing::changedSinceOpened() const
{
    return stampOfSeries(m_path) != std::pair(m_size, m_modifiedMs);
}

QString SeriesEditing::lockPath(const QString &folder, const QString &name)
{
    const QString path = SeriesFiles::safePath(folder, name);
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    return info.dir().filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".lock"));
}

bool SeriesEditing::lockedElsewhere(const QString &folder, const QString &name)
{
    const QString path = lockPath(folder, name);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    QLockFile probe(path);
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock();
        return false;
    }
    // This instance's own lock is not another's.
    qint64 pid = 0;
    QString host, application;
    if (probe.getLockInfo(&pid, &host, &application) && pid == QCoreApplication::applicationPid())
        return false;
    return probe.error() == QLockFile::LockFailedError;
}
