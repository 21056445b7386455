// What a new card size or orientation does to the objects on it: which of them no longer lie on
// the card, and where a turn moves them so that none lands on another. Words for telling the user.
#pragma once

#include "model/SKTGraphic.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

namespace ObjectsOnCard
{

// Where an object's drawing lies: a text's words take their natural width in the frame, placed by
// its alignment (right-aligned words may lie off the card while their frame still reaches it).
QRectF drawnArea(const SKTGraphic &g);
// "a, b and c"; past a few, the rest counted.
QString listInWords(QStringList names);

// The nearest place on a card of the given size for frame (scaled down in proportion when it is
// larger than the card and scalable) that overlaps none of taken; none when there is no such place.
std::optional<QRectF> freePlace(const QRectF &frame, bool scalable, const QList<QRectF> &taken, QSizeF card);

struct Move {
    GraphicPtr graphic;
    QRectF frame;
};
struct TurnPlan {
    QList<Move> moves;
    QString message; // empty when nothing needed moving
};
// For a card turned from `before` to `card`: each object wholly on the card before and not after
// moves to a free place (it may stay over what it lay over before); one with no free place stays
// where it is. The message names what moved and what no longer fits.
TurnPlan turn(const GraphicList &front, const GraphicList &back, QSizeF before, QSizeF card);

} // namespace ObjectsOnCard
