// What the card objects ask of the editor window: redraws, its text defaults and the card area.
// The main window implements it; tests fake it; with none installed the defaults below apply.
#pragma once

#include "model/DesignSettings.h"
#include "platform/FontDescriptor.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

class ModelHost
{
public:
    virtual ~ModelHost() = default;

    // Marks the canvas of the side being edited for redisplay. May be called from any thread.
    virtual void Refresh_Canvas() {}
    // Puts the picture panel's adjustment controls back to neutral values.
    virtual void Reset_Image_Editing_Controls() {}
    // The card area shared by all sides: the design's card size from (0, 0).
    virtual QRectF frontCanvasBounds() const
    {
        return QRectF(QPointF(0, 0), DesignSettings::DefaultCardSize);
    }
    // Place for the next new object on side "F" or "B".
    virtual QPointF Control_New_Point(const QString &side);
    // The editor's current text font and colour, given to every new object.
    virtual FontDescriptor All_Text_font() const;
    virtual QColor All_Text_clr() const { return QColor(0, 0, 0); }
};
