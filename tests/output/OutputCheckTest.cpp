// Bound objects follow their column's heading into another workbook, and the check before a run
// names the cards that would come out wrong, bound objects or not, counting the cards the run
// outputs.
#include "BatchDesignFixture.h"

#include "barcode/BarcodeGenerator.h"
#include "model/SKTImage.h"
#include "output/BatchBarcodeSettings.h"
#include "output/CardExport.h"
#include "output/ExportPaths.h"
#include "output/MailRun.h"
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
        const auto plan = RunPlan::make(d);
        const OutputCheck::Report report = OutputCheck::check(*plan);
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
        ASSERT_TRUE(CardExport::run(plan, tmp.filePath("out"), options, &progress).ok()) << c.what;
        const QDir folder(ExportPaths::batchFolderPath(tmp.filePath("out")));
        // The text reads the heading's column too, and the design keeps its own text.
        EXPECT_EQ(plan->valueOf(false, 1, 0), c.expected.first()) << c.what;
        EXPECT_EQ(d.front[1]->Text_contents().text, "Text here") << c.what;
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

    const OutputCheck::Report report = OutputCheck::check(*RunPlan::make(d));
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

namespace
{
// A QR Code of 60 points whose picture is made now, as the barcode window stores it.
GraphicPtr storedQrCode(const QPointF &at)
{
    GraphicPtr g = barcode(at, 1, 0, DataSourceCode::Fixed);
    g->Set_Barcode_image(
        BarcodeGenerator::Get_Image_From_Val(BatchBarcodeSettings::Set_Barcode_Prop_To_Control(*g),
                                             "https://example.com/", {}, {})
            .picture);
    return g;
}

GraphicPtr typed(const QRectF &bounds, const QString &words)
{
    GraphicPtr g = text(bounds, DataSourceCode::Fixed);
    g->Text_contents().text = words;
    return g;
}
} // namespace

TEST(OutputCheck, ObjectsTypedOrPlacedByHandAreCheckedToo)
{
    QTemporaryDir tmp;
    const QString gone = tmp.filePath("photo.png");
    GraphicPtr photo = SKTGraphic::create(SKTGraphic::Kind::Image);
    photo->setBounds(QRectF(150, 10, 60, 40));
    static_cast<SKTImage &>(*photo).setFilePath(gone);
    GraphicPtr hidden = typed(QRectF(10, 100, 30, 20), "Supercalifragilistic");
    hidden->ctrl_is_visible = false;
    struct Case {
        const char *what;
        GraphicPtr object;
        QString found; // "" when the card comes out right
    };
    const Case cases[] = {
        {"a text its box cuts", typed(QRectF(10, 10, 40, 20), "Supercalifragilistic"),
         "The text \"Supercalifragilistic\" on the front does not fit its box and is cut."},
        {"a text the card's edge cuts", typed(QRectF(190, 10, 150, 30), "Happy Birthday"),
         "The text \"Happy Birthday\" on the front runs past the card's edge and is cut."},
        {"a QR Code partly off the card", storedQrCode(QPointF(215, 120)),
         "The barcode on the front runs off the card."},
        {"a QR Code whose blank margin alone passes the edge", storedQrCode(QPointF(172, 40)), ""},
        {"a picture whose file is gone", photo,
         QStringLiteral("The picture on the front is blank: its file \"%1\" is gone.").arg(gone)},
        {"a hidden text", hidden, ""},
    };
    for (const Case &c : cases) {
        BatchFillSnapshot::Design d;
        d.frontPage.Card_Size = QSizeF(243, 154);
        d.front << c.object;
        const OutputCheck::Report single = OutputCheck::check(*RunPlan::make(d));
        EXPECT_EQ(single.text(), c.found) << c.what;

        // In a batch every card shows it.
        writeSeries(tmp.path(), "names", "Ann\nBo\nCy");
        d.dataFolder = tmp.path();
        d.front << text(QRectF(10, 120, 100, 20), DataSourceCode::Series, "names");
        const OutputCheck::Report batch = OutputCheck::check(*RunPlan::make(d));
        EXPECT_EQ(batch.text(), c.found.isEmpty() ? QString() : c.found + "\n3 of 3 cards (rows 1, 2, 3)")
            << c.what;
    }
}

namespace
{
class NoMail : public MailTransport
{
public:
    Delivery send(const Message &, const Account &, QString *) override { return Delivery::Sent; }
};
} // namespace

TEST(OutputCheck, CountsTheCardsAndSidesTheRunOutputs)
{
    // 320 rows whose first 311 are too long for the front's box, and a back text its box cuts.
    QTemporaryDir tmp;
    QStringList rows;
    for (int r = 1; r <= 320; ++r)
        rows << (r <= 311 ? QStringLiteral("user%1@example.org").arg(r) : QStringLiteral("a@b.c"));
    writeSeries(tmp.path(), "mails", rows.join('\n').toUtf8());
    BatchFillSnapshot::Design d;
    d.dataFolder = tmp.path();
    d.front << text(QRectF(10, 10, 60, 20), DataSourceCode::Series, "mails");
    d.back << typed(QRectF(10, 10, 40, 20), "Supercalifragilistic");
    d.CARD_SIDE_STR = "2";
    const auto design = RunPlan::make(d);

    MailRun::Request mail;
    mail.sender = "cards@example.com";
    QStringList forty;
    for (int k = 1; k <= 40; ++k)
        forty << QStringLiteral("guest%1@example.org").arg(k);
    mail.recipients = forty.join(',');
    mail.useSeries = true;
    mail.side = SideCode::Front;
    mail.spread = MailRun::Spread::OnePerRecipient;
    mail.plan = design;
    NoMail transport;
    ExportProgress progress;
    const MailRun::Outline outline = MailRun(mail, transport, progress).outline();
    ASSERT_TRUE(outline.cards);

    struct Case {
        const char *what;
        std::shared_ptr<const RunPlan> plan;
        QStringList counts; // each problem's "N of M" with the side it is on
    };
    const Case cases[] = {
        {"every card, both sides", design, {"front 311 of 320", "back 320 of 320"}},
        {"a mail run of one card to each of 40 recipients", outline.cards, {"front 40 of 40"}},
        {"a print of 315 labels",
         design->with(RunPlan::Choices().atMost(315)),
         {"front 311 of 315", "back 315 of 315"}},
        {"the back alone", design->with(RunPlan::Choices().withSides(ExportSide::Back)), {"back 320 of 320"}},
    };
    for (const Case &c : cases) {
        const OutputCheck::Report report = OutputCheck::check(*c.plan);
        QStringList counts;
        for (const OutputCheck::Problem &p : report.problems)
            counts << QStringLiteral("%1 %2 of %3")
                          .arg(p.what.contains("on the back") ? "back" : "front")
                          .arg(p.cards)
                          .arg(report.totalCards);
        EXPECT_EQ(counts, c.counts) << c.what;
    }
}

// Values no card could show are told as such, without making or laying out the whole value, and
// the report is the same however many threads share the work.
TEST(OutputCheck, HostileValuesAreToldWhateverTheThreads)
{
    QTemporaryDir tmp;
    const QStringList values{QString(100000, '1'), QString(7090, '1'), QString(1000000, '7'),
                             QStringLiteral("Code-128-runs-past-the-card-edge")};
    writeSeries(tmp.path(), "hostile", values.join('\n').toUtf8());
    BatchFillSnapshot::Design d;
    d.dataFolder = tmp.path();
    d.frontPage.Card_Size = QSizeF(243, 154);
    d.front << barcode(QPointF(10, 10), 0, 0, DataSourceCode::Series, "hostile");  // Code 39
    d.front << barcode(QPointF(160, 60), 1, 0, DataSourceCode::Series, "hostile"); // QR Code
    d.front << barcode(QPointF(10, 60), 0, 9, DataSourceCode::Series, "hostile");  // Code 128
    d.front << text(QRectF(10, 120, 100, 20), DataSourceCode::Series, "hostile");
    const auto plan = RunPlan::make(d);
    const OutputCheck::Report one = OutputCheck::check(*plan, BatchFiller::defaultBarcodeMaker(), 1);
    const QString series = " (series \"hostile\") ";
    EXPECT_EQ(whats(one).join('\n').toStdString(),
              (QStringList{
                   "The barcode on the front" + series + "has a value too long to fit on the card. [3]",
                   "The barcode on the front" + series + "runs off the card. [1]",
                   "The barcode on the front" + series + "cannot be made from the row's value. [3]",
                   "The barcode on the front" + series + "has a value too long to fit on the card. [3]",
                   "The barcode on the front" + series + "runs off the card. [1]",
                   "The text \"Text here\" on the front" + series + "does not fit its box and is cut. [4]",
               })
                  .join('\n')
                  .toStdString());
    EXPECT_EQ(OutputCheck::check(*plan, BatchFiller::defaultBarcodeMaker(), 8).text(), one.text());
}
