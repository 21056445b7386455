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
    EXPECT_EQ(out.width(), 44);   // ceil(10.5 * 300 / 72) = ceil(43.75)
    EXPECT_EQ(out.height(), 30);  // ceil(7.2 * 300 / 72) = 30 exactly
    EXPECT_EQ(QColor(out.pixel(20, 15)), QColor(Qt::red));
}

TEST(Picture, NullAndEmptyPicturesDrawNothing)
{
    Picture none;
    EXPECT_TRUE(none.isNull());
    EXPECT_TRUE(none.toImage(300).isNull());
    EXPECT_TRUE(Picture::fromData("not a picture").isNull());
}
