// Which binding-table column a column-bound object reads when the workbook changes under it, and
// the rules that turn a sheet's ticked columns into binding-table rows and series values.
#include "data/ColumnBinding.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{
struct ResolveCase {
    const char *what;
    QStringList titles; // the row number's title first
    int index;
    std::optional<QString> heading;
    int expected;
};

XlsxTable sheet(const QList<QStringList> &rows)
{
    XlsxTable table(std::make_shared<XlsxStringPool>());
    int width = 0;
    for (const QStringList &row : rows) {
        table.appendRow();
        for (int j = 0; j < row.size(); ++j) {
            const QByteArray utf8 = row.at(j).toUtf8();
            table.setText(j + 1, std::string_view(utf8.constData(), size_t(utf8.size())), false);
        }
        width = std::max(width, int(row.size()));
    }
    table.setColumnCount(width);
    return table;
}
} // namespace

TEST(ColumnBinding, ABindingFollowsItsHeading)
{
    const QStringList first{"Row", "Name", "Long", "Date"};
    const ResolveCase cases[] = {
        {"same workbook", first, 2, QString("Long"), 2},
        {"a column inserted before", {"Row", "Name", "Secret", "Long", "Date"}, 2, QString("Long"), 3},
        {"a reordered workbook", {"Row", "Date", "Long", "Phone", "Name"}, 3, QString("Name"), 4},
        {"a workbook without the column",
         {"Row", "Name", "Date"},
         2,
         QString("Long"),
         ColumnBinding::Missing},
        {"headings compared trimmed", {"Row", " Name ", "Long"}, 2, QString("Name "), 1},
        {"two columns of one heading keep the one bound", {"Row", "Code", "Code"}, 2, QString("Code"), 2},
        {"no heading kept: the position", {"Row", "Secret", "Long"}, 2, std::nullopt, 2},
        {"an empty heading: the position", {"Row", "", "Long"}, 1, QString(""), 1},
        {"no heading and a position the table lacks",
         {"Row", "Name"},
         5,
         std::nullopt,
         ColumnBinding::Missing},
        {"the row number", first, 0, QString("Row"), 0},
    };
    for (const ResolveCase &c : cases)
        EXPECT_EQ(ColumnBinding::resolve(c.titles, c.index, c.heading), c.expected) << c.what;
}

TEST(ColumnBinding, TickedColumnsBecomeTableRowsAndSeriesValues)
{
    const XlsxTable rows =
        sheet({{"Name", " Long ", "Date"}, {"Ann", " a@example.com ", "1"}, {"Bo", "", "2"}});

    const ExcelBindingTable table = ColumnBinding::tableOf(rows, {2, 1}, 1);
    EXPECT_EQ(table.columnTitles(), (QStringList{"Row", "Date", "Long"}));
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.objectValue(0, 1), QString("2"));
    EXPECT_EQ(table.objectValue(1, 0), QString("1"));
    EXPECT_EQ(table.objectValue(2, 0), QString("a@example.com"));
    // The title row is also data when the sheet has none.
    EXPECT_EQ(ColumnBinding::tableOf(rows, {0}, 0).rowCount(), 3);

    EXPECT_EQ(ColumnBinding::cellsRowByRow(rows, {0, 1}, 1),
              (QStringList{"Ann", " a@example.com ", "Bo", ""}));
    EXPECT_EQ(ColumnBinding::columnValues(rows, {1}, 1), (QStringList{"a@example.com", ""}));
}

TEST(ColumnBinding, TheTableKnowsEachRowsSheetNumberAndItsFormulasNeverComputed)
{
    XlsxTable rows = sheet({{"Name", "Total", "Tax"}, {"Ann", "", ""}, {}, {"Bo", "", "1"}});
    // Row 2 is the sheet's row 3: the empty row the file left out stays a row.
    rows.markUncomputed(2); // B4
    rows.markUncomputed(3); // C4

    const ExcelBindingTable table = ColumnBinding::tableOf(rows, {2, 0}, 1);
    EXPECT_EQ(table.sheetRows(), (QList<int>{2, 3, 4}));
    EXPECT_EQ(table.sheetRowOf(2), 4);
    EXPECT_EQ(table.sheetRowOf(3), 0); // no such row
    // C4 is the table's row 2, column 1; B4 was not taken.
    ASSERT_EQ(table.uncomputedFormulas().cellCount(), 1);
    EXPECT_TRUE(table.uncomputedFormulas().contains(2, 1));

    // A value typed over the cell in the viewer takes its place; the same text typed again does not.
    ExcelBindingTable edited = table;
    ASSERT_TRUE(edited.setObjectValue(edited.objectValue(1, 2), 1, 2));
    EXPECT_TRUE(edited.uncomputedFormulas().contains(2, 1));
    ASSERT_TRUE(edited.setObjectValue(QStringLiteral("12.50"), 1, 2));
    EXPECT_TRUE(edited.uncomputedFormulas().isEmpty());

    ExcelBindingTable replaced = table;
    replaced.setListData(table.ListData());
    EXPECT_TRUE(replaced.sheetRows().isEmpty());
    EXPECT_TRUE(replaced.uncomputedFormulas().isEmpty());
}

// A cell typed over leaves its run of formula cells wherever it lies in it.
TEST(ColumnBinding, ACellTypedOverLeavesItsRunOfFormulaCells)
{
    const struct {
        qsizetype row;
        QList<qsizetype> left; // rows 2-6 of column 1 still marked
    } cases[] = {{2, {3, 4, 5, 6}}, {4, {2, 3, 5, 6}}, {6, {2, 3, 4, 5}}, {7, {2, 3, 4, 5, 6}}};
    for (const auto &c : cases) {
        UncomputedFormulas cells;
        for (qsizetype r = 2; r <= 6; ++r)
            cells.add(r, 1);
        cells.remove(c.row, 1);
        cells.remove(c.row, 2); // another column holds none
        QList<qsizetype> left;
        for (qsizetype r = 0; r <= 8; ++r)
            if (cells.contains(r, 1))
                left << r;
        EXPECT_EQ(left, c.left) << c.row;
        EXPECT_EQ(cells.cellCount(), c.left.size()) << c.row;
    }
}
