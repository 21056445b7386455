// One number format code of a workbook's cell styles, taken apart once and applied to many cells,
// so that 0.5 under "0.00%" reads "50.00%" as the spreadsheet shows it; and the General form.
#pragma once

#include <QString>

#include <memory>
#include <string>
#include <vector>

class XlsxNumberFormat
{
public:
    // Null when the code is General or holds what this reader does not show (text "@", fractions,
    // conditions, a General section): such cells read in their General form.
    static std::unique_ptr<XlsxNumberFormat> parse(QStringView code);

    // A number as a General cell shows it: at most 15 significant digits, no trailing zeros, and
    // as 1.5E+20 or 1E-05 when more than 15 integer digits or four leading zeros would show.
    static std::string general(double value);

    // The number under the section for its sign: positive (and zero with fewer than three
    // sections), negative (without its minus sign when the code has a section for it), zero.
    std::string format(double value) const;

private:
    enum class Kind { Literal, Digit, Point, Exponent };
    struct Token {
        Kind kind;
        char placeholder = 0; // Digit: '0', '#' or '?'
        std::string text;     // Literal
    };
    struct Section {
        std::vector<Token> tokens;
        int integerDigits = 0;  // placeholders before the point
        int fractionDigits = 0; // placeholders after it
        int exponentZeros = 0;  // '0' placeholders of the exponent
        int scale = 0;          // thousands divided away by trailing commas
        int percent = 0;        // each % multiplies by 100
        bool grouping = false;  // a comma between integer placeholders
        bool engineering = false;
        bool scientific = false;
        bool exponentPlus = false;
    };
    struct Digits;
    class Parser;

    static int mantissa(const Section &s, Digits *d);
    static std::string shownFraction(const Section &s, const std::string &fraction);
    static std::string formatSection(const Section &s, double magnitude, bool minus);

    std::vector<Section> m_sections;
};
