// Counting data rows and cards: which sources take part, the longest source deciding the count,
// and series found by name whatever their place in the folder listing.
#include "data/BatchRowCounter.h"

#include <gtest/gtest.h>

namespace
{
BoundObjectInfo series(const QString &name, BoundKind kind = BoundKind::Text)
{
    return BoundObjectInfo{kind, 1, name, 0};
}
BoundObjectInfo column(int c)
{
    return BoundObjectInfo{BoundKind::Barcode, 2, {}, c};
}
SeriesLoader loader(const QHash<QString, QStringList> &files)
{
    return [files](const QString &name) -> std::optional<QStringList> {
        if (!files.contains(name))
            return std::nullopt;
        return files.value(name);
    };
}
} // namespace

TEST(BatchRowCounter, LongestSourceDecides)
{
    const auto load = loader({{"three", {"a", "b", "c"}}, {"five", {"1", "2", "3", "4", "5"}}});
    SeriesTable table;
    const BatchCounts c = BatchRowCounter::Check_Series_Or_Excel_Use_or_not(
        table, {series("three"), series("five", BoundKind::Image), column(1)}, {}, false, 4, load);
    EXPECT_TRUE(c.Use_Data_Sheet_Values);
    EXPECT_TRUE(c.Use_Excel_Binding_Values);
    EXPECT_EQ(c.Data_table_rows, 5);
    EXPECT_EQ(c.Excel_table_rows, 4);
    EXPECT_EQ(c.Total_Batch_Excel_Card, 5);
    EXPECT_EQ(table.Get_sel_row_col_value_of_dataset(2, "three"), QStringLiteral("c"));
    EXPECT_EQ(table.Get_sel_row_col_value_of_dataset(3, "three"), QString());
    EXPECT_EQ(table.Get_sel_row_col_value_of_dataset(4, "five"), QStringLiteral("5"));
    EXPECT_EQ(table.Get_sel_row_col_value_of_dataset(-1, "five"), QString());

    // A producer that leaves out the series recounts.
    BatchCounts only = c;
    only.Use_Data_Sheet_Values = false;
    BatchRowCounter::Get_total_Card_count(only, table, 4);
    EXPECT_EQ(only.Total_Batch_Excel_Card, 4);
    EXPECT_EQ(only.Data_table_rows, 0);
}

TEST(BatchRowCounter, SidesKindsAndMissingSeries)
{
    const auto load = loader({{"s", {"x"}}});
    SeriesTable table;
    // The back takes part only on a double-sided card.
    EXPECT_TRUE(BatchRowCounter::Check_Series_Or_Excel_Use_or_not(table, {}, {series("s")}, true, 0, load)
                    .Use_Data_Sheet_Values);
    EXPECT_FALSE(BatchRowCounter::Check_Series_Or_Excel_Use_or_not(table, {}, {series("s")}, false, 0, load)
                     .Use_Data_Sheet_Values);
    // Lines and shapes never take part; a missing series gives no rows; an empty table no cards.
    EXPECT_FALSE(BatchRowCounter::Check_Series_Or_Excel_Use_or_not(table, {series("s", BoundKind::Other)}, {},
                                                                   false, 0, load)
                     .Use_Data_Sheet_Values);
    const BatchCounts missing = BatchRowCounter::Check_Series_Or_Excel_Use_or_not(
        table, {series("gone"), column(0)}, {}, false, 0, load);
    EXPECT_FALSE(missing.Use_Data_Sheet_Values);
    EXPECT_FALSE(missing.Use_Excel_Binding_Values);
    EXPECT_EQ(missing.Total_Batch_Excel_Card, 0);
}
