// Big and hostile pictures met in the main window: the background strip lists them without
// stopping the window, and a picture that cannot be used is named with its reason while the card
// keeps what it had.
#include "MainWindowFixture.h"

#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "canvas/ui/ThumbnailWait.h"
#include "editor/ui/BackgroundBrowser.h"
#include "model/SKTImage.h"
#include "panels/ui/ImageSignPanel.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/SignTab.h"
#include "platform/PictureReader.h"
#include "support/HostilePictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QtEndian>

namespace
{
// A 48-megapixel phone photo: green above, magenta below. Made once for the whole program.
QByteArray phonePhoto()
{
    static const QByteArray bytes = [] {
        QImage image(8000, 6000, QImage::Format_RGB32);
        QPainter p(&image);
        p.fillRect(0, 0, 8000, 3000, QColor(30, 200, 60));
        p.fillRect(0, 3000, 8000, 3000, QColor(200, 30, 200));
        p.end();
        return HostilePictures::jpeg(image, false);
    }();
    return bytes;
}

// A PNG whose header claims 60000 x 60000 pixels, in a few dozen bytes.
QByteArray hugeClaim()
{
    return HostilePictures::pngClaiming(60000, 60000);
}

// A progressive JPEG whose last scan is repeated until it has 20,000: a decoder would spend
// minutes on it.
QByteArray twentyThousandScans()
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    return HostilePictures::withRepeatedLastScan(HostilePictures::jpeg(image, true), 20000);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

const QString TooLarge = QStringLiteral("the picture is too large");
} // namespace

class PictureBudget : public MainWindowFixture
{
protected:
    QString background(const char *name) const { return dataRoot() + QStringLiteral("Background/") + name; }
    QString message(const QString &path, const QString &error) const
    {
        return PictureReader::userMessage(path, error);
    }
};

TEST_F(PictureBudget, TheBackgroundStripTakesAPhonePhotoAndRefusesWhatItCannotUse)
{
    QDir(dataRoot() + QStringLiteral("Background")).removeRecursively();
    writeBytes(background("a-photo.jpg"), phonePhoto());
    writeBytes(background("b-huge.png"), hugeClaim());
    writeBytes(background("c-scans.jpg"), twentyThousandScans());
    BackgroundBrowser &strip = window->backgroundBrowser();
    strip.Load_and_fill_backgrounds();
    ASSERT_EQ(strip.images->count(), 3);

    // Thumbnails arrive from the strip's own thread while the window goes on.
    ASSERT_TRUE(QTest::qWaitFor([&] { return thumbnails::settled(*strip.images); }, 60000));
    const QPixmap thumb = thumbnails::shown(*strip.images, 0);
    EXPECT_FALSE(thumb.isNull());
    EXPECT_EQ(thumb.width(), ImageBrowser::thumbnailSideFor(strip.imageBrowser->zoomValue()));
    EXPECT_EQ(strip.images->thumbnailError(1), TooLarge);
    EXPECT_EQ(strip.images->thumbnailError(2),
              QStringLiteral("the picture is made of too many scans (more than 300)"));
    EXPECT_EQ(strip.images->data(strip.images->index(1), Qt::ToolTipRole).toString(),
              QStringLiteral("b-huge.png: the picture is too large"));

    // The 48-megapixel photo becomes the front background at its full size.
    QTest::mouseClick(strip.imageBrowser->viewport(), Qt::LeftButton, {},
                      strip.imageBrowser->itemRect(0).center());
    EXPECT_TRUE(shown().isEmpty()) << shown().join(QLatin1Char('\n')).toStdString();
    const Card_Property &front = window->Front_card_Prop();
    EXPECT_EQ(front.Card_BG_Image_Path, background("a-photo.jpg"));
    ASSERT_TRUE(front.Card_BG_Image.has_value());
    EXPECT_EQ(front.Card_BG_Image->size(), QSizeF(8000, 6000));
    const QImage pixels = front.Card_BG_Image->image();
    EXPECT_LE(qint64(pixels.width()) * pixels.height(), PictureReader::CardPixels);
    EXPECT_GT(pixels.pixelColor(10, 10).green(), 150);
    EXPECT_GT(pixels.pixelColor(10, pixels.height() - 10).red(), 150);
    QCoreApplication::processEvents();
    saveArtifact(window.get(), QStringLiteral("picture_budget_phone_photo_background.png"));

    // The others are named with their reason, and the card keeps the photo.
    for (int row : {1, 2}) {
        messages.clear();
        strip.imageBrowser->clearSelection();
        QTest::mouseClick(strip.imageBrowser->viewport(), Qt::LeftButton, {},
                          strip.imageBrowser->itemRect(row).center());
        const QString path = strip.images->item(row).path();
        // One box, naming the picture and why.
        EXPECT_EQ(shown().join('\n').toStdString(),
                  message(path, strip.images->thumbnailError(row)).toStdString());
        EXPECT_EQ(front.Card_BG_Image_Path, background("a-photo.jpg"));
        ASSERT_TRUE(front.Card_BG_Image.has_value());
        EXPECT_EQ(front.Card_BG_Image->size(), QSizeF(8000, 6000));
        EXPECT_EQ(front.Card_fill_style, QStringLiteral("I"));
    }
    EXPECT_EQ(
        shown().value(0).toStdString(),
        "Cannot use the picture \"c-scans.jpg\": the picture is made of too many scans (more than 300).");
}

TEST_F(PictureBudget, APictureObjectIsMadeFromAPhonePhotoAndKeepsItsPictureWhenTheNextCannotBeUsed)
{
    const QString photo = tempPath(QStringLiteral("photo.jpg"));
    const QString huge = tempPath(QStringLiteral("huge.png"));
    const QString pipe = tempPath(QStringLiteral("pipe.jpg"));
    writeBytes(photo, phonePhoto());
    writeBytes(huge, hugeClaim());
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    // The picture tool with a picture too large makes no object and says why.
    files.answers.push_back(huge);
    clickTool(8);
    EXPECT_EQ(shown().join('\n').toStdString(), message(huge, TooLarge).toStdString());
    EXPECT_TRUE(front().isEmpty());

    // A phone photo makes a picture object, capped in its proportions as every picture is.
    messages.clear();
    files.answers.push_back(photo);
    clickTool(8);
    EXPECT_TRUE(shown().isEmpty()) << shown().join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(front().size(), 1);
    auto *picture = dynamic_cast<SKTImage *>(front()[0].get());
    ASSERT_TRUE(picture && picture->_contents);
    EXPECT_FALSE(picture->_contents->image().isNull());
    EXPECT_EQ(picture->_contents->size(), QSizeF(624, SKTImage::MaxHeight)); // 4:3, as taken

    // Choosing another picture for it in the inspector: refused ones leave it as it was.
    canvas(0)->changeSelectionIndexes({0});
    canvas(0)->setSelectedGraphic(front()[0]);
    window->Show_RHS_Properties(front()[0]);
    ImageSignPanel &panel = window->inspector().imageSignPanel();
    const QString before = panel.manualImagePath();
    for (const QString &path : {huge, pipe}) {
        messages.clear();
        files.answers.push_back(path);
        panel.manual_browse_btn->click();
        EXPECT_EQ(shown().join('\n').toStdString(),
                  message(path, path == huge ? TooLarge : QStringLiteral("it is not a regular file"))
                      .toStdString());
        EXPECT_EQ(picture->FilePath(), photo);
        ASSERT_TRUE(picture->_contents);
        EXPECT_FALSE(picture->_contents->image().isNull());
        EXPECT_EQ(panel.manualImagePath(), before);
    }
    QCoreApplication::processEvents();
    saveArtifact(window.get(), QStringLiteral("picture_budget_phone_photo_object.png"));
}

TEST_F(PictureBudget, ASignatureKeepsItsPictureWhenTheChosenOneCannotBeUsed)
{
    const QString huge = tempPath(QStringLiteral("huge.png"));
    writeBytes(huge, hugeClaim());
    clickTool(11);
    ASSERT_EQ(front().size(), 1);
    const GraphicPtr sign = front()[0];
    const QString before = sign->FilePath();
    canvas(0)->changeSelectionIndexes({0});
    canvas(0)->setSelectedGraphic(sign);
    window->Show_RHS_Properties(sign);
    SignTab &tab = window->inspector().imageSignPanel().signTab();
    const QString shownPath = tab.Sign_image_path->text();
    messages.clear();
    files.answers.push_back(huge);
    tab.Sign_Browse_Btn->click();
    EXPECT_EQ(shown().join('\n').toStdString(), message(huge, TooLarge).toStdString());
    EXPECT_EQ(sign->FilePath(), before);
    EXPECT_EQ(tab.Sign_image_path->text(), shownPath);
}
