// Number cells read as the spreadsheet shows them: format codes and the General form applied to
// stored numbers (a table of what a spreadsheet shows), and workbooks written the way Gnumeric,
// xlsxwriter and openpyxl write them.
#include "DataTestUtil.h"

#include "data/XlsxCellFormats.h"
#include "data/XlsxNumberFormat.h"

#include <gtest/gtest.h>

using namespace datatest;

TEST(XlsxNumbers, GeneralKeepsFifteenSignificantDigitsInTheShortestForm)
{
    const std::pair<double, const char *> cases[] = {
        {99.9000000000000000014, "99.9"},
        {99.90000000000001, "99.9"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {-2.0 / 3, "-0.666666666666667"},
        {1e20, "1E+20"},
        {1.5e20, "1.5E+20"},
        {123456789012345, "123456789012345"},
        {1234567890123456, "1.23456789012346E+15"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {-1.5e-7, "-1.5E-07"},
        {44930, "44930"},
        {0, "0"},
        {-0.0, "0"},
    };
    for (const auto &[value, shown] : cases)
        EXPECT_EQ(XlsxNumberFormat::general(value), shown) << value;
}

TEST(XlsxNumbers, FormatCodesShowTheNumberAsASpreadsheetDoes)
{
    struct Case {
        const char *code;
        double value;
        const char *shown;
    };
    const Case cases[] = {
        // Rounding is on the 15 digits kept, half away from zero: 2.675 is 2.67499... in binary.
        {"0.00", 2.675, "2.68"},
        {"0", -0.5, "-1"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0", 0, "0"},
        {"0,000", 5, "0,005"},
        {"0%", 0.5, "50%"},
        {"0.00%", 0.12345, "12.35%"},
        {"0.00E+00", 12345, "1.23E+04"},
        {"0.00E+00", 0.000123, "1.23E-04"},
        {"0.00E+00", 9.999, "1.00E+01"},
        {"0.0E-0", 12345, "1.2E4"},
        {"##0.0E+0", 12345, "12.3E+3"},
        {"#,##0,\"K\"", 12345, "12K"},
        {"0.0#", 1.5, "1.5"},
        {"0.0#", 1.25, "1.25"},
        {"0.0?", 1.5, "1.5 "},
        {"#.##", 0.5, ".5"},
        {"(000) 000-0000", 5551234567, "(555) 123-4567"},
        {"0\\ \"days\"", 12, "12 days"},
        {"$#,##0.00", -5, "-$5.00"},
        {"\"£\"#,##0.00;-\"£\"#,##0.00", -3.5, "-£3.50"},
        {"[$€-407] #,##0.00", 5, "€ 5.00"},
        {"#,##0.00 [$€-407];[Red]-#,##0.00 [$€-407]", -1234.5, "-1,234.50 €"},
        {"[$USD-409]#,##0", 7, "USD7"},
        {"#,##0 ;(#,##0)", 1234, "1,234 "},
        {"#,##0 ;(#,##0)", -1234, "(1,234)"},
        {"0.00_);[Red](0.00)", -3, "(3.00)"},
        {"0.00;(0.00);\"none\"", 0, "none"},
        {"0;0", -4, "4"},
        {"0;;", 0, ""},
        {"0;;;@", -4, ""},
        {"[Blue]0.0*-", 2, "2.0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        const auto f = XlsxNumberFormat::parse(QString::fromUtf8(c.code));
        ASSERT_TRUE(f);
        EXPECT_EQ(f->format(c.value), c.shown) << c.value;
    }
    // What is not shown here reads in the General form.
    for (const char *code : {"General", "@", "# ?/?", "[>100]0;0.0", ""})
        EXPECT_FALSE(XlsxNumberFormat::parse(QString::fromUtf8(code))) << code;
}

TEST(XlsxNumbers, BuiltInFormatsAndStylesWithoutAFormat)
{
    XlsxCellFormats none;
    std::string out;
    ASSERT_TRUE(none.formatCell(0, "99.90000000000001", &out));
    EXPECT_EQ(out, "99.9");
    out = "untouched";
    EXPECT_FALSE(none.formatCell(3, "12abc", &out));
    EXPECT_EQ(out, "untouched");
    const std::pair<int, const char *> builtIns[] = {
        {1, "-1235"},    {2, "-1234.57"},     {3, "-1,235"},      {4, "-1,234.57"},
        {9, "-123457%"}, {10, "-123456.70%"}, {11, "-1.23E+03"},  {37, "(1,235)"},
        {38, "(1,235)"}, {39, "(1,234.57)"},  {40, "(1,234.57)"},
    };
    for (const auto &[id, shown] : builtIns) {
        const auto f = XlsxNumberFormat::parse(XlsxCellFormats::builtInNumberCode(id));
        ASSERT_TRUE(f) << id;
        EXPECT_EQ(f->format(-1234.567), shown) << id;
    }
}

TEST(XlsxNumbers, WorkbooksOfOtherWritersReadAsShown)
{
    expectWorkbooksReadAsShown(QStringLiteral("xlsx_numbers.py"), 3);
}
