// Reading a design file the way the editor opens it: shared by the commands that render or keep a
// design.
#pragma once

#include "data/ExcelBindingTable.h"
#include "model/Card_Property.h"
#include "model/SKTDocument.h"
#include "output/RunPlan.h"

#include <QSizeF>
#include <QString>

class DesignFile;

namespace cardtool
{

struct LoadedDesign {
    SKTDocument document; // holds the design read
    const CardDesign &design() const { return document.design(); }
};

// Opens path in the given mode ("L" a design, "T" a template). False with the reader's message
// and its reason in *error.
bool loadDesign(const QString &path, const QString &mode, LoadedDesign &out, QString *error);

// Opens path as the editor opens a design, into the file's document, for the commands that save
// it again through the file. False once the reader's message is on standard error.
bool openToSave(DesignFile &file, const QString &path);

// The check of a run's cards, each problem on standard error after "<command>: ", as the windows
// ask before they start.
void reportRows(const RunPlan &plan, const QString &command);

} // namespace cardtool
