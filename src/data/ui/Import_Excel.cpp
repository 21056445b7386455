#include "data/ui/Import_Excel.h"

#include "data/ExcelBindingTable.h"
#include "data/SeriesFiles.h"
#include "data/ui/BatchWizard.h"
#include "foundation/StringUtils.h"

#include <QCheckBox>

Import_Excel::Import_Excel(BatchWizard *manager, QWidget *parent, ExcelBindingTable *table)
    : ImportExcelBase(QStringLiteral("Import_Excel"), QStringLiteral("Import from Excel"),
                      {QStringLiteral("State"), QStringLiteral("Extension")},
                      {QStringLiteral(""), QStringLiteral("Column")}, parent),
      m_manager(manager), m_table(table ? table : &ExcelBindingTable::defaultInstance())
{
}

bool Import_Excel::takeColumns(const QString &path)
{
    return open_mode == QLatin1String("D") ? Insert_file_Func(path) : Create_Excel_List_Func(path);
}

bool Import_Excel::Insert_file_Func(const QString &path)
{
    if (!readRows(path, XlsxReader::corruptMessage()))
        return false;
    const XlsxTable &rows = excel_content.rows;
    const int width = std::min(rows.columnCount(), ListData_xl->count());
    for (qsizetype r = firstDataRow(); r < rows.size(); ++r) {
        for (int j = 0; j < width; ++j) {
            if (ListData_xl->isChecked(j) && m_manager)
                m_manager->Create_Value_List(SeriesFiles::oneLine(rows.text(r, j)));
        }
    }
    return true;
}

bool Import_Excel::Create_Excel_List_Func(const QString &path)
{
    if (!readRows(path, XlsxReader::corruptMessage()))
        return false;
    const XlsxTable &rows = excel_content.rows;
    const int width = std::min(rows.columnCount(), ListData_xl->count());
    QList<int> ticked;
    for (int j = 0; j < width; ++j) {
        if (ListData_xl->isChecked(j))
            ticked.append(j);
    }
    // The first row names the columns whether or not it is also taken as data.
    QStringList titles;
    for (int j : ticked)
        titles.append(Trim_Str(rows.text(0, j)));

    ExcelBindingTable built;
    for (qsizetype r = firstDataRow(); r < rows.size(); ++r) {
        QStringList cells;
        cells.reserve(ticked.size());
        for (int j : ticked)
            cells.append(rows.text(r, j));
        built.Create_List_By_Array(cells, int(cells.size()));
    }
    m_table->setColumnTitles(titles);
    m_table->setListData(built.ListData());
    return true;
}
