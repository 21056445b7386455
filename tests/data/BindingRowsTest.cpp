// The binding table's rows: what they cost on the heap, by both roads rows come in (a workbook's
// columns, a design file's maps) and after a copy is edited, and that they keep every cell as a
// map per row kept it.
#include "data/ExcelBindingTable.h"
#include "support/MeasuredMemory.h"

#include <gtest/gtest.h>

#include <functional>

#include <malloc.h>

namespace
{

// Bytes the allocator has handed out and not taken back: a count, not the process's size.
qint64 heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return qint64(m.uordblks) + qint64(m.hblkhd);
}

constexpr int Rows = 20000;
constexpr int Columns = 10;

QString cell(int row, int column)
{
    return QStringLiteral("Guest %1-%2").arg(row).arg(column); // 9 to 13 characters
}

QStringList titles(int columns)
{
    QStringList out;
    for (int c = 1; c <= columns; ++c)
        out << QStringLiteral("Heading %1").arg(c);
    return out;
}

} // namespace

TEST(BindingRowsTest, RowsCostLittleMoreThanTheirTextsByEveryRoad)
{
    struct Road {
        const char *name;
        std::function<void(ExcelBindingTable &)> fill;
    };
    const Road roads[] = {
        {"columns of a workbook",
         [](ExcelBindingTable &t) {
             for (int r = 0; r < Rows; ++r) {
                 QStringList cells;
                 for (int c = 0; c < Columns; ++c)
                     cells << cell(r, c);
                 t.Create_List_By_Array(cells, Columns);
             }
         }},
        {"maps of a design file",
         [](ExcelBindingTable &t) {
             QList<ExcelBindingTable::Row> rows;
             for (int r = 0; r < Rows; ++r) {
                 ExcelBindingTable::Row row{{ExcelBindingTable::rowNumberKey(), QString::number(r + 1)}};
                 for (int c = 0; c < Columns; ++c)
                     row.insert(ExcelBindingTable::columnIdentifier(c + 1), cell(r, c));
                 rows << row;
             }
             t.setListData(rows);
         }},
    };
    const qint64 cells = qint64(Rows) * (Columns + 1);
    for (const Road &road : roads) {
        const qint64 before = heapInUse();
        ExcelBindingTable table;
        table.setColumnTitles(titles(Columns));
        road.fill(table);
        const qint64 held = heapInUse() - before;
        // Some 22 bytes of text and 8 of place a cell; a map per row took over 200.
        if (testsupport::MemoryIsMeasured) {
            EXPECT_LT(held / cells, 64) << road.name;
        }

        // A copy, as an undo step or a run keeps, shares it all; an edit to it copies one column.
        const qint64 beforeCopy = heapInUse();
        ExcelBindingTable copy = table;
        if (testsupport::MemoryIsMeasured) {
            EXPECT_LT(heapInUse() - beforeCopy, 4096) << road.name;
        }
        ASSERT_TRUE(copy.setObjectValue(QStringLiteral("Changed"), 3, 7));
        if (testsupport::MemoryIsMeasured) {
            EXPECT_LT(heapInUse() - beforeCopy, held / 4) << road.name;
        }
        EXPECT_EQ(copy.objectValue(3, 7), QStringLiteral("Changed")) << road.name;
        EXPECT_EQ(table.objectValue(3, 7), cell(7, 2)) << road.name;
        EXPECT_FALSE(copy.rows() == table.rows()) << road.name;
    }
}

TEST(BindingRowsTest, RowsComeBackAsTheMapsTheyWere)
{
    using Row = ExcelBindingTable::Row;
    const QString lone = QString(QChar(0xD800)) + QStringLiteral("x"); // no UTF-8 carries it
    const QList<QList<Row>> cases = {
        {},
        {Row{}},
        {{{"Extension", "1"}, {"Column1", "Ann"}}, {{"Extension", "2"}}, {{"Column2", ""}}},
        {{{"Column10", "ten"}, {"Column2", "two"}, {"Extension", "1"}, {"Other", "kept"}}},
        {{{"Extension", "1"}, {"Column1", lone}}, {{"Extension", "2"}, {"Column1", QStringLiteral("Zoë 😀")}}},
    };
    for (qsizetype i = 0; i < cases.size(); ++i) {
        ExcelBindingTable table;
        table.setListData(cases.at(i));
        EXPECT_EQ(table.ListData(), cases.at(i)) << i;
        for (qsizetype r = 0; r < cases.at(i).size(); ++r) {
            EXPECT_EQ(table.row(int(r)).keys(), cases.at(i).at(r).keys()) << i << " row " << r;
            EXPECT_EQ(table.rows().cellCount(r), cases.at(i).at(r).size()) << i << " row " << r;
        }
    }
}

TEST(BindingRowsTest, RowsCompareCellByCellAsMapsDo)
{
    using Row = ExcelBindingTable::Row;
    const QList<Row> base{{{"Extension", "1"}, {"Column1", "Ann"}}, {{"Extension", "2"}, {"Column1", ""}}};
    const struct {
        const char *what;
        QList<Row> other;
        bool equal;
    } cases[] = {
        {"the same cells", base, true},
        {"keys in another order of arrival",
         {{{"Column1", "Ann"}, {"Extension", "1"}}, {{"Column1", ""}, {"Extension", "2"}}},
         true},
        {"a null text for an empty one",
         {{{"Extension", "1"}, {"Column1", "Ann"}}, {{"Extension", "2"}, {"Column1", QString()}}},
         true},
        {"an empty cell left out", {{{"Extension", "1"}, {"Column1", "Ann"}}, {{"Extension", "2"}}}, false},
        {"a cell more",
         {{{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", ""}}, {{"Extension", "2"}, {"Column1", ""}}},
         false},
        {"another text",
         {{{"Extension", "1"}, {"Column1", "Anne"}}, {{"Extension", "2"}, {"Column1", ""}}},
         false},
        {"a row fewer", base.mid(0, 1), false},
    };
    ExcelBindingTable mine;
    mine.setListData(base);
    for (const auto &c : cases) {
        ExcelBindingTable theirs;
        theirs.setListData(c.other);
        EXPECT_EQ(mine.rows() == theirs.rows(), c.equal) << c.what;
        EXPECT_EQ(theirs.rows() == mine.rows(), c.equal) << c.what;
        EXPECT_EQ(mine.ListData() == theirs.ListData(), c.equal) << c.what << " (as maps)";
    }
}

TEST(BindingRowsTest, EditedCellsKeepTheirTextsHoweverOftenTheyChange)
{
    ExcelBindingTable table;
    table.setColumnTitles(titles(2));
    for (int r = 0; r < 1000; ++r)
        table.Create_List_By_Array({cell(r, 0), cell(r, 1)}, 2);
    const ExcelBindingTable before = table;
    // Longer, shorter, empty and longer again: texts written over, past the end, and packed again.
    const QStringList rounds{QStringLiteral("a much longer text than before %1"), QStringLiteral("s%1"),
                             QString(), QStringLiteral("longer still, the last round's text %1")};
    for (const QString &round : rounds) {
        for (int r = 0; r < 1000; ++r)
            ASSERT_TRUE(table.setObjectValue(round.isEmpty() ? round : round.arg(r), 2, r));
        for (int r = 0; r < 1000; ++r) {
            ASSERT_EQ(table.objectValue(2, r), round.isEmpty() ? round : round.arg(r)) << round.toStdString();
            ASSERT_EQ(table.objectValue(1, r), cell(r, 0));
        }
    }
    EXPECT_TRUE(table.setObjectValue(QStringLiteral("new"), 0, 999));
    EXPECT_EQ(table.objectValue(0, 999), QStringLiteral("new"));
    EXPECT_FALSE(table.setObjectValue(QStringLiteral("x"), 3, 0)) << "past the columns";
    EXPECT_FALSE(table.setObjectValue(QStringLiteral("x"), 1, 1000)) << "past the rows";
    for (int r = 0; r < 1000; ++r)
        ASSERT_EQ(before.objectValue(2, r), cell(r, 1)) << "the copy taken before the edits";
}
