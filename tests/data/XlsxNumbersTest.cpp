// Cells read as the spreadsheet shows them: the General form of stored numbers, workbooks of
// number, fraction, conditional, text and date formats checked against LibreOffice's display of
// them, and workbooks written the way Gnumeric, xlsxwriter and openpyxl write them.
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

// Each cell of the workbooks formats_as_shown.py wrote reads as LibreOffice showed it, except
// where LibreOffice drops the minus sign of a number that section also shows for positive
// values, and where it leaves a time stored as text (an ISO date cell) unformatted.
TEST(XlsxNumbers, CellsReadAsLibreOfficeShowsThem)
{
    const QHash<QString, QString> ours = {
        {QStringLiteral("[>=1000]#,##0,\"K\" | -1500"), QStringLiteral("-1500")},
        {QStringLiteral("[>=1000]0.00 | -5.5"), QStringLiteral("-5.5")},
        {QStringLiteral("[>0]0;[=0]\"z\" | -5"), QStringLiteral("-5")},
        {QStringLiteral("[=0]\"z\";0 | -5"), QStringLiteral("-5")},
        {QStringLiteral("[>=1000000]0.0,,\"M\";[>=1000]0.0,\"K\";0 | -5"), QStringLiteral("-5")},
        {QStringLiteral("[>5]0;[<=-1]0;0 | -0.5"), QStringLiteral("-1")},
        {QStringLiteral("[>=10]0;[<=-10]0;0.0 | -5"), QStringLiteral("-5.0")},
        {QStringLiteral("0.00E+00 | -0.0"), QStringLiteral("0.00E+00")},
        {QStringLiteral("h:mm | '15:07:09'"), QStringLiteral("15:07")},
    };
    for (const char *book :
         {"formats_as_shown_xlsxwriter", "formats_as_shown_openpyxl", "formats_as_shown_openpyxl_1904"})
        expectReadAsLibreOfficeShowed(QLatin1String(book), ours);
}

TEST(XlsxNumbers, StylesWithoutAFormatReadInTheGeneralForm)
{
    XlsxCellFormats none;
    std::string out;
    ASSERT_TRUE(none.formatCell(0, "99.90000000000001", &out));
    EXPECT_EQ(out, "99.9");
    out = "untouched";
    EXPECT_FALSE(none.formatCell(3, "12abc", &out));
    EXPECT_EQ(out, "untouched");
}

TEST(XlsxNumbers, WorkbooksOfOtherWritersReadAsShown)
{
    expectWorkbooksReadAsShown(QStringLiteral("xlsx_numbers.py"), 3);
}
