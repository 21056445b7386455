// What the export and print windows ask of the main window: its widget, a copy of the design for
// a run, the live sides to show data row 0 again afterwards, and a redraw. Tests fake it.
#pragma once

#include "model/SKTGraphic.h"
#include "output/BatchFillSnapshot.h"

#include <QString>

class QWidget;

class OutputHost
{
public:
    virtual ~OutputHost() = default;

    // The window sheets hang on and dialogs are parented to.
    virtual QWidget *outputWindow() = 0;
    // Everything a run reads, copied on the GUI thread (the snapshot deep-copies it again).
    virtual BatchFillSnapshot::Design batchDesign() = 0;
    // The live objects of a side, refilled with data row 0 after a run; null when there are none.
    virtual GraphicList *liveGraphics(bool back) = 0;
    virtual void Refresh_Canvas() = 0;
    // The design's name without folder and extension, offered in the save panel.
    virtual QString designName() { return QStringLiteral("card"); }
    // The sides an accepted export sheet chose ("BOTH", "F" or "B") and whether both go into one
    // picture; the window keeps them as the last export settings.
    virtual void exportSidesChosen(const QString &side, bool combined) {}
    // The design's file, empty while it has never been saved: file panels open beside it.
    virtual QString designPath() { return QString(); }
};
