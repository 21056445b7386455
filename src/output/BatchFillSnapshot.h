// Everything a batch run reads, copied once on the GUI thread: both sides' objects and page
// settings, the binding table rows and the bound series, with the counts that decide the run.
#pragma once

#include "data/BatchRowCounter.h"
#include "data/ExcelBindingTable.h"
#include "data/SeriesTable.h"
#include "model/SKTGraphic.h"
#include "panels/Card_Property.h"

#include <QHash>
#include <QList>
#include <QMap>
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
        QString dataFolder;        // the "DataSet" folder of the series files
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
    // The run's input of a design: the lists are shared, take() copies them.
    static Design designOf(const Sources &sources);

    // Deep copies of the design's objects and pages, then the counting of the data sources.
    static BatchFillSnapshot take(const Design &design);

    const Design &design() const { return m_design; }

    // --- counting (the data engine's rules over this design's objects) ---
    // Runs the series check, the Excel check and the card count, in this order.
    void Check_Series_Or_Excel_Use_or_not();
    void Check_Data_Sheet_Value_Use_or_Not();
    void Check_Excel_Binding_Value_Use_or_Not();
    // Recounts the sources whose flag is set; the other count is 0; the total is the larger.
    void Get_total_Card_count();

    // Whether a side's list has a text, picture or barcode with that data source (1 series, 2 Excel).
    static bool sideUses(const GraphicList &graphics, int dataSourceType);
    bool Check_Front_Side_Dataset_Is_Used() const { return sideUses(m_design.front, 1); }
    bool Check_Back_Side_Dataset_Is_Used() const { return sideUses(m_design.back, 1); }
    bool Check_Front_Side_Excel_Binding_Is_Used() const { return sideUses(m_design.front, 2); }
    bool Check_Back_Side_Excel_Binding_Is_Used() const { return sideUses(m_design.back, 2); }
    bool backTakesPart() const { return m_design.CARD_SIDE_STR == QLatin1String("2"); }
    // Whether an object of the front, or of the back when it takes part, is bound to a series or
    // the binding table, whether or not that source gives rows.
    bool bindsData() const;

    // A column-bound object whose column the binding table does not have: it reads nothing.
    struct MissingColumn {
        GraphicPtr object; // the snapshot's copy
        bool back = false;
        QString column; // the column it was bound to: column "<heading>", or column <n> by position
    };
    const QList<MissingColumn> &missingColumns() const { return m_missingColumns; }
    // Rows of a bound series, 0 when it was not loaded.
    int seriesRows(const QString &name) const { return m_series.rowsOf(name); }

    // Values (untrimmed, "" when the source has no such row).
    QString Get_sel_row_col_value_of_dataset(int row, const QString &seriesName) const;
    QString Get_sel_row_col_value_of_Excel(int row, int col) const;

    // Producers may switch a source off (the user unticked it), then call Get_total_Card_count.
    bool Use_Data_Sheet_Values = false;
    bool Use_Excel_Binding_Values = false;
    int Data_table_rows = 0;
    int Excel_table_rows = 0;
    int Total_Batch_Excel_Card = 0;

    bool isBatch() const { return Use_Data_Sheet_Values || Use_Excel_Binding_Values; }
    // Problems met while loading series (a bound series whose file is missing), for the log.
    const QStringList &warnings() const { return m_warnings; }
    // Bound series whose file is there but could not be read (too large, not a file): no export
    // may run, since the cards would lose their values.
    const QStringList &unreadableSeries() const { return m_unreadableSeries; }

    // Kinds that take part in data binding: text, picture, barcode.
    static bool isBindable(const SKTGraphic &graphic);
    // What the counting needs to know of a side's objects.
    static QList<BoundObjectInfo> describe(const GraphicList &graphics);
    // Deep copy of a list: every object cloned.
    static GraphicList cloneList(const GraphicList &graphics);

private:
    BatchCounts counts() const;
    void setCounts(const BatchCounts &counts);
    SeriesLoader loader();
    // Points every column-bound copy at the column its heading now stands in (-1 when gone).
    void followHeadings();

    Design m_design;
    SeriesTable m_series; // bound series, loaded by the names their objects carry
    QStringList m_warnings;
    QStringList m_unreadableSeries;
    QList<MissingColumn> m_missingColumns;
};
