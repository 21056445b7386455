#include "canvas/ui/CanvasTracking.h"

#include "canvas/ui/CanvasCreation.h"
#include "canvas/ui/CanvasHost.h"
#include "canvas/ui/RulerView.h"
#include "canvas/ui/SKTGraphicView.h"
#include "canvas/ui/SKTZoomingScrollView.h"
#include "foundation/CardCodes.h"
#include "foundation/MessageBoxes.h"
#include "model/EditStep.h"
#include "model/SKTDocument.h"
#include "model/SKTGrid.h"
#include "platform/UndoManager.h"

#include <QFileInfo>
#include <QTimer>

#include <optional>

#include <cmath>

CanvasTracking::CanvasTracking(SKTGraphicView &view) : m_view(view) {}

CanvasTracking::~CanvasTracking() = default;

// --- presses ---

void CanvasTracking::mouseDown(const QPointF &point, Qt::KeyboardModifiers modifiers, int clickCount)
{
    if (m_gesture != Gesture::None)
        cancelGesture();
    m_view.stopEditing();
    m_noInspector = false;
    m_lastPoint = point;

    if (const std::optional<SKTGraphic::Kind> kind = m_view.host().currentGraphicClass()) {
        const QString side =
            m_view.host().Card_Front_Or_Back() == 1 ? QString(SideCode::Back) : QString(SideCode::Front);
        m_view.m_creation->beginCreation(*kind, point, side);
        m_gesture = m_view._creatingGraphic ? Gesture::Creating : Gesture::Swallowing;
        if (m_gesture == Gesture::Creating) {
            m_resizing = m_view._creatingGraphic;
            m_handle = m_resizing->creationSizingHandle();
        }
        return;
    }

    m_view.setSelectedGraphic(nullptr);
    if (clickCount >= 2) {
        if (GraphicPtr hit = graphicUnderPoint(point, nullptr, nullptr, nullptr)) {
            m_view.setSelectedGraphic(hit);
            m_noInspector = true;
            m_gesture = Gesture::Swallowing;
            if (!hit->ctrl_is_visible)
                return;
            if (!hit->ctrl_is_locked) {
                m_view.startEditingGraphic(hit);
                if (hit->kind() == SKTGraphic::Kind::Barcode)
                    m_view.host().Open_Barcode_Window(hit);
                else if (hit->kind() == SKTGraphic::Kind::Text)
                    m_view.host().editTextOf(hit);
            }
            return;
        }
    }
    selectAndTrackMouseWithEvent(point, modifiers.testFlag(Qt::ShiftModifier));
}

void CanvasTracking::selectAndTrackMouseWithEvent(const QPointF &point, bool shift)
{
    int index = -1;
    bool isSelected = false;
    int handle = SKTGraphicNoHandle;
    const GraphicPtr hit = graphicUnderPoint(point, &index, &isSelected, &handle);
    if (!hit) {
        if (!shift)
            m_view.changeSelectionIndexes({});
        marqueeSelectWithEvent(point);
        return;
    }
    m_view.setSelectedGraphic(hit);
    if (!hit->ctrl_is_visible) {
        // A hidden object catches the press and nothing more happens.
        m_noInspector = true;
        m_gesture = Gesture::Swallowing;
        return;
    }
    if (hit->ctrl_is_locked) {
        if (!isSelected)
            m_view.changeSelectionIndexes({index});
        m_view.Refresh_Canvas();
        m_gesture = Gesture::Swallowing;
        return;
    }
    if (handle == SKTGraphicNoHandle) {
        QList<int> selection = m_view.selectionIndexes();
        if (shift) {
            if (isSelected)
                selection.removeAll(index);
            else
                selection.append(index);
            m_view.changeSelectionIndexes(selection);
        } else if (!isSelected) {
            m_view.changeSelectionIndexes({index});
        }
        if (m_view.selectionIndexes().contains(index))
            moveSelectedGraphicsWithEvent(point);
        else
            m_gesture = Gesture::Swallowing; // Shift took it out of the selection: no drag
        return;
    }
    resizeGraphic(hit, handle, point);
}

void CanvasTracking::moveSelectedGraphicsWithEvent(const QPointF &point)
{
    m_moving = m_view.selectedGraphics();
    m_startBounds = SKTGraphic::boundsOfGraphics(m_moving);
    m_lastPoint = point;
    m_offset = point - m_startBounds.topLeft();
    m_dragging = false;
    m_echoing = rulersShown();
    if (m_echoing)
        beginEchoingMoveToRulers(m_startBounds);
    beginGestureUndoGroup();
    m_gesture = Gesture::Moving;
}

void CanvasTracking::resizeGraphic(const GraphicPtr &graphic, int handle, const QPointF &point)
{
    if (graphic->ctrl_is_locked) {
        m_gesture = Gesture::Swallowing;
        return;
    }
    m_resizing = graphic;
    m_handle = handle;
    m_lastPoint = point;
    m_echoing = rulersShown();
    if (m_echoing)
        beginEchoingMoveToRulers(graphic->bounds());
    beginGestureUndoGroup();
    m_gesture = Gesture::Resizing;
}

void CanvasTracking::marqueeSelectWithEvent(const QPointF &point)
{
    m_marqueeStart = m_view.selectionIndexes();
    m_marqueeAnchor = point;
    m_marqueeTouched = false;
    m_gesture = Gesture::Marquee;
}

// --- drags ---

void CanvasTracking::mouseDragged(const QPointF &point)
{
    SKTGrid *grid = m_view.grid();
    switch (m_gesture) {
    case Gesture::None:
    case Gesture::Swallowing:
        return;
    case Gesture::Creating:
    case Gesture::Resizing: {
        m_view.autoscroll(point);
        const QPointF p = grid ? grid->constrainedPoint(point) : point;
        m_handle = m_resizing->resizeByMovingHandle(m_handle, p);
        if (m_echoing)
            continueEchoingMoveToRulers(m_resizing->bounds());
        m_lastPoint = point;
        return;
    }
    case Gesture::Moving: {
        m_view.autoscroll(point);
        QPointF p = point;
        if (!m_dragging) {
            if (std::abs(p.x() - m_lastPoint.x()) < MoveThreshold &&
                std::abs(p.y() - m_lastPoint.y()) < MoveThreshold)
                return;
            m_dragging = true;
            m_view._isHidingHandles = true;
            m_view.invalidateHandlesOfGraphics(m_moving);
        }
        if (grid)
            p = grid->constrainedPoint(p - m_offset) + m_offset;
        if (p != m_lastPoint) {
            SKTGraphic::translateGraphics(m_moving, p.x() - m_lastPoint.x(), p.y() - m_lastPoint.y());
            if (m_echoing)
                continueEchoingMoveToRulers(QRectF(p - m_offset, m_startBounds.size()));
        }
        m_lastPoint = p;
        return;
    }
    case Gesture::Marquee: {
        m_view.autoscroll(point);
        const QRectF band(std::min(m_marqueeAnchor.x(), point.x()), std::min(m_marqueeAnchor.y(), point.y()),
                          std::abs(point.x() - m_marqueeAnchor.x()),
                          std::abs(point.y() - m_marqueeAnchor.y()));
        if (band == m_view._marqueeSelectionBounds)
            return;
        m_view.setNeedsDisplayInRect(m_view._marqueeSelectionBounds.adjusted(-1, -1, 1, 1));
        m_view._marqueeSelectionBounds = band;
        m_view.setNeedsDisplayInRect(band.adjusted(-1, -1, 1, 1));
        const QList<int> touched = indexesOfGraphicsIntersectingRect(band);
        if (touched.isEmpty())
            return;
        m_marqueeTouched = true;
        QList<int> selection = m_marqueeStart;
        for (int i : touched) {
            if (selection.contains(i))
                selection.removeAll(i);
            else
                selection.append(i);
        }
        m_view.changeSelectionIndexes(selection);
        return;
    }
    }
}

// --- releases ---

void CanvasTracking::mouseUp(const QPointF &point)
{
    if (m_gesture == Gesture::None)
        return;
    if (m_gesture != Gesture::Swallowing && point != m_lastPoint)
        mouseDragged(point);
    finishPress();
}

void CanvasTracking::cancelGesture()
{
    if (m_gesture != Gesture::None)
        finishPress();
}

void CanvasTracking::finishPress()
{
    const Gesture ended = m_gesture;
    m_gesture = Gesture::None;
    switch (ended) {
    case Gesture::Creating:
        m_resizing.reset();
        m_view.m_creation->finishCreation();
        break;
    case Gesture::Moving:
        if (m_echoing)
            stopEchoingMoveToRulers();
        if (m_dragging) {
            m_view._isHidingHandles = false;
            m_view.setNeedsDisplayInRect(SKTGraphic::drawingBoundsOfGraphics(m_moving));
        }
        m_moving.clear();
        endGestureUndoGroup();
        m_view.Refresh_Canvas();
        break;
    case Gesture::Resizing:
        if (m_echoing)
            stopEchoingMoveToRulers();
        m_resizing.reset();
        endGestureUndoGroup();
        m_view.Refresh_Canvas();
        break;
    case Gesture::Marquee:
        m_view._marqueeSelectionBounds = QRectF();
        if (m_marqueeTouched) {
            // The frontmost object the band left selected becomes current.
            const GraphicList selected = m_view.selectedGraphics();
            m_view.setSelectedGraphic(selected.isEmpty() ? nullptr : selected.first());
        }
        m_view.Refresh_Canvas();
        break;
    case Gesture::Swallowing:
    case Gesture::None:
        break;
    }
    m_echoing = false;
    if (m_noInspector)
        return; // a hidden object or a double-click took the press
    showCurrentOrCardPage();
}

void CanvasTracking::showCurrentOrCardPage()
{
    if (!m_view.selectedGraphic()) {
        // Nothing current at the end of a press: the card page, with nothing left selected.
        // The selection stays while the inspector fills its tabs or the design is replaced.
        const SKTDocument *document = m_view.document();
        if (!m_view.host().inspectorFilling() && !(document && document->isBeingReplaced()))
            m_view.Clear_Control_Selection();
        m_view.host().Show_RHS_Properties(nullptr);
        return;
    }
    // A Shift-click may have taken the object it hit out of the selection: the inspector shows
    // what stays selected, so what is typed there reaches the selected objects.
    m_view.host().Show_RHS_Properties(currentOfSelection());
}

GraphicPtr CanvasTracking::currentOfSelection() const
{
    const GraphicList selected = m_view.selectedGraphics();
    GraphicPtr current = m_view.selectedGraphic();
    if (!current || !selected.contains(current)) {
        current = selected.isEmpty() ? nullptr : selected.first();
        m_view.setSelectedGraphic(current);
    }
    return current;
}

// --- hit testing ---

GraphicPtr CanvasTracking::graphicUnderPoint(const QPointF &point, int *index, bool *isSelected,
                                             int *handle) const
{
    const GraphicList all = m_view.graphics();
    const QList<int> selection = m_view.selectionIndexes();
    for (int i = 0; i < all.size(); ++i) {
        const GraphicPtr &g = all.at(i);
        if (!g->drawingBounds().contains(point))
            continue;
        const bool selected = selection.contains(i);
        int h = SKTGraphicNoHandle;
        bool hit = false;
        if (selected) {
            h = g->handleUnderPoint(point);
            hit = h != SKTGraphicNoHandle;
        }
        if (!hit)
            hit = g->isContentsUnderPoint(point);
        if (!hit)
            continue;
        if (index)
            *index = i;
        if (isSelected)
            *isSelected = selected;
        if (handle)
            *handle = h;
        return g;
    }
    return nullptr;
}

QList<int> CanvasTracking::indexesOfGraphicsIntersectingRect(const QRectF &rect) const
{
    QList<int> found;
    const GraphicList all = m_view.graphics();
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i)->drawingBounds().intersects(rect))
            found.append(i);
    }
    return found;
}

// --- nudges ---

void CanvasTracking::moveSelectedGraphicsByX(double dx, double dy, bool keyHeld)
{
    const GraphicList selected = m_view.selectedGraphics();
    if (selected.isEmpty())
        return;
    SKTDocument *document = m_view.document();
    std::optional<EditStep> step;
    if (document) {
        // The merge key names the nudge and the objects it moves; a fresh press starts a step.
        if (!keyHeld)
            document->undoManager().endMerge();
        const int side = m_view.side();
        step.emplace(*document,
                     EditStep::Naming{QStringLiteral("Move"), side, EditStep::mergeKey(this, selected, side)},
                     EditStates{GraphicStates::of(selected)});
    }
    // The handles stay drawn while the keys move the selection: the user sees what moves.
    SKTGraphic::translateGraphics(selected, dx, dy);
}

bool CanvasTracking::nudgeKeyPressed(int key, bool autoRepeat, quint64 timestamp)
{
    const bool sameKey = key == m_nudgeKey;
    const bool repeatPair = sameKey && !m_nudgeKeyDown && timestamp >= m_nudgeReleasedAt &&
                            timestamp - m_nudgeReleasedAt <= AutoRepeatGapMs;
    const bool held = autoRepeat || (sameKey && m_nudgeKeyDown) || repeatPair;
    m_nudgeKey = key;
    m_nudgeKeyDown = true;
    return held;
}

void CanvasTracking::nudgeKeyReleased(int key, bool autoRepeat, quint64 timestamp)
{
    if (autoRepeat || key != m_nudgeKey)
        return;
    m_nudgeKeyDown = false;
    m_nudgeReleasedAt = timestamp;
}

void CanvasTracking::hideHandlesMomentarily()
{
    if (!m_handleTimer) {
        m_handleTimer = new QTimer(&m_view);
        m_handleTimer->setSingleShot(true);
        QObject::connect(m_handleTimer, &QTimer::timeout, &m_view, [this] { unhideHandlesForTimer(); });
        m_view._handleShowingTimer = m_handleTimer;
    }
    m_handleTimer->start(HandleHidingMs);
    m_view._isHidingHandles = true;
    m_view.setNeedsDisplayInRect(SKTGraphic::drawingBoundsOfGraphics(m_view.selectedGraphics()));
}

void CanvasTracking::unhideHandlesForTimer()
{
    if (m_handleTimer)
        m_handleTimer->stop();
    m_view._isHidingHandles = false;
    m_view.setNeedsDisplayInRect(SKTGraphic::drawingBoundsOfGraphics(m_view.selectedGraphics()));
}

// --- rulers ---

bool CanvasTracking::rulersShown() const
{
    return m_view.m_scrollView && m_view.m_scrollView->rulersVisible();
}

namespace
{
void echo(SKTZoomingScrollView *scroll, const QRectF &from, const QRectF &to)
{
    if (!scroll)
        return;
    auto lines = [](const QRectF &r, bool horizontal) -> std::array<double, 3> {
        if (r.isNull())
            return {-1.0, -1.0, -1.0};
        return horizontal ? std::array<double, 3>{r.left(), r.center().x(), r.right()}
                          : std::array<double, 3>{r.top(), r.center().y(), r.bottom()};
    };
    const auto hFrom = lines(from, true), hTo = lines(to, true);
    const auto vFrom = lines(from, false), vTo = lines(to, false);
    for (int i = 0; i < 3; ++i) {
        scroll->horizontalRuler()->moveRulerlineFromLocation(hFrom[i], hTo[i]);
        scroll->verticalRuler()->moveRulerlineFromLocation(vFrom[i], vTo[i]);
    }
}
} // namespace

void CanvasTracking::beginEchoingMoveToRulers(const QRectF &rect)
{
    echo(m_view.m_scrollView, QRectF(), rect);
    m_view._rulerEchoedBounds = rect;
}

void CanvasTracking::continueEchoingMoveToRulers(const QRectF &rect)
{
    echo(m_view.m_scrollView, m_view._rulerEchoedBounds, rect);
    m_view._rulerEchoedBounds = rect;
}

void CanvasTracking::stopEchoingMoveToRulers()
{
    echo(m_view.m_scrollView, m_view._rulerEchoedBounds, QRectF());
    m_view._rulerEchoedBounds = QRectF();
}

// --- one undo step per gesture ---

void CanvasTracking::beginGestureUndoGroup()
{
    if (m_undoGroupOpen || !m_view.document())
        return;
    UndoManager &undo = m_view.document()->undoManager();
    m_savedGroupsByEvent = undo.groupsByEvent();
    undo.setGroupsByEvent(false);
    undo.beginUndoGrouping();
    m_undoGroupOpen = true;
}

void CanvasTracking::endGestureUndoGroup()
{
    if (!m_undoGroupOpen || !m_view.document())
        return;
    UndoManager &undo = m_view.document()->undoManager();
    undo.endUndoGrouping();
    undo.setGroupsByEvent(m_savedGroupsByEvent);
    m_undoGroupOpen = false;
}
