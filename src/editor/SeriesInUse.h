// Whether a series is bound to some object of the design: a text, picture or barcode on the front,
// or on the back of a double-sided card, names it as its series source.
#pragma once

#include "model/SKTGraphic.h"

#include <QString>

// No when the series file (dataFolder/name.txt) is gone, whatever the objects say. cardSideStr "2"
// (double-sided) makes the back count too.
bool Check_Batch_File_In_Use_Validation(const QString &name, const GraphicList &front,
                                        const GraphicList &back, const QString &cardSideStr,
                                        const QString &dataFolder);
