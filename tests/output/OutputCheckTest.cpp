// Bound objects follow their column's heading into another workbook, and the row check before a
// run names the cards that would come out wrong.
#include "BatchDesignFixture.h"

#include "output/CardExport.h"
#include "output/ExportPaths.h"
#include "output/OutputCheck.h"

#include <gtest/gtest.h>

using namespace batchtest;

namespace
{
// A workbook as the binding table holds it: headings, then rows of cells.
BatchFillSnapshot::Design workbookDesign(const QStringList &headings, const QList<QStringList> &rows)
{
    BatchFillSnapshot::Design d;
    d.frontPage.Card_Size = QSizeF(243, 154);
    d.excelTitles = QStringList{"Row"} + headings;
    for (int r = 0; r < rows.size(); ++r) {
        BatchFillSnapshot::ExcelRow row{{"Extension", QString::number(r + 1)}};
        for (int c = 0; c < rows[r].size(); ++c)
            row.insert(ExcelBindingTable::columnIdentifier(c + 1), rows[r][c]);
        d.excelRows << row;
    }
    return d;
}

// Bound to "Long" while it was column 2 of Name, Long, Date.
GraphicPtr boundToLong(GraphicPtr g)
{
    g->excel_col_indx = 2;
    g->excel_col_title = QStringLiteral("Long");
    return g;
}

QStringList whats(const OutputCheck::Report &report)
{
    QStringList out;
    for (const OutputCheck::Problem &p : report.problems)
        out << QStringLiteral("%1 [%2]").arg(p.what).arg(p.cards);
    return out;
}
} // namespace

TEST(OutputCheck, ExportedCardsReadTheBoundHeadingInAnotherWorkbook)
{
    struct Case {
        const char *what;
        QStringList headings;
        QList<QStringList> rows;
        QStringList expected; // the QR Code of each card; "" for none
    };
    const Case cases[] = {
        {"a column inserted before",
         {"Name", "Secret", "Long", "Date"},
         {{"Ann", "s-1", "long-1", "d"}, {"Bo", "s-2", "long-2", "d"}},
         {"long-1", "long-2"}},
        {"a reordered workbook",
         {"Date", "Long", "Name"},
         {{"d", "long-1", "Ann"}, {"d", "long-2", "Bo"}},
         {"long-1", "long-2"}},
        {"a workbook without the column", {"Name", "Date"}, {{"Ann", "d"}, {"Bo", "d"}}, {"", ""}},
    };
    for (const Case &c : cases) {
        QTemporaryDir tmp;
        BatchFillSnapshot::Design d = workbookDesign(c.headings, c.rows);
        d.front << boundToLong(barcode(QPointF(60, 20), 1, 0, DataSourceCode::BindingColumn));
        d.front << boundToLong(text(QRectF(10, 100, 200, 30), DataSourceCode::BindingColumn));
        auto snapshot = std::make_shared<const BatchFillSnapshot>(BatchFillSnapshot::take(d));
        const OutputCheck::Report report = OutputCheck::check(*snapshot);
        const QStringList expected =
            c.expected.first().isEmpty()
                ? QStringList{"The barcode on the front is blank: the workbook has no column \"Long\". [2]",
                              "The text \"Text here\" on the front is blank: the workbook has no column "
                              "\"Long\". [2]"}
                : QStringList();
        EXPECT_EQ(whats(report), expected) << c.what;

        ExportProgress progress;
        ExportOptions options;
        options.dpi = 200;
        ASSERT_TRUE(CardExport::run(snapshot, tmp.filePath("out"), options, &progress).ok()) << c.what;
        const QDir folder(ExportPaths::batchFolderPath(tmp.filePath("out")));
        // The live design, refilled with row 1 after the run, reads the heading's column too.
        GraphicList live = BatchFillSnapshot::cloneList(d.front);
        BatchFiller filler(snapshot, 72.0);
        QString error;
        ASSERT_TRUE(filler.Assign_Batch_Values_To_Control(live, 0, &error)) << error.toStdString();
        EXPECT_EQ(live[1]->Text_contents().text, c.expected.first()) << c.what;
        for (int k = 0; k < c.expected.size(); ++k) {
            const QStringList found = decode(folder.filePath(QStringLiteral("Card_%1.png").arg(k + 1)));
            EXPECT_EQ(found, c.expected[k].isEmpty() ? QStringList() : QStringList("QRCode:" + c.expected[k]))
                << c.what << " card " << k + 1;
        }
    }
}

TEST(OutputCheck, NamesTheCardsThatWouldComeOutWrong)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "mails", "a@b.c\nuser12@example.org\nx@y.z\nuser300@example.org\n");
    writeSeries(tmp.path(), "ean", "5901234123457\nNOT-DIGITS\n4006381333931\nNOT-DIGITS\n");
    writeSeries(tmp.path(), "short", "one\n");
    BatchFillSnapshot::Design d = workbookDesign({"Code"}, {{"A"}, {""}, {"B"}, {"C"}});
    d.dataFolder = tmp.path();
    d.front << text(QRectF(10, 10, 60, 20), DataSourceCode::Series, "mails");
    d.front << barcode(QPointF(10, 40), 0, 8, DataSourceCode::Series, "ean");          // EAN-13
    d.front << barcode(QPointF(215, 120), 1, 0, DataSourceCode::BindingColumn, {}, 1); // QR at the corner
    d.front << text(QRectF(10, 120, 100, 20), DataSourceCode::Series, "short");
    d.back << text(QRectF(10, 10, 20, 20), DataSourceCode::Series, "mails"); // the back takes no part

    const OutputCheck::Report report = OutputCheck::check(BatchFillSnapshot::take(d));
    EXPECT_EQ(report.totalCards, 4);
    EXPECT_EQ(
        whats(report),
        (QStringList{
            "The text \"Text here\" on the front (series \"mails\") does not fit its box and is cut. [2]",
            "The barcode on the front (series \"ean\") cannot be made from the row's value. [2]",
            "The barcode on the front (column \"Code\") runs off the card. [3]",
            "The text \"Text here\" on the front (series \"short\") is blank past row 1, where its source "
            "ends. [3]",
        }));
    ASSERT_EQ(report.problems.size(), 4);
    EXPECT_EQ(report.problems[0].firstRows, (QList<int>{2, 4}));
    EXPECT_EQ(report.problems[2].firstRows, (QList<int>{1, 3, 4}));
    EXPECT_EQ(report.problems[3].firstRows, (QList<int>{2, 3, 4}));
    EXPECT_TRUE(report.text().contains("2 of 4 cards (rows 2, 4)")) << report.text().toStdString();
    EXPECT_TRUE(report.text(1).endsWith("(rows 2, 4)\n\n… and 3 more.")) << report.text(1).toStdString();
}
