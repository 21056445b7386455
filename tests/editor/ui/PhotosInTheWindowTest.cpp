// Thirty objects of one large photo in the main window: they hold one decoded picture, and Grey
// Scale on the picture page over all of them is one undo step, filtered at the size shown.
#include "MainWindowFixture.h"

#include "support/KeyboardWalk.h"

#include "canvas/ui/CanvasPictureFilters.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "model/SKTImage.h"
#include "panels/ui/ImageSignPanel.h"
#include "panels/ui/ImageTab.h"
#include "panels/ui/Inspector.h"
#include "panels/ui/InspectorTabs.h"
#include "platform/UndoManager.h"

#include <QCheckBox>
#include <QTimer>

#include <algorithm>

using PhotosInTheWindow = MainWindowFixture;

TEST_F(PhotosInTheWindow, GreyScaleOverThirtyPhotosIsOneStepFilteredAtTheSizeShown)
{
    // About five million pixels, which the canvas no longer filters in full.
    QImage pixels(2600, 1950, QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            line[x] = qRgb(230, x * 255 / pixels.width(), 40);
    }
    const QString path = tempPath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(pixels.save(path, "JPEG", 90));
    for (int i = 0; i < 30; ++i) {
        const auto photo = SKTImage::initWithPath(QPointF(), path);
        photo->setBounds(QRectF(5 + (i % 6) * 38, 5 + (i / 6) * 29, 34, 25));
        window->document().insertGraphics({photo}, {0});
    }
    QCoreApplication::processEvents();
    window->document().undoManager().removeAllActions();
    const auto &first = static_cast<const SKTImage &>(*front().first());
    for (const GraphicPtr &g : front())
        EXPECT_EQ(static_cast<const SKTImage &>(*g)._contents->image().constBits(),
                  first._contents->image().constBits());

    // Ctrl+A over the card; the picture page shows.
    ASSERT_TRUE(testsupport::showWithKeyboard(*window));
    canvas(0)->setFocus();
    QTest::keyClick(canvas(0), Qt::Key_A, Qt::ControlModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(canvas(0)->selectionIndexes().size(), 30);
    ASSERT_TRUE(window->inspectorTabs().isShown(InspectorTabs::image_tab));
    window->inspectorTabs().selectItem(InspectorTabs::image_tab);
    QCoreApplication::processEvents();
    int turnsWhileFiltering = 0;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout,
                     [&] { turnsWhileFiltering += canvas(0)->pictureFilters().isRunning(); });
    turns.start(0);
    QCheckBox *grey = window->inspector().imageSignPanel().imageTab().Image_Gray_Scale_chk;
    ASSERT_TRUE(grey->isVisible());
    QTest::mouseClick(grey, Qt::LeftButton, {}, QPoint(8, grey->height() / 2));
    // The run is over once every photo shows its grey picture and the please-wait sheet, which
    // shows on a slow machine, has gone again.
    const auto allGrey = [this] {
        return std::all_of(front().begin(), front().end(), [](const GraphicPtr &g) {
            return static_cast<const SKTImage &>(*g).showsFiltered();
        });
    };
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return allGrey() && !canvas(0)->pictureFilters().isRunning() && !PleaseWaitSheet::current(); },
        120000));
    turns.stop();
    EXPECT_TRUE(first.showsFiltered());
    // Filtered at the pixels the canvas shows (34 x 25 points at 100 %), which takes no worker.
    EXPECT_LE(first.shownSource(QSizeF(1, 1)).pixelSize().width(), 2 * 34 * canvas(0)->devicePixelRatioF());
    EXPECT_EQ(turnsWhileFiltering, 0);
    saveArtifact(window.get(), QStringLiteral("thirty_photos_in_grey.png"));
    for (const GraphicPtr &g : front())
        EXPECT_TRUE(g->gray_Scale);

    // One Ctrl+Z takes it back from all thirty.
    // The keys reach the window once it is active again after the sheet.
    EXPECT_EQ(window->document().undoManager().undoCount(), 1);
    ASSERT_TRUE(testsupport::showWithKeyboard(*window));
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->document().undoManager().undoCount() == 0; }, 60000));
    for (const GraphicPtr &g : front())
        EXPECT_FALSE(g->gray_Scale);
}
