#include "data/ui/Import_Excel.h"

#include "data/ColumnBinding.h"
#include "data/ExcelBindingTable.h"
#include "data/SeriesFiles.h"
#include "data/ui/BatchWizard.h"

#include <QComboBox>

Import_Excel::Import_Excel(BatchWizard *manager, QWidget *parent, ExcelBindingTable *table)
    : ImportExcelBase(QStringLiteral("Import_Excel"), QStringLiteral("Import from Excel"),
                      {QStringLiteral("State"), QStringLiteral("Extension")},
                      {QStringLiteral(""), QStringLiteral("Column")}, parent),
      m_manager(manager), m_table(table ? table : &m_ownTable)
{
}

bool Import_Excel::takeColumns(const QString &path)
{
    return open_mode == QLatin1String("D") ? Insert_file_Func(path) : Create_Excel_List_Func(path);
}

bool Import_Excel::Insert_file_Func(const QString &path)
{
    if (!readRows(path, XlsxReader::corruptMessage()) || refusesUncomputed())
        return false;
    if (!m_manager)
        return true;
    QStringList cells = ColumnBinding::cellsRowByRow(excel_content.rows, tickedColumns(), firstDataRow());
    for (QString &cell : cells)
        cell = SeriesFiles::oneLine(cell);
    m_manager->addValues(std::move(cells));
    return true;
}

bool Import_Excel::Create_Excel_List_Func(const QString &path)
{
    WorkbookFacts facts;
    if (!readRows(path, XlsxReader::corruptMessage(), &facts))
        return false;
    const QList<int> columns = tickedColumns();
    ExcelBindingTable built = ColumnBinding::tableOf(excel_content.rows, columns, firstDataRow());
    // Kept so that a changed workbook is noticed and its rows can be read again the same way.
    facts.sheet = Sheet_ComboBox->currentText();
    facts.firstRow = firstDataRow();
    facts.columns = columns;
    built.sourceFacts = facts;
    m_table->takeRowsOf(built);
    return true;
}
