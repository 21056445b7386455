// Writing the small designs the design commands make: a QR Code that a batch run fills, and a
// design file of a front side's objects with the page settings a New command leaves.
#pragma once

#include "model/SKTGraphic.h"

#include <QRectF>
#include <QString>

namespace cardtool
{

// A QR Code in the box given, without header or footer; its value source is the caller's.
GraphicPtr qrCode(const QRectF &box);

// Writes a design whose front holds the objects; false after saying why with "<command>: ".
bool writeDesign(const QString &path, const GraphicList &front, const QString &command);

} // namespace cardtool
