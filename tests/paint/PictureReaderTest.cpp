// The picture budget: big photos read scaled down instead of vanishing, hostile files refused
// with a reason, and JPEG scans counted before any decoding.
#include "platform/PictureReader.h"
#include "platform/RegularFile.h"
#include "platform/ScaledDecoding.h"

#include "support/HostilePictures.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{

QByteArray jpegOf(const QImage &image, bool progressive = false)
{
    const QByteArray bytes = HostilePictures::jpeg(image, progressive, 80);
    EXPECT_FALSE(bytes.isEmpty());
    return bytes;
}

// The last scan of a progressive JPEG (its SOS segment and data) repeated until there are
// `scans` of them: not a sensible picture, but exactly what the scan count must refuse.
QByteArray withScans(const QByteArray &jpeg, int scans)
{
    QBuffer b;
    b.setData(jpeg);
    b.open(QIODevice::ReadOnly);
    const int have = PictureReader::countJpegScans(b, 100000);
    const QByteArray out = HostilePictures::withRepeatedLastScan(jpeg, scans - have);
    EXPECT_FALSE(out.isEmpty());
    return out;
}

int scansOf(const QByteArray &bytes)
{
    QBuffer b;
    b.setData(bytes);
    b.open(QIODevice::ReadOnly);
    return PictureReader::countJpegScans(b, 1000000);
}

class PictureReaderTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(PictureReaderTest, A48MegapixelPhotoIsReadScaledDownAtItsFullSizeInPoints)
{
    // 8000 x 6000 decodes to 183 MiB, beyond Qt's own 128 MiB default: it used to vanish.
    ASSERT_TRUE(HostilePictures::writeBytes(path("photo.jpg"), jpegOf(HostilePictures::halves(8000, 6000))));
    for (const PictureReader::Result &r :
         {PictureReader::readFile(path("photo.jpg")),
          PictureReader::readData(jpegOf(HostilePictures::halves(8000, 6000)))}) {
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_EQ(r.picture.size(), QSizeF(8000, 6000));
        const QImage px = r.picture.image();
        EXPECT_LE(qint64(px.width()) * px.height(), PictureReader::CardPixels);
        EXPECT_GT(qint64(px.width()) * px.height(), PictureReader::CardPixels * 9 / 10);
        EXPECT_NEAR(double(px.width()) / px.height(), 8000.0 / 6000.0, 0.01);
        const QColor left = px.pixelColor(px.width() / 4, px.height() / 2);
        const QColor right = px.pixelColor(px.width() * 3 / 4, px.height() / 2);
        EXPECT_GT(left.red(), 180);
        EXPECT_LT(left.blue(), 70);
        EXPECT_GT(right.blue(), 180);
        EXPECT_LT(right.red(), 70);
    }
    // A small picture is kept whole, pixel for point.
    ASSERT_TRUE(HostilePictures::writeBytes(path("small.jpg"), jpegOf(HostilePictures::halves(300, 200))));
    const PictureReader::Result small = PictureReader::readFile(path("small.jpg"));
    ASSERT_TRUE(small.ok());
    EXPECT_EQ(small.picture.image().size(), QSize(300, 200));
    EXPECT_EQ(small.picture.size(), QSizeF(300, 200));
    // Picture::fromFile, which the model reads through, gives the same.
    EXPECT_EQ(Picture::fromFile(path("photo.jpg")).size(), QSizeF(8000, 6000));

    // A thumbnail is read at libjpeg's strongest reduction that covers it, an eighth on each side,
    // not decoded whole and then scaled.
    const qint64 before = ScaledDecoding::jpegPixelsDecoded();
    const QImage thumb = PictureReader::readThumbnail(path("photo.jpg"), 128);
    EXPECT_EQ(thumb.size(), QSize(128, 96));
    EXPECT_EQ(ScaledDecoding::jpegPixelsDecoded() - before, 1000 * 750);
}

TEST_F(PictureReaderTest, ATurnedPhotoIsReadUprightAtItsUprightSize)
{
    // Phones store a portrait photo as landscape pixels with an EXIF turn.
    const PictureReader::Result r = PictureReader::readData(
        HostilePictures::withOrientation6(jpegOf(HostilePictures::halves(8000, 6000))));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.picture.size(), QSizeF(6000, 8000));
    const QImage px = r.picture.image();
    EXPECT_NEAR(double(px.width()) / px.height(), 6000.0 / 8000.0, 0.01);
    // Turned clockwise, the red left half is on top.
    EXPECT_GT(px.pixelColor(px.width() / 2, px.height() / 4).red(), 180);
    EXPECT_GT(px.pixelColor(px.width() / 2, px.height() * 3 / 4).blue(), 180);

    // A picture named for another format is still read by its content.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(HostilePictures::halves(40, 20).save(&buffer, "PNG"));
    ASSERT_TRUE(HostilePictures::writeBytes(path("really-a-png.jpg"), png));
    const PictureReader::Result misnamed = PictureReader::readFile(path("really-a-png.jpg"));
    ASSERT_TRUE(misnamed.ok()) << misnamed.error.toStdString();
    EXPECT_EQ(misnamed.picture.size(), QSizeF(40, 20));
}

TEST_F(PictureReaderTest, APictureBeyondTheBudgetIsRefusedAsTooLarge)
{
    // 70000 x 70000 pixels claimed by a header of a few dozen bytes.
    const QByteArray huge = HostilePictures::pngClaiming(70000, 70000);
    ASSERT_TRUE(HostilePictures::writeBytes(path("huge.png"), huge));
    const PictureReader::Result fromFile = PictureReader::readFile(path("huge.png"));
    EXPECT_TRUE(fromFile.picture.isNull());
    EXPECT_EQ(fromFile.error, QStringLiteral("the picture is too large"));
    EXPECT_EQ(PictureReader::readData(huge).error, QStringLiteral("the picture is too large"));
    EXPECT_EQ(PictureReader::probe(path("huge.png")), QStringLiteral("the picture is too large"));
    EXPECT_EQ(PictureReader::userMessage(path("huge.png"), fromFile.error),
              QStringLiteral("Cannot use the picture \"huge.png\": the picture is too large."));

    // A file beyond the byte budget is refused before a byte is decoded (a sparse file costs nothing).
    QFile big(path("big.png"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.write(HostilePictures::pngClaiming(10, 10)) > 0);
    ASSERT_TRUE(big.resize(PictureReader::MaxFileBytes + 1));
    big.close();
    EXPECT_TRUE(
        PictureReader::readFile(path("big.png")).error.startsWith(QStringLiteral("the file is too large")));

    // Within the claim limits but damaged: the reason is the decoder's, not "too large".
    ASSERT_TRUE(HostilePictures::writeBytes(path("damaged.png"), HostilePictures::pngClaiming(100, 100)));
    const PictureReader::Result damaged = PictureReader::readFile(path("damaged.png"));
    EXPECT_TRUE(damaged.picture.isNull());
    EXPECT_TRUE(damaged.error.startsWith(QStringLiteral("the picture cannot be read")))
        << damaged.error.toStdString();

    ASSERT_TRUE(HostilePictures::writeBytes(path("text.jpg"), "not a picture at all"));
    EXPECT_EQ(PictureReader::readFile(path("text.jpg")).error,
              QStringLiteral("it is not a picture in a format this program reads"));
    EXPECT_TRUE(
        PictureReader::readFile(path("missing.jpg")).error.startsWith(QStringLiteral("it cannot be opened")));
}

TEST_F(PictureReaderTest, AFifoOrADeviceIsRefusedWithoutWaiting)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.jpg")).constData(), 0600), 0);
    // No writer ever comes: a blocking open would hang the test here.
    EXPECT_EQ(PictureReader::readFile(path("pipe.jpg")).error, QStringLiteral("it is not a regular file"));
    EXPECT_EQ(PictureReader::probe(path("pipe.jpg")), QStringLiteral("it is not a regular file"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path("zero.png")));
    EXPECT_EQ(PictureReader::readFile(path("zero.png")).error, QStringLiteral("it is not a regular file"));
    EXPECT_EQ(RegularFile::readAll(path("zero.png"), 1024).error, QStringLiteral("it is not a regular file"));
    EXPECT_EQ(RegularFile::readAll(dir.path(), 1024).error, QStringLiteral("it is not a regular file"));

    ASSERT_TRUE(HostilePictures::writeBytes(path("five.txt"), "12345"));
    EXPECT_EQ(RegularFile::readAll(path("five.txt"), 5).bytes, QByteArray("12345"));
    EXPECT_EQ(RegularFile::readAll(path("five.txt"), 4).error,
              QStringLiteral("the file is too large (5 bytes; at most 4 bytes)"));
}

TEST_F(PictureReaderTest, ScansAreCountedByMarkersNotByBytesThatLookLikeThem)
{
    const QByteArray baseline = jpegOf(HostilePictures::halves(64, 48));
    EXPECT_EQ(scansOf(baseline), 1);
    const QByteArray progressive = jpegOf(HostilePictures::halves(64, 48), true);
    const int scans = scansOf(progressive);
    EXPECT_GT(scans, 1);
    EXPECT_LT(scans, 20);
    EXPECT_EQ(scansOf(QByteArray("\x89PNG")), -1);

    // Entropy data holds stuffed 0xFF 0x00 pairs and restart markers: none of them starts a scan.
    // An application segment holding the bytes FF DA is skipped by its length.
    QByteArray crafted("\xFF\xD8", 2);
    crafted += QByteArray("\xFF\xE1\x00\x06\xFF\xDA\xFF\xDA", 8);
    crafted += QByteArray("\xFF\xDA\x00\x02", 4) + QByteArray("\x12\xFF\x00\x34\xFF\xD0\x56\xFF\xFF\x00", 10);
    crafted += QByteArray("\xFF\xC4\x00\x03\xAA", 5);
    crafted += QByteArray("\xFF\xDA\x00\x03\xDA", 5) + QByteArray("\xFF\x00\xFF\xD7", 4);
    crafted += QByteArray("\xFF\xD9", 2);
    EXPECT_EQ(scansOf(crafted), 2);
    // Counting stops once the limit is passed.
    QBuffer b;
    b.setData(withScans(progressive, 50));
    b.open(QIODevice::ReadOnly);
    EXPECT_EQ(PictureReader::countJpegScans(b, 10), 11);
}

TEST_F(PictureReaderTest, AProgressiveJpegWithThousandsOfScansIsRefusedAtOnce)
{
    const QByteArray progressive = jpegOf(HostilePictures::halves(640, 480), true);
    const QByteArray hostile = withScans(progressive, 20000);
    ASSERT_EQ(scansOf(hostile), 20000);
    ASSERT_TRUE(HostilePictures::writeBytes(path("scans.jpg"), hostile));
    const PictureReader::Result r = PictureReader::readFile(path("scans.jpg"));
    EXPECT_TRUE(r.picture.isNull());
    EXPECT_EQ(r.error, QStringLiteral("the picture is made of too many scans (more than 300)"));
    EXPECT_TRUE(PictureReader::readThumbnail(path("scans.jpg"), 100).isNull());
    // At the limit it still reads.
    const PictureReader::Result atLimit =
        PictureReader::readData(withScans(progressive, PictureReader::MaxScans));
    EXPECT_TRUE(atLimit.error.isEmpty() || !atLimit.error.contains(QStringLiteral("scans")))
        << atLimit.error.toStdString();
    EXPECT_TRUE(PictureReader::readData(progressive).ok());
}

TEST_F(PictureReaderTest, APalettePictureIsDrawnInItsOwnColoursAtEverySize)
{
    // Half flat red, half a ramp of many colours, in a 256-colour palette: plain and run-length
    // encoded, below and above the size where pictures stay encoded. Prints PIL's flat colour.
    const char *script = R"(
import struct, sys
from PIL import Image
for w, h in [(800, 500), (1200, 900), (1600, 1000)]:
    ramp = Image.linear_gradient("L").resize((w, h))
    image = Image.merge("RGB", (ramp, ramp.rotate(90), ramp.transpose(Image.Transpose.FLIP_LEFT_RIGHT)))
    image.paste((220, 30, 30), (0, 0, w // 2, h))
    plain = f"{sys.argv[1]}/{w}x{h}.bmp"
    image.quantize(256).save(plain)
    data = open(plain, "rb").read()
    start, stride = struct.unpack_from("<I", data, 10)[0], (w + 3) // 4 * 4
    runs = bytearray()
    for y in range(h):
        row = data[start + y * stride:start + y * stride + w]
        x = 0
        while x < w:
            n = 1
            while x + n < w and n < 255 and row[x + n] == row[x]:
                n += 1
            runs += bytes([n, row[x]])
            x += n
        runs += b"\0\0"
    runs += b"\0\1"
    rle = bytearray(data[:start] + runs)
    struct.pack_into("<I", rle, 2, len(rle))
    struct.pack_into("<II", rle, 30, 1, len(runs))
    open(f"{sys.argv[1]}/{w}x{h}_rle8.bmp", "wb").write(rle)
for name in (f"{w}x{h}{kind}.bmp" for w, h in [(800, 500), (1200, 900), (1600, 1000)] for kind in ("", "_rle8")):
    print(name, *Image.open(f"{sys.argv[1]}/{name}").convert("RGB").getpixel((5, 5)))
)";
    const testsupport::ProcResult written = testsupport::python(QString::fromLatin1(script), {dir.path()});
    ASSERT_EQ(written.exitCode, 0) << written.errText().toStdString();
    const QStringList lines = written.outText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    for (const QString &line : lines) {
        const QStringList f = line.split(QLatin1Char(' '));
        const QColor pil(f[1].toInt(), f[2].toInt(), f[3].toInt());
        const Picture picture = PictureReader::readFile(dir.filePath(f[0])).picture;
        ASSERT_FALSE(picture.isNull()) << line.toStdString();
        for (const double dpi : {72.0, 50.0, 30.0, 17.0}) {
            const QImage drawn = picture.toImage(dpi, Qt::white);
            int worst = 0;
            for (int y = 2; y < drawn.height() - 2; ++y) {
                for (int x = 2; x < drawn.width() / 2 - 2; ++x) {
                    const QColor c = drawn.pixelColor(x, y);
                    worst = std::max({worst, std::abs(c.red() - pil.red()), std::abs(c.green() - pil.green()),
                                      std::abs(c.blue() - pil.blue())});
                }
            }
            EXPECT_LE(worst, 1) << f[0].toStdString() << " at " << dpi << " dpi";
        }
    }
}
