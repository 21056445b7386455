// A run as one plan: the source each object reads, the cards there are, the rows and sides a run
// outputs, and nothing of it written into the design.
#include "BatchDesignFixture.h"

#include "output/RunPlan.h"

#include <gtest/gtest.h>

using namespace batchtest;

namespace
{
// A workbook of the given headings (after the row number's) as the binding table holds it: the
// cell of column k on row r reads "k:r", rows counted from 1. No headings: an old design's table.
void addWorkbook(CardDesign &d, const QStringList &headings, int rows, int columns)
{
    if (!headings.isEmpty())
        batchtest::setTitles(d, headings);
    for (int r = 1; r <= rows; ++r) {
        ExcelBindingTable::Row row{{"Extension", QString::number(r)}};
        for (int k = 1; k <= columns; ++k)
            row.insert(ExcelBindingTable::columnIdentifier(k), QStringLiteral("%1:%2").arg(k).arg(r));
        batchtest::addRow(d, row);
    }
}

GraphicPtr column(int stored, const QString &heading = {})
{
    GraphicPtr g = text(QRectF(0, 0, 100, 20), DataSourceCode::BindingColumn, {}, stored);
    if (!heading.isEmpty())
        g->excel_col_title = heading;
    return g;
}
} // namespace

TEST(RunPlan, ResolvesEachObjectOnceAndCountsTheCards)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "three", "s1\ns2\ns3");
    writeSeries(tmp.path(), "five", "f1\nf2\nf3\nf4\nf5");
    const auto series = [](const QString &name) { return text(QRectF(0, 0, 100, 20), 1, name); };
    struct Case {
        const char *what;
        QStringList headings;
        int tableRows;
        GraphicList front;
        RunPlan::Choices choices;
        int cards, output;
        QStringList named;  // each object's source as reports name it
        QStringList values; // each object's value on the fourth row; "-": it shows its own
    };
    const Case cases[] = {
        {"series of three and five rows",
         {},
         0,
         {series("three"), series("five")},
         {},
         5,
         5,
         {"series \"three\"", "series \"five\""},
         {"", "f4"}},
        {"a heading the workbook moved",
         {"Date", "Name", "Long"},
         4,
         {column(1, "Long")},
         {},
         4,
         4,
         {"column \"Long\""},
         {"3:4"}},
        {"a heading the workbook lacks",
         {"Date", "Name"},
         4,
         {column(2, "Long")},
         {},
         4,
         4,
         {"column \"Long\""},
         {""}},
        {"an old design's table without headings", {}, 4, {column(2)}, {}, 4, 4, {"column 2"}, {"2:4"}},
        {"a shorter table than the series",
         {"Name"},
         2,
         {series("five"), column(1, "Name")},
         {},
         5,
         5,
         {"series \"five\"", "column \"Name\""},
         {"f4", ""}},
        {"the series box unticked",
         {"Name"},
         4,
         {series("five"), column(1, "Name")},
         RunPlan::Choices().withSources(false, true),
         4,
         4,
         {"series \"five\"", "column \"Name\""},
         {"-", "1:4"}},
        {"a print of two labels",
         {},
         0,
         {series("five")},
         RunPlan::Choices().atMost(2),
         5,
         2,
         {"series \"five\""},
         {"f4"}},
        {"no source", {}, 0, {text(QRectF(0, 0, 100, 20), 0)}, {}, 0, 1, {""}, {"-"}},
    };
    for (const Case &c : cases) {
        CardDesign d;
        const QString dFolder = tmp.path();
        addWorkbook(d, c.headings, c.tableRows, 3);
        d.front = c.front;
        QList<int> stored;
        for (const GraphicPtr &g : d.front)
            stored << g->excel_col_indx;
        const auto plan = planIn(d, dFolder, c.choices);
        EXPECT_EQ(plan->cardCount(), c.cards) << c.what;
        EXPECT_EQ(plan->outputCount(), c.output) << c.what;
        QStringList named, values;
        for (int i = 0; i < d.front.size(); ++i) {
            named << plan->binding(false, i).named;
            values << plan->valueOf(false, i, 3).value_or("-");
            // Neither the design nor the plan's copy has its stored column rewritten.
            EXPECT_EQ(d.front[i]->excel_col_indx, stored[i]) << c.what;
            EXPECT_EQ(plan->design().front[i]->excel_col_indx, stored[i]) << c.what;
        }
        EXPECT_EQ(named, c.named) << c.what;
        EXPECT_EQ(values, c.values) << c.what;
    }
}

TEST(RunPlan, OtherChoicesReadNothingAgainAndTheSidesFollowTheRun)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "five", "f1\nf2\nf3\nf4\nf5");
    CardDesign d;
    const QString dFolder = tmp.path();
    d.front << text(QRectF(0, 0, 100, 20), 1, "five");
    const auto design = planIn(d, dFolder);
    ASSERT_TRUE(QFile::remove(QDir(tmp.path()).filePath("five.txt")));
    EXPECT_EQ(design->with(RunPlan::Choices().atMost(3))->valueOf(false, 0, 4), "f5");
    EXPECT_FALSE(design->with(RunPlan::Choices().withSources(false, true))->isBatch());
    EXPECT_TRUE(design->with(RunPlan::Choices().withSources(false, true))->offersSeries());

    struct Case {
        const char *cardSides;
        std::optional<ExportSide> run;
        bool front, back;
    };
    const Case cases[] = {
        {"1", std::nullopt, true, false},     {"2", std::nullopt, true, true},
        {"1", ExportSide::Back, false, true}, {"2", ExportSide::Front, true, false},
        {"2", ExportSide::Both, true, true},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        d.frontPage.Card_Side = cases[i].cardSides;
        const auto plan = planIn(d, dFolder, RunPlan::Choices().withSides(cases[i].run));
        EXPECT_EQ(plan->outputsFront(), cases[i].front) << "case " << i;
        EXPECT_EQ(plan->outputsBack(), cases[i].back) << "case " << i;
    }
}

// Rows go by the number the sheet shows beside them whenever the run reads the workbook: from the
// rows as read, from the workbook's facts for rows kept in a design, else by their place.
TEST(RunPlan, RowsGoByTheSheetsNumbersWhenTheRunReadsTheWorkbook)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "five", "f1\nf2\nf3\nf4\nf5");
    struct Case {
        const char *what;
        QList<int> sheetRows;
        int rowsAbove;
        bool series, useExcel;
        QList<int> numbers; // of the first four rows
        QString word;
    };
    const Case cases[] = {
        {"rows read from a sheet with a gap above", {4, 5, 6}, 1, false, true, {4, 5, 6, 7}, "row"},
        {"rows kept in a design, titles above", {}, 1, false, true, {2, 3, 4, 5}, "row"},
        {"rows kept in a design, no titles", {}, 0, false, true, {1, 2, 3, 4}, "row"},
        {"an old design without facts", {}, -1, false, true, {1, 2, 3, 4}, "row"},
        {"a longer series beside the sheet", {2, 3, 4}, 1, true, true, {2, 3, 4, 5}, "sheet row"},
        {"the workbook left out of the run", {2, 3, 4}, 1, true, false, {1, 2, 3, 4}, "row"},
    };
    for (const Case &c : cases) {
        CardDesign d;
        const QString dFolder = tmp.path();
        addWorkbook(d, {"A"}, 3, 1);
        batchtest::setSheetRows(d, c.sheetRows);
        batchtest::setRowsAbove(d, c.rowsAbove);
        d.front << column(1);
        if (c.series)
            d.front << text(QRectF(0, 0, 100, 20), DataSourceCode::Series, "five");
        const auto plan = planIn(d, dFolder)->with(RunPlan::Choices().withSources(true, c.useExcel));
        QList<int> numbers;
        for (int r = 0; r < 4; ++r)
            numbers << plan->rowNumber(r);
        EXPECT_EQ(numbers, c.numbers) << c.what;
        EXPECT_EQ(plan->rowWord(), c.word) << c.what;
    }
}

// Rows whose every value the run fills is empty are blank; left out, the cards are the other rows,
// each with its own values and sheet number, whichever sides and objects take part.
TEST(RunPlan, BlankRowsLeftOutLeaveTheOtherRowsInOrder)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "notes", "n1\n\n\n\n\nn6");
    CardDesign d;
    batchtest::setTitles(d, {"Name"});
    const QStringList names{"Ann", "", " ", "Bo", "", ""};
    for (int r = 0; r < names.size(); ++r)
        batchtest::addRow(d, {{"Extension", QString::number(r + 1)}, {"Column1", names[r]}});
    batchtest::setSheetRows(d, {2, 3, 4, 5, 6, 7});
    d.front << column(1, "Name");
    GraphicPtr hidden = text(QRectF(0, 0, 100, 20), DataSourceCode::Series, "notes");
    hidden->ctrl_is_visible = false;
    d.front << hidden;
    d.back << text(QRectF(0, 0, 100, 20), DataSourceCode::Series, "notes");
    struct Case {
        const char *what;
        RunPlan::Choices choices;
        QList<int> blank;   // rows (from 0) of the whole run that are blank
        QStringList names;  // each card's name once blank rows are left out
        QList<int> numbers; // and its sheet row
    };
    const Case cases[] = {
        {"both sides: the back's notes keep rows 1 and 6", {}, {1, 2, 4}, {"Ann", "Bo", ""}, {2, 5, 7}},
        {"the front alone: its hidden text counts for nothing",
         RunPlan::Choices().withSides(ExportSide::Front),
         {1, 2, 4, 5},
         {"Ann", "Bo"},
         {2, 5}},
    };
    for (const Case &c : cases) {
        const auto plan = planIn(d, tmp.path())->with(c.choices);
        QList<int> blank;
        for (int r = 0; r < plan->cardCount(); ++r)
            if (plan->blank(r))
                blank << r;
        EXPECT_EQ(blank, c.blank) << c.what;
        const auto kept = plan->with(RunPlan::Choices(c.choices).leavingOutBlank());
        ASSERT_EQ(kept->cardCount(), c.names.size()) << c.what;
        for (int r = 0; r < kept->cardCount(); ++r) {
            EXPECT_EQ(kept->valueOf(false, 0, r), c.names[r]) << c.what << " card " << r;
            EXPECT_EQ(kept->rowNumber(r), c.numbers[r]) << c.what << " card " << r;
            EXPECT_FALSE(kept->blank(r)) << c.what << " card " << r;
        }
    }
}
