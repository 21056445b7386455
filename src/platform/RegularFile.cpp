#include "platform/RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString RegularFile::sizeText(qint64 bytes)
{
    constexpr qint64 MiB = 1024 * 1024;
    if (bytes >= MiB)
        return QStringLiteral("%1 MB").arg((bytes + MiB / 2) / MiB);
    if (bytes >= 1024)
        return QStringLiteral("%1 KB").arg((bytes + 512) / 1024);
    return QStringLiteral("%1 bytes").arg(bytes);
}

RegularFile::Opened RegularFile::open(const QString &path, qint64 maxBytes)
{
    Opened result;
    if (path.isEmpty()) {
        result.error = QStringLiteral("no file was named");
        return result;
    }
    const QByteArray native = QFile::encodeName(path);
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.error = QStringLiteral("it cannot be opened: ") + QString::fromLocal8Bit(std::strerror(errno));
        return result;
    }
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        result.error = QStringLiteral("it is not a regular file");
        return result;
    }
    if (st.st_size > maxBytes) {
        ::close(fd);
        result.error = QStringLiteral("the file is too large (%1; at most %2)")
                           .arg(sizeText(st.st_size), sizeText(maxBytes));
        return result;
    }
    // A regular file never blocks; plain reads from here on.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        result.error = QStringLiteral("it cannot be opened: ") + file->errorString();
        return result;
    }
    result.file = std::move(file);
    result.size = st.st_size;
    return result;
}

RegularFile::Contents RegularFile::readAll(const QString &path, qint64 maxBytes)
{
    Contents result;
    Opened opened = open(path, maxBytes);
    if (!opened.file) {
        result.error = opened.error;
        return result;
    }
    // One byte more than allowed tells a file that grew since it was measured.
    result.bytes = opened.file->read(std::min(opened.size, maxBytes) + 1);
    if (opened.file->error() != QFileDevice::NoError) {
        result.bytes.clear();
        result.error = QStringLiteral("it cannot be read: ") + opened.file->errorString();
    } else if (result.bytes.size() > maxBytes) {
        result.bytes.clear();
        result.error = QStringLiteral("the file is too large (at most %1)").arg(sizeText(maxBytes));
    }
    return result;
}
