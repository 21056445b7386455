#include "XlsxSheetReader.h"

#include "XlsxCellFormats.h"
#include "XlsxText.h"
#include "XlsxXmlScanner.h"

#include <algorithm>
#include <cctype>

namespace
{

using Token = XlsxXmlScanner::Token;

std::string_view trimmed(std::string_view s)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!s.empty() && space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && space(s.back()))
        s.remove_suffix(1);
    return s;
}

// A shared-string index as written in <v>: an optionally signed decimal; -1 when it is none.
int64_t indexOf(std::string_view v)
{
    v = trimmed(v);
    bool negative = false;
    if (!v.empty() && (v.front() == '+' || v.front() == '-')) {
        negative = v.front() == '-';
        v.remove_prefix(1);
    }
    if (v.empty() || v.size() > 18)
        return -1;
    int64_t i = 0;
    for (const char c : v) {
        if (c < '0' || c > '9')
            return -1;
        i = i * 10 + (c - '0');
    }
    return negative ? (i == 0 ? 0 : -1) : i;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::tolower(x) == y; });
}

// The text of a boolean cell as a spreadsheet shows it: "1" and "true" give "TRUE", "0" and
// "false" give "FALSE", others themselves.
std::string_view booleanText(std::string_view v)
{
    v = trimmed(v);
    if (v == "1" || equalsNoCase(v, "true"))
        return "TRUE";
    if (v == "0" || equalsNoCase(v, "false"))
        return "FALSE";
    return v;
}

// Without the workbook's styles every number reads in the General form.
const XlsxCellFormats &generalOnly()
{
    static const XlsxCellFormats formats;
    return formats;
}

bool mayHoldEscapes(std::string_view s)
{
    return s.find("_x") != std::string_view::npos;
}

} // namespace

XlsxSheetReader::XlsxSheetReader(XlsxXmlScanner &xml, std::shared_ptr<const XlsxStringPool> shared,
                                 const Budget &budget)
    : m_xml(xml), m_shared(std::move(shared)), m_budget(budget), m_table(m_shared)
{
}

XlsxSheetReader::Outcome XlsxSheetReader::scanFailure() const
{
    return m_xml.failure() == XlsxXmlScanner::Failure::TooLarge ? Outcome::TooLarge : Outcome::Corrupt;
}

size_t XlsxSheetReader::textRoom() const
{
    return m_budget.textBytes > m_table.textBytes() ? m_budget.textBytes - m_table.textBytes() : 0;
}

XlsxSheetReader::Outcome XlsxSheetReader::read(bool titleRow)
{
    if (m_xml.next() != Token::StartElement)
        return scanFailure();
    if (m_xml.name() != "worksheet") { // not a worksheet: no rows, if well formed
        if (!m_xml.skipElement())
            return scanFailure();
    } else {
        const Outcome o = readWorksheet(titleRow);
        if (o != Outcome::Ok || m_xml.depth() > 0)
            return o; // stopped early: the rest is not looked at
    }
    return m_xml.next() == Token::EndOfDocument ? Outcome::Ok : scanFailure();
}

XlsxSheetReader::Child XlsxSheetReader::nextChild(std::string_view wanted)
{
    for (;;) {
        const Token t = m_xml.next();
        if (t == Token::EndElement)
            return Child::End;
        if (t != Token::StartElement)
            return Child::Failed;
        if (m_xml.name() == wanted)
            return Child::Start;
        if (!m_xml.skipElement())
            return Child::Failed;
    }
}

XlsxSheetReader::Outcome XlsxSheetReader::readWorksheet(bool titleRow)
{
    for (;;) {
        const Token t = m_xml.next();
        if (t == Token::EndElement)
            return Outcome::Ok;
        if (t != Token::StartElement)
            return scanFailure();
        if (m_xml.name() == "sheetData")
            return readSheetData(titleRow);
        if (m_xml.name() == "dimension" && m_dimensionColumns == 0)
            readDimension();
        if (!m_xml.skipElement())
            return scanFailure();
    }
}

// The column count of the dimension's last cell: "A1:C10" gives 3, "B2:D5" 4, "A1" 1.
void XlsxSheetReader::readDimension()
{
    if (!m_xml.attribute("ref", &m_attr))
        return;
    const size_t colon = m_attr.find(':');
    const std::string_view last = std::string_view(m_attr).substr(colon == std::string::npos ? 0 : colon + 1);
    m_dimensionColumns = XlsxText::columnOfReference(trimmed(last));
}

XlsxSheetReader::Outcome XlsxSheetReader::readSheetData(bool titleRow)
{
    for (;;) {
        const Child child = nextChild("row");
        if (child != Child::Start)
            return child == Child::End ? Outcome::Ok : scanFailure();
        const Outcome o = readRow();
        if (o != Outcome::Ok)
            return o;
        if (titleRow) {
            m_usedColumns = m_table.lastRowWidth();
            return Outcome::Ok;
        }
    }
}

// Rows the file leaves out are empty rows of the sheet, as are rows it writes without values: both
// keep the numbers of the rows after them. A row numbered out of order is taken as the next one.
XlsxSheetReader::Outcome XlsxSheetReader::startRow()
{
    const int64_t number = m_xml.attribute("r", &m_attr) ? indexOf(m_attr) : -1;
    if (number > int64_t(m_budget.rows))
        return Outcome::TooLarge;
    while (m_table.size() < number - 1)
        m_table.appendRow();
    m_table.appendRow();
    m_nextColumn = 1;
    m_rowHasValue = false;
    return Outcome::Ok;
}

XlsxSheetReader::Outcome XlsxSheetReader::readRow()
{
    if (const Outcome o = startRow(); o != Outcome::Ok)
        return o;
    for (;;) {
        const Child child = nextChild("c");
        if (child != Child::Start)
            return child == Child::End ? endRow() : scanFailure();
        Cell cell;
        Outcome o = readCell(&cell);
        if (o == Outcome::Ok)
            o = place(cell);
        if (o != Outcome::Ok)
            return o;
    }
}

XlsxSheetReader::Outcome XlsxSheetReader::endRow()
{
    if (m_rowHasValue)
        m_rowsWithValues = m_table.size();
    if (m_table.size() > m_budget.rows || m_table.cellCount() + m_table.size() > m_budget.cells)
        return Outcome::TooLarge;
    return Outcome::Ok;
}

// A <c>: its column (the next one when it names none we can use), its type, and the texts of its
// <v> and inline string; a formula is only noted, its cached value being the <v>.
XlsxSheetReader::Outcome XlsxSheetReader::readCell(Cell *cell)
{
    cell->column = m_xml.attribute("r", &m_attr) ? XlsxText::columnOfReference(m_attr) : 0;
    if (cell->column == 0)
        cell->column = m_nextColumn;
    if (m_xml.attribute("t", &m_attr)) {
        cell->type = m_attr == "s"   ? CellType::Shared
                     : m_attr == "b" ? CellType::Boolean
                     : m_attr == "n" ? CellType::Number
                     : m_attr == "d" ? CellType::Date
                                     : CellType::Other;
        cell->textResult = m_attr == "str";
    }
    if (m_formats && m_xml.attribute("s", &m_attr))
        cell->style = int(std::clamp<int64_t>(indexOf(m_attr), -1, INT32_MAX));
    m_value.clear();
    m_inline.clear();
    for (;;) {
        const Token t = m_xml.next();
        if (t == Token::EndElement)
            return Outcome::Ok;
        if (t != Token::StartElement)
            return scanFailure();
        if (m_xml.name() == "v") {
            m_value.clear();
            if (!m_xml.readElementText(&m_value, textRoom()))
                return scanFailure();
            cell->hasValue = true;
        } else if (m_xml.name() == "f") {
            cell->formula = true;
            if (!m_xml.skipElement())
                return scanFailure();
        } else if (m_xml.name() == "is") {
            m_inline.clear();
            if (!readStringItem(m_xml, &m_inline, textRoom()))
                return scanFailure();
            cell->hasInline = true;
        } else if (!m_xml.skipElement()) {
            return scanFailure();
        }
    }
}

bool XlsxSheetReader::readStringItem(XlsxXmlScanner &xml, std::string *out, size_t limit)
{
    const int depth = xml.depth(); // the item's own element included
    for (;;) {
        const Token t = xml.next();
        if (t == Token::EndElement) {
            if (xml.depth() < depth)
                return true;
            continue;
        }
        if (t != Token::StartElement)
            return false;
        bool ok = true;
        if (xml.name() == "t")
            ok = xml.readElementText(out, limit);
        else if (xml.name() == "rPh" || xml.name() == "phoneticPr")
            ok = xml.skipElement();
        if (!ok)
            return false;
    }
}

// The text of a cell before its style's text section applies: a shared or inline string, TRUE or
// FALSE, a number or an ISO date as its format shows it, or the value stored. False for a
// shared-string index without an entry.
bool XlsxSheetReader::typedText(const Cell &cell, const XlsxCellFormats &formats, std::string_view *text,
                                bool *escaped)
{
    if (cell.type == CellType::Shared) {
        const int64_t i = indexOf(m_value);
        if (i < 0 || !m_shared || i >= m_shared->size())
            return false;
        m_inline = m_shared->at(qsizetype(i)).toStdString();
        *text = m_inline;
    } else if (cell.hasInline) {
        *text = m_inline;
        *escaped = mayHoldEscapes(*text);
    } else if (cell.type == CellType::Boolean) {
        *text = booleanText(m_value);
    } else if ((cell.type == CellType::Number && formats.formatCell(cell.style, m_value, &m_shown)) ||
               (cell.type == CellType::Date && formats.formatIsoDate(cell.style, m_value, &m_shown))) {
        *text = m_shown;
    } else {
        *text = m_value;
    }
    return true;
}

// A formula with no stored result holds no text that the sheet shows; an empty text result of a
// formula is a result. Writers that cannot work formulas out mark the workbook to be recalculated
// on load and store 0 for a formula given no result (xlsxwriter), so under that mark a number 0
// may be no result; any other stored value is one the writer was given, and is kept.
bool XlsxSheetReader::uncomputed(const Cell &cell) const
{
    const std::string_view value = trimmed(m_value);
    if (!cell.hasValue || (value.empty() && !cell.textResult))
        return true;
    return m_recalculatedOnLoad && cell.type == CellType::Number && value == "0";
}

// Types the cell into its text and puts it in its slot; an empty text leaves the slot as it is.
XlsxSheetReader::Outcome XlsxSheetReader::place(const Cell &cell)
{
    m_nextColumn = cell.column + 1;
    if (cell.column > XlsxText::MaxColumns)
        return Outcome::Ok;
    m_table.widenLastRow(cell.column);
    m_usedColumns = std::max(m_usedColumns, cell.column);
    if (m_table.cellCount() > m_budget.cells)
        return Outcome::TooLarge;
    if (cell.formula && uncomputed(cell)) {
        m_table.markUncomputed(cell.column);
        m_rowHasValue = true;
    }
    const XlsxCellFormats &formats = m_formats ? *m_formats : generalOnly();
    // Texts show under the text section of their style ("Name: "@) when it has one.
    const XlsxTextFormat *textFormat = formats.textFormat(cell.style);
    if (cell.type == CellType::Shared && !textFormat) {
        const int64_t i = indexOf(m_value);
        if (i >= 0 && m_shared && i < m_shared->size() && !m_shared->isEmptyAt(qsizetype(i))) {
            m_table.setShared(cell.column, uint32_t(i));
            m_rowHasValue = true;
        }
        return Outcome::Ok;
    }
    std::string_view text;
    bool escaped = false;
    if (!typedText(cell, formats, &text, &escaped))
        return Outcome::Ok;
    if (textFormat && (cell.type == CellType::Shared || cell.textResult || cell.hasInline)) {
        if (textFormat->shownBytes(text.size()) > textRoom())
            return Outcome::TooLarge; // "@@@@..." would repeat the text beyond the budget
        m_shown = textFormat->format(text);
        text = m_shown;
    }
    if (text.empty())
        return Outcome::Ok;
    if (text.size() > textRoom())
        return Outcome::TooLarge;
    m_table.setText(cell.column, text, escaped);
    m_rowHasValue = true;
    return Outcome::Ok;
}

XlsxSheetReader::Outcome XlsxSheetReader::finish(bool titleRow, XlsxTable *table)
{
    // Empty or only formatted rows at the end are no rows of data.
    if (!titleRow)
        m_table.keepRows(m_rowsWithValues);
    const qsizetype rows = m_table.size();
    int width = std::max(m_dimensionColumns, m_usedColumns);
    if (qint64(width) * rows > m_budget.cells)
        width = m_usedColumns; // a dimension far beyond the cells is not worth the memory
    if (qint64(width) * rows > m_budget.cells)
        return Outcome::TooLarge;
    m_table.setColumnCount(width);
    if (!titleRow || rows == 0) {
        *table = m_table;
        return Outcome::Ok;
    }
    XlsxTable titles(m_shared);
    titles.appendRow();
    for (int c = 0; c < width; ++c) {
        QString text = m_table.text(0, c);
        if (text.isEmpty())
            text = QStringLiteral("Untitled Column %1").arg(c + 1);
        titles.setText(c + 1, text.toUtf8().toStdString(), false);
    }
    titles.setColumnCount(width);
    *table = titles;
    return Outcome::Ok;
}
