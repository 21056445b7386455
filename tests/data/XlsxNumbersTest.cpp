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

// Numbers and dates in the numerals and calendars their locale tag names, as LibreOffice shows
// them (locale_numerals.py): [DBNum1] to [DBNum3] in Chinese, Japanese and Korean, a locale id's
// digit byte, the first year of a Japanese era, the Korean Tangun era and Um al-Qura. Ours differ
// where ICU's spelled-out numerals do (十 and 千 with no 一 before them, 拾 with no 壹, Japanese
// financial 千 and 壱百 for LibreOffice's 阡 and 百, Taiwanese 零 for 〇, Korean Hanja as
// Traditional Chinese spells them: 〇, 零 between digits, 萬, 仟 and 肆 where LibreOffice writes 零,
// none, 万, 阡 and 四), and where LibreOffice puts Korean units between full-width digits; where
// LibreOffice writes a minus sign of its own (负, －, −) or a Tamil zero as 0, or its own Hindi name
// of April; where it reckons Um al-Qura as its other Hijri calendar, a day off at some months'
// ends; and where it does not read a tag naming the first year of an era (it shows the serial).
TEST(XlsxNumbers, NumeralsAndCalendarsOfTheLocaleTagAsLibreOfficeShows)
{
    const std::pair<const char *, const char *> differ[] = {
        {"[DBNum1][$-804]General | 10", "十"},
        {"[DBNum1][$-804]General | 100000", "十万"},
        {"[DBNum2][$-804]General | 10", "拾"},
        {"[DBNum2][$-804]General | 100000", "拾万"},
        {"[DBNum2][$-804]0.00 | 10", "拾点零零"},
        {"[DBNum2][$-804]0.00 | -25", "-贰拾伍点零零"},
        {"[DBNum2][$-804]0.00 | 100000", "拾万点零零"},
        {"[DBNum1][$-804]#,##0 | 10", "十"},
        {"[DBNum1][$-804]#,##0 | -25", "-二十五"},
        {"[DBNum1][$-804]#,##0 | 100000", "十万"},
        {"[DBNum1][$-411]General | 1234.56", "千二百三十四・五六"},
        {"[DBNum1][$-411]General | 1001", "千一"},
        {"[DBNum2][$-411]General | 1234.56", "壱千弐百参拾四・伍六"},
        {"[DBNum2][$-411]General | 1001", "壱千壱"},
        {"[DBNum2][$-411]General | 2024", "弐千弐拾四"},
        {"[DBNum2][$-411]General | 110", "壱百拾"},
        {"[DBNum1][$-404]General | 10", "十"},
        {"[DBNum1][$-404]General | 1001", "一千零一"},
        {"[DBNum1][$-404]General | 2024", "二千零二十四"},
        {"[DBNum1][$-404]General | 100000", "十萬"},
        {"[DBNum2][$-404]General | 10", "拾"},
        {"[DBNum2][$-404]General | 100000", "拾萬"},
        {"[DBNum1][$-412]General | 10", "十"},
        {"[DBNum1][$-412]General | 0", "〇"},
        {"[DBNum1][$-412]General | 1001", "一千零一"},
        {"[DBNum1][$-412]General | 2024", "二千零二十四"},
        {"[DBNum1][$-412]General | 100000", "十萬"},
        {"[DBNum1][$-412]General | 0.5", "〇．五"},
        {"[DBNum2][$-412]General | 1234.56", "壹仟貳佰參拾肆點伍陸"},
        {"[DBNum2][$-412]General | 10", "拾"},
        {"[DBNum2][$-412]General | 1001", "壹仟零壹"},
        {"[DBNum2][$-412]General | 2024", "貳仟零貳拾肆"},
        {"[DBNum2][$-412]General | 100000", "拾萬"},
        {"[DBNum3][$-412]General | 1234.56", "１２３４．５６"},
        {"[DBNum3][$-412]General | 10", "１０"},
        {"[DBNum3][$-412]General | -25", "-２５"},
        {"[DBNum3][$-412]General | 1001", "１００１"},
        {"[DBNum3][$-412]General | 2024", "２０２４"},
        {"[DBNum3][$-412]General | 100000", "１０００００"},
        {"[DBNum3][$-412]General | 110", "１１０"},
        {"[DBNum1][$-412]yyyy\"년\" m\"월\" d\"일\" | 2024-03-10T00:00:00", "二〇二四년 三월 十일"},
        {"[DBNum1][$-412]yyyy\"년\" m\"월\" d\"일\" | 2024-03-11T00:00:00", "二〇二四년 三월 十一일"},
        {"[DBNum1][$-412]yyyy\"년\" m\"월\" d\"일\" | 2019-05-01T00:00:00", "二〇一九년 五월 一일"},
        {"[DBNum1][$-412]yyyy\"년\" m\"월\" d\"일\" | 2019-04-30T00:00:00", "二〇一九년 四월 三十일"},
        {"[DBNum1][$-412]yyyy\"년\" m\"월\" d\"일\" | 2020-12-25T09:05:00", "二〇二〇년 十二월 二十五일"},
        {"[$-2000429]0.0 | -3.25", "-۳٫۳"},
        {"[$-2000449]0 | 0", "௦"},
        {"[$-2000411]0 | -3.25", "-三"},
        {"[$-2000804]0 | -3.25", "-三"},
        {"[$-ja-JP-x-gannen]ggge\"年\"m\"月\"d\"日\" | 2024-03-10T00:00:00", "令和6年3月10日"},
        {"[$-ja-JP-x-gannen]ggge\"年\"m\"月\"d\"日\" | 2024-03-11T00:00:00", "令和6年3月11日"},
        {"[$-ja-JP-x-gannen]ggge\"年\"m\"月\"d\"日\" | 2019-05-01T00:00:00", "令和元年5月1日"},
        {"[$-ja-JP-x-gannen]ggge\"年\"m\"月\"d\"日\" | 2019-04-30T00:00:00", "平成31年4月30日"},
        {"[$-ja-JP-x-gannen]ggge\"年\"m\"月\"d\"日\" | 2020-12-25T09:05:00", "令和2年12月25日"},
        {"[$-1170401]d mmmm yyyy | 2024-03-10T00:00:00", "29 شعبان 1445"},
        {"[$-1170401]d mmmm yyyy | 2020-12-25T09:05:00", "10 جمادى الأولى 1442"},
        {"[$-1170401]dd/mm/yyyy | 2024-03-10T00:00:00", "29/08/1445"},
        {"[$-1170401]dd/mm/yyyy | 2020-12-25T09:05:00", "10/05/1442"},
        {"[$-1170401]dddd d mmm yyyy | 2024-03-10T00:00:00", "الأحد 29 شعبان 1445"},
        {"[$-1170401]dddd d mmm yyyy | 2020-12-25T09:05:00", "الجمعة 10 جمادى الأولى 1442"},
        {"[$-4000439]d mmmm yyyy | 2019-04-30T00:00:00", "३० अप्रैल २०१९"},
    };
    QHash<QString, QString> ours;
    for (const auto &[label, shown] : differ)
        ours.insert(QString::fromUtf8(label), QString::fromUtf8(shown));
    expectReadAsLibreOfficeShowed(QStringLiteral("locale_numerals"), ours);
}
