// Reading a design file the way the editor opens it, and the batch snapshot input of what was read:
// shared by the commands that render or keep a design.
#pragma once

#include "data/ExcelBindingTable.h"
#include "model/SKTDocument.h"
#include "output/BatchFillSnapshot.h"
#include "output/RunPlan.h"
#include "panels/Card_Property.h"

#include <QSizeF>
#include <QString>

namespace cardtool
{

struct LoadedDesign {
    SKTDocument document;
    Card_Property front, back;
    ExcelBindingTable binding;
    QSizeF canvasSize; // what the design file told the editor; may be empty
};

// Opens path in the given mode ("L" a design, "T" a template). False with the reader's message
// and its reason in *error.
bool loadDesign(const QString &path, const QString &mode, LoadedDesign &out, QString *error);

// The batch snapshot input of a loaded design: its objects, pages, card area and binding rows.
BatchFillSnapshot::Design batchDesign(const LoadedDesign &loaded, const QString &resourcePath,
                                      const QString &dataFolder);

// The check of a run's cards, each problem on standard error after "<command>: ", as the windows
// ask before they start.
void reportRows(const RunPlan &plan, const QString &command);

} // namespace cardtool
