#include "editor/ColumnFollowing.h"

#include "data/ColumnBinding.h"
#include "data/ExcelBindingTable.h"
#include "foundation/CardCodes.h"

int ColumnFollowing::follow(const QList<GraphicList> &sides, const ExcelBindingTable &table)
{
    const QStringList titles = table.columnTitles();
    int missing = 0;
    for (const GraphicList &side : sides) {
        for (const GraphicPtr &g : side) {
            if (!g || g->data_source_type != DataSourceCode::BindingColumn || !g->excel_col_title)
                continue;
            const int column = ColumnBinding::resolve(titles, g->excel_col_indx, g->excel_col_title);
            if (column == ColumnBinding::Missing)
                ++missing;
            else
                g->excel_col_indx = column;
        }
    }
    return missing;
}
