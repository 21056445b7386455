// Moves the column-bound objects of a design to the column their heading stands in now, when a
// workbook is loaded or a design opened; an object whose heading is gone keeps its place.
#pragma once

#include "model/SKTGraphic.h"

#include <QList>

class ExcelBindingTable;

class ColumnFollowing
{
public:
    // The sides' objects follow the table's headings; the count of those whose heading is gone.
    static int follow(const QList<GraphicList> &sides, const ExcelBindingTable &table);
};
