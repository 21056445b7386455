#include "panels/Card_Property.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Card_Property, DefaultsDrawOnlyTheWhiteOutline)
{
    Card_Property p;
    EXPECT_FALSE(p.Card_border_chk);
    EXPECT_FALSE(p.Card_fill_chk);
    EXPECT_EQ(p.Card_bor_Stepper, 1);
    EXPECT_EQ(p.Card_alpha_Stepper, 100.0f);
    EXPECT_DOUBLE_EQ(p.drawOpacity(), 1.0);
    EXPECT_EQ(p.Card_Sub_Category, "CR80-Credit Card Size");
    EXPECT_EQ(p.Card_Content_font.postScriptName, "TimesNewRomanPS-ItalicMT");
    EXPECT_EQ(p.Card_Content_font.size, 14.0);
    EXPECT_FALSE(p.Card_BG_Image.has_value());
}

TEST(Card_Property, NewDesignTurnsTheBorderOnAndCopiesAreIndependent)
{
    Card_Property p;
    p.Card_fill_chk = true;
    p.Card_BG_Image = Picture(QImage(4, 4, QImage::Format_ARGB32));
    p.resetForNewDesign(Qt::red, FontDescriptor{"ArialMT", 12});
    EXPECT_TRUE(p.Card_border_chk);
    EXPECT_FALSE(p.Card_fill_chk);
    EXPECT_FALSE(p.Card_BG_Image.has_value());
    EXPECT_EQ(p.Card_Content_clr, QColor(Qt::red));

    Card_Property copy = p;
    copy.Card_Name = "Other";
    copy.Card_fill_clr = Qt::blue;
    EXPECT_EQ(p.Card_Name, "Untitled");
    EXPECT_EQ(p.Card_fill_clr, QColor(Qt::white));
}

TEST(Card_Property, BackgroundPictureLoading)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bg.png");
    QImage img(6, 3, QImage::Format_ARGB32);
    img.fill(Qt::green);
    ASSERT_TRUE(img.save(path));

    Card_Property p;
    p.setBackgroundImage(QString());
    EXPECT_FALSE(p.Card_fill_chk);

    p.setBackgroundImage(path);
    EXPECT_TRUE(p.Card_fill_chk);
    EXPECT_EQ(p.Card_fill_style, "I");
    ASSERT_TRUE(p.Card_BG_Image.has_value());
    EXPECT_EQ(p.Card_BG_Image->size(), QSizeF(6, 3));

    // An unreadable file keeps the fill code and path but drops the picture.
    p.setBackgroundImage(dir.filePath("missing.png"));
    EXPECT_EQ(p.Card_fill_style, "I");
    EXPECT_EQ(p.Card_BG_Image_Path, dir.filePath("missing.png"));
    EXPECT_FALSE(p.Card_BG_Image.has_value());

    p.Card_alpha_Stepper = -3;
    EXPECT_DOUBLE_EQ(p.drawOpacity(), 0.0);
}
