#include "platform/Picture.h"
#include "platform/SharedPictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

TEST(Picture, RaisedToResolutionHasCeilPixels)
{
    QImage img(10, 10, QImage::Format_ARGB32);
    img.fill(Qt::red);
    Picture p(img, QSizeF(10.5, 7.2));
    QImage out = p.toImage(300);
    EXPECT_EQ(out.width(), 44);  // ceil(10.5 * 300 / 72) = ceil(43.75)
    EXPECT_EQ(out.height(), 30); // ceil(7.2 * 300 / 72) = 30 exactly
    EXPECT_EQ(QColor(out.pixel(20, 15)), QColor(Qt::red));
}

TEST(Picture, NullAndEmptyPicturesDrawNothing)
{
    Picture none;
    EXPECT_TRUE(none.isNull());
    EXPECT_TRUE(none.toImage(300).isNull());
    EXPECT_TRUE(Picture::fromData("not a picture").isNull());
}

// A recording must cover the same part of a card whatever resolution the card is raised to.
TEST(Picture, VectorReplayIgnoresTheDeviceResolution)
{
    QPicture rec;
    {
        QPainter p(&rec);
        p.fillRect(QRectF(0, 0, 36, 18), Qt::black); // the left half of a 72 x 18 point picture
    }
    const Picture pic = Picture::fromVector(rec, QSizeF(72, 18));
    for (double dpi : {72.0, 150.0, 300.0, 600.0}) {
        QImage img(int(72 * dpi / 72), int(18 * dpi / 72), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::white);
        img.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
        img.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));
        QPainter p(&img);
        p.scale(dpi / 72, dpi / 72);
        pic.draw(p, QRectF(0, 0, 72, 18));
        p.end();
        const int half = img.width() / 2;
        EXPECT_EQ(QColor(img.pixel(half - 2, img.height() / 2)), QColor(Qt::black)) << dpi;
        EXPECT_EQ(QColor(img.pixel(half + 2, img.height() / 2)), QColor(Qt::white)) << dpi;
    }
}

TEST(Picture, PngIsEncodedOnceAndFollowsAVectorsSize)
{
    QImage img(12, 8, QImage::Format_ARGB32);
    img.fill(QColor(10, 200, 30, 128));
    const Picture p(img);
    const Picture copy = p;
    const QByteArray first = p.toPng();
    EXPECT_EQ(QImage::fromData(first).convertToFormat(QImage::Format_ARGB32), img);
    // Copies share the encoding: the same buffer, not an equal one made again.
    EXPECT_EQ(copy.toPng().constData(), first.constData());
    EXPECT_EQ(p.withSize(QSizeF(24, 16)).toPng().constData(), first.constData());
    EXPECT_TRUE(Picture().toPng().isEmpty());

    QPicture recording;
    {
        QPainter painter(&recording);
        painter.fillRect(QRectF(0, 0, 10, 10), Qt::blue);
    }
    const Picture vector = Picture::fromVector(recording, QSizeF(10, 10));
    EXPECT_EQ(QImage::fromData(vector.toPng()).size(), QSize(10, 10));
    // A vector is drawn at its size: a resized one has pixels of its own.
    EXPECT_EQ(QImage::fromData(vector.withSize(QSizeF(20, 30)).toPng()).size(), QSize(20, 30));
    EXPECT_EQ(QImage::fromData(vector.toPng()).size(), QSize(10, 10));
}

namespace
{
void writePhoto(const QString &path, QColor colour)
{
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(colour);
    ASSERT_TRUE(photo.save(path, "JPEG"));
}
} // namespace

TEST(SharedPictures, OneFileIsDecodedOnceWhileUsedAndAgainOnceChangedOrLetGo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    writePhoto(path, Qt::red);
    const int before = SharedPictures::liveCount();
    std::optional<Picture> a = Picture::fromFile(path);
    std::optional<Picture> b = Picture::fromFile(path);
    ASSERT_FALSE(a->isNull());
    EXPECT_EQ(a->image().constBits(), b->image().constBits());
    EXPECT_EQ(SharedPictures::liveCount(), before + 1);
    // A copy scaled in points still holds the same pixels.
    std::optional<Picture> smaller = b->withSize(b->size() / 2);
    b.reset();
    EXPECT_EQ(smaller->image().constBits(), a->image().constBits());

    // The file written again is another picture; the old one lives on in those that show it.
    writePhoto(path, Qt::blue);
    const Picture changed = Picture::fromFile(path);
    EXPECT_NE(changed.image().constBits(), a->image().constBits());
    EXPECT_EQ(QColor(changed.image().pixel(5, 5)).blue() > 200, true);
    EXPECT_EQ(QColor(a->image().pixel(5, 5)).red() > 200, true);

    // Let go by every picture: freed.
    a.reset();
    EXPECT_EQ(SharedPictures::liveCount(), before + 2); // `smaller` and `changed`
    smaller.reset();
    EXPECT_EQ(SharedPictures::liveCount(), before + 1);
    // A missing file reads as before: null, with the reader's reason.
    EXPECT_FALSE(SharedPictures::read(dir.filePath(QStringLiteral("none.jpg"))).ok());
}

TEST(SharedPictures, ThreadsReadingOneFileShareOnePicture)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    writePhoto(path, Qt::green);
    std::vector<Picture> read(8);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < read.size(); ++i)
        threads.emplace_back([&, i] { read[i] = Picture::fromFile(path); });
    for (std::thread &t : threads)
        t.join();
    // Those that decoded at the same time were given the first one kept.
    for (const Picture &p : read)
        EXPECT_EQ(p.image().constBits(), read.front().image().constBits());
}
