#include "panels/ObjectsOnCard.h"

#include "model/GraphicWords.h"
#include "model/SKTBarcode.h"
#include "model/SKTText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

// Sizes pass through millimetres: a frame touching an edge may pass it by a rounding.
constexpr double EdgeSlack = 0.01;
// Frames that meet, or overlap by a rounding, do not cover one another.
constexpr double CoverSlack = 0.5;

bool wholeOn(const QRectF &frame, QSizeF card)
{
    return frame.left() >= -EdgeSlack && frame.top() >= -EdgeSlack &&
           frame.right() <= card.width() + EdgeSlack && frame.bottom() <= card.height() + EdgeSlack;
}

bool covers(const QRectF &a, const QRectF &b)
{
    const QRectF common = a.intersected(b);
    return common.width() > CoverSlack && common.height() > CoverSlack;
}

// Where an object may start on one axis: where it is asked, at the card's edges, beside each taken
// frame, and on an even spread between.
QList<double> startsOnAxis(double asked, double length, double cardLength, const QList<double> &edges)
{
    const double last = cardLength - length;
    QList<double> starts{asked, 0.0, last};
    for (double edge : edges)
        starts << edge << edge - length;
    const double step = std::max(1.0, cardLength / 200.0);
    for (double at = 0; at < last; at += step)
        starts << at;
    QList<double> kept;
    for (double s : starts)
        if (s >= 0 && s <= last)
            kept << s;
    return kept;
}

// An object's own size cannot change when its picture sets it (a barcode).
bool scalable(const SKTGraphic &g)
{
    const auto *barcode = dynamic_cast<const SKTBarcode *>(&g);
    return !barcode || !barcode->drawnSize();
}

// Objects named side by side: "a picture and a barcode on the front and a shape on the back".
struct NamedBySide {
    QStringList names[2];

    qsizetype count() const { return names[0].size() + names[1].size(); }
    QString said(const char *one, const char *many) const
    {
        QStringList sides;
        for (int side : {0, 1})
            if (!names[side].isEmpty())
                sides << QStringLiteral("%1 on the %2")
                             .arg(ObjectsOnCard::listInWords(names[side]),
                                  side == 0 ? QStringLiteral("front") : QStringLiteral("back"));
        return QStringLiteral("%1 %2").arg(sides.join(QStringLiteral(" and ")),
                                           QLatin1String(count() == 1 ? one : many));
    }
};

// The objects of a list in the order a turn places them: the largest first, so that small ones
// take what room is left rather than the only room a large one had.
QList<qsizetype> largestFirst(const GraphicList &objects)
{
    QList<qsizetype> order;
    for (qsizetype i = 0; i < objects.size(); ++i)
        order << i;
    const auto area = [&objects](qsizetype i) {
        const QRectF b = objects.at(i)->bounds();
        return b.width() * b.height();
    };
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return area(a) > area(b); });
    return order;
}

} // namespace

QRectF ObjectsOnCard::drawnArea(const SKTGraphic &g)
{
    const QRectF frame = g.bounds();
    const auto *text = dynamic_cast<const SKTText *>(&g);
    if (!text)
        return frame;
    const double w = std::min(frame.width(), text->naturalSizeAt(frame.width()).width());
    const double left = text->text_alignmnet == 1   ? frame.right() - w
                        : text->text_alignmnet == 2 ? frame.center().x() - w / 2
                                                    : frame.left();
    return QRectF(left, frame.top(), w, frame.height());
}

QString ObjectsOnCard::listInWords(QStringList names)
{
    constexpr int Named = 5;
    if (names.size() > Named + 1) {
        const qsizetype more = names.size() - Named;
        names = names.mid(0, Named);
        names << QStringLiteral("%1 other objects").arg(more);
    }
    const QString last = names.takeLast();
    return names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

std::optional<QRectF> ObjectsOnCard::freePlace(const QRectF &frame, bool canScale, const QList<QRectF> &taken,
                                               QSizeF card)
{
    QSizeF size = frame.size();
    if (size.width() > card.width() || size.height() > card.height()) {
        if (!canScale || size.isEmpty())
            return std::nullopt;
        size.scale(card, Qt::KeepAspectRatio);
    }
    // Moved in only as far as needed, its centre kept where it can be.
    const QPointF asked(
        std::clamp(frame.center().x() - size.width() / 2, 0.0, card.width() - size.width()),
        std::clamp(frame.center().y() - size.height() / 2, 0.0, card.height() - size.height()));
    QList<double> lefts, tops;
    for (const QRectF &t : taken) {
        lefts << t.left() << t.right();
        tops << t.top() << t.bottom();
    }
    std::optional<QRectF> best;
    double nearest = std::numeric_limits<double>::max();
    for (double x : startsOnAxis(asked.x(), size.width(), card.width(), lefts)) {
        for (double y : startsOnAxis(asked.y(), size.height(), card.height(), tops)) {
            const double d = std::hypot(x - asked.x(), y - asked.y());
            if (d >= nearest)
                continue;
            const QRectF place(QPointF(x, y), size);
            if (std::none_of(taken.begin(), taken.end(), [&](const QRectF &t) { return covers(place, t); })) {
                best = place;
                nearest = d;
            }
        }
    }
    return best;
}

ObjectsOnCard::TurnPlan ObjectsOnCard::turn(const GraphicList &front, const GraphicList &back, QSizeF before,
                                            QSizeF card)
{
    TurnPlan plan;
    NamedBySide moved, past, off;
    const QRectF cardRect(QPointF(0, 0), card);
    for (int side : {0, 1}) {
        const GraphicList &objects = side == 0 ? front : back;
        QList<QRectF> frames;
        for (const GraphicPtr &g : objects)
            frames << g->bounds();
        for (qsizetype i : largestFirst(objects)) {
            const SKTGraphic &g = *objects.at(i);
            const QRectF was = g.bounds();
            // What already passed an edge was put there by the user. Locked objects move too: the
            // card turned under them.
            if (!wholeOn(was, before) || wholeOn(was, card))
                continue;
            // It may lie over what it lay over before; anything else, where it is or has gone, it
            // may not cover.
            QList<QRectF> taken;
            for (qsizetype j = 0; j < objects.size(); ++j)
                if (j != i && !covers(was, objects.at(j)->bounds()))
                    taken << frames.at(j);
            if (const std::optional<QRectF> place = freePlace(was, scalable(g), taken, card)) {
                frames[i] = *place;
                plan.moves.append({objects.at(i), *place});
                moved.names[side] << GraphicWords::of(g);
            } else {
                (drawnArea(g).intersects(cardRect) ? past : off).names[side] << GraphicWords::of(g);
            }
        }
    }
    QStringList parts;
    if (moved.count() > 0)
        parts << moved.said("was moved to a free place on the card", "were moved to free places on the card");
    if (past.count() > 0)
        parts << past.said("now reaches past the card's edge", "now reach past the card's edge");
    if (off.count() > 0)
        parts << off.said("now lies wholly off the card", "now lie wholly off the card");
    if (parts.isEmpty())
        return plan;
    const qsizetype stays = past.count() + off.count();
    plan.message = QStringLiteral("At this orientation, %1%2. Edit > Undo takes the turn back.")
                       .arg(parts.join(QStringLiteral(", and ")),
                            stays == 0   ? QString()
                            : stays == 1 ? QStringLiteral(" (no free place on the card holds it)")
                                         : QStringLiteral(" (no free place on the card holds them)"));
    return plan;
}
