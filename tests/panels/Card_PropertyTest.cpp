#include "model/Card_Property.h"
#include "support/PageFieldValues.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

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

    // A picture that cannot be used changes nothing: the page keeps the background it had.
    EXPECT_TRUE(p.setBackgroundImage(dir.filePath("missing.png")).startsWith("it cannot be opened"));
    EXPECT_EQ(p.Card_fill_style, "I");
    EXPECT_EQ(p.Card_BG_Image_Path, path);
    ASSERT_TRUE(p.Card_BG_Image.has_value());
    EXPECT_EQ(p.Card_BG_Image->size(), QSizeF(6, 3));

    // A damaged design may name a pipe: it is not read (reading would wait forever).
    const QString pipe = dir.filePath("pipe.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(p.setBackgroundImage(pipe), "it is not a regular file");
    EXPECT_EQ(p.Card_BG_Image_Path, path);
    EXPECT_TRUE(p.Card_BG_Image.has_value());

    // Opacity is stored in percent and drawn as a fraction, never below nothing.
    EXPECT_DOUBLE_EQ(Card_Property().drawOpacity(), 1.0);
    p.Card_alpha_Stepper = -3;
    EXPECT_DOUBLE_EQ(p.drawOpacity(), 0.0);
}

TEST(Card_Property, KeyedArchiveCarriesEveryStoredFieldAndRefusesDamage)
{
    Card_Property p = testsupport::pageWithEveryFieldSet();
    EXPECT_EQ(testsupport::differingPageFields(p, Card_Property()).size(), CardPageFields::Count);
    p.Card_BG_Image = Picture(QImage(3, 2, QImage::Format_ARGB32));
    QString error;
    const auto back = Card_Property::unarchive(p.archivedData(), &error);
    ASSERT_TRUE(back) << error.toStdString();
    EXPECT_EQ(testsupport::differingPageFields(p, *back), QStringList());
    ASSERT_TRUE(back->Card_BG_Image);
    EXPECT_EQ(back->Card_BG_Image->size(), QSizeF(3, 2));
    EXPECT_FALSE(Card_Property::unarchive(QByteArray("bplist00garbage"), &error));
    EXPECT_FALSE(error.isEmpty());
}
