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
    if (!writer.write(pixels)) {
        out.error = writer.errorString();
        out.bytes.clear();
    }
    return out;
}

// Written with the system calls themselves rather than QSaveFile: a full disk there gives a short
// write with no reason ("Unknown error"), while the reason the system gave is what a user needs.
ImageFileWriter::WriteResult ImageFileWriter::writeAtomically(const QString &path, const QByteArray &bytes)
{
    WriteResult result;
    auto fail = [&](int err) {
        result.error = QStringLiteral("%1 could not be written: %2")
                           .arg(path, QString::fromLocal8Bit(std::strerror(err)));
        result.noSpace = err == ENOSPC || err == EDQUOT;
        return result;
    };
    const QFileInfo target(path);
    const QByteArray finalName = QFile::encodeName(target.absoluteFilePath());
    // A temporary file beside the target, so the rename that puts it in place stays on one disk.
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = QFile::encodeName(
            target.absolutePath() + QStringLiteral("/.") + target.fileName() +
            QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return fail(errno);
    }
    if (fd < 0)
        return fail(EEXIST);
    struct stat old;
    if (::stat(finalName.constData(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777); // a replaced file keeps its permissions
    int err = 0;
    for (qsizetype at = 0; at < bytes.size() && !err;) {
        const ssize_t n = ::write(fd, bytes.constData() + at, size_t(bytes.size() - at));
        if (n > 0)
            at += n;
        else if (n < 0 && errno != EINTR)
            err = errno;
    }
    if (!err && ::fdatasync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && !err && errno != EINTR)
        err = errno;
    if (!err && ::rename(temporary.constData(), finalName.constData()) != 0)
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
