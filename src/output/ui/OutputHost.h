// What the export, print and mail windows ask of the main window: its widget, a copy of the design
// for a run with its workbook settled first, and a redraw afterwards. Tests fake it.
#pragma once

#include "output/BatchFillSnapshot.h"

#include <QString>

class QWidget;

class OutputHost
{
public:
    virtual ~OutputHost() = default;

    // The window sheets hang on and dialogs are parented to.
    virtual QWidget *outputWindow() = 0;
    // Everything a run reads, copied on the GUI thread (the run plan deep-copies it again).
    virtual BatchFillSnapshot::Design batchDesign() = 0;
    // Asked before the design is copied for a run: a bound workbook changed on disk since its rows
    // were loaded is named, and its rows are loaded again when the user says so.
    virtual void settleWorkbook() {}
    virtual void Refresh_Canvas() = 0;
    // The design's name without folder and extension, offered in the save panel.
    virtual QString designName() { return QStringLiteral("card"); }
    // The design's file, empty while it has never been saved: file panels open beside it.
    virtual QString designPath() { return QString(); }
};
