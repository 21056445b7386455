// Large pictures kept encoded: decoded no finer than they are drawn, upright, shared between
// threads, freed with their last picture, and saved in a design as the full read.
#include "platform/EncodedPicture.h"
#include "paint/PathPainting.h"
#include "paint/ProcessedPictures.h"
#include "platform/PictureReader.h"

#include "support/HostilePictures.h"
#include "support/MeasuredMemory.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>
#include <vector>

namespace
{

bool redAbove(const QImage &px) // turned clockwise, the red left half is on top
{
    return px.pixelColor(px.width() / 2, px.height() / 4).red() > 180 &&
           px.pixelColor(px.width() / 2, px.height() * 3 / 4).blue() > 180;
}

// The resident set in MiB, as the kernel counts it.
double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

bool redLeft(const QImage &px)
{
    return px.pixelColor(px.width() / 4, px.height() / 2).red() > 180 &&
           px.pixelColor(px.width() * 3 / 4, px.height() / 2).blue() > 180;
}

class EncodedPictureTest : public ::testing::Test
{
protected:
    void SetUp() override { EncodedPicture::clearCache(); }
    QTemporaryDir dir;
    QString write(const char *name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(HostilePictures::writeBytes(path, bytes));
        return path;
    }
};

} // namespace

TEST_F(EncodedPictureTest, ALargePhotoIsDecodedNoFinerThanItIsDrawnAndUpright)
{
    const QByteArray jpeg = HostilePictures::jpeg(HostilePictures::halves(4000, 3000), false, 80);
    const QString path = write("photo.jpg", jpeg);
    const QString turnedPath = write("turned.jpg", HostilePictures::withOrientation6(jpeg));
    struct Case {
        QSize needed;
        QSize shown; // for the picture as stored; turned, the other way round
    };
    const Case cases[] = {
        {{38, 28}, {63, 47}},     // a small object at 100 %: the coarsest level that covers it
        {{158, 117}, {250, 188}}, // the same at 300 dpi
        {{251, 100}, {500, 375}}, // one side past a level takes the next
        {{1004, 638}, {2000, 1500}}, {{2001, 10}, {4000, 3000}}, // past every level: the full read
    };
    for (const bool turned : {false, true}) {
        const PictureReader::Result read = PictureReader::readFile(turned ? turnedPath : path);
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        const Picture &photo = read.picture;
        ASSERT_TRUE(photo.encoded());
        EXPECT_EQ(photo.size(), turned ? QSizeF(3000, 4000) : QSizeF(4000, 3000));
        for (const Case &c : cases) {
            const Picture shown = photo.atPixels(turned ? c.needed.transposed() : c.needed);
            const QSize expected = turned ? c.shown.transposed() : c.shown;
            EXPECT_EQ(shown.pixelSize(), expected) << c.needed.width() << " turned " << turned;
            EXPECT_EQ(shown.size(), photo.size());
            if (c.shown.width() > 1000)
                continue; // the full read is looked at once below
            const QImage px = shown.image();
            EXPECT_EQ(px.size(), expected);
            EXPECT_TRUE(turned ? redAbove(px) : redLeft(px)) << c.needed.width() << " turned " << turned;
        }
    }

    // Drawn into a small image, the photo is decoded for that size alone, not in full.
    const Picture photo = PictureReader::readFile(path).picture;
    QImage small(160, 120, QImage::Format_ARGB32_Premultiplied);
    small.fill(Qt::white);
    QPainter p(&small);
    PathPainting::drawPicture(p, photo, QRectF(0, 0, 160, 120));
    p.end();
    EXPECT_TRUE(redLeft(small));
    EXPECT_TRUE(photo.atPixels(QSize(160, 120)).isDecoded());
    EXPECT_FALSE(photo.isDecoded());
    EXPECT_LT(EncodedPicture::cachedBytes(), 4 * 1024 * 1024);
}

TEST_F(EncodedPictureTest, ABackgroundKeepsItsBytesAndSavesTheFullReadAsPng)
{
    const QByteArray jpeg = HostilePictures::jpeg(HostilePictures::halves(2400, 1800), false, 80);
    const QString path = write("background.jpg", jpeg);
    const PictureReader::Result kept = PictureReader::readFileBytes(path);
    ASSERT_TRUE(kept.ok()) << kept.error.toStdString();
    ASSERT_TRUE(kept.picture.encoded());
    ASSERT_TRUE(QFile::remove(path));

    // The PNG a design stores is the whole picture, pixel for pixel as a full read gives it.
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    const QImage full = QImageReader(&buffer).read();
    ASSERT_EQ(full.size(), QSize(2400, 1800));
    const QByteArray png = kept.picture.toPng();
    EXPECT_EQ(png, Picture(full).toPng());
    EXPECT_FALSE(kept.picture.isDecoded()); // the full read made for saving is not kept

    // A design read back holds that PNG encoded too, and saves it unchanged.
    const PictureReader::Result reread = PictureReader::readData(png);
    ASSERT_TRUE(reread.ok());
    EXPECT_TRUE(reread.picture.encoded());
    EXPECT_EQ(reread.picture.size(), QSizeF(2400, 1800));
    EXPECT_EQ(reread.picture.toPng(), png);
    EXPECT_EQ(reread.picture.toPng().constData(), png.constData()); // held once
}

TEST_F(EncodedPictureTest, ThreadsShareOneDecodingWhichGoesWithTheLastPicture)
{
    const QString path =
        write("photo.jpg", HostilePictures::jpeg(HostilePictures::halves(3000, 2000), false, 80));
    const qint64 before = EncodedPicture::cachedBytes();
    {
        const Picture photo = PictureReader::readFile(path).picture;
        ASSERT_TRUE(photo.encoded());
        std::vector<QImage> shown(8);
        std::vector<std::thread> threads;
        for (size_t i = 0; i < shown.size(); ++i)
            threads.emplace_back([&, i] { shown[i] = photo.atPixels(QSize(700, 400)).image(); });
        for (std::thread &t : threads)
            t.join();
        for (const QImage &image : shown) // the same pixels in memory
            EXPECT_EQ(image.constBits(), shown.front().constBits());
        shown.clear();
        EXPECT_GT(EncodedPicture::cachedBytes(), before);
    }
    EXPECT_EQ(EncodedPicture::cachedBytes(), before);
}

TEST_F(EncodedPictureTest, DecodingsKeptAndDrawnStayWithinTheBudgetAndAreNeverMadeTwiceAtOnce)
{
    // Each full read is 46 MiB: four fit the budget, five do not.
    const QString path =
        write("photo.jpg", HostilePictures::jpeg(HostilePictures::halves(4000, 3000), false, 80));
    const QSize full(4000, 3000);
    const auto photos = [&] {
        std::vector<Picture> read;
        for (int i = 0; i < 5; ++i) // each its own picture, as five files would be
            read.push_back(PictureReader::readFile(path).picture);
        return read;
    };
    const double budget = double(EncodedPicture::BudgetBytes) / (1024 * 1024);
    const double before = residentMiB();
    constexpr double Slack = 40; // the decoder's own buffers, the allocator's rounding

    // Drawn one after another and let go: the cache keeps its budget and gives back the rest.
    const std::vector<Picture> first = photos();
    for (const Picture &photo : first) {
        EXPECT_EQ(photo.atPixels(full).image().size(), full);
        EXPECT_LE(EncodedPicture::cachedBytes(), EncodedPicture::BudgetBytes);
        if (testsupport::MemoryIsMeasured) {
            EXPECT_LT(residentMiB() - before, budget + Slack);
        }
    }

    // Held while drawn, decodings count against the budget: the cache lets the others go.
    const std::vector<Picture> second = photos();
    std::vector<QImage> drawn;
    for (int i = 0; i < 3; ++i)
        drawn.push_back(second[size_t(i)].atPixels(full).image());
    for (const Picture &photo : first) {
        EXPECT_EQ(photo.atPixels(full).image().size(), full);
        if (testsupport::MemoryIsMeasured) {
            EXPECT_LT(residentMiB() - before, budget + Slack);
        }
    }
    // More held than the budget holds: one the cache let go while drawn is found again, the same
    // pixels, not decoded a second time beside them.
    for (int i = 3; i < 5; ++i)
        drawn.push_back(second[size_t(i)].atPixels(full).image());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(second[size_t(i)].atPixels(full).image().constBits(), drawn[size_t(i)].constBits()) << i;
    if (testsupport::MemoryIsMeasured) {
        EXPECT_LT(residentMiB() - before, 5 * 46 + Slack);
    }
    // Those held count against the budget though the cache let them go: photos drawn meanwhile
    // find no room beside them, and none is kept.
    for (const Picture &photo : first)
        EXPECT_EQ(photo.atPixels(full).image().size(), full);
    EXPECT_EQ(EncodedPicture::cachedBytes(), 0);
}

// The filtered pictures kept for the whole run may hold a large photo when the program ends, and
// their table may have been made before the decodings' own: the program still ends cleanly.
// Qt's PDF writer knows an image by its cache key and writes a part of one as an image of its own:
// a photo drawn whole and in part, again and again on two pages, is one image object.
TEST_F(EncodedPictureTest, APhotoDrawnOftenIntoAPdfIsEmbeddedOnce)
{
    if (!testsupport::hasTool("pdfimages"))
        GTEST_SKIP() << "pdfimages is not installed";
    const Picture photo = PictureReader::readFile(
                              write("photo.jpg", HostilePictures::jpeg(HostilePictures::halves(1600, 1200))))
                              .picture;
    ASSERT_TRUE(photo.encoded());
    const QString pdf = dir.filePath(QStringLiteral("placed.pdf"));
    {
        QPdfWriter writer(pdf);
        QPainter painter(&writer);
        painter.scale(writer.logicalDpiX() / 72.0, writer.logicalDpiY() / 72.0);
        for (int page = 0; page < 2; ++page) {
            if (page > 0)
                writer.newPage();
            for (int i = 0; i < 3; ++i) {
                PathPainting::drawPicture(painter, photo, QRectF(10 + i * 90, 10, 80, 60));
                PathPainting::drawPicture(painter, photo, QRectF(10 + i * 90, 100, 40, 60),
                                          QRectF(0, 0, 800, 1200)); // its left half
            }
        }
    }
    const testsupport::PdfImages images = testsupport::pdfImages(pdf);
    EXPECT_EQ(images.drawn, 12);
    EXPECT_EQ(images.objects, 1);
    EXPECT_EQ(images.errors, QString());
}

TEST(EncodedPictureExit, AFilteredPhotoKeptToTheEndLetsTheProgramEndCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fresh process: the tables made in this order
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(HostilePictures::writeBytes(
        path, HostilePictures::jpeg(HostilePictures::halves(4000, 3000), false, 80)));
    EXPECT_EXIT(
        {
            ProcessedPictures::Filters grey;
            grey.grayscale = true;
            QImage pixels(4, 4, QImage::Format_ARGB32_Premultiplied);
            pixels.fill(Qt::red);
            ProcessedPictures::processed(Picture(pixels, QSizeF(4, 4)), grey);
            {
                const Picture photo = PictureReader::readFile(path).picture;
                if (!photo.encoded())
                    std::_Exit(2);
                ProcessedPictures::processed(photo.atPixels(QSize(160, 120)), grey);
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
