#include "output/BatchFillSnapshot.h"

#include "data/SeriesFiles.h"

#include <algorithm>

GraphicList BatchFillSnapshot::cloneList(const GraphicList &graphics)
{
    GraphicList out;
    out.reserve(graphics.size());
    for (const GraphicPtr &g : graphics)
        if (g)
            out.append(g->clone());
    return out;
}

bool BatchFillSnapshot::isBindable(const SKTGraphic &graphic)
{
    const SKTGraphic::Kind k = graphic.kind();
    return k == SKTGraphic::Kind::Text || k == SKTGraphic::Kind::Image || k == SKTGraphic::Kind::Barcode;
}

BatchFillSnapshot BatchFillSnapshot::take(const Design &design)
{
    BatchFillSnapshot s;
    s.m_design = design;
    s.m_design.front = cloneList(design.front);
    s.m_design.back = cloneList(design.back);
    s.Check_Series_Or_Excel_Use_or_not();
    return s;
}

bool BatchFillSnapshot::sideUses(const GraphicList &graphics, int dataSourceType)
{
    return std::any_of(graphics.begin(), graphics.end(), [dataSourceType](const GraphicPtr &g) {
        return g && isBindable(*g) && g->data_source_type == dataSourceType;
    });
}

void BatchFillSnapshot::Check_Series_Or_Excel_Use_or_not()
{
    Check_Data_Sheet_Value_Use_or_Not();
    Check_Excel_Binding_Value_Use_or_Not();
    Get_total_Card_count();
}

void BatchFillSnapshot::Check_Data_Sheet_Value_Use_or_Not()
{
    m_series.clear();
    Use_Data_Sheet_Values =
        Check_Front_Side_Dataset_Is_Used() || (backTakesPart() && Check_Back_Side_Dataset_Is_Used());
    if (!Use_Data_Sheet_Values)
        return;
    Create_Dataset_binding_table();
    Calculate_data_table_rows();
    if (Data_table_rows == 0)
        Use_Data_Sheet_Values = false;
}

void BatchFillSnapshot::Check_Excel_Binding_Value_Use_or_Not()
{
    Use_Excel_Binding_Values = Check_Front_Side_Excel_Binding_Is_Used() ||
                               (backTakesPart() && Check_Back_Side_Excel_Binding_Is_Used());
    if (!Use_Excel_Binding_Values)
        return;
    Calculate_Excel_table_rows();
    if (Excel_table_rows == 0)
        Use_Excel_Binding_Values = false;
}

void BatchFillSnapshot::Get_total_Card_count()
{
    if (Use_Data_Sheet_Values)
        Calculate_data_table_rows();
    else
        Data_table_rows = 0;
    if (Use_Excel_Binding_Values)
        Calculate_Excel_table_rows();
    else
        Excel_table_rows = 0;
    Total_Batch_Excel_Card = std::max(Data_table_rows, Excel_table_rows);
}

void BatchFillSnapshot::Create_Dataset_binding_table()
{
    // Each object's series is the one it names: a slot of the folder listing can point at
    // another series once series are added or removed.
    auto load = [this](const GraphicList &graphics) {
        for (const GraphicPtr &g : graphics)
            if (g && isBindable(*g) && g->data_source_type == 1)
                Add_dataset_col_in_binding_table(g->batch_list_name_val());
    };
    load(m_design.front);
    if (backTakesPart())
        load(m_design.back);
}

void BatchFillSnapshot::Add_dataset_col_in_binding_table(const QString &seriesName)
{
    if (m_series.contains(seriesName))
        return;
    const std::optional<QStringList> rows = SeriesFiles::readRows(m_design.dataFolder, seriesName);
    if (!rows) {
        m_warnings << QStringLiteral("The series \"%1\" was not found.").arg(seriesName);
        return;
    }
    m_series.insert(seriesName, *rows);
}

void BatchFillSnapshot::Calculate_data_table_rows()
{
    Data_table_rows = 0;
    for (const QStringList &rows : std::as_const(m_series))
        Data_table_rows = std::max(Data_table_rows, int(rows.size()));
}

void BatchFillSnapshot::Calculate_Excel_table_rows()
{
    Excel_table_rows = int(m_design.excelRows.size());
}

QString BatchFillSnapshot::Get_sel_row_col_value_of_dataset(int row, const QString &seriesName) const
{
    const auto it = m_series.constFind(seriesName);
    if (it == m_series.constEnd() || row < 0 || row >= it->size())
        return QString();
    return it->at(row);
}

QString BatchFillSnapshot::Get_sel_row_col_value_of_Excel(int row, int col) const
{
    if (row < 0 || row >= Excel_table_rows || row >= m_design.excelRows.size() || col < 0)
        return QString();
    const ExcelRow &record = m_design.excelRows.at(row);
    const QString key = col == 0 ? QStringLiteral("Extension") : QStringLiteral("Column%1").arg(col);
    return record.value(key);
}
