// Everything that rendering one card side reads: its objects, its page settings, the card outline and
// size, and the resource folder. Copied from the editor on the GUI thread; workers render copies.
#pragma once

#include "model/Card_Property.h"
#include "model/DesignSettings.h"
#include "model/SKTGraphic.h"

#include <QSizeF>
#include <QString>

#include <utility>

struct RenderSide {
    GraphicList graphics;               // index 0 is frontmost, as in the document
    Card_Property page;                 // the page settings of the side
    int cardShape = 0;                  // 0 rectangle, 1 rounded rectangle, 2 ellipse (both sides)
    QSizeF cardSize = QSizeF(243, 154); // the front canvas size, for every side
    QString resourcePath;               // root of "Fill_Style_Image" and the sample pictures

    // A side of a design as it is drawn: the objects given, the side's page, the card's outline
    // and size. The one place the render input is taken from the design.
    static RenderSide of(const DesignSettings &design, int side, GraphicList graphics, QString resourcePath)
    {
        RenderSide s;
        s.graphics = std::move(graphics);
        s.page = design.page(side == 1 ? 1 : 0);
        s.cardShape = design.outline();
        s.cardSize = design.cardSize();
        s.resourcePath = std::move(resourcePath);
        return s;
    }

    // A deep copy: objects cloned, so the copy can be painted while the editor changes the original.
    RenderSide snapshot() const
    {
        RenderSide s = *this;
        s.graphics.clear();
        for (const GraphicPtr &g : graphics)
            if (g)
                s.graphics.append(g->clone());
        return s;
    }
};
