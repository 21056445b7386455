// What the export and print windows ask of the main window: its widget, the design a run is
// planned from, and a redraw afterwards. Tests fake it.
#pragma once

#include "model/CardDesign.h"

#include <QString>

class QWidget;

class OutputHost
{
public:
    virtual ~OutputHost() = default;

    // The window sheets hang on and dialogs are parented to.
    virtual QWidget *outputWindow() = 0;
    // The design as it stands, which a run plan copies on the GUI thread.
    virtual const CardDesign &batchDesign() = 0;
    virtual void Refresh_Canvas() = 0;
    // The design's name without folder and extension, offered in the save panel.
    virtual QString designName() { return QStringLiteral("card"); }
    // The sides an accepted export sheet chose ("BOTH", "F" or "B") and whether both go into one
    // picture; the window keeps them as the last export settings.
    virtual void exportSidesChosen(const QString &side, bool combined) {}
    // The design's file, empty while it has never been saved: file panels open beside it.
    virtual QString designPath() { return QString(); }
};
