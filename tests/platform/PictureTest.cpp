#include "platform/Picture.h"

#include <QGuiApplication>
#include <QPainter>
#include <gtest/gtest.h>

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
