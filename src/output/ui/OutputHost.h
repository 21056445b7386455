// What the export, print and mail windows ask of the main window: its widget, the design a run is
// planned from, with its workbook settled first, and a redraw afterwards. Tests fake it.
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
    // Asked before a run's plan is made: a bound workbook changed on disk since its rows were
    // loaded is named, and its rows are loaded again when the user says so.
    virtual void settleWorkbook() {}
    virtual void Refresh_Canvas() = 0;
    // The design's name without folder and extension, offered in the save panel.
    virtual QString designName() { return QStringLiteral("card"); }
    // The design's file, empty while it has never been saved: file panels open beside it.
    virtual QString designPath() { return QString(); }
};
