// Reads the rows of one worksheet part into a compact table: each cell parsed, typed into the text
// it gives and placed in its column, rows counted against the budgets, and the width settled.
#pragma once

#include "XlsxTable.h"

#include <memory>
#include <string>
#include <string_view>

class XlsxCellFormats;
class XlsxXmlScanner;

class XlsxSheetReader
{
public:
    enum class Outcome { Ok, Corrupt, TooLarge };
    struct Budget {
        qint64 cells;     // cells kept, padding of short rows included
        size_t textBytes; // UTF-8 bytes of the sheet's own texts (shared strings not counted)
        qsizetype rows;   // row elements
    };

    XlsxSheetReader(XlsxXmlScanner &xml, std::shared_ptr<const XlsxStringPool> shared, const Budget &budget);

    // The workbook's cell styles: number, date and text cells are kept as the spreadsheet shows
    // them under their style. Without them every number is kept in the General form.
    void setCellFormats(std::shared_ptr<const XlsxCellFormats> formats) { m_formats = std::move(formats); }

    // A workbook marked to be recalculated when it is opened: a 0 its formulas hold may stand for
    // no result.
    void setRecalculatedOnLoad(bool recalculated) { m_recalculatedOnLoad = recalculated; }

    // All rows, or only the first row element when titleRow is set. Reading stops at the end of
    // the cells; what follows them is not looked at.
    Outcome read(bool titleRow);
    // After a successful read: the table, every row as wide as the widest of the dimension and the
    // cells (the dimension is dropped when it would pass the cell budget), up to the last row that
    // holds a value or a formula; titles get their defaults "Untitled Column %d" in empty slots.
    Outcome finish(bool titleRow, XlsxTable *table);

    // Right after the start of a string item (<si> or <is>): appends the text of its <t> and of
    // the <t> of its runs, phonetic runs left out, and reads through its end.
    static bool readStringItem(XlsxXmlScanner &xml, std::string *out, size_t limit);

private:
    // Date: ISO 8601 text; Other: formula strings, errors, inline
    enum class CellType { Shared, Boolean, Number, Date, Other };
    struct Cell {
        int column = 0;
        CellType type = CellType::Number; // a cell without a type holds a number
        bool hasInline = false;
        int style = 0; // the s attribute: an index into the cell styles
        bool formula = false;
        bool hasValue = false;   // a <v>, even an empty one
        bool textResult = false; // t="str": a formula's text, which may be empty
    };

    enum class Child { Start, End, Failed };

    bool uncomputed(const Cell &cell) const;

    Outcome scanFailure() const;
    // The next child of the element being read named wanted, other children passed over; End
    // when the element ends.
    Child nextChild(std::string_view wanted);
    Outcome readWorksheet(bool titleRow);
    Outcome readSheetData(bool titleRow);
    void readDimension();
    Outcome startRow();
    Outcome readRow();
    Outcome readCell(Cell *cell);
    bool typedText(const Cell &cell, const XlsxCellFormats &formats, std::string_view *text, bool *escaped);
    Outcome place(const Cell &cell);
    Outcome endRow();
    size_t textRoom() const;

    XlsxXmlScanner &m_xml;
    std::shared_ptr<const XlsxStringPool> m_shared;
    std::shared_ptr<const XlsxCellFormats> m_formats;
    Budget m_budget;
    XlsxTable m_table;
    int m_dimensionColumns = 0;
    int m_usedColumns = 0;
    int m_nextColumn = 1;
    bool m_recalculatedOnLoad = false;
    bool m_rowHasValue = false;
    qsizetype m_rowsWithValues = 0; // rows up to the last one holding a value or a formula
    std::string m_attr;             // scratch: an attribute value
    std::string m_value;            // scratch: the cell's <v>
    std::string m_inline;           // scratch: the cell's inline string
    std::string m_shown;            // scratch: a number cell as its format shows it
};
