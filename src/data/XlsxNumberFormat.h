// One number format code of a workbook's cell styles, taken apart once and applied to many cells,
// so that 0.5 under "0.00%" reads "50.00%" and 1.5 under "# ?/?" reads "1 1/2" as the spreadsheet
// shows them; and the General form.
#pragma once

#include "XlsxNumerals.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

class XlsxNumberFormat
{
public:
    // Null when numbers read in their General form under the code: General alone, a code of a
    // text section only, or one this reader cannot take apart (a fraction with decimals).
    static std::unique_ptr<XlsxNumberFormat> parse(QStringView code);

    // A number as a General cell shows it: at most 15 significant digits, no trailing zeros, and
    // as 1.5E+20 or 1E-05 when more than 15 integer digits or four leading zeros would show.
    static std::string general(double value);

    // The number under the section its sign, or the conditions of the code, choose: with
    // sections for positive, negative and zero numbers the negative one shows no minus sign of
    // its own; a value no condition takes reads in the General form. A negative number shown
    // as zero ("-0.0001" under "0.00") shows no minus sign either. The digits are in the
    // numerals the code's locale tag and [DBNum] ask for.
    std::string format(double value) const;

private:
    std::string formatWestern(double value) const;
    enum class Kind { Literal, Digit, Point, Exponent, General, Numerator, Denominator };
    struct Token {
        Kind kind;
        char placeholder = 0; // Digit, Numerator, Denominator: '0', '#' or '?'
        std::string text;     // Literal; Denominator: the digits of a fixed denominator
    };
    struct Condition {
        enum class Op { None, Less, LessEqual, Greater, GreaterEqual, Equal, NotEqual };
        Op op = Op::None;
        double value = 0;
        bool holds(double v) const;
    };
    struct Section {
        std::vector<Token> tokens;
        Condition condition;
        int integerDigits = 0;       // placeholders before the point, or of a fraction's whole part
        int fractionDigits = 0;      // placeholders after the point
        int exponentZeros = 0;       // '0' placeholders of the exponent
        int denominatorDigits = 0;   // placeholders of a fraction's denominator
        double fixedDenominator = 0; // "?/16": the denominator written out
        int scale = 0;               // thousands divided away by trailing commas
        int percent = 0;             // each % multiplies by 100
        bool grouping = false;       // a comma between integer placeholders
        bool engineering = false;
        bool scientific = false;
        bool exponentPlus = false;
        bool fraction = false;
        // A fraction's tokens: its whole part ends before wholeEnd, its numerator starts at
        // numeratorStart, its denominator ends at denominatorEnd.
        size_t wholeEnd = 0, numeratorStart = 0, denominatorEnd = 0;
        int numeratorDigits = 0;
        char numeratorShows = '#'; // '0' when a place of the numerator is 0, else '?' when one is ?
        bool showsNumber = false;  // has a placeholder or General: a minus sign may show
        bool negative = false;     // only negative numbers reach it: it shows no minus sign
    };
    struct Digits;
    class Parser;

    void settleSigns();
    bool reaches(size_t k, double value) const;
    const Section *sectionFor(double value) const;
    static int mantissa(const Section &s, Digits *d);
    static std::string shownFraction(const Section &s, const std::string &fraction);
    static std::string formatSection(const Section &s, double magnitude, bool minus);
    static void fractionOf(const Section &s, double magnitude, double *whole, double *n, double *d);
    static std::string formatFraction(const Section &s, double magnitude, bool minus);

    std::vector<Section> m_sections;                // the sections for numbers; a text section is left out
    std::shared_ptr<const XlsxNumerals> m_numerals; // null: Western digits
    bool m_conditional = false;
};
