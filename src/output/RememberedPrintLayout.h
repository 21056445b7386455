// The print window's last grid, gaps, paper and sides, kept in "print.ini" beside the preferences
// so that the window opens as it was left, also after a restart.
#pragma once

#include "foundation/CardCodes.h"

#include <QSizeF>
#include <QString>

#include <optional>

class RememberedPrintLayout
{
public:
    int rows = 1;
    int cols = 1;
    double horzGapMm = 0;
    double vertGapMm = 0;
    QString side = SideCode::Front;                        // "F", "B" or "BOTH"
    QString arrangement = ArrangementCode::FrontAboveBack; // or FrontLeftOfBack
    std::optional<QSizeF> paperMm;                         // the paper standing up; none: the printer's own
    bool landscape = false;

    static QString settingsPath();
    // What was kept; a value missing or edited out of range keeps its default.
    static RememberedPrintLayout load();
    // False when the file could not be written (the window goes on; the log says so).
    bool save() const;
};
