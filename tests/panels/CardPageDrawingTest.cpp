#include "panels/CardPageDrawing.h"
#include "model/ModelGlobals.h"
#include "model/ModelHost.h"
#include "paint/PaintingScope.h"

#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

const QRectF kSide(0, 0, 100, 60);

QImage draw(const Card_Property &page, int shape = CardPageDrawing::Rectangle)
{
    QImage img(100, 60, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    CardPageDrawing::Card_Base_Drawing(p, page, shape, kSide, QStringLiteral(TESSALY_SOURCE_RESOURCES));
    return img;
}

Picture solid(QColor c, int w = 10, int h = 10)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    return Picture(img);
}

} // namespace

TEST(CardPageDrawing, NewPageIsTheWhiteOutlineOnly)
{
    const QImage img = draw(Card_Property());
    EXPECT_EQ(img.pixel(0, 0), qRgba(255, 255, 255, 255));
    EXPECT_EQ(img.pixel(50, 30), qRgba(255, 255, 255, 255));
    // An elliptic card paints nothing outside its outline.
    const QImage ellipse = draw(Card_Property(), CardPageDrawing::Ellipse);
    EXPECT_EQ(qAlpha(ellipse.pixel(1, 1)), 0);
    EXPECT_EQ(ellipse.pixel(50, 30), qRgba(255, 255, 255, 255));
    const QImage rounded = draw(Card_Property(), CardPageDrawing::RoundedRectangle);
    EXPECT_EQ(qAlpha(rounded.pixel(0, 0)), 0);
}

TEST(CardPageDrawing, FillsAndBorder)
{
    Card_Property page;
    page.resetForNewDesign(Qt::black, Card_Property::defaultContentFont());
    QImage img = draw(page);
    EXPECT_LT(qGray(img.pixel(0, 30)), 160); // black 1-point border centred on the edge
    EXPECT_EQ(img.pixel(50, 30), qRgba(255, 255, 255, 255));

    page.Card_fill_chk = true;
    page.Card_fill_clr = QColor(255, 0, 0, 128); // half opacity shows the white base
    img = draw(page);
    EXPECT_NEAR(qGreen(img.pixel(50, 30)), 127, 2);
    EXPECT_EQ(qRed(img.pixel(50, 30)), 255);

    page.Card_fill_style = "G";
    page.Card_fill_Grd_1_clr = Qt::red;
    page.Card_fill_Grd_2_clr = Qt::blue;
    page.Card_grad_Stepper = 0;
    img = draw(page);
    EXPECT_GT(qRed(img.pixel(3, 30)), 230);
    EXPECT_GT(qBlue(img.pixel(96, 30)), 230);

    page.Card_fill_style = "H";
    page.Card_hatch_bk_clr = Qt::yellow;
    page.Card_hatch_style = "NotThere";
    img = draw(page);
    EXPECT_EQ(img.pixel(50, 30), QColor(Qt::yellow).rgb());

    // A negative width from a file draws a hairline; an unknown dash code draws solid.
    page.Card_bor_Stepper = -5;
    page.Card_border_style = "ZZ";
    img = draw(page);
    EXPECT_LT(qGray(img.pixel(0, 30)), 150);
}

TEST(CardPageDrawing, BackgroundPictures)
{
    Card_Property page;
    page.Card_fill_chk = true;
    page.Card_fill_style = "I";
    // A missing picture leaves the white page.
    EXPECT_EQ(draw(page).pixel(50, 30), qRgba(255, 255, 255, 255));

    page.Card_BG_Image = solid(Qt::blue);
    page.Card_alpha_Stepper = 100; // above 1: fully opaque
    QImage img = draw(page, CardPageDrawing::Ellipse);
    // Stretched over the whole card, the corners outside the ellipse included.
    EXPECT_EQ(img.pixel(1, 1), QColor(Qt::blue).rgb());
    EXPECT_EQ(img.pixel(98, 58), QColor(Qt::blue).rgb());

    page.Card_BG_Image_Layout = "Tile";
    page.Card_alpha_Stepper = 0.5f;
    img = draw(page, CardPageDrawing::Ellipse);
    EXPECT_EQ(qAlpha(img.pixel(1, 1)), 0); // a tiled picture stays inside the outline
    EXPECT_NEAR(qRed(img.pixel(50, 30)), 127, 2);
    EXPECT_NEAR(qBlue(img.pixel(50, 30)), 255, 1);

    // Upright: a picture with a red top half shows red at the top of the card.
    QImage top(10, 10, QImage::Format_ARGB32);
    top.fill(Qt::green);
    QPainter p(&top);
    p.fillRect(0, 0, 10, 5, Qt::red);
    p.end();
    page.Card_BG_Image = Picture(top);
    page.Card_BG_Image_Layout = "Stretch";
    page.Card_alpha_Stepper = 1;
    img = draw(page);
    EXPECT_EQ(img.pixel(50, 5), QColor(Qt::red).rgb());
    EXPECT_EQ(img.pixel(50, 55), QColor(Qt::green).rgb());
}

TEST(CardPageDrawing, RefreshGoesToTheMainWindowExceptWhilePainting)
{
    struct Host : ModelHost {
        int refreshes = 0;
        void Refresh_Canvas() override { ++refreshes; }
    } host;
    ModelGlobals::instance().Main_App_wnd = &host;
    CardPageDrawing::Refresh_Canvas();
    {
        PaintingScope painting;
        CardPageDrawing::Refresh_Canvas();
    }
    ModelGlobals::instance().Main_App_wnd = nullptr;
    EXPECT_EQ(host.refreshes, 1);
}
