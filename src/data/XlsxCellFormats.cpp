#include "XlsxCellFormats.h"

#include "XlsxXmlScanner.h"

#include <charconv>
#include <cmath>

namespace
{

struct BuiltInFormatCode {
    int id;
    const char *code;
};

constexpr BuiltInFormatCode kBuiltInDateCodes[] = {
    {14, "m/d/yyyy"},      {15, "d-mmm-yy"},      {16, "d-mmm"},     {17, "mmm-yy"},
    {18, "h:mm AM/PM"},    {19, "h:mm:ss AM/PM"}, {20, "h:mm"},      {21, "h:mm:ss"},
    {22, "m/d/yyyy h:mm"}, {45, "mm:ss"},         {46, "[h]:mm:ss"}, {47, "mm:ss.0"},
};

constexpr BuiltInFormatCode kBuiltInNumberCodes[] = {
    {1, "0"},
    {2, "0.00"},
    {3, "#,##0"},
    {4, "#,##0.00"},
    {9, "0%"},
    {10, "0.00%"},
    {11, "0.00E+00"},
    {37, "#,##0 ;(#,##0)"},
    {38, "#,##0 ;[Red](#,##0)"},
    {39, "#,##0.00;(#,##0.00)"},
    {40, "#,##0.00;[Red](#,##0.00)"},
};

template <size_t N> QString builtInCodeOf(const BuiltInFormatCode (&codes)[N], int numFmtId)
{
    for (const BuiltInFormatCode &c : codes) {
        if (c.id == numFmtId)
            return QString::fromLatin1(c.code);
    }
    return {};
}

} // namespace

QString XlsxCellFormats::builtInDateCode(int numFmtId)
{
    return builtInCodeOf(kBuiltInDateCodes, numFmtId);
}

QString XlsxCellFormats::builtInNumberCode(int numFmtId)
{
    return builtInCodeOf(kBuiltInNumberCodes, numFmtId);
}

const XlsxCellFormats::CellFormat *XlsxCellFormats::formatOfId(int numFmtId)
{
    const auto found = m_byId.constFind(numFmtId);
    if (found != m_byId.constEnd())
        return found->get();
    // A code the workbook declares wins over the built-in one of the same id.
    QString code = m_codes.value(numFmtId);
    if (!m_codes.contains(numFmtId)) {
        code = builtInDateCode(numFmtId);
        if (code.isEmpty())
            code = builtInNumberCode(numFmtId);
    }
    std::shared_ptr<CellFormat> f;
    if (!code.isEmpty()) {
        auto date = XlsxDateFormat::parse(code);
        auto number = date ? nullptr : XlsxNumberFormat::parse(code);
        if (date || number)
            f = std::make_shared<CellFormat>(CellFormat{std::move(date), std::move(number)});
    }
    m_byId.insert(numFmtId, f);
    return f.get();
}

bool XlsxCellFormats::read(XlsxXmlScanner &xml)
{
    using Token = XlsxXmlScanner::Token;
    bool inCellXfs = false;
    int xfDepth = 0;
    std::string value;
    for (Token t = xml.next(); t != Token::EndOfDocument; t = xml.next()) {
        if (t == Token::Invalid)
            return false;
        if (xml.name() == "cellXfs") {
            inCellXfs = t == Token::StartElement;
            xfDepth = xml.depth() + 1;
            continue;
        }
        if (t != Token::StartElement)
            continue;
        if (xml.name() == "numFmt" && m_codes.size() < MaxStyles) {
            int id = -1;
            if (xml.attribute("numFmtId", &value))
                std::from_chars(value.data(), value.data() + value.size(), id);
            if (id >= 0 && xml.attribute("formatCode", &value))
                m_codes.insert(id, QString::fromStdString(value));
        } else if (inCellXfs && xml.name() == "xf" && xml.depth() == xfDepth) {
            if (m_styles.size() >= size_t(MaxStyles))
                return false;
            int id = 0;
            if (xml.attribute("numFmtId", &value))
                std::from_chars(value.data(), value.data() + value.size(), id);
            m_styles.push_back(formatOfId(id));
        }
    }
    return true;
}

const XlsxCellFormats::CellFormat *XlsxCellFormats::styleFormat(int style) const
{
    return style >= 0 && size_t(style) < m_styles.size() ? m_styles[size_t(style)] : nullptr;
}

const XlsxDateFormat *XlsxCellFormats::dateFormat(int style) const
{
    const CellFormat *f = styleFormat(style);
    return f ? f->date.get() : nullptr;
}

bool XlsxCellFormats::formatCell(int style, std::string_view stored, std::string *out) const
{
    while (!stored.empty() && (stored.front() == ' ' || stored.front() == '+'))
        stored.remove_prefix(1);
    while (!stored.empty() && stored.back() == ' ')
        stored.remove_suffix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
    if (ec != std::errc() || end != stored.data() + stored.size() || !std::isfinite(value))
        return false;
    const CellFormat *f = styleFormat(style);
    std::string shown;
    if (f && f->number) {
        shown = f->number->format(value); // may be "": an empty section shows nothing
    } else {
        if (f && f->date)
            shown = f->date->format(value, m_date1904); // "" out of the calendar: General then
        if (shown.empty())
            shown = XlsxNumberFormat::general(value);
    }
    *out = std::move(shown);
    return true;
}
