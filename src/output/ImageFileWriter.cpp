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

namespace
{

// The whole of the bytes, then the data on the disk: 0 or the reason the system gave.
int fillAndSync(int fd, const QByteArray &bytes, const struct stat *replaced)
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
    return ::fdatasync(fd) != 0 ? errno : 0;
}

ImageFileWriter::WriteResult writeFailure(const QString &path, int err)
{
    ImageFileWriter::WriteResult result;
    result.error =
        QStringLiteral("%1 could not be written: %2").arg(path, QString::fromLocal8Bit(std::strerror(err)));
    result.noSpace = err == ENOSPC || err == EDQUOT;
    return result;
}

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

QByteArray temporaryName(const QFileInfo &target)
{
    return QFile::encodeName(
        target.absolutePath() + QStringLiteral("/.") + target.fileName() +
        QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
}

// Gives an open file a name through /proc: under a temporary name that is then renamed over the
// target (an old file stays whole until then), or straight under the target's name when there is
// none. -1 when the name could not be given this way at all.
int nameUnnamedFile(int fd, const Target &t)
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

// Written with the system calls themselves rather than QSaveFile: a full disk there gives a short
// write with no reason ("Unknown error"), while the reason the system gave is what a user needs.
// The data is on the disk before the file has its name, so after a crash a card is whole or absent.
ImageFileWriter::WriteResult ImageFileWriter::writeAtomically(const QString &path, const QByteArray &bytes)
{
    WriteResult result;
    auto fail = [&](int err) { return writeFailure(path, err); };
    const Target t(path);

    // First an unnamed file in the target's folder. Making it takes no lock on the folder, where a
    // named temporary took the folder's lock twice (at its creation and at the rename) for the
    // whole making of the file: workers writing cards side by side queued there.
    int fd =
        ::open(QFile::encodeName(t.info.absolutePath()).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
        int err = fillAndSync(fd, bytes, t.replaced());
        if (!err)
            err = nameUnnamedFile(fd, t);
        ::close(fd);
        if (err > 0)
            return fail(err);
        if (err == 0) {
            result.ok = true;
            return result;
        }
    } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return fail(errno); // the folder is missing or closed to us; a named file would fare no better
    }

    return writeThroughNamedFile(path, bytes);
}

ImageFileWriter::WriteResult ImageFileWriter::writeThroughNamedFile(const QString &path,
                                                                    const QByteArray &bytes)
{
    WriteResult result;
    auto fail = [&](int err) { return writeFailure(path, err); };
    const Target t(path);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = temporaryName(t.info);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return fail(errno);
    }
    if (fd < 0)
        return fail(EEXIST);
    int err = fillAndSync(fd, bytes, t.replaced());
    if (::close(fd) != 0 && !err && errno != EINTR)
        err = errno;
    if (!err && ::rename(temporary.constData(), t.finalName.constData()) != 0)
        err = errno;
    if (err) {
        ::unlink(temporary.constData());
        return fail(err);
    }
    result.ok = true;
    return result;
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
