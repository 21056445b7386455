// Bound objects follow their column's heading into another workbook, and the check before a run
// names the cards that would come out wrong, bound objects or not, counting the cards the run
// outputs.
#include "BatchDesignFixture.h"

#include "barcode/BarcodeGenerator.h"
#include "barcode/BarcodeSettings.h"
#include "model/SKTImage.h"
#include "output/BatchBarcodeSettings.h"
#include "output/CardExport.h"
#include "output/ExportPaths.h"
#include "output/MailRun.h"
#include "output/OutputCheck.h"
#include "output/OwnBarcodePicture.h"
#include "platform/FontCoverage.h"

#include <gtest/gtest.h>

using namespace batchtest;

namespace
{
// A workbook as the binding table holds it: headings, then rows of cells.
CardDesign workbookDesign(const QStringList &headings, const QList<QStringList> &rows)
{
    CardDesign d;
    d.setCardSize(QSizeF(243, 154));
    batchtest::setTitles(d, headings);
    for (int r = 0; r < rows.size(); ++r) {
        ExcelBindingTable::Row row{{"Extension", QString::number(r + 1)}};
        for (int c = 0; c < rows[r].size(); ++c)
            row.insert(ExcelBindingTable::columnIdentifier(c + 1), rows[r][c]);
        batchtest::addRow(d, row);
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
        CardDesign d = workbookDesign(c.headings, c.rows);
        d.front << boundToLong(barcode(QPointF(60, 20), 1, 0, DataSourceCode::BindingColumn));
        d.front << boundToLong(text(QRectF(10, 100, 200, 30), DataSourceCode::BindingColumn));
        const auto plan = RunPlan::make(d);
        const OutputCheck::Report report = OutputCheck::check(*plan);
        const QStringList expected =
            c.expected.first().isEmpty()
                ? QStringList{"Blank cards: every value they are filled with is empty. [2]",
                              "The barcode (QR Code) on the front is blank: the workbook has no column "
                              "\"Long\". [2]",
                              "The text on the front is blank: the workbook has no column \"Long\". [2]"}
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
    CardDesign d = workbookDesign({"Code"}, {{"A"}, {""}, {"B"}, {"C"}});
    const QString dFolder = tmp.path();
    d.front << text(QRectF(10, 10, 60, 20), DataSourceCode::Series, "mails");
    d.front.last()->Text_contents().text = "a@b.c"; // the first row's, which fits, as the canvas shows it
    d.front << barcode(QPointF(10, 40), 0, 8, DataSourceCode::Series, "ean");          // EAN-13
    d.front << barcode(QPointF(215, 120), 1, 0, DataSourceCode::BindingColumn, {}, 1); // QR at the corner
    d.front << text(QRectF(10, 120, 100, 20), DataSourceCode::Series, "short");
    d.back << text(QRectF(10, 10, 20, 20), DataSourceCode::Series, "mails");
    d.frontPage.Card_Side = "1"; // the back takes no part

    const OutputCheck::Report report = OutputCheck::check(*planIn(d, dFolder));
    EXPECT_EQ(report.totalCards, 4);
    EXPECT_EQ(
        whats(report),
        (QStringList{
            "The text \"user12@example.org\" on the front (series \"mails\") does not fit its box and "
            "is cut. "
            "[2]",
            "The barcode \"NOT-DIGITS\" (EAN-13) on the front (series \"ean\") cannot be made from the row's "
            "value. [2]",
            "The barcode \"A\" (QR Code) on the front (column \"Code\") runs off the card. [3]",
            "The text on the front (series \"short\") is blank past row 1, where its source ends. [3]",
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
GraphicPtr storedQrCode(const QPointF &at, const QString &value = "https://example.com/")
{
    GraphicPtr g = barcode(at, 1, 0, DataSourceCode::Fixed);
    g->two_d_font_val = value;
    g->Set_Barcode_image(BarcodeGenerator::Get_Image_From_Val(
                             BatchBarcodeSettings::Set_Barcode_Prop_To_Control(*g), value, {}, {})
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
    const QString notAPicture = tmp.filePath("notes.png");
    testsupport::writeFile(notAPicture, "not a picture");
    GraphicPtr unreadable = SKTGraphic::create(SKTGraphic::Kind::Image);
    unreadable->setBounds(QRectF(150, 60, 60, 40));
    static_cast<SKTImage &>(*unreadable).setFilePath(notAPicture);
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
         "The barcode \"https://example.com/\" (QR Code) on the front runs off the card."},
        {"a QR Code whose blank margin alone passes the edge", storedQrCode(QPointF(172, 40)), ""},
        {"a picture whose file is gone", photo,
         QStringLiteral("The picture on the front is blank: its file \"%1\" is gone.").arg(gone)},
        {"a picture whose file is no picture", unreadable,
         QStringLiteral("The picture on the front is blank: its file \"%1\" cannot be read.")
             .arg(notAPicture)},
        {"a hidden text", hidden, ""},
    };
    for (const Case &c : cases) {
        CardDesign d;
        d.setCardSize(QSizeF(243, 154));
        d.front << c.object;
        const OutputCheck::Report single = OutputCheck::check(*RunPlan::make(d));
        EXPECT_EQ(single.text(), c.found) << c.what;

        // In a batch every card shows it.
        writeSeries(tmp.path(), "names", "Ann\nBo\nCy");
        const QString dFolder = tmp.path();
        d.front << text(QRectF(10, 120, 100, 20), DataSourceCode::Series, "names");
        const OutputCheck::Report batch = OutputCheck::check(*planIn(d, dFolder));
        EXPECT_EQ(batch.text(), c.found.isEmpty() ? QString() : c.found + "\n3 of 3 cards (rows 1, 2, 3)")
            << c.what;
    }
}

TEST(OutputCheck, NamesABarcodeSomethingCoversOrWhoseTypeCannotHoldItsValue)
{
    // A stored QR Code is drawn whole past its 10-point frame, out to (80, 80) and more.
    const auto shape = [](const QRectF &bounds) {
        GraphicPtr g = SKTGraphic::create(SKTGraphic::Kind::Shape);
        g->setBounds(bounds);
        return g;
    };
    GraphicPtr ean = storedQrCode(QPointF(20, 20));
    ean->linear_or_2d = 0;
    ean->barcode_font_index = int(BarcodeSettings::linearTitles().indexOf("EAN-13"));
    ean->linear_font_val = QStringLiteral("Hello QR");
    GraphicPtr hiddenShape = shape(QRectF(40, 40, 20, 20));
    hiddenShape->ctrl_is_visible = false;
    struct Case {
        const char *what;
        GraphicList front; // the first in front
        QString found;
    };
    const QString covered = "The barcode \"https://example.com/\" (QR Code) on the front is partly covered "
                            "by %1: it may not scan.";
    GraphicPtr fingerprint = SKTGraphic::create(SKTGraphic::Kind::Signature);
    fingerprint->setBounds(QRectF(30, 30, 20, 20));
    fingerprint->sign_or_fingureprint = QString(SignatureCode::Fingerprint);
    const Case cases[] = {
        {"a text over the symbol",
         {typed(QRectF(30, 30, 60, 20), "Over"), storedQrCode(QPointF(20, 20))},
         covered.arg("the text \"Over\"")},
        {"a shape over the symbol past its small frame",
         {shape(QRectF(50, 50, 20, 20)), storedQrCode(QPointF(20, 20))},
         covered.arg("a shape")},
        {"another barcode over it",
         {storedQrCode(QPointF(60, 60), "Over QR"), storedQrCode(QPointF(20, 20))},
         covered.arg("the barcode \"Over QR\" (QR Code)")},
        {"a fingerprint over it", {fingerprint, storedQrCode(QPointF(20, 20))}, covered.arg("a fingerprint")},
        {"off the card and under another barcode",
         {storedQrCode(QPointF(170, 90), "Over QR"), storedQrCode(QPointF(215, 120))},
         "The barcode \"https://example.com/\" (QR Code) on the front runs off the card and is partly "
         "covered "
         "by the barcode \"Over QR\" (QR Code): it may not scan."},
        {"a text behind the symbol",
         {storedQrCode(QPointF(20, 20)), typed(QRectF(30, 30, 60, 20), "Under")},
         "The text \"Under\" on the front lies under the barcode \"https://example.com/\" (QR Code) and does "
         "not show there."},
        {"a tall text box whose words lie above the symbol",
         {storedQrCode(QPointF(20, 40)), typed(QRectF(20, 5, 60, 60), "Above")},
         ""},
        {"a shape beside it", {shape(QRectF(150, 20, 20, 20)), storedQrCode(QPointF(20, 20))}, ""},
        {"a hidden shape over it", {hiddenShape, storedQrCode(QPointF(20, 20))}, ""},
        {"a type its value does not suit",
         {ean},
         "The barcode \"Hello QR\" (EAN-13) on the front cannot be made as EAN-13 from its value \"Hello "
         "QR\"."},
    };
    for (const Case &c : cases) {
        CardDesign d;
        d.setCardSize(QSizeF(243, 154));
        d.front = c.front;
        const OutputCheck::Report report = OutputCheck::check(*RunPlan::make(d));
        EXPECT_EQ(report.text(), c.found) << c.what;
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
    CardDesign d;
    const QString dFolder = tmp.path();
    d.front << text(QRectF(10, 10, 60, 20), DataSourceCode::Series, "mails");
    d.back << typed(QRectF(10, 10, 40, 20), "Supercalifragilistic");
    d.frontPage.Card_Side = "2";
    const auto design = planIn(d, dFolder);

    MailRun::Request mail;
    mail.sender = "cards@example.com";
    QStringList forty;
    for (int k = 1; k <= 40; ++k)
        forty << QStringLiteral("guest%1@example.org").arg(k);
    mail.recipients = forty.join(',');
    mail.side = SideCode::Front;
    mail.spread = MailRun::Spread::OnePerRecipient;
    mail.plan = design;
    NoMail transport;
    ExportProgress progress;
    const MailRun::Outline outline = MailRun(mail, transport, progress).outline();
    ASSERT_TRUE(outline.plan);

    struct Case {
        const char *what;
        std::shared_ptr<const RunPlan> plan;
        QStringList counts; // each problem's "N of M" with the side it is on
    };
    const Case cases[] = {
        {"every card, both sides", design, {"front 311 of 320", "back 320 of 320"}},
        {"a mail run of one card to each of 40 recipients", outline.plan, {"front 40 of 40"}},
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
    CardDesign d;
    const QString dFolder = tmp.path();
    d.setCardSize(QSizeF(243, 154));
    d.front << barcode(QPointF(10, 10), 0, 0, DataSourceCode::Series, "hostile");  // Code 39
    d.front << barcode(QPointF(160, 60), 1, 0, DataSourceCode::Series, "hostile"); // QR Code
    d.front << barcode(QPointF(10, 60), 0, 9, DataSourceCode::Series, "hostile");  // Code 128
    d.front << text(QRectF(10, 120, 100, 20), DataSourceCode::Series, "hostile");
    const auto plan = planIn(d, dFolder);
    const OutputCheck::Report one = OutputCheck::check(*plan, OwnBarcodePicture::batchRoad(), 1);
    const QString series = " (series \"hostile\") ";
    const QString ones = QString(23, '1') + "…";
    EXPECT_EQ(
        whats(one).join('\n').toStdString(),
        (QStringList{
             "The barcode \"" + ones + "\" (Code 39) on the front" + series +
                 "has a value too long to fit on the card. [3]",
             "The barcode \"Code-128-runs-past-the-…\" (Code 39) on the front" + series +
                 "runs off the card. [1]",
             "The barcode \"" + ones + "\" (QR Code) on the front" + series +
                 "cannot be made from the row's value. [3]",
             "The barcode \"" + ones + "\" (Code 128) on the front" + series +
                 "has a value too long to fit on the card. [3]",
             // The QR Code in front shows a row's value: named by its type alone.
             "The barcode \"Code-128-runs-past-the-…\" (Code 128) on the front" + series +
                 "runs off the card and is partly covered by the barcode (QR Code): it may not scan. [1]",
             "The text \"11111111111111111111111…\" on the front" + series +
                 "does not fit its box and is cut. [4]",
         })
            .join('\n')
            .toStdString());
    EXPECT_EQ(OutputCheck::check(*plan, OwnBarcodePicture::batchRoad(), 8).text(), one.text());
    // Measured instead of made, the barcodes are judged the same.
    EXPECT_EQ(OutputCheck::check(*plan, 8).text(), one.text());
}

namespace
{
// The problems of a report that name characters no font can draw, with their card counts.
QStringList undrawables(const OutputCheck::Report &report)
{
    return whats(report).filter("no font here can draw");
}

QString repeated(char32_t first, int distinct, int times)
{
    QString once;
    for (char32_t c = first; c < first + char32_t(distinct); ++c)
        once += QString::fromUcs4(&c, 1);
    return once.repeated(times);
}
} // namespace

// Characters no installed font has are named by their code, once per object whichever rows bring
// them; the barcode's shown header and footer count, its hidden ones do not.
TEST(OutputCheck, NamesTheCharactersNoFontCanDraw)
{
    const QString tangut = QString::fromUtf8("\U00017000"), tangut2 = QString::fromUtf8("\U00017001");
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "names",
                QStringLiteral("Ann\nBo %1\nCy %2\nDi %1\nZoe\u0308").arg(tangut, tangut2).toUtf8());
    writeSeries(tmp.path(), "many", repeated(0x17000, 20, 500).toUtf8());
    GraphicPtr labelled = barcode(QPointF(10, 10), 1, 0, DataSourceCode::Fixed);
    labelled->show_hide_hdr = 0;
    labelled->header_val = "Party " + tangut;
    labelled->footer_val = QString::fromUtf8("\U0010FFFD"); // hidden
    struct Case {
        const char *what;
        GraphicPtr object;
        QStringList expected;
    };
    const Case cases[] = {
        {"a typed text",
         typed(QRectF(10, 10, 200, 30), QString::fromUtf8("Zoë ") + tangut),
         {QString::fromUtf8("The text \"Zoë %1\" on the front has characters no font here can draw: %1 "
                            "(U+17000). [1]")
              .arg(tangut)}},
        {"a barcode's header",
         labelled,
         {QStringLiteral("The barcode \"0123\" (QR Code) on the front has characters no font here can draw "
                         "in its header or "
                         "footer: %1 (U+17000). [1]")
              .arg(tangut)}},
        {"rows of a series",
         text(QRectF(10, 10, 220, 30), DataSourceCode::Series, "names"),
         {QStringLiteral("The text \"Bo %1\" on the front (series \"names\") has characters no font here "
                         "can draw: %1 (U+17000), %2 (U+17001). [3]")
              .arg(tangut, tangut2)}},
        {"a value of twenty such characters",
         text(QRectF(10, 10, 220, 30), DataSourceCode::Series, "many"),
         {QStringLiteral(
              "The text \"%9…\" on the front (series \"many\") has characters no font here can draw: "
              "%1 (U+17000), %2 (U+17001), %3 (U+17002), %4 (U+17003), %5 (U+17004), %6 (U+17005), "
              "%7 (U+17006), %8 (U+17007) and more. [1]")
              .arg(tangut, tangut2, repeated(0x17002, 1, 1), repeated(0x17003, 1, 1), repeated(0x17004, 1, 1),
                   repeated(0x17005, 1, 1), repeated(0x17006, 1, 1), repeated(0x17007, 1, 1),
                   repeated(0x17000, 20, 1).left(23))}},
    };
    for (const Case &c : cases) {
        CardDesign d;
        const QString dFolder = tmp.path();
        d.setCardSize(QSizeF(243, 154));
        d.front << c.object;
        EXPECT_EQ(undrawables(OutputCheck::check(*planIn(d, dFolder))), c.expected) << c.what;
    }

    // Georgian drawn in capitals takes letters that few fonts have, though its small letters draw:
    // what the card draws is judged, not what the design stores.
    const QString capitals = QString::fromUtf8("ᲐᲜ");
    if (!FontCoverage::undrawableCharacters(capitals, FontDescriptor{"ArialMT", 12}).isEmpty()) {
        GraphicPtr name = typed(QRectF(10, 10, 200, 30), QString::fromUtf8("ანა"));
        name->text_transfrom_case = 1;
        CardDesign d;
        d.front << name;
        EXPECT_EQ(
            undrawables(OutputCheck::check(*RunPlan::make(d))),
            QStringList{QString::fromUtf8("The text \"ანა\" on the front has characters no font here can "
                                          "draw: Ა (U+1C90), Ნ (U+1C9C). [1]")});
    }
}

// Cards whose bound object reads a formula cell the workbook never computed are counted per column,
// named by the rows the sheet shows; beside a series the report says the numbers are the sheet's.
TEST(OutputCheck, CountsTheCardsOfFormulasNeverComputed)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "six", "1\n2\n3\n4\n5\n6");
    CardDesign d = workbookDesign({"Name", "Total", "Guest"},
                                  {{"Ann", "1", "g"}, {"Bo", "", "g"}, {"Cy", "", "g"}, {"Di", "", "g"}});
    const QString dFolder = tmp.path();
    batchtest::setSheetRows(d, {2, 3, 4, 5});
    for (int r = 1; r < 4; ++r)
        batchtest::markUncomputed(d, r, 2);
    batchtest::markUncomputed(d, 0, 1); // read by nothing
    GraphicPtr total = text(QRectF(10, 10, 200, 30), DataSourceCode::BindingColumn, {}, 2);
    total->excel_col_title = QStringLiteral("Total");
    GraphicPtr code = barcode(QPointF(10, 60), 1, 0, DataSourceCode::BindingColumn, {}, 2);
    code->excel_col_title = QStringLiteral("Total");
    // A column read beside it: no card is blank.
    GraphicPtr guest = text(QRectF(10, 90, 200, 30), DataSourceCode::BindingColumn, {}, 3);
    guest->excel_col_title = QStringLiteral("Guest");
    d.front << total << code << guest;
    const QString never = "The workbook's column \"Total\" holds formulas that were never computed: open and "
                          "save the workbook in a spreadsheet program first.\n";
    const QString blankPast =
        "is blank past sheet row 5, where its source ends.\n2 of 6 cards (sheet rows 6, 7)";
    CardDesign withSeries = d;
    withSeries.front << text(QRectF(10, 120, 200, 20), DataSourceCode::Series, "six");
    struct Case {
        const char *what;
        std::shared_ptr<const RunPlan> plan;
        QString expected;
    };
    const Case cases[] = {
        {"every card", planIn(d, dFolder), never + "3 of 4 cards (rows 3, 4, 5)"},
        {"a print of three labels", planIn(d, dFolder)->with(RunPlan::Choices().atMost(3)),
         never + "2 of 3 cards (rows 3, 4)"},
        {"a longer series beside the workbook", planIn(withSeries, dFolder),
         never + "3 of 6 cards (sheet rows 3, 4, 5)\n\nThe text on the front (column \"Total\") " +
             blankPast + "\n\nThe barcode (QR Code) on the front (column \"Total\") " + blankPast +
             "\n\nThe text on the front (column \"Guest\") " + blankPast},
        {"the workbook left out",
         planIn(withSeries, dFolder)->with(RunPlan::Choices().withSources(true, false)), ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(OutputCheck::check(*c.plan).text().toStdString(), c.expected.toStdString()) << c.what;
}

// A bound text in many scripts names exactly the rows its box cuts, quoting the first of them:
// a mark reaching above its face's line (Devanagari's vowel sign i) is drawn whole in any box.
TEST(OutputCheck, ABoundTextInManyScriptsNamesTheRowsReallyCut)
{
    QTemporaryDir tmp;
    const QStringList names = {
        "Zo\u00eb",
        "\u092a\u094d\u0930\u093f\u092f\u093e \u0926\u0947\u0935\u0940",
        "\u0645\u062d\u0645\u062f \u0639\u0644\u064a",
        "\u05e9\u05e8\u05d4 \u05db\u05d4\u05df",
        "\u0e1e\u0e34\u0e21\u0e1e\u0e4c\u0e43\u0e08",
        "Supercalifragilisticexpialidocious",
        "\u0410\u043b\u0435\u043a\u0441\u0430\u043d\u0434\u0440\u0430 "
        "\u041a\u043e\u043d\u0441\u0442\u0430\u043d\u0442\u0438\u043d\u043e\u0432\u0430",
        "\u738b\u5c0f\u660e"};
    writeSeries(tmp.path(), "names", names.join('\n').toUtf8());
    CardDesign d;
    d.front << text(QRectF(10, 10, 150, 24), DataSourceCode::Series, "names");
    d.frontPage.Card_Side = "1";
    const OutputCheck::Report report = OutputCheck::check(*planIn(d, tmp.path()));
    ASSERT_EQ(report.problems.size(), 1) << report.text().toStdString();
    EXPECT_EQ(report.problems[0].firstRows, QList<int>({6, 7}));
    EXPECT_TRUE(report.problems[0].what.startsWith("The text \"Supercalifragilisticexp"))
        << report.text().toStdString();
}
