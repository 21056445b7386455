// The compact rows of a worksheet: cells land in their columns, short rows read as padded, texts
// come back whole (escapes resolved once), and the cells of one shared string share its text.
#include "data/XlsxTable.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

std::shared_ptr<XlsxStringPool> pool()
{
    auto p = std::make_shared<XlsxStringPool>();
    p->append("first", false);
    p->append("", false);
    p->append("tab_x0009_here", true);
    return p;
}

} // namespace

TEST(XlsxTable, RowsReadAsWideAsTheTable)
{
    XlsxTable table(pool());
    table.appendRow();
    table.setText(3, "c1", false);
    table.setShared(1, 0);
    table.appendRow(); // an empty row
    table.appendRow();
    table.setText(2, "_x0041_ kept as written", false);
    table.setShared(4, 2);
    table.setText(2, "\xC3\xA9t\xC3\xA9 _x0042_", true); // set twice: the last text counts
    table.setColumnCount(5);

    const QList<QStringList> expected{{"first", "", "c1", "", ""},
                                      {"", "", "", "", ""},
                                      {"", QString::fromUtf8("\xC3\xA9t\xC3\xA9 B"), "", "tab\there", ""}};
    EXPECT_TRUE(table == expected);
    EXPECT_EQ(table.toList(), expected);
    for (qsizetype r = 0; r < table.size(); ++r)
        EXPECT_EQ(table[r], expected[r]);
    EXPECT_EQ(table.text(2, 3), QStringLiteral("tab\there"));
    EXPECT_EQ(table.text(3, 0), QString());
    EXPECT_EQ(table.text(0, 5), QString());
    EXPECT_EQ(table.at(-1), QStringList());
}

TEST(XlsxTable, CellsOfOneSharedStringShareItsText)
{
    XlsxTable table(pool());
    for (int r = 0; r < 3; ++r) {
        table.appendRow();
        table.setShared(1, 2);
    }
    table.setColumnCount(1);
    const QList<QStringList> rows = table.toList();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][0], QStringLiteral("tab\there"));
    EXPECT_EQ(rows[0][0].constData(), rows[2][0].constData());
    // Copies share the cells instead of copying them.
    const XlsxTable copy = table;
    EXPECT_TRUE(copy == rows);
}
