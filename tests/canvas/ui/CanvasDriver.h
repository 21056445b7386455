// Drives a card canvas as a user would, in card points at any zoom: presses, drags, clicks,
// double-clicks and keys go through QTest to the widget's own event handlers.
#pragma once

#include "canvas/ui/SKTGraphicView.h"

#include <QCoreApplication>
#include <QTest>

class CanvasDriver
{
public:
    explicit CanvasDriver(SKTGraphicView &view) : m_view(view) {}

    // The widget pixel of a point in card points at the current zoom.
    QPoint pixel(const QPointF &points) const
    {
        return QPoint(int(std::lround(points.x() * m_view.zoom())),
                      int(std::lround(points.y() * m_view.zoom())));
    }

    void press(const QPointF &at, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mousePress(&m_view, Qt::LeftButton, mods, pixel(at));
        m_last = at;
    }
    void moveTo(const QPointF &to)
    {
        QTest::mouseMove(&m_view, pixel(to));
        m_last = to;
    }
    void release(Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseRelease(&m_view, Qt::LeftButton, mods, pixel(m_last));
    }
    // Press, two moves (half way, then the end) and release.
    void drag(const QPointF &from, const QPointF &to, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        press(from, mods);
        moveTo((from + to) / 2);
        moveTo(to);
        release(mods);
    }
    void click(const QPointF &at, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        press(at, mods);
        release(mods);
    }
    void doubleClick(const QPointF &at)
    {
        QTest::mouseDClick(&m_view, Qt::LeftButton, Qt::NoModifier, pixel(at));
    }
    void key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(&m_view, key, mods);
    }
    // Lets queued work run (undo groups close on the next turn of the event loop).
    static void settle() { QCoreApplication::processEvents(); }

private:
    SKTGraphicView &m_view;
    QPointF m_last;
};
