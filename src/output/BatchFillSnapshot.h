// A design as an output run reads it, copied on the GUI thread: both sides' objects and page
// settings, the card, the binding table's rows and headings and the series folder. A run plan is
// built from it; the lists are shared here and deep-copied by the plan.
#pragma once

#include "data/BatchRowCounter.h"
#include "data/ExcelBindingTable.h"
#include "model/SKTGraphic.h"
#include "panels/Card_Property.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

class SKTDocument;

class BatchFillSnapshot
{
public:
    using ExcelRow = ExcelBindingTable::Row; // "Extension" and "Column<k>" to cell texts

    struct Design {
        GraphicList front;
        GraphicList back;
        Card_Property frontPage;
        Card_Property backPage;
        int cardShape = 0;                           // outline index shared by both sides
        QString CARD_SIDE_STR = QStringLiteral("1"); // "2": the back takes part in batch filling
        QRectF cardArea = QRectF(0, 0, 243, 154);    // the front canvas bounds
        QString resourcePath;
        QList<ExcelRow> excelRows; // the binding table's rows
        QStringList excelTitles;   // its column headings, the row number's first; none: not known
        // Where the rows stood in their workbook: the number the sheet shows beside each row (0 or
        // none: not known), rows above the first row read (1 when the first row held the titles;
        // -1: not known), and the cells whose formula the workbook never computed.
        QList<int> excelSheetRows;
        int excelRowsAbove = -1;
        UncomputedFormulas excelUncomputed;
        QString dataFolder; // the "DataSet" folder of the series files
    };

    // A design as it stands, which print, export and mail all read the same way.
    struct Sources {
        const SKTDocument &document;
        const Card_Property &frontPage; // its Card_Side says whether the back takes part
        const Card_Property &backPage;
        const ExcelBindingTable &binding;
        int cardShape = 0; // the outline the editor draws, one for both sides
        QSizeF canvasSize; // the front canvas; when empty, the front page's Card_Size
        QString resourcePath;
        QString dataFolder;
    };
    // The run's input of a design: the lists are shared, a plan copies them.
    static Design designOf(const Sources &sources);

    // Kinds that take part in data binding: text, picture, barcode.
    static bool isBindable(const SKTGraphic &graphic);
    // What the counting needs to know of a side's objects.
    static QList<BoundObjectInfo> describe(const GraphicList &graphics);
    // Deep copy of a list: every object cloned, empty entries left out.
    static GraphicList cloneList(const GraphicList &graphics);
};
