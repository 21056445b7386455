// One date or time format code of a workbook's cell styles, taken apart once and applied to many
// cells: 44930 under "yyyy-mm-dd" reads 2023-01-04 as the spreadsheet shows it.
#pragma once

#include <QString>

#include <memory>
#include <string>
#include <vector>

class XlsxDateFormat
{
public:
    // Null when the code shows no date or time: no d, m, y, h or s outside quotes, escapes and
    // brackets (other than the elapsed [h], [m], [s]).
    static std::unique_ptr<XlsxDateFormat> parse(QStringView code);

    // The serial number (days since the epoch, the fraction the time of day) as the format shows
    // it; "" when it cannot be a date (negative, past 9999-12-31, or not a number).
    std::string format(double serial, bool date1904) const;

private:
    enum class Kind {
        Literal,
        Year2,
        Year4,
        Month,
        MonthName,
        Day,
        DayName,
        Hour,
        Minute,
        Second,
        Fraction,
        AmPm,
        ElapsedHours,
        ElapsedMinutes,
        ElapsedSeconds
    };
    struct Part {
        Kind kind;
        int width = 1;    // digits, or 3 short name, 4 full name, 5 first letter
        std::string text; // Literal: the text; AmPm: "AM/PM", "am/pm", "A/P" or "a/p"
    };
    class Parser;
    std::vector<Part> m_parts;
    int m_fractionDigits = 0;
    bool m_twelveHour = false;
};
