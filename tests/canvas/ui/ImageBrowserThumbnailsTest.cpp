// Browser thumbnails read on the browser's own thread: the window never waits for a picture,
// refused pictures carry their reason, and a browser closed while it reads goes away cleanly.
#include "canvas/ui/ImageBrowser.h"
#include "canvas/ui/ImageBrowserModel.h"
#include "canvas/ui/ThumbnailWait.h"
#include "platform/PictureReader.h"

#include "support/HostilePictures.h"
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace
{
// A progressive JPEG with its last scan repeated: thousands of scans in a small file.
QByteArray thumbManyScans(int scans)
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    return HostilePictures::withRepeatedLastScan(HostilePictures::jpeg(image, true), scans);
}

} // namespace

TEST(ImageBrowserThumbnails, ArriveFromTheReaderAndRefusalsCarryTheirReason)
{
    QTemporaryDir dir;
    QImage wide(400, 200, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    ASSERT_TRUE(wide.save(dir.filePath("a-wide.png")));
    ASSERT_TRUE(HostilePictures::writeBytes(dir.filePath("b-scans.jpg"), thumbManyScans(20000)));
    ASSERT_TRUE(HostilePictures::writeBytes(dir.filePath("c-text.png"), "plain words"));

    ImageBrowserModel model;
    ASSERT_TRUE(model.fillFromFolder(dir.path()));
    ASSERT_EQ(model.count(), 3);
    model.setThumbnailSide(100);
    // Asking answers at once, with nothing yet: the picture is read elsewhere.
    EXPECT_TRUE(thumbnails::shown(model, 0).isNull());
    EXPECT_TRUE(model.thumbnailsPending());
    int arrivals = 0;
    QObject::connect(&model, &ImageBrowserModel::thumbnailsArrived, [&] { ++arrivals; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return thumbnails::settled(model); }, 30000));
    EXPECT_FALSE(model.thumbnailsPending());
    EXPECT_GE(arrivals, 3);

    EXPECT_EQ(thumbnails::shown(model, 0).size(), QSize(100, 50));
    EXPECT_EQ(thumbnails::shown(model, 0).toImage().pixelColor(50, 25), QColor(Qt::blue));
    EXPECT_EQ(model.thumbnailError(0), QString());
    EXPECT_EQ(model.thumbnailError(1),
              QStringLiteral("the picture is made of too many scans (more than 300)"));
    EXPECT_TRUE(model.thumbnailError(2).startsWith(QStringLiteral("it is not a picture")));
    EXPECT_EQ(model.data(model.index(0), Qt::ToolTipRole).toString(), QStringLiteral("a-wide.png"));
    EXPECT_EQ(model.data(model.index(1), Qt::ToolTipRole).toString(),
              QStringLiteral("b-scans.jpg: the picture is made of too many scans (more than 300)"));
    EXPECT_EQ(model.data(model.index(1), Qt::DisplayRole).toString(), QStringLiteral("b-scans.jpg"));

    // A new zoom reads again at the new size.
    ImageBrowser browser(&model);
    browser.setZoomValue(1.0);
    const int side = ImageBrowser::thumbnailSideFor(1.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return thumbnails::shown(model, 0).width() == side; }, 30000));
    EXPECT_EQ(thumbnails::shown(model, 0).height(), side / 2);
}

TEST(ImageBrowserThumbnails, ABrowserClosedWhileReadingGoesAwayCleanly)
{
    QTemporaryDir dir;
    QImage photo(3000, 2000, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    const QByteArray jpeg = HostilePictures::jpeg(photo, false);
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(HostilePictures::writeBytes(
            dir.filePath(QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0'))), jpeg));
    for (int round = 0; round < 3; ++round) {
        auto model = std::make_unique<ImageBrowserModel>();
        ASSERT_TRUE(model->fillFromFolder(dir.path()));
        for (int row = 0; row < model->count(); ++row)
            thumbnails::shown(*model, row);
        if (round > 0) // let some results be on their way to the GUI thread
            (void)QTest::qWaitFor([&] { return !thumbnails::shown(*model, 0).isNull(); }, 30000);
        model.reset(); // joins the reader; results still queued find no model
        QCoreApplication::processEvents();
    }
    SUCCEED();
}

namespace
{
// The longest vertical run of a colour in a column of a grabbed browser: how tall a plain picture
// shows there.
int shownHeight(const QImage &shot, int x, QColor colour)
{
    int longest = 0;
    int run = 0;
    for (int y = 0; y < shot.height(); ++y) {
        run = shot.pixelColor(x, y) == colour ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}
} // namespace

TEST(ImageBrowserThumbnails, ShowWholeOnceReadWhateverTheFirstPictureIs)
{
    // The browser lays out its cells before any thumbnail has arrived; a cell must still hold the
    // whole picture once it comes, a tall one after a wide one included, at every zoom.
    QTemporaryDir dir;
    QImage wide(400, 200, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    ASSERT_TRUE(wide.save(dir.filePath("a-wide.png")));
    QImage tall(200, 400, QImage::Format_RGB32);
    tall.fill(Qt::red);
    ASSERT_TRUE(tall.save(dir.filePath("b-tall.png")));

    ImageBrowserModel model;
    ImageBrowser browser(&model);
    browser.resize(700, 500);
    browser.show();
    ASSERT_TRUE(model.fillFromFolder(dir.path()));
    for (double zoom : {0.4, 0.5}) {
        browser.setZoomValue(zoom);
        const int side = ImageBrowser::thumbnailSideFor(zoom);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return thumbnails::shown(model, 0).width() == side &&
                       thumbnails::shown(model, 1).height() == side;
            },
            30000));
        QCoreApplication::processEvents();
        const QImage shot = browser.viewport()->grab().toImage();
        const QRect wideCell = browser.itemRect(0);
        const QRect tallCell = browser.itemRect(1);
        EXPECT_EQ(shownHeight(shot, wideCell.center().x(), QColor(Qt::blue)), side / 2) << zoom;
        EXPECT_EQ(shownHeight(shot, tallCell.center().x(), QColor(Qt::red)), side) << zoom;
        // The title stays in its cell, under the picture.
        EXPECT_GE(tallCell.height(), side + browser.fontMetrics().height()) << zoom;
    }
}
