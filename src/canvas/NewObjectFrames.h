// Where new objects start: whatever a tool, the Tools menu, a paste or a drop makes lies whole on
// the card, and a picture starts in its own proportions.
#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

class Picture;
class SKTGrid;

class NewObjectFrames
{
public:
    // Where the new-object places start again on an axis the next object would leave.
    static constexpr double CascadeStart = 10.0;

    // The size scaled down in proportion when it does not fit on the card.
    static QSizeF fitted(QSizeF size, QSizeF card);
    // A frame starting at a new-object place: fitted to the card, and on an axis where it would
    // pass the card's far edge, started again at the cascade's start, or as far in as it must.
    static QRectF cascaded(const QRectF &frame, QSizeF card);
    // `frame` when it lies on the card clear of every taken area (with a little room around
    // each), else the clear place of its size on the card nearest to it; nothing when there is none.
    // Each place is first snapped to the grid, when one is given.
    static std::optional<QRectF> clearOf(const QRectF &frame, QSizeF card, const QList<QRectF> &taken,
                                         const SKTGrid *grid = nullptr);
    // Frames that came together (a pasted group) kept in their places relative to each other:
    // moved so the group's top-left corner lands on `origin`, then the group as a whole fitted
    // and moved onto the card as `cascaded` does one frame.
    static QList<QRectF> grouped(const QList<QRectF> &frames, std::optional<QPointF> origin, QSizeF card);
    // A frame of the size centred on the point, fitted to the card and moved in from its edges.
    static QRectF centred(QSizeF size, const QPointF &centre, QSizeF card);
    // Both corners on the snapping grid. A frame that lay on the card stays on it; when the grid
    // is too coarse for that, the frame stays as it was.
    static QRectF snapped(const QRectF &frame, const SKTGrid *grid, QSizeF card);
    // The size a picture object starts at: the picture's size in points, in the proportions of
    // its pixels.
    static QSizeF pictureSize(const Picture &picture);
    // The frame a picture chosen anew for an object takes: the picture's proportions (`size`), as
    // large as fits in the old frame and centred on it, so the picture is never drawn stretched.
    static QRectF fittedInFrame(QSizeF size, const QRectF &frame);
};
