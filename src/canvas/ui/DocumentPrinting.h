// Prints the document's front side through the system's print dialog. Runs on the GUI thread;
// the side is drawn by the same renderer as every export.
#pragma once

#include "canvas/RenderSide.h"

#include <QString>

class QPrinter;
class QWidget;

class DocumentPrinting
{
public:
    // Shows the print dialog over parent and prints one page per copy. False when cancelled or failed.
    static bool printOperationWithSettings(const RenderSide &front, const QString &jobTitle, QWidget *parent);
    // Prints the side on a ready printer, scaled to fit the printable area, centred. False on failure.
    static bool printSide(QPrinter &printer, const RenderSide &front, const QString &jobTitle);
};
