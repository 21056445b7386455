// Date and time cells read as the spreadsheet shows them: format codes applied to serial numbers
// (a table of known answers), and workbooks of xlsxwriter and openpyxl in both date systems,
// against what Python's strftime makes of the values written.
#include "DataTestUtil.h"

#include "data/XlsxCellFormats.h"
#include "data/XlsxDateFormat.h"

#include <QHash>

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

using namespace datatest;

TEST(XlsxDates, FormatCodesShowTheSerialAsASpreadsheetDoes)
{
    struct Case {
        const char *code;
        double serial;
        bool date1904;
        const char *shown;
    };
    const Case cases[] = {
        {"yyyy-mm-dd", 44930, false, "2023-01-04"},
        {"yyyy-mm-dd", 43468, true, "2023-01-04"},
        {"d/m/yy", 44930.75, false, "4/1/23"},
        {"dddd d mmmm yyyy", 44930, false, "Wednesday 4 January 2023"},
        {"ddd mmm", 44930, false, "Wed Jan"},
        {"mmmmm", 44930, false, "J"},
        {"hh:mm:ss", 0.5, false, "12:00:00"},
        {"h:mm AM/PM", 0.75, false, "6:00 PM"},
        {"h:mm a/p", 0.25, false, "6:00 a"},
        {"hh:mm am/pm", 0, false, "12:00 am"},
        // "m" after hours or before seconds is minutes; elsewhere a month.
        {"m/d h:m", 44930 + 7.0 / 1440, false, "1/4 0:7"},
        {"mm:ss", 1.0 / 1440 + 5.0 / 86400, false, "01:05"},
        // Seconds are rounded once, so 59.6 s carries into the minute.
        {"h:mm:ss", 59.6 / 86400, false, "0:01:00"},
        {"ss.00", 1.234 / 86400, false, "01.23"},
        {"[h]:mm:ss", 1 + 2.0 / 24 + 3.0 / 1440 + 4.0 / 86400, false, "26:03:04"},
        {"[mm]:ss", 2.0 / 24, false, "120:00"},
        {"yyyy\\-mm\\-dd", 45292, false, "2024-01-01"},
        {"yyyy-mm-dd\"T\"hh:mm", 44930.5, false, "2023-01-04T12:00"},
        {"[Red]yyyy-mm-dd;[Blue]0", 44930, false, "2023-01-04"},
        {"dd/mm/yyyy_)", 44930, false, "04/01/2023 "},
        // The 1900 system's first days, its 29 February and day 0, as spreadsheets show them.
        {"yyyy-mm-dd dddd", 1, false, "1900-01-01 Sunday"},
        {"yyyy-mm-dd dddd", 59, false, "1900-02-28 Tuesday"},
        {"yyyy-mm-dd dddd", 60, false, "1900-02-29 Wednesday"},
        {"yyyy-mm-dd dddd", 61, false, "1900-03-01 Thursday"},
        {"yyyy-mm-dd", 0, false, "1900-01-00"},
        {"yyyy-mm-dd", 0, true, "1904-01-01"},
        {"yyyy-mm-dd", 2958465, false, "9999-12-31"},
        // Eras and day names of East-Asian dates; b2 reckons in the Hijri calendar.
        {"[$-411]ggge\"\u5e74\"", 32516, false, "\u5e73\u62101\u5e74"}, // the first day of Heisei
        {"[$-411]ge.m.d", 43586, false, "R1.5.1"},
        {"[$-411]ge.m.d", 60, false, "1900.2.29"}, // a day no calendar has: no era
        {"[$-404]e/m/d", 45352, false, "113/3/1"},
        {"[$-804]aaaa", 45352, false, "\u661f\u671f\u4e94"},
        {"B2dd/mm/yyyy", 45352, false, "21/08/1445"},
        {"[$-1070000]d/m/yyyy bbbb", 0, true, "1/1/2447 2447"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        const auto f = XlsxDateFormat::parse(QString::fromUtf8(c.code));
        ASSERT_TRUE(f);
        EXPECT_EQ(f->format(c.serial, c.date1904), c.shown) << c.serial;
    }
    // No date there: the number formats take these.
    for (const char *code :
         {"General", "0.00", "#,##0", "0.00E+00", "\"day\" 0", "[Red]0", "@", "0%", "0 aaa", "0.0e+0"}) {
        EXPECT_FALSE(XlsxDateFormat::parse(QString::fromUtf8(code))) << code;
    }
    const auto f = XlsxDateFormat::parse(u"yyyy-mm-dd");
    EXPECT_EQ(f->format(-1, false), "");      // before the epoch: the number stays
    EXPECT_EQ(f->format(2958466, false), ""); // after 9999-12-31
    EXPECT_EQ(f->format(std::nan(""), false), "");
}

TEST(XlsxDates, BuiltInDateIds)
{
    EXPECT_FALSE(XlsxCellFormats().dateFormat(0));
    for (int id : {14, 15, 16, 17, 18, 19, 20, 21, 22, 45, 46, 47})
        EXPECT_FALSE(XlsxCellFormats::builtInDateCode(id).isEmpty()) << id;
    for (int id : {0, 1, 2, 13, 23, 44, 48, 49, 164})
        EXPECT_TRUE(XlsxCellFormats::builtInDateCode(id).isEmpty()) << id;
}

TEST(XlsxDates, WorkbooksOfOtherWritersReadAsShown)
{
    expectWorkbooksReadAsShown(QStringLiteral("xlsx_dates.py"), 4);
}

// Full day and month names in the language of the code's locale tag, as LibreOffice shows them
// (locale_dates.py), a month beside a day in the form a date gives it ("1 марта", "1 marca").
// LibreOffice's own names differ in three places: it capitalises a Russian or Ukrainian month
// alone, gives a Greek one alone its dated form, and writes the Ukrainian apostrophe as '.
TEST(XlsxDates, LocaleTagsNameDaysAndMonthsAsLibreOfficeDoes)
{
    const QString apostrophe = QString::fromUtf8("\u043f\u02bc\u044f\u0442\u043d\u0438\u0446\u044f");
    const QHash<QString, QString> ours = {
        {"ru | [$-419]mmmm yyyy | 2024-03-01", "\u043c\u0430\u0440\u0442 2024"},
        {"ru | [$-419]mmmm yyyy | 2023-01-04", "\u044f\u043d\u0432\u0430\u0440\u044c 2023"},
        {"el | [$-408]mmmm yyyy | 2024-03-01", "\u039c\u03ac\u03c1\u03c4\u03b9\u03bf\u03c2 2024"},
        {"el | [$-408]mmmm yyyy | 2023-01-04",
         "\u0399\u03b1\u03bd\u03bf\u03c5\u03ac\u03c1\u03b9\u03bf\u03c2 2023"},
        {"uk | [$-422]dddd, d \"de\" mmmm \"de\" yyyy | 2024-03-01",
         apostrophe + ", 1 de \u0431\u0435\u0440\u0435\u0437\u043d\u044f de 2024"},
        {"uk | [$-422]mmmm yyyy | 2024-03-01", "\u0431\u0435\u0440\u0435\u0437\u0435\u043d\u044c 2024"},
        {"uk | [$-422]mmmm yyyy | 2023-01-04", "\u0441\u0456\u0447\u0435\u043d\u044c 2023"},
    };
    expectReadAsLibreOfficeShowed(QStringLiteral("locale_dates"), ours);
}

// A workbook LibreOffice saved (saved_dates.py) writes the date separator under a locale tag as
// "/" ("[$-419]dd/mm/yyyy"): it reads as the separator of the tag's language, from Qt's locale
// data. LibreOffice's own separates Danish, Hindi and Portuguese (Portugal) dates with "-".
TEST(XlsxDates, SlashUnderALocaleTagIsTheLanguagesDateSeparator)
{
    expectReadAsLibreOfficeShowed(QStringLiteral("saved_dates"),
                                  {{"hi | [$-439]dd-mm-yyyy", "10/03/2024"},
                                   {"hi | [$-439]yyyy/mm/dd", "2024/03/10"},
                                   {"da | [$-406]dd-mm-yyyy", "10.03.2024"},
                                   {"da | [$-406]yyyy/mm/dd", "2024.03.10"},
                                   {"pt-PT | [$-816]dd-mm-yyyy", "10/03/2024"},
                                   {"pt-PT | [$-816]yyyy/mm/dd", "2024/03/10"}});
}

// Abbreviations, and locale ids LibreOffice does not know, from the locale data Qt holds.
TEST(XlsxDates, LocaleTagsOfEveryLanguageQtKnows)
{
    const std::pair<const char *, const char *> mar1[] = {
        {"[$-40A]dddd, d \"de\" mmmm \"de\" yyyy", "viernes, 1 de marzo de 2024"}, // traditional sort
        {"[$-411]dddd mmmm yyyy", "\u91d1\u66dc\u65e5 3\u6708 2024"},
        {"[$-407]d mmm yyyy", "1 M\u00e4rz 2024"},
        {"[$-407]mmm", "M\u00e4r"},
        {"[$-81A]d mmmm", "1 mart"},                               // Serbian in the Latin script
        {"[$-1010419]d mmmm", "1 \u043c\u0430\u0440\u0442\u0430"}, // a calendar byte above the id
        {"[$-7F]dddd d mmmm", "Friday 1 March"},                   // no language: English
    };
    const std::pair<const char *, const char *> may15[] = {
        {"[$-419]d mmm yyyy", "15 \u043c\u0430\u044f 2024"},
        {"[$-419]mmm", "\u043c\u0430\u0439"},
        {"[$-41A]d mmm", "15 svi"},
    };
    const std::pair<const char *, const char *> jan1[] = {
        {"[$-407]d mmm yyyy", "1 Jan 2024"}, // not "Jan.": a dated name that only adds a period
    };
    const std::pair<const char *, const char *> apr1[] = {
        {"[$-415]d mmmm", "1 kwietnia"},
        {"[$-415]mmmm", "kwiecie\u0144"},
        {"[$-403]d mmmm", "1 abril"}, // not "d\u2019abril": codes write their own preposition
        {"[$-456]d mmmm", "1 abril"}, // Galician, whose month alone is "Abril"
    };
    const auto expect = [](double serial, const auto &cases) {
        for (const auto &[code, shown] : cases) {
            SCOPED_TRACE(code);
            const auto f = XlsxDateFormat::parse(QString::fromUtf8(code));
            ASSERT_TRUE(f);
            EXPECT_EQ(f->format(serial, false), shown);
        }
    };
    expect(45352, mar1);
    expect(45427, may15);
    expect(45383, apr1);
    expect(45292, jan1);
}

// East-Asian date codes (eras, era years, Buddhist years, day names), calendars a locale id's
// calendar byte names and locale tags written as names, as LibreOffice shows them
// (calendar_dates.py), but where LibreOffice reads them otherwise: it leaves bb and bbbb as letters,
// reads e under an English tag as no year, writes Hebrew numerals, and does not read a tag written
// as a name (shown here as under the language's numeric id). Its own locale data differs too: Chinese
// short day names (五, not 周五), the Republic of China's era (中華民國, not ICU's 民國), the
// Hebrew leap year's first Adar, Russian and German dated short months, a Dutch short month alone
// (without its period there) and a French one beside a day (with it).
TEST(XlsxDates, CalendarsAndEastAsianCodesAsLibreOfficeShows)
{
    const char *const dates[] = {"2024-03-01", "2019-05-01", "1989-01-07", "2023-01-04"};
    struct Ours {
        const char *code;
        const char *shown[4]; // on each date; null: as LibreOffice shows it
    };
    const Ours differ[] = {
        {"[$-804]aaa", {"\u5468\u4e94", "\u5468\u4e09", "\u5468\u516d", "\u5468\u4e09"}},
        {"[$-404]ggge\"\u5e74\"m\"\u6708\"d\"\u65e5\"",
         {"\u6c11\u570b113\u5e743\u67081\u65e5", "\u6c11\u570b108\u5e745\u67081\u65e5",
          "\u6c11\u570b78\u5e741\u67087\u65e5", "\u6c11\u570b112\u5e741\u67084\u65e5"}},
        {"[$-41E]bbbb", {"2567", "2562", "2532", "2566"}},
        {"[$-41E]bb", {"67", "62", "32", "66"}},
        {"[$-41E]d/m/bbbb", {"1/3/2567", "1/5/2562", "7/1/2532", "4/1/2566"}},
        {"[$-409]bbbb", {"2567", "2562", "2532", "2566"}},
        {"[$-409]e", {"2024", "2019", "1989", "2023"}},
        {"[$-108040D]d mmmm yyyy",
         {"21 \u05d0\u05d3\u05e8 \u05d0\u05f3 5784", "26 \u05e0\u05d9\u05e1\u05df 5779",
          "1 \u05e9\u05d1\u05d8 5749", "11 \u05d8\u05d1\u05ea 5783"}},
        // Short months keep the period of Qt's abbreviations, which LibreOffice's leave off.
        {"[$-413]d mmm yyyy", {"1 mrt. 2024", nullptr, "7 jan. 1989", "4 jan. 2023"}},
        {"[$-413]mmm yyyy", {"mrt. 2024", nullptr, "jan. 1989", "jan. 2023"}},
        {"[$-406]d mmm yyyy", {"1 mar. 2024", nullptr, "7 jan. 1989", "4 jan. 2023"}},
        {"[$-419]d mmm yyyy",
         {"1 \u043c\u0430\u0440. 2024", "1 \u043c\u0430\u044f 2019", "7 \u044f\u043d\u0432. 1989",
          "4 \u044f\u043d\u0432. 2023"}},
        {"[$-419]mmm yyyy",
         {"\u043c\u0430\u0440\u0442 2024", nullptr, "\u044f\u043d\u0432. 1989", "\u044f\u043d\u0432. 2023"}},
        {"[$-407]d mmm yyyy", {"1 M\u00e4rz 2024", nullptr, nullptr, nullptr}},
    };
    const std::pair<const char *, const char *> named[] = {
        {"[$-ja-JP]ggge\"\u5e74\"m\"\u6708\"d\"\u65e5\"", "[$-411]ggge\"\u5e74\"m\"\u6708\"d\"\u65e5\""},
        {"[$-ja-JP]aaaa", "[$-411]aaaa"},
        {"[$-es-ES]dddd, d mmmm yyyy", "[$-C0A]dddd, d mmmm yyyy"},
        {"[$-ar-SA]dddd d mmmm yyyy", "[$-401]dddd d mmmm yyyy"},
        {"[$-ru-RU]d mmmm yyyy", "[$-419]d mmmm yyyy"},
        {"[$-de-DE]dddd, d. mmmm yyyy", "[$-407]dddd, d. mmmm yyyy"},
        {"[$-zh-CN]aaaa", "[$-804]aaaa"},
        {"[$-fr-FR]d mmmm yyyy", "[$-40C]d mmmm yyyy"},
    };
    QHash<QString, QString> shown, ours;
    for (const QStringList &record :
         csvRecords(QString::fromUtf8(readFile(testFile("calendar_dates.lo.csv")))))
        shown.insert(record.value(0), record.value(1));
    const auto label = [&](const char *code, int date) {
        return QString::fromUtf8(code) + QLatin1String(" | ") + QLatin1String(dates[date]);
    };
    for (const Ours &o : differ)
        for (int d = 0; d < 4; ++d)
            if (o.shown[d])
                ours.insert(label(o.code, d), QString::fromUtf8(o.shown[d]));
    for (const auto &[name, id] : named)
        for (int d = 0; d < 4; ++d) {
            ASSERT_TRUE(shown.contains(label(id, d))) << id;
            ours.insert(label(name, d), shown.value(label(id, d)));
        }
    expectReadAsLibreOfficeShowed(QStringLiteral("calendar_dates"), ours);
}
