// Presses, drags and keys on the canvas: the move threshold, Shift, locked and hidden objects, the
// rubber band, handles, the grid, autoscroll, the rulers, nudges and one undo step per drag.
#include "CanvasFixture.h"

#include "canvas/ui/CanvasTracking.h"
#include "canvas/ui/RulerView.h"

#include <QDir>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>

using CanvasTrackingTest = CanvasFixture;

TEST_P(CanvasTrackingTest, PressMovingLessThanTwoPointsMovesNothingAndKeepsHandles)
{
    const GraphicPtr g = addShape(QRectF(40, 40, 60, 40));
    select({0});
    drive().press(QPointF(60, 60));
    drive().moveTo(QPointF(61.4, 58.6)); // under 2 pt in pixels at every zoom
    EXPECT_FALSE(view->isHidingHandles());
    drive().release();
    EXPECT_EQ(g->bounds(), QRectF(40, 40, 60, 40));
    EXPECT_EQ(selected(), QList<int>{0});
    EXPECT_FALSE(view->isHidingHandles());
    CanvasDriver::settle();
    EXPECT_EQ(undo().undoCount(), 0);
}

TEST_P(CanvasTrackingTest, ShiftClickDeselectsWithoutDraggingAndShowsWhatStaysSelected)
{
    const GraphicPtr a = addShape(QRectF(20, 20, 40, 40));
    const GraphicPtr b = addShape(QRectF(100, 20, 40, 40));
    select({0, 1});
    drive().drag(QPointF(30, 30), QPointF(60, 70), Qt::ShiftModifier);
    EXPECT_EQ(selected(), QList<int>{1});
    EXPECT_EQ(a->bounds(), QRectF(20, 20, 40, 40));
    // The object left selected becomes current and is shown, so edits reach the selection.
    EXPECT_EQ(view->selectedGraphic(), b);
    ASSERT_FALSE(host.inspected.isEmpty());
    EXPECT_EQ(host.inspected.last(), b);
    // Taking the last one out leaves the card page.
    host.inspected.clear();
    drive().click(QPointF(120, 40), Qt::ShiftModifier);
    EXPECT_TRUE(selected().isEmpty());
    EXPECT_EQ(host.cardPageShown(), 1);
}

TEST_P(CanvasTrackingTest, LockedObjectsAreSelectedButNeverMovedOrResized)
{
    const GraphicPtr locked = addShape(QRectF(20, 20, 40, 40), true);
    const GraphicPtr other = addShape(QRectF(100, 20, 40, 40));
    select({1});
    // An unselected locked object becomes the only selection and stays put.
    drive().drag(QPointF(30, 30), QPointF(80, 90));
    EXPECT_EQ(selected(), QList<int>{0});
    EXPECT_EQ(locked->bounds(), QRectF(20, 20, 40, 40));
    EXPECT_EQ(host.inspected.last(), locked);
    // Already selected among others: the selection stays as it is.
    select({0, 1});
    drive().drag(QPointF(30, 30), QPointF(80, 90));
    EXPECT_EQ(selected(), (QList<int>{0, 1}));
    EXPECT_EQ(locked->bounds(), QRectF(20, 20, 40, 40));
    EXPECT_EQ(other->bounds(), QRectF(100, 20, 40, 40));
    // Its handles cannot be dragged either.
    select({0});
    drive().drag(QPointF(60, 60), QPointF(90, 95));
    EXPECT_EQ(locked->bounds(), QRectF(20, 20, 40, 40));
}

TEST_P(CanvasTrackingTest, HiddenObjectInFrontSwallowsTheClick)
{
    const GraphicPtr hidden = addShape(QRectF(20, 20, 60, 60));
    addShape(QRectF(30, 30, 60, 60));
    hidden->ctrl_is_visible = false;
    select({1});
    drive().click(QPointF(50, 50));
    EXPECT_EQ(selected(), QList<int>{1});
    EXPECT_TRUE(host.inspected.isEmpty());
}

TEST_P(CanvasTrackingTest, PressOnEmptyCanvasEndsWithNothingSelectedAndTheCardPage)
{
    addShape(QRectF(20, 20, 40, 40));
    for (Qt::KeyboardModifiers mods :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        select({0});
        host.inspected.clear();
        drive().drag(QPointF(150, 100), QPointF(200, 130), mods);
        EXPECT_TRUE(selected().isEmpty());
        EXPECT_EQ(host.cardPageShown(), 1);
        EXPECT_EQ(view->selectedGraphic(), nullptr);
    }
}

TEST_P(CanvasTrackingTest, MarqueeTogglesTheStartingSelectionAndKeepsWhatItLastTouched)
{
    addShape(QRectF(20, 20, 30, 30));
    const GraphicPtr b = addShape(QRectF(80, 20, 30, 30));
    select({0});
    // Shift keeps the starting selection; the band covers both: 0 goes out, 1 comes in.
    drive().drag(QPointF(10, 80), QPointF(120, 40), Qt::ShiftModifier);
    EXPECT_EQ(selected(), QList<int>{1});
    EXPECT_EQ(view->selectedGraphic(), b);
    EXPECT_TRUE(view->marqueeSelectionBounds().isNull());
    // A band that covers an object and then moves off everything keeps it selected.
    select({});
    drive().press(QPointF(70, 60));
    drive().moveTo(QPointF(90, 40));
    EXPECT_TRUE(view->marqueeSelectionBounds().isValid());
    drive().moveTo(QPointF(72, 58));
    drive().release();
    EXPECT_EQ(selected(), QList<int>{1});
}

TEST_P(CanvasTrackingTest, ArrowKeysNudgeByOnePointWithTheHandlesDrawn)
{
    const GraphicPtr g = addShape(QRectF(40, 40, 20, 20));
    const GraphicPtr locked = addShape(QRectF(80, 40, 20, 20), true);
    select({0, 1});
    view->setFocus();
    drive().key(Qt::Key_Right);
    drive().key(Qt::Key_Down);
    drive().key(Qt::Key_Down);
    EXPECT_EQ(g->bounds().topLeft(), QPointF(41, 42));
    EXPECT_EQ(locked->bounds().topLeft(), QPointF(80, 40));
    EXPECT_FALSE(view->isHidingHandles());
    drive().key(Qt::Key_Left);
    EXPECT_FALSE(view->isHidingHandles());
    EXPECT_EQ(g->bounds().topLeft(), QPointF(40, 42));
    EXPECT_EQ(selected(), (QList<int>{0, 1}));
}

TEST_P(CanvasTrackingTest, AHeldArrowKeyIsOneUndoStepAndEachPressAStepOfItsOwn)
{
    const GraphicPtr g = addShape(QRectF(40, 40, 20, 20));
    select({0});
    view->setFocus();
    quint64 clock = 1000;
    auto send = [this](QEvent::Type type, Qt::Key key, bool repeat, quint64 time) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), repeat);
        event.setTimestamp(time);
        QApplication::sendEvent(view, &event);
        CanvasDriver::settle();
    };
    enum class Repeats { Flagged, XPairs, XPairsLate, PressesOnly };
    // A hold as a window system sends it: one press, then the repeats, then the release. Qt flags
    // repeats only sometimes; an X server's are release-press pairs stamped with one time.
    auto hold = [&](Qt::Key key, int presses, Repeats repeats) {
        for (int i = 0; i < presses; ++i, clock += 40) {
            if (i > 0 && (repeats == Repeats::XPairs || repeats == Repeats::XPairsLate))
                send(QEvent::KeyRelease, key, false, clock);
            send(QEvent::KeyPress, key, i > 0 && repeats == Repeats::Flagged,
                 clock + (repeats == Repeats::XPairsLate && i > 0 ? 5 : 0));
        }
        send(QEvent::KeyRelease, key, false, clock);
        clock += 300; // a person's pause before the next press
    };
    for (const Repeats repeats :
         {Repeats::Flagged, Repeats::XPairs, Repeats::XPairsLate, Repeats::PressesOnly}) {
        SCOPED_TRACE(int(repeats));
        g->setBounds(QRectF(40, 40, 20, 20));
        undo().removeAllActions();
        hold(Qt::Key_Right, 23, repeats);
        EXPECT_EQ(g->bounds().topLeft(), QPointF(63, 40));
        EXPECT_EQ(undo().undoCount(), 1);
        EXPECT_EQ(undo().undoActionName(), QStringLiteral("Move"));
        hold(Qt::Key_Down, 5, repeats); // held again: a step of its own
        hold(Qt::Key_Down, 1, repeats);
        hold(Qt::Key_Down, 1, repeats);
        EXPECT_EQ(g->bounds().topLeft(), QPointF(63, 47));
        EXPECT_EQ(undo().undoCount(), 4);
        undo().undo();
        EXPECT_EQ(g->bounds().topLeft(), QPointF(63, 46));
        undo().undo();
        undo().undo();
        EXPECT_EQ(g->bounds().topLeft(), QPointF(63, 40));
        undo().undo();
        EXPECT_EQ(g->bounds(), QRectF(40, 40, 20, 20));
        undo().redo();
        EXPECT_EQ(g->bounds().topLeft(), QPointF(63, 40));
    }
}

TEST_P(CanvasTrackingTest, HandleResizeSnapsToTheGridAndFlipsPastTheOppositeEdge)
{
    const GraphicPtr g = addShape(QRectF(18, 18, 36, 36));
    grid.setConstraining(true); // spacing 9
    select({0});
    drive().drag(QPointF(54, 54), QPointF(77.5, 61.3)); // lower-right handle
    EXPECT_EQ(g->bounds(), QRectF(18, 18, 63, 45));
    grid.setConstraining(false);
    // The right-middle handle dragged past the left edge: the object turns over and stays whole.
    drive().drag(QPointF(81, 40.5), QPointF(5, 40.5));
    EXPECT_EQ(g->bounds(), QRectF(5, 18, 13, 45));
}

TEST_P(CanvasTrackingTest, DragWithGridPutsTheCornerOnGridPointsKeepingThePointerOffset)
{
    const GraphicPtr g = addShape(QRectF(20, 20, 30, 30));
    grid.setConstraining(true);
    drive().drag(QPointF(25, 25), QPointF(61, 47));
    const QPointF corner = g->bounds().topLeft();
    EXPECT_EQ(std::fmod(corner.x(), 9.0), 0.0);
    EXPECT_EQ(std::fmod(corner.y(), 9.0), 0.0);
    // The pointer moved 36, 22 from a corner 5, 5 away: the corner lands near 56, 42.
    EXPECT_EQ(corner, QPointF(54, 45));
}

TEST_P(CanvasTrackingTest, DraggingPastTheViewportEdgeScrolls)
{
    zoom.setFactor(4.0);
    scroll->resize(400, 300);
    CanvasDriver::settle();
    addShape(QRectF(10, 10, 20, 20));
    ASSERT_EQ(scroll->horizontalScrollBar()->value(), 0);
    const double rightEdge = (scroll->viewport()->width() - view->x()) / 4.0;
    drive().drag(QPointF(15, 15), QPointF(rightEdge + 20, 15));
    EXPECT_GT(scroll->horizontalScrollBar()->value(), 0);
}

TEST_P(CanvasTrackingTest, RulersShowThreeMarkersFollowingTheMovingObject)
{
    const GraphicPtr g = addShape(QRectF(20, 30, 40, 20));
    view->showOrHideRulers();
    ASSERT_TRUE(scroll->rulersVisible());
    drive().press(QPointF(30, 40));
    drive().moveTo(QPointF(40, 45));
    drive().moveTo(QPointF(50, 50));
    EXPECT_EQ(scroll->horizontalRuler()->markerLines(), (QList<double>{40, 60, 80}));
    EXPECT_EQ(scroll->verticalRuler()->markerLines(), (QList<double>{40, 50, 60}));
    QDir().mkpath(QStringLiteral(TESSALY_ARTIFACTS_DIR));
    scroll->grab().save(QStringLiteral(TESSALY_ARTIFACTS_DIR "/canvas-rulers-%1.png").arg(int(f() * 100)));
    drive().release();
    EXPECT_TRUE(scroll->horizontalRuler()->markerLines().isEmpty());
    EXPECT_TRUE(scroll->verticalRuler()->markerLines().isEmpty());
    // Resizing echoes the object's new bounds.
    select({0});
    drive().press(QPointF(80, 60));
    drive().moveTo(QPointF(90, 70));
    EXPECT_EQ(scroll->horizontalRuler()->markerLines(), (QList<double>{40, 65, 90}));
    drive().release();
    EXPECT_EQ(g->bounds(), QRectF(40, 40, 50, 30));
}

TEST_P(CanvasTrackingTest, UndoOfADragIsOneStepAndReselectsTheMovedObjects)
{
    const GraphicPtr a = addShape(QRectF(20, 20, 30, 30));
    const GraphicPtr b = addShape(QRectF(80, 20, 30, 30));
    addShape(QRectF(150, 20, 30, 30));
    select({0, 1});
    drive().press(QPointF(30, 30));
    for (int i = 1; i <= 6; ++i)
        drive().moveTo(QPointF(30 + 5 * i, 30 + 3 * i));
    drive().release();
    CanvasDriver::settle();
    EXPECT_EQ(a->bounds().topLeft(), QPointF(50, 38));
    EXPECT_EQ(undo().undoCount(), 1);
    view->deselectAll();
    view->undo();
    EXPECT_EQ(a->bounds().topLeft(), QPointF(20, 20));
    EXPECT_EQ(b->bounds().topLeft(), QPointF(80, 20));
    EXPECT_EQ(selected(), (QList<int>{0, 1}));
    EXPECT_GT(host.undoButtonUpdates, 0);
    view->redo();
    EXPECT_EQ(b->bounds().topLeft(), QPointF(110, 38));
}

INSTANTIATE_TEST_SUITE_P(Zoom, CanvasTrackingTest, ::testing::Values(1.0, 2.0),
                         [](const ::testing::TestParamInfo<double> &info) {
                             return QStringLiteral("At%1").arg(int(info.param * 100)).toStdString();
                         });
