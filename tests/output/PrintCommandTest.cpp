// Sheets painted into a PDF file by the command-line harness through the print window's painter,
// checked with poppler: page counts and the refusals of layouts that cannot print.
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{
int pdfPages(const QString &pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression("Pages:\\s+(\\d+)").match(testsupport::output("pdfinfo", {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}
} // namespace

class PrintCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!testsupport::hasTool("pdfinfo"))
            GTEST_SKIP() << "pdfinfo is not installed";
        ASSERT_EQ(testsupport::cardtool({"design-new", design}).exitCode, 0);
    }
    QTemporaryDir tmp;
    QString design = tmp.filePath("card.dcard");
    QString pdf = tmp.filePath("sheets.pdf");
};

TEST_F(PrintCommand, SevenLabelsOnTwoByThreeGiveTwoSheets)
{
    const auto r = testsupport::cardtool({"print", design, "--out", pdf, "--paper", "A4", "--rows", "2",
                                          "--cols", "3", "--total", "7", "--align", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(r.outText().trimmed().endsWith("2 sheets, 7 labels")) << r.outText().toStdString();
    EXPECT_EQ(pdfPages(pdf), 2);
}

TEST_F(PrintCommand, LayoutsThatCannotPrintAreRefusedWithTheWindowsMessages)
{
    auto r = testsupport::cardtool(
        {"print", design, "--out", pdf, "--paper", "A4", "--rows", "1", "--cols", "1", "--total", "0"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains("There is no barcode to print.")) << r.errText().toStdString();
    r = testsupport::cardtool({"print", design, "--out", pdf, "--paper", "A4", "--rows", "1", "--cols", "1",
                               "--margins", "150,0,0,0"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains("'Card Size' is bigger than selected 'Paper Size'"))
        << r.errText().toStdString();
    r = testsupport::cardtool({"print", design, "--out", pdf, "--paper", "A4", "--rows", "0", "--cols", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(QFileInfo::exists(pdf));
}
