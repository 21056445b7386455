// The Excel binding table: the rows that objects bound to a workbook column take their values
// from, its column titles, and the binding flag, workbook path and file facts kept beside it. A
// value: the design (model/CardDesign.h) holds the one a design binds; a run plan holds a copy.
#pragma once

#include "data/BindingRows.h"
#include "data/UncomputedFormulas.h"
#include "data/WorkbookFacts.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class ExcelBindingTable
{
public:
    // A row: "Extension" maps to the row number (from 1), "Column%d" (from 1) to the cell texts.
    using Row = BindingRows::Row;

    ExcelBindingTable();

    void reset(); // empty table, no binding

    static QString rowNumberKey() { return QStringLiteral("Extension"); }
    static QString columnIdentifier(int k) { return QStringLiteral("Column%1").arg(k); }
    static QString rowNumberTitle() { return QStringLiteral("Row"); }

    // Rows, held compactly (data/BindingRows.h); ListData makes a map of every row, for small tables.
    const BindingRows &rows() const { return m_rows; }
    QList<Row> ListData() const;
    Row row(int k) const { return m_rows.row(k); }
    // Replaces the rows, forgetting where the old ones came from.
    void setListData(const QList<Row> &rows);
    void setRows(const BindingRows &rows);
    int rowCount() const { return int(m_rows.size()); }
    // Gives back the room kept for rows to come, once a table has been read whole.
    void squeeze() { m_rows.squeeze(); }
    // Appends a row of the first count texts, trimmed; a count beyond the texts adds nothing.
    bool Create_List_By_Array(const QStringList &texts, int count);
    // Appends a row holding only its trimmed text as row number; empty text adds nothing.
    void Create_Value_List(const QString &text);
    // An edit in the viewer: the value under the column's identifier; refused outside the table. A
    // changed cell no longer counts as a formula the workbook never computed.
    bool setObjectValue(const QString &value, int column, int row);
    // The value shown at (row, column): column 0 is the row number.
    QString objectValue(int column, int row) const;
    // Index 0 the row number, n the cell of Column n, of the first row; "" with no row.
    QString Get_First_Value_Of_Excel_Binding(int index) const;

    // Columns: position 0 is the row-number column, which is never removed.
    QStringList columnTitles() const; // header titles in column order, the row-number column first
    int columnCount() const { return int(m_titles.size()) + 1; }
    // Keeps the row-number column and adds one column per title, identifiers Column1, Column2, ...
    void setColumnTitles(const QStringList &titlesAfterFirst);

    // Where rows read from a workbook came from: each row's number as the sheet shows it beside
    // the row (0 when not known: rows kept in a design file or added one by one), and the cells
    // (row from 0, column as objectValue counts it) that hold a formula the workbook never computed.
    int sheetRowOf(int row) const { return m_sheetRows.value(row); }
    const QList<int> &sheetRows() const { return m_sheetRows; }
    const UncomputedFormulas &uncomputedFormulas() const { return m_uncomputed; }
    void setWorkbookOrigin(const QList<int> &sheetRows, const UncomputedFormulas &uncomputed);
    // Takes the titles, rows, their origin and the workbook's facts of a table read from a
    // workbook; the binding flag and path stay as they are.
    void takeRowsOf(const ExcelBindingTable &read);

    // Binding state kept beside the table.
    bool Excel_Binding_Use = false;
    QString Excel_Source_Path;
    // The workbook at Excel_Source_Path as it was when the rows were read; unknown for rows
    // that came from a design saved without them.
    WorkbookFacts sourceFacts;

private:
    BindingRows m_rows;
    QStringList m_titles; // titles of columns 1..N
    QList<int> m_sheetRows;
    UncomputedFormulas m_uncomputed;
};
