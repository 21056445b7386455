#include "data/SeriesEditing.h"

#include "data/SeriesFiles.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace
{
std::pair<qint64, qint64> stampOfSeries(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return {-1, -1};
    return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}
// The lock taken, or the reason it was not.
std::pair<std::unique_ptr<QLockFile>, QLockFile::LockError> takeLock(const QString &path)
{
    auto file = std::make_unique<QLockFile>(path);
    // Only a living holder counts: a lock left by an instance that ended is taken over.
    file->setStaleLockTime(0);
    if (file->tryLock(0))
        return {std::move(file), QLockFile::NoError};
    return {nullptr, file->error()};
}

// The system's reason a new file cannot be made at path ("Permission denied", "No space left on
// device"), asked of the folder itself.
QString whyNoNewFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    ::unlink(QFile::encodeName(path).constData());
    return QStringLiteral("the folder refused it");
}

// Who holds the lock at path: nobody (or an instance that is gone), this instance, or another.
enum class LockHolder { None, ThisInstance, Another };
LockHolder holderOf(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return LockHolder::None;
    QLockFile probe(path);
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock();
        return LockHolder::None;
    }
    qint64 pid = 0;
    QString host, application;
    if (probe.getLockInfo(&pid, &host, &application) && pid == QCoreApplication::applicationPid())
        return LockHolder::ThisInstance;
    return probe.error() == QLockFile::LockFailedError ? LockHolder::Another : LockHolder::None;
}

bool heldByAnother(const QString &path)
{
    return holderOf(path) == LockHolder::Another;
}
} // namespace

SeriesEditing::SeriesEditing(const QString &folder, const QString &name)
    : m_path(SeriesFiles::safePath(folder, name))
{
    std::tie(m_size, m_modifiedMs) = stampOfSeries(m_path);
    const QString lock = lockPath(folder, name);
    if (lock.isEmpty())
        return;
    m_lockFile = lock;
    auto file = takeLock(lock);
    const QString fallback = fallbackLockPath(folder, name);
    if (file.first) {
        // One that took its lock where the folder took none (earlier) still holds it.
        if (!heldByAnother(fallback))
            m_lock = std::move(file.first);
        else
            m_lockFile = fallback;
        return;
    }
    if (file.second == QLockFile::LockFailedError) {
        m_heldHere = holderOf(lock) == LockHolder::ThisInstance;
        return; // held already, by this instance's design or by another instance
    }
    m_lockProblem = QStringLiteral("The lock file \"%1\" could not be made: %2.")
                        .arg(QDir::toNativeSeparators(lock), whyNoNewFile(lock));
    QDir().mkpath(QFileInfo(fallback).absolutePath());
    m_lockFile = fallback;
    m_lock = takeLock(fallback).first;
    m_heldHere = !m_lock && holderOf(fallback) == LockHolder::ThisInstance;
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

QString SeriesEditing::fallbackLockPath(const QString &folder, const QString &name)
{
    const QString path = SeriesFiles::safePath(folder, name);
    if (path.isEmpty())
        return {};
    const QByteArray key =
        QCryptographicHash::hash(QFileInfo(path).absoluteFilePath().toUtf8(), QCryptographicHash::Sha256)
            .toHex();
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .filePath(QStringLiteral("tessaly-series-locks/") + QString::fromLatin1(key.left(32)) +
                  QStringLiteral(".lock"));
}

bool SeriesEditing::lockedElsewhere(const QString &folder, const QString &name)
{
    return !lockHeldElsewhere(folder, name).isEmpty();
}

QString SeriesEditing::lockHeldElsewhere(const QString &folder, const QString &name)
{
    for (const QString &path : {lockPath(folder, name), fallbackLockPath(folder, name)})
        if (heldByAnother(path))
            return path;
    return {};
}
