#include "output/BatchFillSnapshot.h"

#include "data/ColumnBinding.h"
#include "data/SeriesFiles.h"
#include "foundation/CardCodes.h"
#include "model/SKTDocument.h"

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

BatchFillSnapshot::Design BatchFillSnapshot::designOf(const Sources &sources)
{
    Design design;
    design.front = sources.document.graphics();
    design.back = sources.document.graphics_back();
    design.frontPage = sources.frontPage;
    design.backPage = sources.backPage;
    design.cardShape = sources.cardShape;
    design.CARD_SIDE_STR = sources.frontPage.Card_Side;
    const auto usable = [](const QSizeF &size) { return size.isValid() && !size.isEmpty(); };
    const QSizeF card = usable(sources.canvasSize) ? sources.canvasSize : sources.frontPage.Card_Size;
    if (usable(card))
        design.cardArea = QRectF(QPointF(0, 0), card);
    design.resourcePath = sources.resourcePath;
    design.dataFolder = sources.dataFolder;
    design.excelRows = sources.binding.ListData();
    design.excelTitles = sources.binding.columnTitles();
    return design;
}

BatchFillSnapshot BatchFillSnapshot::take(const Design &design)
{
    BatchFillSnapshot s;
    s.m_design = design;
    s.m_design.front = cloneList(design.front);
    s.m_design.back = cloneList(design.back);
    s.followHeadings();
    s.Check_Series_Or_Excel_Use_or_not();
    return s;
}

void BatchFillSnapshot::followHeadings()
{
    if (m_design.excelTitles.isEmpty())
        return;
    const auto follow = [this](const GraphicList &side, bool back) {
        for (const GraphicPtr &g : side) {
            if (!g || !isBindable(*g) || g->data_source_type != DataSourceCode::BindingColumn)
                continue;
            const int column =
                ColumnBinding::resolve(m_design.excelTitles, g->excel_col_indx, g->excel_col_title);
            if (column == ColumnBinding::Missing) {
                const QString heading = g->excel_col_title.value_or(QString()).trimmed();
                m_missingColumns.append({g, back,
                                         heading.isEmpty()
                                             ? QStringLiteral("column %1").arg(g->excel_col_indx)
                                             : QStringLiteral("column \"%1\"").arg(heading)});
            }
            g->excel_col_indx = column;
        }
    };
    follow(m_design.front, false);
    follow(m_design.back, true);
}

QList<BoundObjectInfo> BatchFillSnapshot::describe(const GraphicList &graphics)
{
    QList<BoundObjectInfo> out;
    out.reserve(graphics.size());
    for (const GraphicPtr &g : graphics) {
        if (!g)
            continue;
        BoundObjectInfo info;
        switch (g->kind()) {
        case SKTGraphic::Kind::Text:
            info.kind = BoundKind::Text;
            break;
        case SKTGraphic::Kind::Image:
            info.kind = BoundKind::Image;
            break;
        case SKTGraphic::Kind::Barcode:
            info.kind = BoundKind::Barcode;
            break;
        default:
            info.kind = BoundKind::Other;
            break;
        }
        info.data_source_type = g->data_source_type;
        info.batch_list_name = g->batch_list_name_val();
        info.excel_col_indx = g->excel_col_indx;
        out.append(info);
    }
    return out;
}

bool BatchFillSnapshot::bindsData() const
{
    const auto bound = [](const GraphicList &side) { return sideUses(side, 1) || sideUses(side, 2); };
    return bound(m_design.front) || (backTakesPart() && bound(m_design.back));
}

bool BatchFillSnapshot::sideUses(const GraphicList &graphics, int dataSourceType)
{
    return BatchRowCounter::Check_Side_Uses(describe(graphics), dataSourceType);
}

BatchCounts BatchFillSnapshot::counts() const
{
    BatchCounts c;
    c.Use_Data_Sheet_Values = Use_Data_Sheet_Values;
    c.Use_Excel_Binding_Values = Use_Excel_Binding_Values;
    c.Data_table_rows = Data_table_rows;
    c.Excel_table_rows = Excel_table_rows;
    c.Total_Batch_Excel_Card = Total_Batch_Excel_Card;
    return c;
}

void BatchFillSnapshot::setCounts(const BatchCounts &c)
{
    Use_Data_Sheet_Values = c.Use_Data_Sheet_Values;
    Use_Excel_Binding_Values = c.Use_Excel_Binding_Values;
    Data_table_rows = c.Data_table_rows;
    Excel_table_rows = c.Excel_table_rows;
    Total_Batch_Excel_Card = c.Total_Batch_Excel_Card;
}

SeriesLoader BatchFillSnapshot::loader()
{
    return [this](const QString &name) {
        QString problem, replaced;
        std::optional<QStringList> rows =
            SeriesFiles::readRows(m_design.dataFolder, name, &problem, &replaced);
        // Both sides may bind the same series: say it once.
        auto note = [](QStringList &list, const QString &text) {
            if (!text.isEmpty() && !list.contains(text))
                list << text;
        };
        if (!rows && problem.isEmpty())
            note(m_warnings, QStringLiteral("The series \"%1\" was not found.").arg(name));
        note(m_warnings, replaced);
        // A series that is there but cannot be read must not turn the batch into one plain card.
        note(m_unreadableSeries, problem);
        return rows;
    };
}

void BatchFillSnapshot::Check_Series_Or_Excel_Use_or_not()
{
    m_warnings.clear();
    m_unreadableSeries.clear();
    setCounts(BatchRowCounter::Check_Series_Or_Excel_Use_or_not(m_series, describe(m_design.front),
                                                                describe(m_design.back), backTakesPart(),
                                                                int(m_design.excelRows.size()), loader()));
}

void BatchFillSnapshot::Check_Data_Sheet_Value_Use_or_Not()
{
    BatchCounts c = counts();
    BatchRowCounter::Check_Data_Sheet_Value_Use_or_Not(c, m_series, describe(m_design.front),
                                                       describe(m_design.back), backTakesPart(), loader());
    setCounts(c);
}

void BatchFillSnapshot::Check_Excel_Binding_Value_Use_or_Not()
{
    BatchCounts c = counts();
    BatchRowCounter::Check_Excel_Binding_Value_Use_or_Not(c, describe(m_design.front),
                                                          describe(m_design.back), backTakesPart(),
                                                          int(m_design.excelRows.size()));
    setCounts(c);
}

void BatchFillSnapshot::Get_total_Card_count()
{
    BatchCounts c = counts();
    BatchRowCounter::Get_total_Card_count(c, m_series, int(m_design.excelRows.size()));
    setCounts(c);
}

QString BatchFillSnapshot::Get_sel_row_col_value_of_dataset(int row, const QString &seriesName) const
{
    return m_series.Get_sel_row_col_value_of_dataset(row, seriesName);
}

QString BatchFillSnapshot::Get_sel_row_col_value_of_Excel(int row, int col) const
{
    if (row < 0 || row >= Excel_table_rows || row >= m_design.excelRows.size() || col < 0)
        return QString();
    const ExcelRow &record = m_design.excelRows.at(row);
    const QString key =
        col == 0 ? ExcelBindingTable::rowNumberKey() : ExcelBindingTable::columnIdentifier(col);
    return record.value(key);
}
