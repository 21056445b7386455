// The series-in-use test: only text, picture and barcode objects bound to the series count, the
// back only on a double-sided card, and a series whose file is gone is never in use.
#include "editor/SeriesInUse.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
GraphicPtr bound(SKTGraphic::Kind kind, const QString &series, int source = 1)
{
    GraphicPtr g = SKTGraphic::create(kind);
    g->data_source_type = source;
    g->batch_list_name = series;
    return g;
}
} // namespace

TEST(SeriesInUse, BoundKindsSidesAndMissingFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path();
    testsupport::writeFile(folder + QStringLiteral("/Names.txt"), "Ann\nBob\n");
    using K = SKTGraphic::Kind;

    EXPECT_TRUE(Check_Batch_File_In_Use_Validation("Names", {bound(K::Text, "Names")}, {}, "1", folder));
    EXPECT_TRUE(Check_Batch_File_In_Use_Validation("Names", {bound(K::Barcode, "Names")}, {}, "1", folder));
    // Another kind, another source or another series does not count.
    EXPECT_FALSE(Check_Batch_File_In_Use_Validation("Names", {bound(K::Shape, "Names")}, {}, "1", folder));
    EXPECT_FALSE(Check_Batch_File_In_Use_Validation("Names", {bound(K::Text, "Names", 2)}, {}, "1", folder));
    EXPECT_FALSE(Check_Batch_File_In_Use_Validation("Names", {bound(K::Image, "Other")}, {}, "1", folder));
    // The back counts only on a double-sided card.
    const GraphicList back{bound(K::Image, "Names")};
    EXPECT_FALSE(Check_Batch_File_In_Use_Validation("Names", {}, back, "1", folder));
    EXPECT_TRUE(Check_Batch_File_In_Use_Validation("Names", {}, back, "2", folder));
    // Objects still bound to a deleted series: not in use.
    QFile::remove(folder + QStringLiteral("/Names.txt"));
    EXPECT_FALSE(Check_Batch_File_In_Use_Validation("Names", {bound(K::Text, "Names")}, back, "2", folder));
    // A name that leads out of the folder never reaches the disk.
    testsupport::writeFile(dir.filePath("x.txt"), "1");
    EXPECT_FALSE(
        Check_Batch_File_In_Use_Validation("../x", {bound(K::Text, "../x")}, {}, "1", folder + "/sub"));
}
