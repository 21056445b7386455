// The formats of a workbook's cell styles, so that a cell reads as the spreadsheet shows it: a
// date (2023-01-04 under yyyy-mm-dd, not its serial 44930), a number under its format (1,234.50
// under #,##0.00) or in the General form (99.9, not 99.90000000000001), a text under its style's
// text section.
#pragma once

#include "XlsxDateFormat.h"
#include "XlsxNumberFormat.h"
#include "XlsxTextFormat.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class XlsxXmlScanner;

class XlsxCellFormats
{
public:
    // Built-in format codes as a spreadsheet in English shows them, for the date and time ids.
    static QString builtInDateCode(int numFmtId);
    // Built-in number and text format codes: ids 1-13 and 37-44, 48 and 49.
    static QString builtInNumberCode(int numFmtId);

    // Reads the styles part: the custom formats and, per cell style (xf of cellXfs), its number
    // format. False when the part is damaged.
    bool read(XlsxXmlScanner &xml);
    void setDate1904(bool on) { m_date1904 = on; }
    bool date1904() const { return m_date1904; }

    // The date format of a cell style, or null when its cells are plain numbers.
    const XlsxDateFormat *dateFormat(int style) const;
    // A number cell's text under its style (General for a style without a format, or none read):
    // the date or number as shown. Returns false (text untouched) when the stored text is no
    // number.
    bool formatCell(int style, std::string_view stored, std::string *out) const;
    // A date cell stored as ISO 8601 text (2023-01-04, 2023-01-04T15:07:09, 15:07:09, with a Z
    // or an offset from UTC, which is taken away) under its style: the date as its date format
    // shows it, or its serial number under a number format or General. Returns false (text
    // untouched) when the stored text is no such date or time.
    bool formatIsoDate(int style, std::string_view stored, std::string *out) const;
    // The text section text cells of a style show under, or null when they show as stored.
    const XlsxTextFormat *textFormat(int style) const;

    static constexpr int MaxStyles = 1 << 20;
    // Spreadsheets write codes of up to 255 characters; a longer one, which could take much
    // memory to take apart, is read as General.
    static constexpr qsizetype LongestCode = 2048;

private:
    struct CellFormat {
        std::unique_ptr<XlsxDateFormat> date;
        std::unique_ptr<XlsxNumberFormat> number;
        std::unique_ptr<XlsxTextFormat> text;
    };
    const CellFormat *formatOfId(int numFmtId);
    const CellFormat *styleFormat(int style) const;
    std::string formatValue(const CellFormat *f, double value) const;
    struct IsoMoment {
        QDate date; // invalid for a time alone
        qint64 msOfDay = 0;
    };
    static bool readIsoMoment(std::string_view stored, IsoMoment *m);

    QHash<int, QString> m_codes; // custom codes by id
    std::vector<const CellFormat *> m_styles;
    QHash<int, std::shared_ptr<CellFormat>> m_byId; // null entries: General
    bool m_date1904 = false;
};
