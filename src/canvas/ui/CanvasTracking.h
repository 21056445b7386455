// Presses, drags and keys on a card canvas: what a press starts (creation, selection, moving,
// resizing, a rubber band), how each gesture follows the pointer and how it ends, and the nudges.
#pragma once

#include "foundation/CardCodes.h"
#include "model/SKTGraphic.h"

#include <QList>
#include <QPointF>
#include <QRectF>

class QTimer;
class SKTGraphicView;

class CanvasTracking
{
public:
    enum class Gesture { None, Creating, Moving, Resizing, Marquee, Swallowing };

    explicit CanvasTracking(SKTGraphicView &view);
    ~CanvasTracking();

    // A press (clickCount 2 for a double-click), a drag with the left button, its release. Points
    // are in card points.
    void mouseDown(const QPointF &point, Qt::KeyboardModifiers modifiers, int clickCount);
    void mouseDragged(const QPointF &point);
    void mouseUp(const QPointF &point);
    // Ends a running gesture as if the button went up where the pointer last was.
    void cancelGesture();
    Gesture gesture() const { return m_gesture; }

    // The object the inspector shows for the selection: the current graphic while it is selected,
    // else the frontmost selected object, which becomes current; null with nothing selected.
    GraphicPtr currentOfSelection() const;

    GraphicPtr graphicUnderPoint(const QPointF &point, int *index, bool *isSelected, int *handle) const;
    QList<int> indexesOfGraphicsIntersectingRect(const QRectF &rect) const;

    // Moves the selection by an arrow key: one undo step a press, and a held key's repeats add to
    // the step of its first press.
    void moveSelectedGraphicsByX(double dx, double dy, bool keyHeld = false);
    // Whether an arrow key's press continues a hold. An X server repeats a held key as a release
    // and a press stamped with one time, and Qt flags the pair as a repeat only when both already
    // wait in its queue: a press that comes within AutoRepeatGapMs of its key's release, or without
    // a release since the last press, continues the hold whatever the flag says.
    bool nudgeKeyPressed(int key, bool autoRepeat, quint64 timestamp);
    void nudgeKeyReleased(int key, bool autoRepeat, quint64 timestamp);
    void forgetNudgeKey() { m_nudgeKey = 0; }
    void hideHandlesMomentarily();
    void unhideHandlesForTimer();

    // Marker lines on the rulers while objects move or resize.
    void beginEchoingMoveToRulers(const QRectF &rect);
    void continueEchoingMoveToRulers(const QRectF &rect);
    void stopEchoingMoveToRulers();

    static constexpr double MoveThreshold = 2.0;
    static constexpr double NudgeStep = 1.0;
    static constexpr int HandleHidingMs = 500;
    static constexpr quint64 AutoRepeatGapMs = 20;

private:
    void selectAndTrackMouseWithEvent(const QPointF &point, bool shift);
    void moveSelectedGraphicsWithEvent(const QPointF &point);
    void resizeGraphic(const GraphicPtr &graphic, int handle, const QPointF &point);
    void marqueeSelectWithEvent(const QPointF &point);
    void finishPress();
    void showCurrentOrCardPage();
    bool rulersShown() const;
    void beginGestureUndoGroup();
    void endGestureUndoGroup();

    SKTGraphicView &m_view;
    Gesture m_gesture = Gesture::None;
    QPointF m_lastPoint;     // L: where the pointer was last
    QPointF m_offset;        // O: pointer minus the selection's corner
    QRectF m_startBounds;    // B: the selection's bounds at the press
    GraphicList m_moving;    // the selection being dragged
    bool m_dragging = false; // the pointer went past the threshold
    bool m_echoing = false;
    GraphicPtr m_resizing;
    int m_handle = GraphicHandle::None;
    QList<int> m_marqueeStart; // S0
    QPointF m_marqueeAnchor;   // A
    bool m_marqueeTouched = false;
    bool m_noInspector = false; // the press ends without asking the inspector
    bool m_undoGroupOpen = false;
    bool m_savedGroupsByEvent = true;
    QTimer *m_handleTimer = nullptr;
    int m_nudgeKey = 0; // the arrow key of the last nudge, 0 once something else happened
    bool m_nudgeKeyDown = false;
    quint64 m_nudgeReleasedAt = 0;
};
