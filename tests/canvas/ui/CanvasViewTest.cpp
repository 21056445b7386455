// The canvas in its scroll view: zoom, centring, the desk, painting, the current graphic and the
// selection that follows list changes; screenshots for reviewers.
#include "CanvasFixture.h"

#include "canvas/ui/SWCenteringClipView.h"
#include "model/SKTBarcode.h"
#include "model/SKTImage.h"
#include "model/SKTLine.h"
#include "model/SKTSignature.h"
#include "model/SKTText.h"
#include "model/Shape_Control.h"
#include "support/DesignSetup.h"

#include <QComboBox>
#include <QDir>
#include <QScrollBar>
#include <QTest>

#include <cmath>

using CanvasView = CanvasFixture;

TEST(ZoomTable, RowsRunFromTenToSixteenHundredPercentWithRowZeroInSinglePrecision)
{
    ASSERT_EQ(ZoomFactor::labels().size(), 11);
    EXPECT_EQ(ZoomFactor::labels().first(), QStringLiteral("10%"));
    EXPECT_EQ(ZoomFactor::labels().last(), QStringLiteral("1600%"));
    EXPECT_EQ(ZoomFactor::factors()[0], double(0.1f));
    EXPECT_NE(ZoomFactor::factors()[0], 0.1);
    EXPECT_EQ(ZoomFactor::rowForFactor(2.0), 7);
}

TEST(ZoomTable, ThreeScrollViewsFollowOneFactorChosenInAnyPopUp)
{
    ZoomFactor zoom;
    SKTZoomingScrollView views[3];
    SKTGraphicView *canvases[3];
    for (int i = 0; i < 3; ++i) {
        canvases[i] = new SKTGraphicView;
        views[i].setDocumentView(canvases[i]);
        views[i].bindFactor(zoom);
        views[i].resize(500, 400);
        views[i].show();
    }
    // The user picks "200%" in the second view's pop-up with the keyboard.
    QComboBox *popUp = views[1].factorPopUpButton();
    ASSERT_EQ(popUp->currentText(), QStringLiteral("100%"));
    popUp->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(popUp, Qt::Key_Down);
    EXPECT_EQ(popUp->currentText(), QStringLiteral("200%"));
    EXPECT_EQ(zoom.factor(), 2.0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(canvases[i]->width(), 486) << i;
        EXPECT_EQ(canvases[i]->height(), 308) << i;
        EXPECT_EQ(views[i].factorPopUpButton()->currentText(), QStringLiteral("200%")) << i;
    }
}

TEST(ZoomTable, ScrollViewWithoutHorizontalBarIsRefusedWithItsMessage)
{
    static QStringList logged;
    logged.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtCriticalMsg)
                logged.append(text);
        });
    SKTZoomingScrollView view;
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.tile();
    qInstallMessageHandler(previous);
    EXPECT_TRUE(logged.contains(
        QStringLiteral("SKTZoomingScrollView doesn't support use without a horizontal scroll bar.")));
}

TEST(CentringClipView, CentresLargerAreasAndLimitsScrollingToTheCard)
{
    EXPECT_EQ(SWCenteringClipView::centredOrigin(243, 600), -179); // -178.5 rounds away from zero
    EXPECT_EQ(SWCenteringClipView::centredOrigin(154, 300), -73);
    EXPECT_EQ(SWCenteringClipView::constrainAxis(500, 1000, 400), 500);
    EXPECT_EQ(SWCenteringClipView::constrainAxis(800, 1000, 400), 600);
    EXPECT_EQ(SWCenteringClipView::constrainAxis(-30, 1000, 400), 0);
    // As wide as the visible area: stays at 0 whatever is proposed.
    EXPECT_EQ(SWCenteringClipView::constrainAxis(25, 243, 243), 0);
}

TEST_P(CanvasView, CardIsCentredOnEachAxisAtRoundedHalfTheSpareRoom)
{
    EXPECT_EQ(view->width(), int(std::ceil(243 * f())));
    SWCenteringClipView *clip = scroll->clipView();
    const QSizeF b = clip->boundsSize();
    ASSERT_GT(b.width(), 243.0);
    const double ox = std::round((243 - b.width()) / 2);
    EXPECT_EQ(clip->boundsOrigin().x(), ox);
    EXPECT_EQ(view->x(), int(std::lround(-ox * f())));
    if (b.height() > 154) {
        EXPECT_EQ(clip->boundsOrigin().y(), std::round((154 - b.height()) / 2));
    }
}

TEST_P(CanvasView, CanvasExactlyAsWideAsTheViewSitsAtZeroAndCannotScroll)
{
    // Grow the card until it is as wide as the visible area.
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    CanvasDriver::settle();
    const QSizeF b = scroll->clipView()->boundsSize();
    testsupport::setCardSize(document, QSizeF(b.width(), 1000));
    CanvasDriver::settle();
    EXPECT_EQ(view->x(), 0);
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
    scroll->clipView()->scrollToPoint(QPointF(30, 0));
    EXPECT_EQ(view->x(), 0);
    // The other axis scrolls.
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
}

namespace
{
// The colour the desk shows just inside the card's top-left corner, the canvas left out.
QColor cornerColour(SKTZoomingScrollView &scroll, SKTGraphicView &view)
{
    QWidget *clip = scroll.clipView();
    QImage desk(clip->size(), QImage::Format_ARGB32);
    clip->render(&desk, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return desk.pixelColor(view.pos() + QPoint(3, 3));
}
} // namespace

TEST_P(CanvasView, DeskSilhouetteIsAnEllipseForShapeTwoAndARectangleOtherwise)
{
    const QColor button = scroll->palette().color(QPalette::Button);
    testsupport::setOutline(document, 0);
    EXPECT_EQ(cornerColour(*scroll, *view), button);
    testsupport::setOutline(document, 7);
    EXPECT_EQ(cornerColour(*scroll, *view), button);
    testsupport::setOutline(document, 2);
    EXPECT_NE(cornerColour(*scroll, *view), button);
    EXPECT_NE(cornerColour(*scroll, *view), QColor(Qt::white));
}

TEST_P(CanvasView, IdleShownCanvasPaintsWhatChangedThenStops)
{
    const int shown = view->paintCount();
    addShape(QRectF(20, 20, 60, 40));
    add(SKTGraphic::Kind::Text, QRectF(100, 20, 80, 30));
    select({0, 1});
    // What changed is painted on the next turns of the event loop...
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->paintCount() > shown; }));
    CanvasDriver::settle();
    const int before = view->paintCount();
    // ...and then nothing more: a paint that asked for another would paint again on every turn.
    for (int turn = 0; turn < 20; ++turn) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
    }
    EXPECT_EQ(view->paintCount(), before);
}

TEST_P(CanvasView, EmptySideShowsTheCardPageOnceAfterPaintingNeverDuringIt)
{
    view->repaint();
    view->repaint();
    EXPECT_EQ(host.cardPageShown(), 0); // not from inside the paint
    CanvasDriver::settle();
    EXPECT_EQ(host.cardPageShown(), 1);
    view->repaint();
    CanvasDriver::settle();
    EXPECT_EQ(host.cardPageShown(), 1); // not again while nothing changed
}

TEST_P(CanvasView, ClickSelectsTheFrontmostObjectAndMakesItCurrent)
{
    const GraphicPtr back = addShape(QRectF(20, 20, 100, 60));
    const GraphicPtr front = add(SKTGraphic::Kind::Shape, QRectF(60, 30, 40, 40));
    // The list's position 0 is the front: put `front` there.
    document.removeGraphicsAtIndexes({1});
    document.insertGraphics({front}, {0});
    drive().click(QPointF(70, 40));
    EXPECT_EQ(selected(), QList<int>{0});
    EXPECT_EQ(view->selectedGraphic(), front);
    ASSERT_FALSE(host.inspected.isEmpty());
    EXPECT_EQ(host.inspected.last(), front);
    drive().click(QPointF(30, 25));
    EXPECT_EQ(selected(), QList<int>{1});
    EXPECT_EQ(view->selectedGraphic(), back);
}

TEST_P(CanvasView, CurrentGraphicNeverOutlivesItsPlaceOnTheSide)
{
    const GraphicPtr g = addShape(QRectF(20, 20, 60, 40));
    drive().click(QPointF(30, 30));
    ASSERT_EQ(view->selectedGraphic(), g);
    view->delete_();
    // The undo history still holds the object, but the canvas no longer hands it out.
    EXPECT_EQ(view->selectedGraphic(), nullptr);
    view->undo();
    EXPECT_EQ(selected(), QList<int>{0});
}

TEST_P(CanvasView, SelectionKeepsItsObjectsWhenOthersAreInsertedOrRemoved)
{
    addShape(QRectF(10, 10, 20, 20));
    const GraphicPtr b = addShape(QRectF(40, 10, 20, 20));
    addShape(QRectF(70, 10, 20, 20));
    select({1});
    document.insertGraphics({SKTGraphic::create(SKTGraphic::Kind::Text)}, {0});
    EXPECT_EQ(view->selectedGraphics(), GraphicList{b});
    document.removeGraphicsAtIndexes({0, 1});
    EXPECT_EQ(view->selectedGraphics(), GraphicList{b});
    document.removeGraphicsAtIndexes({0});
    EXPECT_TRUE(selected().isEmpty());
}

TEST_P(CanvasView, ScreenshotShowsEveryKindWithHandlesOnAnEllipticCard)
{
    testsupport::setOutline(document, 2);
    host.page.Card_border_chk = true;
    const GraphicPtr line = add(SKTGraphic::Kind::Line, QRectF(20, 30, 60, 30));
    const GraphicPtr text = add(SKTGraphic::Kind::Text, QRectF(95, 25, 70, 24));
    const GraphicPtr shape = addShape(QRectF(175, 40, 40, 40));
    std::static_pointer_cast<Shape_Control>(shape)->Set_Shape_Type(QStringLiteral("S"));
    const auto barcode = SKTBarcode::initWithPosition(QPointF(0, 0), Picture());
    barcode->_bounds = QRectF(40, 80, 70, 40);
    const auto signature =
        SKTSignature::initWithPosition(QPointF(0, 0), host.sign_sample_img(), QStringLiteral("S"));
    signature->_bounds = QRectF(120, 90, 60, 30);
    const auto image =
        SKTImage::initWithPath(QPointF(0, 0), Resource_Path + QStringLiteral("fingerprints.png"));
    image->_bounds = QRectF(185, 90, 30, 30);
    document.insertGraphics({barcode, signature, image}, {0, 1, 2});
    Q_UNUSED(line);
    Q_UNUSED(text);
    view->selectAll();
    CanvasDriver::settle();
    const QString dir = QStringLiteral(TESSALY_ARTIFACTS_DIR);
    QDir().mkpath(dir);
    const QString name = QStringLiteral("%1/canvas-%2.png").arg(dir).arg(int(std::lround(f() * 100)));
    const QImage shot = scroll->grab().toImage();
    ASSERT_TRUE(shot.save(name));
    // Handles of the selected text are drawn (grey knobs at its corners).
    const QPoint knob =
        view->mapTo(scroll.get(), QPoint(int(std::lround(95 * f())), int(std::lround(25 * f()))));
    EXPECT_EQ(shot.pixelColor(knob), QColor(128, 128, 128));
}

INSTANTIATE_TEST_SUITE_P(Zoom, CanvasView, ::testing::Values(1.0, 2.0),
                         [](const ::testing::TestParamInfo<double> &info) {
                             return QStringLiteral("At%1").arg(int(info.param * 100)).toStdString();
                         });

TEST(SideSelectionTest, EqualSetsSendNothingAndPositionsAreSortedOnce)
{
    struct Counter : ChangeObserver {
        int calls = 0;
        void observeValueForKeyPath(const QString &, Observable *, const ObservedChange &, void *) override
        {
            ++calls;
        }
    } counter;
    SideSelection selection;
    selection.addObserver(&counter, SideSelectionIndexesKey);
    selection.setSelectionIndexes({3, 1, 3, -2});
    EXPECT_EQ(selection.selectionIndexes(), (QList<int>{1, 3}));
    selection.setSelectionIndexes({1, 3});
    EXPECT_EQ(counter.calls, 1);
    selection.removeObserver(&counter, SideSelectionIndexesKey);
}
