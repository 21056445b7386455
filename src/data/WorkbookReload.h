// Reading a bound workbook's rows again after the file changed: the same sheet and the columns of
// the same headings, into a new binding table. Anything amiss leaves the rows as loaded.
#pragma once

#include "data/ExcelBindingTable.h"

#include <QString>
#include <QStringList>

class WorkbookReload
{
public:
    struct Result {
        bool ok = false;
        QString reason;           // why not, in sentences for the user
        ExcelBindingTable table;  // titles, rows and file facts; binding flag and path left alone
        QStringList goneHeadings; // headings of the table as loaded that the sheet no longer has
        QString uncomputedNote;   // the columns' cells holding formulas never computed, for the user
    };

    // Reads the workbook at loaded.Excel_Source_Path by the facts its rows were read with.
    // boundHeadings: the headings the design's objects read; one the table as loaded lacks (gone
    // at an earlier load) is looked for too, so a column renamed and renamed back is found again.
    // Touches nothing shared: it may run on a worker.
    static Result reload(const ExcelBindingTable &loaded, const QStringList &boundHeadings = {});
};
