// Sets the page box of a PDF written by Qt to a size in fractions of a point. Qt's writer keeps
// page sizes in whole points, so a 242.65 x 153.35 pt card would be cut or get a white edge.
#pragma once

#include <QByteArray>
#include <QSizeF>

namespace PdfPageBox
{

// The whole-point page Qt should be asked for: each side rounded up.
QSizeF wholePointPage(const QSizeF &exact);

// pdf was written on pages of wholePointPage(exact), drawn from the top left corner. Every page box
// becomes [0, H - h, w, H] (PDF space is y-up, so the drawing keeps its place) and the
// cross-reference offsets are moved with the bytes. False, and pdf unchanged, when the file does
// not have the simple layout Qt's writer gives (one classic cross-reference table).
bool setExactSize(QByteArray &pdf, const QSizeF &exact);

} // namespace PdfPageBox
