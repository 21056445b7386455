#include "BatchRowCounter.h"

namespace
{
bool takesPart(const BoundObjectInfo &o)
{
    return o.kind == BoundKind::Text || o.kind == BoundKind::Image || o.kind == BoundKind::Barcode;
}
} // namespace

bool BatchRowCounter::Check_Side_Uses(const QList<BoundObjectInfo> &side, int source)
{
    for (const BoundObjectInfo &o : side) {
        if (takesPart(o) && o.data_source_type == source)
            return true;
    }
    return false;
}

void BatchRowCounter::Check_Data_Sheet_Value_Use_or_Not(BatchCounts &counts, SeriesTable &table,
                                                        const QList<BoundObjectInfo> &front,
                                                        const QList<BoundObjectInfo> &back, bool doubleSided,
                                                        const SeriesLoader &load)
{
    table.clear();
    counts.Use_Data_Sheet_Values =
        Check_Side_Uses(front, Series) || (doubleSided && Check_Side_Uses(back, Series));
    if (!counts.Use_Data_Sheet_Values)
        return;
    for (const QList<BoundObjectInfo> *side : {&front, &back}) {
        if (side == &back && !doubleSided)
            break;
        for (const BoundObjectInfo &o : *side) {
            if (takesPart(o) && o.data_source_type == Series)
                table.Add_dataset_col_in_binding_table(o.batch_list_name, load);
        }
    }
    counts.Data_table_rows = table.Calculate_data_table_rows();
    if (counts.Data_table_rows == 0)
        counts.Use_Data_Sheet_Values = false;
}

void BatchRowCounter::Check_Excel_Binding_Value_Use_or_Not(BatchCounts &counts,
                                                           const QList<BoundObjectInfo> &front,
                                                           const QList<BoundObjectInfo> &back,
                                                           bool doubleSided, int bindingTableRows)
{
    counts.Use_Excel_Binding_Values =
        Check_Side_Uses(front, ExcelColumn) || (doubleSided && Check_Side_Uses(back, ExcelColumn));
    if (!counts.Use_Excel_Binding_Values)
        return;
    counts.Excel_table_rows = std::max(bindingTableRows, 0);
    if (counts.Excel_table_rows == 0)
        counts.Use_Excel_Binding_Values = false;
}

void BatchRowCounter::Get_total_Card_count(BatchCounts &counts, const SeriesTable &table,
                                           int bindingTableRows)
{
    counts.Data_table_rows = counts.Use_Data_Sheet_Values ? table.Calculate_data_table_rows() : 0;
    counts.Excel_table_rows = counts.Use_Excel_Binding_Values ? std::max(bindingTableRows, 0) : 0;
    counts.Total_Batch_Excel_Card = std::max(counts.Data_table_rows, counts.Excel_table_rows);
}

BatchCounts BatchRowCounter::Check_Series_Or_Excel_Use_or_not(SeriesTable &table,
                                                              const QList<BoundObjectInfo> &front,
                                                              const QList<BoundObjectInfo> &back,
                                                              bool doubleSided, int bindingTableRows,
                                                              const SeriesLoader &load)
{
    BatchCounts counts;
    Check_Data_Sheet_Value_Use_or_Not(counts, table, front, back, doubleSided, load);
    Check_Excel_Binding_Value_Use_or_Not(counts, front, back, doubleSided, bindingTableRows);
    Get_total_Card_count(counts, table, bindingTableRows);
    return counts;
}
