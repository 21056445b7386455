// Many objects showing one photo, as a user makes them by copying and pasting: they hold one
// decoded picture, and a filter over them is made off the window's thread while it stays live.
#include "CanvasFixture.h"

#include "canvas/ui/CanvasPictureFilters.h"
#include "model/SKTImage.h"
#include "paint/ProcessedPictures.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

using ManyPhotos = CanvasFixture;

namespace
{
// A photo of about five million pixels: a colour ramp, so a grey scale shows.
QString writeLargePhoto(const QTemporaryDir &dir)
{
    QImage photo(2600, 1950, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            line[x] = qRgb(255 - x * 255 / photo.width(), 60, x * 255 / photo.width());
    }
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    EXPECT_TRUE(photo.save(path, "JPEG", 90));
    return path;
}
} // namespace

TEST_P(ManyPhotos, CopiesOfAPhotoShareItsPixelsAndAFilterOverThemLeavesTheWindowLive)
{
    QTemporaryDir dir;
    const QString path = writeLargePhoto(dir);
    const auto photo = SKTImage::initWithPath(QPointF(30, 25), path);
    photo->setBounds(QRectF(0, 0, 60, 45));
    document.insertGraphics({photo}, {0});
    select({0});
    view->copy();
    for (int i = 0; i < 9; ++i)
        view->paste();
    const GraphicList photos = document.graphics();
    ASSERT_EQ(photos.size(), 10);
    for (const GraphicPtr &g : photos) {
        const auto &image = static_cast<const SKTImage &>(*g);
        ASSERT_TRUE(image._contents);
        EXPECT_EQ(image._contents->image().constBits(), photo->_contents->image().constBits());
        EXPECT_EQ(g->FilePath(), path); // the file stays linked
    }

    // Grey scale on every copy, as the picture page writes it: the canvas filters the photo at
    // the pixels it shows, once for all copies, not the five million it has.
    ProcessedPictures::clear();
    for (const GraphicPtr &g : photos)
        g->gray_Scale = true;
    view->repaint();
    QElapsedTimer waited;
    waited.start();
    while (!photo->showsFiltered() && waited.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    CanvasDriver::settle();
    EXPECT_FALSE(view->pictureFilters().isRunning());
    const Picture shownSource = photo->shownSource(QSizeF(GetParam(), GetParam()));
    EXPECT_TRUE(ProcessedPictures::isReady(shownSource, photo->filters()));
    EXPECT_LE(shownSource.pixelSize().width(), 2 * 60 * GetParam());
    EXPECT_FALSE(ProcessedPictures::isReady(*photo->_contents, photo->filters()));
    // The canvas now shows the photo in grey.
    const QImage shown = view->grab().toImage();
    shown.save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/canvas-ten-photos-in-grey.png"));
    const QColor middle = shown.pixelColor(drive().pixel(photos.first()->bounds().center()));
    EXPECT_NEAR(middle.red(), middle.blue(), 3);
    EXPECT_NEAR(middle.red(), middle.green(), 3);
}

INSTANTIATE_TEST_SUITE_P(Zoom, ManyPhotos, ::testing::Values(1.0),
                         [](const auto &) { return std::string("At100"); });
