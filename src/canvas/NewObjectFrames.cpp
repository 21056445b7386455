#include "canvas/NewObjectFrames.h"

#include "model/SKTGrid.h"
#include "platform/Picture.h"

#include <algorithm>
#include <limits>

namespace
{
// The start of a frame of `length` on an axis of the card: kept where it fits, else moved in.
double startOnAxis(double start, double length, double axis, double restart)
{
    if (start >= 0 && start + length <= axis)
        return start;
    if (restart >= 0 && restart + length <= axis)
        return restart;
    return std::max(0.0, axis - length);
}

// The far edge of a snapped frame, one step back when rounding took it past the card's edge.
double farOnAxis(double snappedFar, double far, double axis, double spacing)
{
    return far <= axis && snappedFar > axis ? snappedFar - spacing : snappedFar;
}
} // namespace

QSizeF NewObjectFrames::fitted(QSizeF size, QSizeF card)
{
    if (card.isEmpty() || size.isEmpty())
        return size;
    if (size.width() > card.width() || size.height() > card.height())
        size.scale(card, Qt::KeepAspectRatio);
    return size;
}

QRectF NewObjectFrames::cascaded(const QRectF &frame, QSizeF card)
{
    const QSizeF size = fitted(frame.size(), card);
    return QRectF(QPointF(startOnAxis(frame.x(), size.width(), card.width(), CascadeStart),
                          startOnAxis(frame.y(), size.height(), card.height(), CascadeStart)),
                  size);
}

std::optional<QRectF> NewObjectFrames::clearOf(const QRectF &frame, QSizeF card, const QList<QRectF> &taken,
                                               const SKTGrid *grid)
{
    // Objects that touch read as one: a little room is kept around what is there.
    constexpr double Gap = 2;
    constexpr double Step = 2;
    const auto clear = [&taken](const QRectF &r) {
        return std::none_of(taken.begin(), taken.end(),
                            [&r](const QRectF &t) { return r.intersects(t.adjusted(-Gap, -Gap, Gap, Gap)); });
    };
    const QRectF whole(QPointF(0, 0), card);
    if (const QRectF r = snapped(frame, grid, card); whole.contains(r) && clear(r))
        return r;
    std::optional<QRectF> best;
    double nearest = std::numeric_limits<double>::max();
    for (double y = 0; y + frame.height() <= card.height(); y += Step) {
        for (double x = 0; x + frame.width() <= card.width(); x += Step) {
            const double distance = (x - frame.x()) * (x - frame.x()) + (y - frame.y()) * (y - frame.y());
            if (distance >= nearest)
                continue;
            const QRectF r = snapped(QRectF(QPointF(x, y), frame.size()), grid, card);
            if (whole.contains(r) && clear(r)) {
                nearest = distance;
                best = r;
            }
        }
    }
    return best;
}

QList<QRectF> NewObjectFrames::grouped(const QList<QRectF> &frames, std::optional<QPointF> origin,
                                       QSizeF card)
{
    if (frames.isEmpty())
        return frames;
    // The group's extent by its corners: a line's frame may have no width or no height.
    double left = frames.first().left(), top = frames.first().top();
    double right = frames.first().right(), bottom = frames.first().bottom();
    for (const QRectF &frame : frames) {
        left = std::min(left, frame.left());
        top = std::min(top, frame.top());
        right = std::max(right, frame.right());
        bottom = std::max(bottom, frame.bottom());
    }
    const QRectF extent(QPointF(left, top), QPointF(right, bottom));
    const QRectF placed = cascaded(QRectF(origin.value_or(extent.topLeft()), extent.size()), card);
    const double scale =
        extent.width() > 0 && placed.width() < extent.width()      ? placed.width() / extent.width()
        : extent.height() > 0 && placed.height() < extent.height() ? placed.height() / extent.height()
                                                                   : 1.0;
    QList<QRectF> out;
    out.reserve(frames.size());
    for (const QRectF &frame : frames)
        out.append(
            QRectF(placed.topLeft() + (frame.topLeft() - extent.topLeft()) * scale, frame.size() * scale));
    return out;
}

QRectF NewObjectFrames::centred(QSizeF size, const QPointF &centre, QSizeF card)
{
    size = fitted(size, card);
    const QPointF origin(centre.x() - size.width() / 2, centre.y() - size.height() / 2);
    return QRectF(QPointF(std::clamp(origin.x(), 0.0, std::max(0.0, card.width() - size.width())),
                          std::clamp(origin.y(), 0.0, std::max(0.0, card.height() - size.height()))),
                  size);
}

QRectF NewObjectFrames::snapped(const QRectF &frame, const SKTGrid *grid, QSizeF card)
{
    if (!grid || !grid->isUsable() || !grid->isConstraining())
        return frame;
    const QPointF origin = grid->constrainedPoint(frame.topLeft());
    const QPointF far = grid->constrainedPoint(origin + QPointF(frame.width(), frame.height()));
    const double right = farOnAxis(far.x(), frame.right(), card.width(), grid->spacing());
    const double bottom = farOnAxis(far.y(), frame.bottom(), card.height(), grid->spacing());
    // A frame the grid would fold to nothing would be taken back as an empty object.
    if ((right <= origin.x() && frame.width() > 0) || (bottom <= origin.y() && frame.height() > 0))
        return frame;
    return QRectF(origin, QSizeF(right - origin.x(), bottom - origin.y()));
}

QSizeF NewObjectFrames::pictureSize(const Picture &picture)
{
    const QSizeF points = picture.size();
    const QSize pixels = picture.pixelSize();
    if (pixels.isEmpty() || points.isEmpty())
        return points;
    return QSizeF(pixels).scaled(points, Qt::KeepAspectRatio);
}

QRectF NewObjectFrames::fittedInFrame(QSizeF size, const QRectF &frame)
{
    if (size.isEmpty() || frame.isEmpty())
        return frame;
    QRectF fitted(QPointF(), size.scaled(frame.size(), Qt::KeepAspectRatio));
    fitted.moveCenter(frame.center());
    return fitted;
}
