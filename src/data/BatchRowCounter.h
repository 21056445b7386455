// Works out which data sources a card uses and how many cards a batch run makes, over plain
// descriptions of the bound objects; the card model feeds it and the producers read the counts.
#pragma once

#include "SeriesTable.h"
#include "foundation/CardCodes.h"

#include <QList>
#include <QString>

enum class BoundKind { Text, Image, Barcode, Other };

struct BoundObjectInfo {
    BoundKind kind = BoundKind::Other;
    int data_source_type = DataSourceCode::Fixed;
    QString batch_list_name; // the bound series
    int excel_col_indx = 0;  // binding table column, 0 the row number
};

struct BatchCounts {
    bool Use_Data_Sheet_Values = false;
    bool Use_Excel_Binding_Values = false;
    int Data_table_rows = 0;
    int Excel_table_rows = 0;
    int Total_Batch_Excel_Card = 0;
};

class BatchRowCounter
{
public:
    enum Source { Series = DataSourceCode::Series, ExcelColumn = DataSourceCode::BindingColumn };

    // Whether a text, picture or barcode of the side takes its value from the source.
    static bool Check_Side_Uses(const QList<BoundObjectInfo> &side, int source);

    // The series check: fills table with every series bound on a taking-part side (by name) and
    // sets the series flag and rows.
    static void Check_Data_Sheet_Value_Use_or_Not(BatchCounts &counts, SeriesTable &table,
                                                  const QList<BoundObjectInfo> &front,
                                                  const QList<BoundObjectInfo> &back, bool doubleSided,
                                                  const SeriesLoader &load);
    static void Check_Excel_Binding_Value_Use_or_Not(BatchCounts &counts, const QList<BoundObjectInfo> &front,
                                                     const QList<BoundObjectInfo> &back, bool doubleSided,
                                                     int bindingTableRows);
    // Recounts the sources whose flag is set (a producer may have cleared one) and the total.
    static void Get_total_Card_count(BatchCounts &counts, const SeriesTable &table, int bindingTableRows);

    // All three in order.
    static BatchCounts Check_Series_Or_Excel_Use_or_not(SeriesTable &table,
                                                        const QList<BoundObjectInfo> &front,
                                                        const QList<BoundObjectInfo> &back, bool doubleSided,
                                                        int bindingTableRows, const SeriesLoader &load);
};
