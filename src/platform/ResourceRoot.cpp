#include "platform/ResourceRoot.h"

#include "platform/SaveFileCommit.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace
{
const char *const kAppFolder = "tessaly-designer";

// Copies through QSaveFile: the copy gets the user's default permissions (not the read-only
// mode of the installed file) and a half-written copy never takes the target's name.
bool copyFile(const QString &from, const QString &to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(to);
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
    return SaveFileCommit::commit(out);
}
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
    QDirIterator it(source.absolutePath(), QDir::Files | QDir::NoSymLinks | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString rel = source.relativeFilePath(from);
        const QString to = dir.filePath(rel);
        if (QFileInfo::exists(to))
            continue;
        if (!dir.mkpath(QFileInfo(rel).path()) || !copyFile(from, to)) {
            r.failed.append(rel);
            continue;
        }
        ++r.copied;
    }
    return r;
}
