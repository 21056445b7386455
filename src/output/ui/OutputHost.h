// What the export and print windows ask of the main window: its widget, a copy of the design for
// a run, and a redraw afterwards. Tests fake it.
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
    virtual void Refresh_Canvas() = 0;
    // The design's name without folder and extension, offered in the save panel.
    virtual QString designName() { return QStringLiteral("card"); }
    // The design's file, empty while it has never been saved: file panels open beside it.
    virtual QString designPath() { return QString(); }
};
