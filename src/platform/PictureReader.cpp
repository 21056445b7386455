#include "platform/PictureReader.h"

#include "platform/RegularFile.h"
#include "platform/ScaledDecoding.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>

namespace
{
const QString TooLarge = QStringLiteral("the picture is too large");

// Qt's own limit applies to every decoder in the process; ours is the same figure, so a picture
// that passes the checks below is never refused by Qt half-way.
void applyDecodeBudget()
{
    static std::once_flag once;
    std::call_once(once, [] { QImageReader::setAllocationLimit(PictureReader::DecodeBudgetMiB); });
}

// Bytes of a stream read in blocks, for walking JPEG markers without holding the whole file.
class ByteSource
{
public:
    explicit ByteSource(QIODevice &device) : m_device(device) {}

    bool next(uchar &b)
    {
        if (m_pos >= m_len && !refill())
            return false;
        b = uchar(m_buf[m_pos++]);
        return true;
    }
    bool skip(qint64 n)
    {
        while (n > 0) {
            if (m_pos >= m_len && !refill())
                return false;
            const qint64 step = std::min<qint64>(n, m_len - m_pos);
            m_pos += int(step);
            n -= step;
        }
        return true;
    }
    // Moves to just past the next 0xFF byte.
    bool skipPastFF()
    {
        for (;;) {
            if (m_pos >= m_len && !refill())
                return false;
            const void *hit = std::memchr(m_buf + m_pos, 0xFF, size_t(m_len - m_pos));
            if (hit) {
                m_pos = int(static_cast<const char *>(hit) - m_buf) + 1;
                return true;
            }
            m_pos = m_len;
        }
    }

private:
    bool refill()
    {
        const qint64 got = m_device.read(m_buf, sizeof m_buf);
        m_pos = 0;
        m_len = got > 0 ? int(got) : 0;
        return m_len > 0;
    }

    QIODevice &m_device;
    char m_buf[64 * 1024];
    int m_pos = 0;
    int m_len = 0;
};

// A large picture kept encoded, and the stored pixels of the small decoding that checks it now,
// which the screen is likely to want first.
std::shared_ptr<const EncodedPicture> keptEncoded(QImageReader &reader, const EncodedPicture::Origin &origin,
                                                  QSize full, QSize kept, qint64 maxPixels, QSize *check)
{
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    auto encoded = std::make_shared<const EncodedPicture>(origin, full, kept, turned, maxPixels);
    int level = 1;
    while (level < EncodedPicture::MostLevel &&
           std::max(encoded->pixelsAt(level).width(), encoded->pixelsAt(level).height()) > 512)
        ++level;
    *check = encoded->pixelsAt(level);
    if (turned)
        check->transpose();
    return encoded;
}

// Pixels as stored turned as the file says, the way Qt's reader turns its own: mirrored, then a
// quarter turn clockwise.
QImage upright(QImage image, QImageIOHandler::Transformations how)
{
    if (image.isNull())
        return image;
    const bool mirror = how & QImageIOHandler::TransformationMirror;
    const bool flip = how & QImageIOHandler::TransformationFlip;
    if (mirror || flip)
        image = std::move(image).mirrored(mirror, flip);
    if (how & QImageIOHandler::TransformationRotate90)
        image = image.transformed(QTransform().rotate(90));
    return image;
}

// Qt's reader, scaled to `target` when valid. Qt scales what its decoder cannot only after a full
// read and converts the result back to the picture's own format, so a palette picture came back
// dithered onto a palette of its own; it is scaled here in full colour, as other readers draw it.
QImage readScaled(QImageReader &qt, QSize target)
{
    if (!target.isValid())
        return qt.read();
    if (qt.supportsOption(QImageIOHandler::ScaledSize)) {
        qt.setScaledSize(target);
        return qt.read();
    }
    const QImageIOHandler::Transformations how = qt.transformation();
    qt.setAutoTransform(false);
    QImage image = qt.read();
    if (image.isNull() || image.size() == target)
        return upright(std::move(image), how);
    const QImage::Format format = image.format();
    if (format == QImage::Format_Indexed8 || format == QImage::Format_Mono ||
        format == QImage::Format_MonoLSB)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
    return upright(image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), how);
}

bool isRestartOrFill(uchar marker)
{
    return marker == 0x00 || marker == 0xFF || (marker >= 0xD0 && marker <= 0xD7);
}
} // namespace

int PictureReader::countJpegScans(QIODevice &device, int stopAfter)
{
    auto source = std::make_unique<ByteSource>(device);
    uchar b0 = 0, b1 = 0;
    if (!source->next(b0) || !source->next(b1) || b0 != 0xFF || b1 != 0xD8)
        return -1;
    int scans = 0;
    for (;;) {
        // The next marker: 0xFF, any fill bytes, then its code.
        uchar b = 0;
        if (!source->next(b))
            return scans;
        if (b != 0xFF)
            return scans; // damaged: the decoder will say so
        uchar marker = 0xFF;
        while (marker == 0xFF) {
            if (!source->next(marker))
                return scans;
        }
        if (marker == 0xD9)
            return scans;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        uchar hi = 0, lo = 0;
        if (!source->next(hi) || !source->next(lo))
            return scans;
        const int length = (hi << 8) | lo;
        if (length < 2 || !source->skip(length - 2))
            return scans;
        if (marker != 0xDA)
            continue;
        if (++scans > stopAfter)
            return scans;
        // Entropy-coded data: a real marker is 0xFF followed by anything but a stuffed zero,
        // a restart marker or more fill.
        for (;;) {
            if (!source->skipPastFF())
                return scans;
            uchar code = 0;
            do {
                if (!source->next(code))
                    return scans;
            } while (code == 0xFF);
            if (isRestartOrFill(code))
                continue;
            if (code == 0xD9)
                return scans;
            if (code == 0x01 || (code >= 0xD0 && code <= 0xD7))
                continue;
            // A segment follows: read its length and go on as above.
            if (!source->next(hi) || !source->next(lo))
                return scans;
            const int segment = (hi << 8) | lo;
            if (segment < 2 || !source->skip(segment - 2))
                return scans;
            if (code == 0xDA) {
                if (++scans > stopAfter)
                    return scans;
                continue; // the scan's own data follows
            }
            break; // back to walking segments
        }
    }
}

namespace
{
// The content says what a picture is, whatever its name; the name counts only for formats without a
// signature of their own. A PNG or a JPEG, known by its signature, goes straight to its reader:
// left to guess, Qt first asks every image-format plugin whether it reads the content, loading
// each with its libraries.
std::unique_ptr<QImageReader> readerFor(QIODevice &device, qint64 start, const QByteArray &formatHint,
                                        bool png, bool jpeg)
{
    std::unique_ptr<QImageReader> reader;
    if (png || jpeg) {
        reader = std::make_unique<QImageReader>(&device,
                                                png ? QByteArrayLiteral("png") : QByteArrayLiteral("jpeg"));
        reader->setAutoDetectImageFormat(false);
    } else {
        reader = std::make_unique<QImageReader>(&device);
    }
    if (!reader->canRead() && !formatHint.isEmpty()) {
        device.seek(start);
        reader = std::make_unique<QImageReader>(&device, formatHint);
    }
    reader->setAutoTransform(true);
    return reader;
}

// The size the picture is read at (invalid: as stored), or an error when it is larger than the
// reader's budget allows.
QSize sizeToRead(QImageReader &reader, QSize full, qint64 maxPixels, QSize box, QSize exact,
                 bool interlacedPng, QString *error)
{
    QSize target;
    if (!full.isValid())
        return target;
    const qint64 pixels = qint64(full.width()) * full.height();
    if (pixels > PictureReader::MaxSourcePixels) {
        *error = TooLarge;
        return target;
    }
    const qint64 wanted = std::max<qint64>(maxPixels, 1);
    if (exact.isValid() && exact != full) {
        target = exact;
    } else if (box.isValid() && (full.width() > box.width() || full.height() > box.height())) {
        target = full.scaled(box, Qt::KeepAspectRatio);
    } else if (!box.isValid() && pixels > wanted) {
        const double f = std::sqrt(double(wanted) / double(pixels));
        target = QSize(std::max(1, int(full.width() * f)), std::max(1, int(full.height() * f)));
    }
    // A decoder that cannot scale holds the whole picture at up to 8 bytes a pixel; so does an
    // interlaced PNG, whose rows are final only after its last pass.
    const bool scalesAsRead =
        reader.supportsOption(QImageIOHandler::ScaledSize) && target.isValid() && !interlacedPng;
    if (pixels * (scalesAsRead ? 0 : 4) > qint64(PictureReader::DecodeBudgetMiB) * 1024 * 1024)
        *error = TooLarge;
    return target;
}

// The pixels at `target` (invalid: as stored), upright; null with the decoder's reason in `why`.
QImage decodedPixels(QIODevice &device, qint64 start, QImageReader &reader, QSize full, QSize target,
                     bool png, bool jpeg, QString *why)
{
    QImage image;
    if (target.isValid() && full.isValid() && target != full && (png || jpeg)) {
        // Read straight to the size wanted, every pixel as a full read would give it.
        if (device.seek(start))
            image =
                png ? ScaledDecoding::png(device, target, why) : ScaledDecoding::jpeg(device, target, why);
        image = upright(std::move(image), reader.transformation());
    }
    if (!image.isNull())
        return image;
    // Qt's reader takes what ours refused (a damaged file it reads in part, as a full read would).
    std::unique_ptr<QImageReader> again;
    if (png || jpeg) {
        device.seek(start);
        again = std::make_unique<QImageReader>(&device, reader.format());
        again->setAutoTransform(true);
    }
    QImageReader &qt = again ? *again : reader;
    image = readScaled(qt, target);
    if (image.isNull() && why->isEmpty())
        *why = qt.errorString();
    return image;
}
} // namespace

PictureReader::Result PictureReader::read(QIODevice &device, const QByteArray &formatHint,
                                          const Request &request)
{
    applyDecodeBudget();
    Result result;
    const qint64 start = device.pos();
    // Progressive JPEGs are decoded once per scan: thousands of scans keep a decoder busy for
    // minutes, while real pictures have about ten.
    const int scans = countJpegScans(device, MaxScans);
    if (scans > MaxScans) {
        result.error = QStringLiteral("the picture is made of too many scans (more than %1)").arg(MaxScans);
        return result;
    }
    if (!device.seek(start)) {
        result.error = QStringLiteral("the picture cannot be read");
        return result;
    }
    const bool png = ScaledDecoding::isPng(device);
    const bool interlacedPng = png && ScaledDecoding::isInterlacedPng(device);
    const bool jpeg = ScaledDecoding::isJpeg(device);
    const std::unique_ptr<QImageReader> readerPtr = readerFor(device, start, formatHint, png, jpeg);
    QImageReader &reader = *readerPtr;
    if (!reader.canRead()) {
        result.error = QStringLiteral("it is not a picture in a format this program reads");
        return result;
    }
    const QSize full = reader.size();
    QSize target =
        sizeToRead(reader, full, request.maxPixels, request.box, request.exact, interlacedPng, &result.error);
    if (!result.error.isEmpty())
        return result;
    if (request.probeOnly) {
        // Every format this program reads states its size in its header; one that does not is damaged.
        if (!full.isValid())
            result.error = QStringLiteral("the picture cannot be read");
        return result;
    }
    const QSize kept = target.isValid() ? target : full;
    std::shared_ptr<const EncodedPicture> encoded;
    if (request.keepEncoded && full.isValid() && qint64(kept.width()) * kept.height() > EncodedPixels)
        encoded = keptEncoded(reader, *request.keepEncoded, full, kept, request.maxPixels, &target);
    QString why;
    const QImage image = decodedPixels(device, start, reader, full, target, png, jpeg, &why);
    if (image.isNull()) {
        result.error = why.isEmpty() ? QStringLiteral("the picture cannot be read")
                                     : QStringLiteral("the picture cannot be read (%1)").arg(why);
        return result;
    }
    // A picture read smaller than it is keeps its full size in points, upright like its pixels.
    QSizeF points(full);
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        points.transpose();
    if (encoded) {
        int level = 1;
        while (encoded->pixelsAt(level) != image.size() && level < EncodedPicture::MostLevel)
            ++level;
        if (encoded->pixelsAt(level) == image.size())
            encoded->keep(level, image);
        result.picture = Picture::fromEncoded(std::move(encoded), points);
        return result;
    }
    result.picture = target.isValid() ? Picture(image, points) : Picture(image);
    return result;
}

PictureReader::Result PictureReader::readFileAs(const QString &path, qint64 maxPixels, bool keepBytes)
{
    RegularFile::Opened opened = RegularFile::open(path, MaxFileBytes);
    if (!opened.file) {
        Result result;
        result.error = opened.error;
        return result;
    }
    EncodedPicture::Origin origin;
    origin.formatHint = QFileInfo(path).suffix().toLower().toLatin1();
    Request request;
    request.maxPixels = maxPixels;
    request.keepEncoded = &origin;
    if (!keepBytes) {
        origin.path = path;
        return read(*opened.file, origin.formatHint, request);
    }
    // Read once into memory: the bytes checked are the bytes kept.
    origin.bytes = opened.file->read(MaxFileBytes);
    QBuffer buffer(&origin.bytes);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer, origin.formatHint, request);
}

PictureReader::Result PictureReader::readFile(const QString &path, qint64 maxPixels)
{
    return readFileAs(path, maxPixels, false);
}

PictureReader::Result PictureReader::readFileBytes(const QString &path, qint64 maxPixels)
{
    return readFileAs(path, maxPixels, true);
}

PictureReader::Result PictureReader::readData(const QByteArray &encoded, qint64 maxPixels)
{
    EncodedPicture::Origin origin;
    origin.bytes = encoded;
    QBuffer buffer(&origin.bytes);
    buffer.open(QIODevice::ReadOnly);
    Request request;
    request.maxPixels = maxPixels;
    request.keepEncoded = &origin;
    return read(buffer, QByteArray(), request);
}

QImage PictureReader::decode(const EncodedPicture::Origin &origin, QSize stored, qint64 maxPixels)
{
    Request request;
    request.maxPixels = maxPixels;
    request.exact = stored;
    Result r;
    if (origin.path.isEmpty()) {
        QBuffer buffer;
        buffer.setData(origin.bytes);
        buffer.open(QIODevice::ReadOnly);
        r = read(buffer, origin.formatHint, request);
    } else {
        // The file as it is now, under every check again: it may have been replaced meanwhile.
        RegularFile::Opened opened = RegularFile::open(origin.path, MaxFileBytes);
        if (!opened.file)
            return {};
        r = read(*opened.file, origin.formatHint, request);
    }
    return r.picture.image();
}

QImage PictureReader::readThumbnail(const QString &path, int side, QString *error)
{
    side = std::max(side, 1);
    Result r;
    RegularFile::Opened opened = RegularFile::open(path, MaxFileBytes);
    if (opened.file) {
        Request request;
        request.box = QSize(side, side);
        r = read(*opened.file, QFileInfo(path).suffix().toLower().toLatin1(), request);
    } else {
        r.error = opened.error;
    }
    if (error)
        *error = r.error;
    if (!r.ok())
        return {};
    const QImage image = r.picture.image();
    if (image.width() <= side && image.height() <= side)
        return image;
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QString PictureReader::probe(const QString &path)
{
    RegularFile::Opened opened = RegularFile::open(path, MaxFileBytes);
    if (!opened.file)
        return opened.error;
    Request request;
    request.probeOnly = true;
    return read(*opened.file, QFileInfo(path).suffix().toLower().toLatin1(), request).error;
}

QString PictureReader::userMessage(const QString &path, const QString &error)
{
    return QStringLiteral("Cannot use the picture \"%1\": %2.").arg(QFileInfo(path).fileName(), error);
}
