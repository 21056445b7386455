#include "model/GraphicArrangement.h"

#include "model/SKTGrid.h"

namespace GraphicArrangement
{

QRectF alignedBounds(const QRectF &bounds, const QRectF &reference, Edge edge)
{
    const QRectF &r = reference;
    const double w = bounds.width(), h = bounds.height();
    QPointF to = bounds.topLeft();
    switch (edge) {
    case Edge::Left:
        to.setX(r.x());
        break;
    case Edge::Right:
        to.setX(r.x() + r.width() - w);
        break;
    case Edge::Top:
        to.setY(r.y());
        break;
    case Edge::Bottom:
        to.setY(r.y() + r.height() - h);
        break;
    case Edge::HorizontalCenter:
        to.setX(r.x() + 0.5 * r.width() - w / 2);
        break;
    case Edge::VerticalCenter:
        to.setY(r.y() + 0.5 * r.height() - h / 2);
        break;
    }
    return QRectF(to, bounds.size());
}

QRectF centredBounds(const QRectF &bounds, const QSizeF &card)
{
    const QPointF to(card.width() / 2 - bounds.width() / 2, card.height() / 2 - bounds.height() / 2);
    return QRectF(to, bounds.size());
}

QRectF sameSizeBounds(const QRectF &bounds, const QRectF &reference, Dimension dimension)
{
    QRectF b = bounds;
    if (dimension == Dimension::Width)
        b.setWidth(reference.width());
    else
        b.setHeight(reference.height());
    return b;
}

namespace
{

// Gives g the new bounds unless it is locked or already there (its corner, within Qt's fuzz).
void moveUnlocked(const GraphicPtr &g, const QRectF &to)
{
    if (!g->ctrl_is_locked && to != g->bounds())
        g->setBounds(to);
}

} // namespace

bool alignGraphics(const GraphicList &graphics, const QRectF &card, Edge edge)
{
    if (graphics.isEmpty())
        return false;
    const bool againstCard = graphics.size() == 1;
    if (againstCard && graphics.first()->ctrl_is_locked)
        return false;
    const QRectF reference = againstCard ? card : graphics.first()->bounds();
    for (qsizetype i = againstCard ? 0 : 1; i < graphics.size(); ++i) {
        const GraphicPtr &g = graphics.at(i);
        moveUnlocked(g, alignedBounds(g->bounds(), reference, edge));
    }
    return true;
}

bool centreGraphics(const GraphicList &graphics, const QSizeF &card)
{
    for (const GraphicPtr &g : graphics)
        moveUnlocked(g, centredBounds(g->bounds(), card));
    return !(graphics.size() == 1 && graphics.first()->ctrl_is_locked);
}

void makeGraphicsSameSize(const GraphicList &graphics, Dimension dimension)
{
    if (graphics.size() < 2)
        return;
    const QRectF reference = graphics.first()->bounds();
    for (qsizetype i = 1; i < graphics.size(); ++i) {
        const GraphicPtr &g = graphics.at(i);
        const QRectF b = g->bounds();
        // Compared exactly: a nearly equal size is still made the same.
        const bool differs =
            dimension == Dimension::Width ? b.width() != reference.width() : b.height() != reference.height();
        if (!g->ctrl_is_locked && differs)
            g->setBounds(sameSizeBounds(b, reference, dimension));
    }
}

void alignGraphicsWithGrid(const GraphicList &graphics, const SKTGrid &grid)
{
    for (const GraphicPtr &g : graphics) {
        // Set even when already on the grid: the document drops a change to the same value.
        if (!g->ctrl_is_locked)
            g->setBounds(grid.alignedRect(g->bounds()));
    }
}

QList<int> reorderedIndexes(int remaining, int moving, bool toFront)
{
    const int first = toFront ? 0 : remaining;
    QList<int> indexes;
    indexes.reserve(moving);
    for (int i = 0; i < moving; ++i)
        indexes.append(first + i);
    return indexes;
}

} // namespace GraphicArrangement
