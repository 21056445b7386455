// A very large card zoomed to 1600 %: what the canvas keeps follows the window's size, not the
// zoomed card's, and the desk still shows the card's shadow where the card's edge comes into sight.
#include "CanvasFixture.h"

#include "canvas/ui/SWCenteringClipView.h"
#include "foundation/CardCodes.h"
#include "model/SKTImage.h"
#include "panels/CardPageDrawing.h"
#include "platform/Units.h"
#include "support/DesignSetup.h"

#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTest>

namespace
{
// Peak resident memory of this process in KiB, from the kernel's own count.
qint64 peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Starts the peak count again from what is resident now, so earlier cases in this process do not
// hide growth. False where the kernel does not allow it.
bool resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

// Paints the visible part of the canvas and the desk around it, as a shown window would.
void paintNow(SKTZoomingScrollView &scroll, SKTGraphicView &view)
{
    const int before = view.paintCount();
    scroll.viewport()->repaint();
    view.repaint();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.paintCount() > before; }));
}

QImage deskOnly(SKTZoomingScrollView &scroll)
{
    QWidget *clip = scroll.clipView();
    QImage desk(clip->size(), QImage::Format_ARGB32);
    clip->render(&desk, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return desk;
}
} // namespace

class ZoomMemory : public CanvasFixture
{
protected:
    // 2000 x 2000 mm: at 1600 % the canvas is over 90,000 pixels a side.
    const double side = 2000.0 * Units::PointsPerMillimetre;

    void makeHugeCard()
    {
        testsupport::setCardSize(document, QSizeF(side, side));
        // A stretched background picture and a picture object over the whole card, so that every
        // kind of picture drawing runs at the zoom.
        QImage pixels(64, 64, QImage::Format_ARGB32_Premultiplied);
        pixels.fill(QColor(40, 120, 200));
        host.page.Card_fill_chk = true;
        host.page.Card_fill_style = FillCode::Picture;
        host.page.Card_BG_Image = Picture(pixels);
        GraphicPtr photo = SKTImage::initWithPosition(QPointF(), Picture(pixels));
        photo->_bounds = QRectF(10, 10, side - 20, side - 20);
        document.insertGraphics({photo}, {0});
        addShape(QRectF(side / 2 - 100, side / 2 - 100, 200, 200));
        CanvasDriver::settle();
    }

    // The most the shadow may hold: the visible area and the blur's margin around it.
    qsizetype shadowBound() const
    {
        const QSize vp = scroll->clipView()->size() + QSize(60, 60);
        return qsizetype(vp.width() + 4) * (vp.height() + 4) * 4;
    }
};

TEST_P(ZoomMemory, SixteenHundredPercentOfATwoMetreCardCostsWhatTheWindowCosts)
{
    makeHugeCard();
    testsupport::setOutline(document,
                            CardPageDrawing::Ellipse); // the costliest outline to fill and to shadow
    scroll->setRulersVisible(true);
    paintNow(*scroll, *view);
    const bool reset = resetPeak();
    const qint64 before = peakResidentKiB();
    ASSERT_GT(before, 0);

    zoom.setFactor(16.0);
    paintNow(*scroll, *view);
    ASSERT_GT(view->width(), 90000);
    EXPECT_LE(scroll->clipView()->shadowBytes(), shadowBound());
    // Through the card: its corner, its middle, its far corner, each painted and each with a
    // shadow no larger than the window.
    QScrollBar *h = scroll->horizontalScrollBar(), *v = scroll->verticalScrollBar();
    for (double at : {0.0, 0.5, 1.0}) {
        h->setValue(int(h->maximum() * at));
        v->setValue(int(v->maximum() * at));
        paintNow(*scroll, *view);
        EXPECT_LE(scroll->clipView()->shadowBytes(), shadowBound()) << at;
    }
    const qint64 grown = peakResidentKiB() - before;
    // Measured before the change: several gigabytes for half this card. The window's own pictures
    // cost a few megabytes; the limit leaves room for allocator slack (and the address sanitizer's
    // quarantine of freed blocks) without hiding a card-sized copy.
#ifdef TESSALY_SANITIZED
    constexpr qint64 limitKiB = 300 * 1024;
#else
    constexpr qint64 limitKiB = 150 * 1024;
#endif
    EXPECT_LT(grown, limitKiB) << "peak grew by " << grown << " KiB (peak reset: " << reset << ")";
}

TEST_P(ZoomMemory, StripWiderThanTheWindowStillCastsItsShadowBelowIt)
{
    // Two metres wide and 20 points high: at 1600 % the desk shows above and below the card.
    testsupport::setCardSize(document, QSizeF(side, 20));
    zoom.setFactor(16.0);
    QScrollBar *h = scroll->horizontalScrollBar();
    h->setValue(h->maximum() / 2);
    paintNow(*scroll, *view);
    EXPECT_LE(scroll->clipView()->shadowBytes(), shadowBound());
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    scroll->grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/canvas-strip-1600.png"));
    const QRect card = view->geometry();
    const QImage desk = deskOnly(*scroll);
    ASSERT_LT(card.bottom() + 60, desk.height());
    const int x = desk.width() / 2;
    // Next to the card's bottom edge the desk is darkened; further out it is not.
    const QColor near = desk.pixelColor(x, card.bottom() + 5);
    const QColor far = desk.pixelColor(x, card.bottom() + 55);
    EXPECT_LT(near.lightness() + 10, far.lightness());
    // Inside the card's silhouette the desk shows the silhouette's colour, not the shadow's.
    EXPECT_EQ(desk.pixelColor(x, card.center().y()), scroll->palette().color(QPalette::Button));
    // The shadow lies under the whole visible width, not only where a card-sized picture began.
    EXPECT_LT(desk.pixelColor(3, card.bottom() + 5).lightness() + 10, far.lightness());
    EXPECT_LT(desk.pixelColor(desk.width() - 4, card.bottom() + 5).lightness() + 10, far.lightness());
}

INSTANTIATE_TEST_SUITE_P(Window, ZoomMemory, ::testing::Values(1.0),
                         [](const auto &) { return std::string("Window"); });
