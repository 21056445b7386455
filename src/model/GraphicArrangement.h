// How the edit commands arrange card objects: lining edges and centres up, centring on the card,
// giving one size to several, snapping to the grid, and where a reordered selection lands. Locked
// objects never move, and an object already in place gets no setBounds, so the document records
// only real changes as undo steps.
#pragma once

#include "model/SKTGraphic.h"

#include <QList>
#include <QRectF>
#include <QSizeF>

class SKTGrid;

namespace GraphicArrangement
{

enum class Edge { Left, Right, Top, Bottom, HorizontalCenter, VerticalCenter };
enum class Dimension { Width, Height };

// bounds moved so that its edge (or centre line) meets the same one of reference; the size stays.
QRectF alignedBounds(const QRectF &bounds, const QRectF &reference, Edge edge);
// bounds moved so that its centre is the middle of a card of that size.
QRectF centredBounds(const QRectF &bounds, const QSizeF &card);
// bounds with reference's width or height; the top-left corner stays.
QRectF sameSizeBounds(const QRectF &bounds, const QRectF &reference, Dimension dimension);

// One object lines up against the card, several against the first of them, which stays where it
// is. False when there was nothing to do: no objects, or a single one that is locked.
bool alignGraphics(const GraphicList &graphics, const QRectF &card, Edge edge);
// Every unlocked object centred on the card. False only when the one object given is locked.
bool centreGraphics(const GraphicList &graphics, const QSizeF &card);
// The unlocked objects after the first take its width or height; fewer than two do nothing.
void makeGraphicsSameSize(const GraphicList &graphics, Dimension dimension);
// Every unlocked object's corners snapped to the grid's nearest lines.
void alignGraphicsWithGrid(const GraphicList &graphics, const SKTGrid &grid);

// Where moving objects go, in their order, once taken out of a list that keeps remaining others:
// at the front (from index 0) or at the back (after the others).
QList<int> reorderedIndexes(int remaining, int moving, bool toFront);

} // namespace GraphicArrangement
