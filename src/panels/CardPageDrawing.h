// Draws the page of a card side under its objects: white outline, page fill, background picture, border.
// A pure function of the side's page settings, so canvases and worker threads can call it alike.
#pragma once

#include "model/Card_Property.h"

#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

class CardPageDrawing
{
public:
    // Outline codes of the card shape shared by both sides.
    enum Shape { Rectangle = 0, RoundedRectangle = 1, Ellipse = 2 };
    static constexpr double CornerRadius = 10.0;

    // Draws the page of `page` on the side rectangle `side` (the whole side, in card coordinates:
    // the outline is always built on it, whatever part of the side is being redrawn).
    // resourcePath is the folder holding "Fill_Style_Image".
    static void Card_Base_Drawing(QPainter &painter, const Card_Property &page, int cardShape,
                                  const QRectF &side, const QString &resourcePath);

    // The one request to redraw the live canvas, answered by the main window (ModelHost). Dropped
    // while this thread paints (a paint never asks for another), posted to the GUI thread from workers.
    static void Refresh_Canvas();

    // The card outline on rect: 1 rounded rectangle, 2 ellipse, anything else the rectangle.
    static QPainterPath outlinePath(int cardShape, const QRectF &rect);
};
