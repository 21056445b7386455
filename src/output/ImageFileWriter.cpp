#include "output/ImageFileWriter.h"

#include "output/PngEncoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ImageFileWriter::Format ImageFileWriter::formatForExtension(const QString &extension)
{
    QString ext = extension.trimmed().toLower();
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    if (ext == QLatin1String("png"))
        return Format::Png;
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return Format::Jpeg;
    if (ext == QLatin1String("tif") || ext == QLatin1String("tiff"))
        return Format::Tiff;
    if (ext == QLatin1String("bmp"))
        return Format::Bmp;
    return Format::Unsupported;
}

static QByteArray qtFormatName(ImageFileWriter::Format format)
{
    switch (format) {
    case ImageFileWriter::Format::Jpeg:
        return "jpeg";
    case ImageFileWriter::Format::Tiff:
        return "tiff";
    case ImageFileWriter::Format::Bmp:
        return "bmp";
    default:
        return {};
    }
}

QString ImageFileWriter::checkExtension(const QString &extension)
{
    const Format format = formatForExtension(extension);
    if (format == Format::Unsupported)
        return QStringLiteral("Cards cannot be saved as \"%1\" files. Choose PNG, JPEG, TIFF or BMP.")
            .arg(extension);
    if (format != Format::Png && !QImageWriter::supportedImageFormats().contains(qtFormatName(format)))
        return QStringLiteral("This system has no writer for %1 files.")
            .arg(QString::fromLatin1(qtFormatName(format)).toUpper());
    return {};
}

ImageFileWriter::Encoded ImageFileWriter::encode(const QImage &image, Format format, double dpi)
{
    Encoded out;
    if (image.isNull()) {
        out.error = QStringLiteral("There is no image to write.");
        return out;
    }
    if (format == Format::Png) {
        out.bytes = PngEncoder::encode(image, dpi, &out.error);
        return out;
    }
    if (format == Format::Unsupported) {
        out.error = QStringLiteral("The file type is not supported.");
        return out;
    }

    QImage pixels = image;
    if (format == Format::Jpeg || format == Format::Bmp) {
        // These formats have no transparency: what lies outside the card's outline becomes white.
        pixels = QImage(image.size(), QImage::Format_RGB32);
        pixels.fill(Qt::white);
        QPainter p(&pixels);
        p.drawImage(0, 0, image);
        p.end();
    }
    if (dpi > 0) {
        const int perMetre = int(std::lround(dpi / 0.0254));
        pixels.setDotsPerMeterX(perMetre);
        pixels.setDotsPerMeterY(perMetre);
    }
    QBuffer buffer(&out.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, qtFormatName(format));
    if (format == Format::Jpeg)
        writer.setQuality(90);
    // Qt's TIFF writer stores raw pixels unless asked: LZW (its compression 1) is lossless, and a
    // card's flat areas and runs shrink to a fraction.
    if (format == Format::Tiff)
        writer.setCompression(1);
    if (!writer.write(pixels)) {
        out.error = writer.errorString();
        out.bytes.clear();
    }
    return out;
}

// Named, not anonymous: the write group's files hold one.
namespace atomicwrite
{
// The file a write puts in place, and the one it replaces, if any.
struct Target {
    explicit Target(const QString &path)
        : info(path), finalName(QFile::encodeName(info.absoluteFilePath())),
          replacing(::stat(finalName.constData(), &old) == 0)
    {
    }
    QFileInfo info;
    QByteArray finalName;
    struct stat old = {};
    bool replacing;
    const struct stat *replaced() const { return replacing ? &old : nullptr; }
};

} // namespace atomicwrite

namespace
{

// The whole of the bytes, then the data sent towards the disk: 0 or the reason the system gave.
int fill(int fd, const QByteArray &bytes, const struct stat *replaced)
{
    if (replaced)
        ::fchmod(fd, replaced->st_mode & 07777); // a replaced file keeps its permissions
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + at, size_t(bytes.size() - at));
        if (n > 0)
            at += n;
        else if (n < 0 && errno != EINTR)
            return errno;
    }
    // Only started here: the sync in finish() then waits for data already on its way, and the
    // journal commits the files of a group together.
    ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    return 0;
}

ImageFileWriter::WriteResult writeFailure(const QString &path, int err)
{
    ImageFileWriter::WriteResult result;
    result.error =
        QStringLiteral("%1 could not be written: %2").arg(path, QString::fromLocal8Bit(std::strerror(err)));
    result.noSpace = err == ENOSPC || err == EDQUOT;
    return result;
}

QByteArray temporaryName(const QFileInfo &target)
{
    return QFile::encodeName(
        target.absolutePath() + QStringLiteral("/.") + target.fileName() +
        QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
}

// Gives an open file a name through /proc: under a temporary name that is then renamed over the
// target (an old file stays whole until then), or straight under the target's name when there is
// none. -1 when the name could not be given this way at all.
int nameUnnamedFile(int fd, const atomicwrite::Target &t)
{
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    if (!t.replacing) {
        if (::linkat(AT_FDCWD, self, AT_FDCWD, t.finalName.constData(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        if (errno != EEXIST) // a file of that name appeared meanwhile: replace it below
            return errno == ENOSPC || errno == EDQUOT ? errno : -1;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray temporary = temporaryName(t.info);
        if (::linkat(AT_FDCWD, self, AT_FDCWD, temporary.constData(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST)
                continue;
            return errno == ENOSPC || errno == EDQUOT ? errno : -1;
        }
        if (::rename(temporary.constData(), t.finalName.constData()) == 0)
            return 0;
        const int err = errno;
        ::unlink(temporary.constData());
        return err;
    }
    return EEXIST;
}

} // namespace

// One file of a group between add() and finish(): open and filled, or the reason it could not be.
struct ImageFileWriter::WriteGroup::Pending {
    Pending(const QString &path, const QByteArray &bytes) : path(path), bytes(bytes), target(path) {}

    QString path;
    QByteArray bytes; // shared, not copied: kept for the named road when /proc cannot name the file
    atomicwrite::Target target;
    int fd = -1;
    QByteArray temporary; // the named road's file; empty for an unnamed one
    int err = 0;

    // Closes the file; a named temporary not yet renamed goes too.
    void drop()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        if (!temporary.isEmpty())
            ::unlink(temporary.constData());
        temporary.clear();
    }
};

ImageFileWriter::WriteGroup::WriteGroup() = default;

ImageFileWriter::WriteGroup::~WriteGroup()
{
    for (Pending &p : m_files)
        p.drop();
}

size_t ImageFileWriter::WriteGroup::add(const QString &path, const QByteArray &bytes)
{
    return begin(path, bytes, true);
}

// First an unnamed file in the target's folder. Making it takes no lock on the folder, where a
// named temporary took the folder's lock twice (at its creation and at the rename) for the whole
// making of the file: workers writing cards side by side queued there. File systems without
// unnamed files get a named temporary, renamed over the target.
size_t ImageFileWriter::WriteGroup::begin(const QString &path, const QByteArray &bytes, bool unnamed)
{
    m_files.emplace_back(path, bytes);
    Pending &p = m_files.back();
    if (unnamed) {
        p.fd = ::open(QFile::encodeName(p.target.info.absolutePath()).constData(),
                      O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        // A folder missing or closed to us: a named file would fare no better.
        if (p.fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            p.err = errno;
    }
    for (int attempt = 0; p.fd < 0 && !p.err && attempt < 100; ++attempt) {
        p.temporary = temporaryName(p.target.info);
        p.fd = ::open(p.temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (p.fd < 0) {
            p.temporary.clear();
            if (errno != EEXIST)
                p.err = errno;
        }
    }
    if (p.fd < 0 && !p.err)
        p.err = EEXIST;
    if (!p.err)
        p.err = fill(p.fd, bytes, p.target.replaced());
    return m_files.size() - 1;
}

// The data is on the disk before the file has its name, so after a crash a card is whole or absent.
ImageFileWriter::WriteResult ImageFileWriter::WriteGroup::finish(size_t index)
{
    Pending &p = m_files.at(index);
    int err = p.err;
    if (!err && p.fd < 0)
        err = EBADF; // finished before
    if (!err && ::fdatasync(p.fd) != 0)
        err = errno;
    if (!err && p.temporary.isEmpty()) {
        err = nameUnnamedFile(p.fd, p.target);
        p.drop();
        if (err < 0) // /proc cannot name it here: the named road
            return writeThroughNamedFile(p.path, std::exchange(p.bytes, {}));
    } else if (!err) {
        const int fd = std::exchange(p.fd, -1);
        if (::close(fd) != 0 && errno != EINTR)
            err = errno;
        if (!err && ::rename(p.temporary.constData(), p.target.finalName.constData()) != 0)
            err = errno;
        if (!err)
            p.temporary.clear();
    }
    p.drop();
    p.bytes.clear();
    if (err)
        return writeFailure(p.path, err);
    WriteResult result;
    result.ok = true;
    return result;
}

// Written with the system calls themselves rather than QSaveFile: a full disk there gives a short
// write with no reason ("Unknown error"), while the reason the system gave is what a user needs.
ImageFileWriter::WriteResult ImageFileWriter::writeAtomically(const QString &path, const QByteArray &bytes)
{
    WriteGroup group;
    return group.finish(group.add(path, bytes));
}

ImageFileWriter::WriteResult ImageFileWriter::writeThroughNamedFile(const QString &path,
                                                                    const QByteArray &bytes)
{
    WriteGroup group;
    return group.finish(group.begin(path, bytes, false));
}

ImageFileWriter::WriteResult ImageFileWriter::Save_gen_image(const QImage &image,
                                                             const QString &file_path_val, double dpi)
{
    WriteResult result;
    const QString extension = QFileInfo(file_path_val).suffix();
    const QString refusal = checkExtension(extension);
    if (!refusal.isEmpty()) {
        result.error = refusal;
        return result;
    }
    const Encoded encoded = encode(image, formatForExtension(extension), dpi);
    if (!encoded.ok()) {
        result.error = QStringLiteral("%1 could not be written: %2").arg(file_path_val, encoded.error);
        return result;
    }
    return writeAtomically(file_path_val, encoded.bytes);
}
