// Header, footer and frame of a 2D symbol picture: the texts, shown flags and measured sizes
// that a linear barcode object carries for itself.
#pragma once

#include <QString>

struct SymbolFrame {
    QString content;
    QString header;
    QString footer;
    bool printsCaption = false;
    bool printsHeader = false;
    bool printsFooter = false;
    double headerHeight = 0; // inches
    double footerHeight = 0; // inches
    double headerWidth = 0;  // points
    double footerWidth = 0;  // points
    double width = 0;        // frame, points
    double height = 0;       // frame, points
};
