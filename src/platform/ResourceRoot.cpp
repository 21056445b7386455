#include "platform/ResourceRoot.h"

#include "platform/SaveFileCommit.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <fcntl.h>

#include <memory>
#include <vector>

namespace
{
const char *const kAppFolder = "tessaly-designer";

// Writes a copy through QSaveFile: the copy gets the user's default permissions (not the
// read-only mode of the installed file) and a half-written copy never takes the target's name. The
// data is sent on to the disk at once; the commit that waits for it comes later (see prepare).
bool writeCopy(const QString &from, QSaveFile &out)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QByteArray buf;
    while (!in.atEnd()) {
        buf = in.read(1 << 20);
        if (buf.isEmpty() && in.error() != QFileDevice::NoError)
            return false;
        if (out.write(buf) != buf.size())
            return false;
    }
    if (!out.flush())
        return false;
    // Only a hint: the commit's own sync is what the copy's safety rests on.
    ::sync_file_range(out.handle(), 0, 0, SYNC_FILE_RANGE_WRITE);
    return true;
}

// Copies written and waiting for their commit at most: each holds a descriptor open.
constexpr std::size_t MaxPendingCopies = 64;
} // namespace

QString ResourceRoot::defaultLocation()
{
    // Equal to AppDataLocation for our application name with no organisation, without
    // depending on what the running program set as its name.
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QLatin1Char('/') + QLatin1String(kAppFolder));
}

QString ResourceRoot::shippedLocation()
{
    return shippedLocationFor(QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                           : QString());
}

QString ResourceRoot::shippedLocationFor(const QString &programDir)
{
    // Beside the installed program first: the install prefix may differ from the configured one.
    if (!programDir.isEmpty()) {
        const QString beside =
            QDir::cleanPath(programDir + QLatin1Char('/') + QLatin1String(TESSALY_SHIPPED_FROM_BIN));
        if (QFileInfo(beside).isDir())
            return beside;
    }
    const QString installed = QStringLiteral(TESSALY_SHIPPED_DIR);
    if (QFileInfo(installed).isDir())
        return installed;
    return QStringLiteral(TESSALY_SOURCE_RESOURCES);
}

ResourceRoot::Result ResourceRoot::prepare(const QString &root, const QString &shipped)
{
    Result r;
    if (root.isEmpty()) {
        r.error = QStringLiteral("No folder was given for the program's data.");
        return r;
    }
    r.path = QDir::cleanPath(QDir(root).absolutePath());
    QDir dir(r.path);
    if (!dir.mkpath(QStringLiteral("."))) {
        r.error = QStringLiteral("The data folder %1 could not be created.").arg(r.path);
        return r;
    }
    const QFileInfo info(r.path);
    if (!info.isDir() || !info.isWritable()) {
        r.error = QStringLiteral("The data folder %1 cannot be written.").arg(r.path);
        return r;
    }
    r.ok = true;

    const QDir source(shipped);
    if (shipped.isEmpty() || !source.exists())
        return r;
    if (QDir::cleanPath(source.absolutePath()) == r.path)
        return r;
    // Every copy is written before any is committed: a commit syncs its file to the disk, and the
    // syncs, one after the other, were most of a first start's wait; written first, the files go
    // to the disk together and each commit finds its data there or nearly.
    struct Pending {
        QString rel;
        std::unique_ptr<QSaveFile> out;
    };
    std::vector<Pending> pending;
    const auto commitPending = [&r, &pending] {
        for (Pending &p : pending) {
            if (SaveFileCommit::commit(*p.out))
                ++r.copied;
            else
                r.failed.append(p.rel);
        }
        pending.clear();
    };
    QDirIterator it(source.absolutePath(), QDir::Files | QDir::NoSymLinks | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString rel = source.relativeFilePath(from);
        const QString to = dir.filePath(rel);
        if (QFileInfo::exists(to))
            continue;
        // A copy not committed is discarded with its QSaveFile: the target keeps no part of it.
        auto out = std::make_unique<QSaveFile>(to);
        if (!dir.mkpath(QFileInfo(rel).path()) || !writeCopy(from, *out)) {
            r.failed.append(rel);
            continue;
        }
        pending.push_back({rel, std::move(out)});
        if (pending.size() >= MaxPendingCopies)
            commitPending();
    }
    commitPending();
    return r;
}
