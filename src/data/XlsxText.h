// Text rules shared by the workbook reader and writer: A1 column letters, the _xHHHH_ escapes of
// SpreadsheetML text, and which values are stored as numbers.
#pragma once

#include <QString>
#include <QStringView>

#include <string_view>

class XlsxText
{
public:
    static constexpr int MaxColumns = 16384; // column XFD

    // Column number from 1 to its letters: 1 A, 26 Z, 27 AA, 703 AAA; "" for n < 1.
    static QString ColumnIndexToName(int n);
    // Letters at the start of a cell reference ("$" allowed) to a column number from 1; 0 when
    // there are none or the column lies beyond XFD.
    static int columnOfReference(QStringView ref);
    static int columnOfReference(std::string_view ref);

    // Text as a workbook stores it: _xHHHH_ escapes resolved.
    static QString unescape(const QString &stored);
    // Text made safe for a part: characters XML cannot carry become _xHHHH_, and a literal
    // _xHHHH_ is protected as _x005F_xHHHH_.
    static QString escape(const QString &text);

    // True for a plain decimal without superfluous zeros and of at most 15 digits, which a
    // spreadsheet gives back unchanged; everything else is stored as text.
    static bool isPlainNumber(const QString &text);
};
