// A bound workbook changed on disk is told apart from one only touched or copied, and its rows are
// read again by the facts they were loaded with: the same sheet, the columns of the same headings.
#include "DataTestUtil.h"
#include "data/WorkbookReload.h"
#include "support/Workbooks.h"

#include <QFile>
#include <QLocale>
#include <QTimeZone>

namespace
{
void setTime(const QString &path, qint64 ms)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::fromMSecsSinceEpoch(ms), QFileDevice::FileModificationTime));
}
} // namespace

TEST(WorkbookFacts, AChangeIsTheBytesNotTheTime)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("people.xlsx");
    datatest::writeFile(path, "first version");
    WorkbookFacts facts = WorkbookFacts::take(path);
    ASSERT_TRUE(facts.isKnown());
    EXPECT_EQ(facts.size, 13);
    // An independent hash of the same bytes.
    EXPECT_EQ(facts.sha256, datatest::run("sha256sum", {path}).out.left(64));

    struct Case {
        const char *what;
        QByteArray bytes; // empty: the file is removed
        qint64 shiftMs;   // moves the modification time
        WorkbookFacts::Change expected;
        bool hashes;
    };
    const qint64 then = facts.modifiedMs;
    const Case cases[] = {
        {"as loaded", "first version", 0, WorkbookFacts::Change::Same, false},
        {"saved again unchanged", "first version", 60'000, WorkbookFacts::Change::Same, true},
        {"one value corrected, same size", "first VERSION", 60'000, WorkbookFacts::Change::Changed, true},
        {"rows added", "first version, and more", 0, WorkbookFacts::Change::Changed, false},
        {"gone", "", 0, WorkbookFacts::Change::NothingToCompare, false},
    };
    for (const Case &c : cases) {
        WorkbookFacts copy = facts;
        QFile::remove(path);
        if (!c.bytes.isEmpty()) {
            datatest::writeFile(path, c.bytes);
            setTime(path, then + c.shiftMs);
        }
        EXPECT_EQ(copy.needsHashing(path), c.hashes) << c.what;
        EXPECT_EQ(copy.check(path), c.expected) << c.what;
    }

    // Without facts there is nothing to compare; a state the user went on with is not asked again.
    EXPECT_EQ(WorkbookFacts().check(path), WorkbookFacts::Change::NothingToCompare);
    datatest::writeFile(path, "second version");
    WorkbookFacts settled = facts;
    ASSERT_EQ(settled.check(path), WorkbookFacts::Change::Changed);
    settled.settle(path);
    EXPECT_EQ(settled.check(path), WorkbookFacts::Change::Same);
    datatest::writeFile(path, "the third version");
    EXPECT_EQ(settled.check(path), WorkbookFacts::Change::Changed);
}

TEST(WorkbookFacts, TheLoadingTimeReadsInTheProgramsLocale)
{
    WorkbookFacts facts;
    EXPECT_EQ(facts.loadedText(), QString());
    facts.loadedAt = QDateTime(QDate(2026, 12, 8), QTime(10, 14, 59), QTimeZone::systemTimeZone()).toUTC();
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(facts.loadedText(), QStringLiteral("on 8 December 2026 at 10:14"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(facts.loadedText(), QStringLiteral("on 8 Dezember 2026 at 10:14"));
    QLocale::setDefault(before);
}

TEST(WorkbookReload, RowsAreReadAgainByTheirSheetAndHeadings)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("people.xlsx");
    testsupport::writeOneSheet(
        path, {{"Name", "Mail", "Phone"}, {"Ann", "ann@example.com", "1"}, {"Bob", "bob@example.com", "2"}},
        "Guests");
    const ExcelBindingTable table = testsupport::loadedTable(path, "Guests", {0, 1});

    struct Case {
        const char *what;
        QString sheet;
        QList<QStringList> rows;
        bool ok;
        QStringList titles; // of the table read again, the row number's first
        QStringList names;  // its first column, row by row
        QStringList gone;
        QString reason;
    };
    const Case cases[] = {
        {"a value corrected and two rows added",
         "Guests",
         {{"Name", "Mail", "Phone"},
          {"Ann", "ann@example.org", "1"},
          {"Bob", "bob@example.com", "2"},
          {"Cy", "cy@example.com", "3"},
          {"Di", "di@example.com", "4"}},
         true,
         {"Row", "Name", "Mail"},
         {"Ann", "Bob", "Cy", "Di"},
         {},
         {}},
        {"columns moved behind a new one",
         "Guests",
         {{"Phone", "Mail", "Age", "Name"}, {"1", "ann@example.com", "30", "Ann"}},
         true,
         {"Row", "Name", "Mail"},
         {"Ann"},
         {},
         {}},
        {"a column gone",
         "Guests",
         {{"Name", "Phone"}, {"Ann", "1"}},
         true,
         {"Row", "Name"},
         {"Ann"},
         {"Mail"},
         {}},
        {"every column gone",
         "Guests",
         {{"Other"}, {"x"}},
         false,
         {},
         {},
         {},
         "None of the columns its rows came from are on the sheet any more."},
        {"the sheet renamed",
         "People",
         {{"Name", "Mail"}, {"Ann", "a"}},
         false,
         {},
         {},
         {},
         "It has no sheet \"Guests\" any more."},
    };
    for (const Case &c : cases) {
        testsupport::writeOneSheet(path, c.rows, c.sheet);
        const WorkbookReload::Result r = WorkbookReload::reload(table);
        EXPECT_EQ(r.ok, c.ok) << c.what;
        EXPECT_EQ(r.reason, c.reason) << c.what;
        if (!r.ok)
            continue;
        EXPECT_EQ(r.table.columnTitles(), c.titles) << c.what;
        QStringList names;
        for (int row = 0; row < r.table.rowCount(); ++row)
            names << r.table.objectValue(1, row);
        EXPECT_EQ(names, c.names) << c.what;
        EXPECT_EQ(r.table.sheetRowOf(0), 2) << c.what; // the row number the sheet shows
        EXPECT_EQ(r.goneHeadings, c.gone) << c.what;
        // The facts are those of the file read; the table as loaded keeps its own.
        EXPECT_EQ(r.table.sourceFacts.sha256, WorkbookFacts::take(path).sha256) << c.what;
        EXPECT_EQ(r.table.sourceFacts.sheet, QStringLiteral("Guests")) << c.what;
        EXPECT_NE(table.sourceFacts.sha256, r.table.sourceFacts.sha256) << c.what;
    }
    EXPECT_EQ(table.objectValue(2, 0), QStringLiteral("ann@example.com"));
}
