// Everything that rendering one card side reads: its objects, its page settings, the card outline and
// size, and the resource folder. Taken from the design in one place (of), so a side never carries an
// outline or size of its own; workers render deep copies (snapshot).
#pragma once

#include "model/Card_Property.h"
#include "model/DesignSettings.h"
#include "model/SKTGraphic.h"

#include <QSizeF>
#include <QString>

#include <utility>

class RenderSide
{
public:
    // A side of a design as it is drawn: the objects given, the side's page, the card's outline
    // and size (side 1 is the back, any other the front).
    static RenderSide of(const DesignSettings &design, int side, GraphicList graphics, QString resourcePath)
    {
        RenderSide s;
        s.m_graphics = std::move(graphics);
        s.m_page = design.page(side == 1 ? 1 : 0);
        s.m_outline = design.outline();
        s.m_cardSize = design.cardSize();
        s.m_resourcePath = std::move(resourcePath);
        return s;
    }

    // A deep copy: objects cloned, so the copy can be painted while the editor changes the original.
    RenderSide snapshot() const
    {
        RenderSide s = *this;
        s.m_graphics.clear();
        for (const GraphicPtr &g : m_graphics)
            if (g)
                s.m_graphics.append(g->clone());
        return s;
    }

    const GraphicList &graphics() const { return m_graphics; } // index 0 is frontmost
    const Card_Property &page() const { return m_page; }
    DesignSettings::Outline outline() const { return m_outline; }
    QSizeF cardSize() const { return m_cardSize; }
    const QString &resourcePath() const { return m_resourcePath; } // "Fill_Style_Image", samples

private:
    RenderSide() = default;

    GraphicList m_graphics;
    Card_Property m_page;
    DesignSettings::Outline m_outline = DesignSettings::Rectangle;
    QSizeF m_cardSize;
    QString m_resourcePath;
};
