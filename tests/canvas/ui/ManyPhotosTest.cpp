// Many objects showing one photo, as a user makes them by copying and pasting: they hold one
// decoded picture, and a filter over them is made off the window's thread while it stays live.
// A zoom that needs a photo's finer pixels shows the ones held at once and the finer ones once
// decoded on a worker, while output decodes what it draws before drawing it.
#include "CanvasFixture.h"

#include "canvas/SKTRenderingView.h"
#include "canvas/ui/CanvasPictureFilters.h"
#include "model/SKTImage.h"
#include "paint/ProcessedPictures.h"
#include "platform/EncodedPicture.h"
#include "platform/PictureDecodes.h"
#include "support/DesignSetup.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <condition_variable>
#include <mutex>
#include <optional>

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
// A photo of about five million pixels in black and white squares of four pixels: decoded at an
// eighth, each pixel is their mean, a flat grey; at a half, the squares still show.
QString writeCheckedPhoto(const QTemporaryDir &dir)
{
    QImage photo(2600, 1950, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            line[x] = ((x / 4 + y / 4) % 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    const QString path = dir.filePath(QStringLiteral("squares.jpg"));
    EXPECT_TRUE(photo.save(path, "JPEG", 95));
    return path;
}

// The mean and the spread of the grey of an image's pixels in `area`.
struct Greys {
    double mean = 0;
    double spread = 0;
};
Greys greysIn(const QImage &image, const QRect &area)
{
    double sum = 0, squares = 0;
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const double g = qGray(image.pixel(x, y));
            sum += g;
            squares += g * g;
            ++n;
        }
    }
    const double mean = sum / n;
    return {mean, std::sqrt(std::max(0.0, squares / n - mean * mean))};
}

// Holds the picture decoder back until opened; opens when it goes, so no worker is left waiting.
class DecoderGate
{
public:
    DecoderGate()
    {
        PictureDecodes::setBeforeDecode([this] {
            std::unique_lock lock(m_mutex);
            ++m_inside;
            m_opened.wait(lock, [this] { return m_open; });
            --m_inside;
            m_opened.notify_all();
        });
    }
    ~DecoderGate()
    {
        PictureDecodes::setBeforeDecode({});
        open();
        std::unique_lock lock(m_mutex);
        m_opened.wait(lock, [this] { return m_inside == 0; });
    }
    void open()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_opened.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = false;
    int m_inside = 0; // workers held here
};

// Turns the event loop until `done` holds; false after 30 seconds.
template <typename Done> bool waitFor(Done done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 30000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
} // namespace

TEST_P(ManyPhotos, AZoomShowsTheHeldPixelsAtOnceAndTheFinerOnesWhenDecodedWhileOutputWaitsForThem)
{
    QTemporaryDir dir;
    testsupport::setCardSize(document, QSizeF(330, 250));
    const auto photo = SKTImage::initWithPath(QPointF(), writeCheckedPhoto(dir));
    const QRectF frame(15, 12, 300, 225);
    photo->setBounds(frame);
    // Nothing held from reading it: the canvas decodes the pixels it shows.
    EncodedPicture::clearCache();
    document.insertGraphics({photo}, {0});
    const Picture coarse = photo->shownSource(QSizeF(f(), f()));
    ASSERT_TRUE(waitFor([&] { return coarse.isDecoded() && PictureDecodes::pending() == 0; }));
    const Picture fine = photo->shownSource(QSizeF(4 * f(), 4 * f()));
    ASSERT_LT(fine.level(), coarse.level());
    const auto inner = [&](double scale) {
        const QRectF r = frame.adjusted(30, 30, -30, -30);
        return QRect(QPoint(int(r.left() * scale), int(r.top() * scale)),
                     QPoint(int(r.right() * scale), int(r.bottom() * scale)));
    };

    std::optional<DecoderGate> gate(std::in_place);
    zoom.setFactor(4 * f());
    view->repaint();
    // Painted at once from the coarse pixels: the squares' grey, flat.
    EXPECT_FALSE(fine.isDecoded());
    EXPECT_EQ(PictureDecodes::pending(), 1);
    const Greys held = greysIn(view->grab().toImage(), inner(view->zoom()));
    EXPECT_NEAR(held.mean, 128, 40);
    EXPECT_LT(held.spread, 25);

    // Let go, the decoding ends and the canvas paints itself again with the squares.
    CanvasDriver::settle(); // the zoom's own repaints, still held
    EXPECT_FALSE(fine.isDecoded());
    const int paintsHeld = view->paintCount();
    gate->open();
    ASSERT_TRUE(waitFor([&] {
        return fine.isDecoded() && PictureDecodes::pending() == 0 && view->paintCount() > paintsHeld;
    }));
    const QImage sharp = view->grab().toImage();
    sharp.save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/canvas-photo-decoded-at-400.png"));
    EXPECT_GT(greysIn(sharp, inner(view->zoom())).spread, 60);

    // Output at the same pixels, with the decoder held again and the finer pixels gone: it decodes
    // them itself and draws the squares, never the grey.
    gate.emplace();
    EncodedPicture::clearCache();
    const QImage exported = SKTRenderingView::imageOfSide(
        RenderSide::of(document.design(), 0, document.graphics(), Resource_Path), 4 * Units::PointsPerInch);
    EXPECT_GT(greysIn(exported, inner(4)).spread, 60);
    gate.reset();
}

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
