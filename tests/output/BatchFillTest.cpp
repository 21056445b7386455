// Counting and filling of bound objects from data rows, and batch export of real designs checked
// with an independent barcode decoder.
#include "BatchDesignFixture.h"

#include "model/SKTImage.h"
#include "output/BatchBarcodeSettings.h"
#include "output/BatchCardRenderer.h"
#include "output/BatchExportEngine.h"
#include "output/BatchFiller.h"
#include "output/CardExport.h"
#include "output/ExportPaths.h"
#include "output/OutputCheck.h"
#include "output/OutputState.h"
#include "platform/EncodedPicture.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <atomic>
#include <cmath>

using namespace batchtest;

namespace
{

std::shared_ptr<const RunPlan> snap(const CardDesign &d)
{
    return RunPlan::make(d);
}

} // namespace

TEST(BatchFillCounting, SourcesRowsAndSides)
{
    QTemporaryDir tmp;
    const QString data = tmp.filePath("DataSet");
    writeSeries(data, "three", "a\nb\nc\n\n\n"); // trailing blank lines do not count
    writeSeries(data, "five", "1\n2\n\n4\n5");   // an inner blank line is a row
    CardDesign d;
    const QString dFolder = data;
    d.back << text(QRectF(0, 0, 50, 20), 1, "three");
    d.frontPage.Card_Side = "2";
    auto s = planIn(d, dFolder);
    EXPECT_TRUE(s->usesSeries()); // a back-only binding counts on a double-sided card
    EXPECT_EQ(s->cardCount(), 3);
    d.frontPage.Card_Side = "1";
    EXPECT_FALSE(planIn(d, dFolder)->usesSeries());

    d.front << text(QRectF(0, 0, 50, 20), 1, "five") << text(QRectF(0, 0, 50, 20), 2, {}, 1)
            << text(QRectF(0, 0, 50, 20), 2, {}, 0);
    d.frontPage.Card_Side = "2";
    for (int i = 0; i < 4; ++i)
        batchtest::addRow(d, ExcelBindingTable::Row{{"Extension", QString::number(i + 1)},
                                                    {"Column1", QStringLiteral("x%1").arg(i)}});
    s = planIn(d, dFolder);
    EXPECT_TRUE(s->usesExcel());
    EXPECT_EQ(s->cardCount(), 5);
    // Row values of the back's "three", the front's "five" and the table's columns 1 and 0.
    const auto values = [&s](int row) {
        QStringList out;
        for (const auto &[back, index] : {std::pair{true, 0}, {false, 0}, {false, 1}, {false, 2}})
            out << s->valueOf(back, index, row).value_or("-");
        return out;
    };
    EXPECT_EQ(values(2), (QStringList{"c", "", "x2", "3"}));
    EXPECT_EQ(values(3), (QStringList{"", "4", "x3", "4"}));
    EXPECT_EQ(values(4), (QStringList{"", "5", "", ""}));

    // The user unticks the series: only the table decides, and the series objects show their own.
    const auto tableOnly = s->with(RunPlan::Choices().withSources(false, true));
    EXPECT_EQ(tableOnly->cardCount(), 4);
    EXPECT_FALSE(tableOnly->valueOf(false, 0, 0));
    EXPECT_TRUE(tableOnly->offersSeries());

    // A bound series whose file is missing gives no rows; an empty table is no source.
    CardDesign missing;
    const QString missingFolder = data;
    missing.front << text(QRectF(0, 0, 50, 20), 1, "gone") << text(QRectF(0, 0, 50, 20), 2, {}, 1);
    missing.back << text(QRectF(0, 0, 50, 20), 1, "gone"); // named twice, told once
    missing.frontPage.Card_Side = "2";
    s = planIn(missing, missingFolder);
    EXPECT_FALSE(s->isBatch());
    EXPECT_EQ(s->outputCount(), 1);
    EXPECT_EQ(s->warnings().size(), 1);
    EXPECT_EQ(s->missingSeries(), QStringList{"gone"});
    EXPECT_TRUE(s->missingSeriesText().startsWith(
        QStringLiteral("The series \"gone\" was not found: its file %1 is gone.")
            .arg(QDir(missingFolder).filePath("gone.txt"))));

    // Set to Series with none picked: said so, not as a series of no name.
    CardDesign unpicked;
    unpicked.front << text(QRectF(0, 0, 50, 20), 1);
    s = planIn(unpicked, missingFolder);
    EXPECT_EQ(s->warnings(), QStringList{RunPlan::NoSeriesChosen});
    EXPECT_TRUE(s->missingSeries().isEmpty());
}

TEST(BatchFillCounting, SeriesIsFoundByItsNameNotItsSlot)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "first", "f1\nf2");
    writeSeries(tmp.path(), "second", "s1\ns2");
    CardDesign d;
    const QString dFolder = tmp.path();
    // Both were bound when their series sat at slot 0 of the listing.
    GraphicPtr a = text(QRectF(0, 0, 50, 20), 1, "first");
    GraphicPtr b = text(QRectF(0, 30, 50, 20), 1, "second");
    a->batch_list_index = 0;
    b->batch_list_index = 0;
    d.front << a << b;
    BatchFiller filler(planIn(d, dFolder), 72, {});
    GraphicList list = filler.frontGraphics();
    QString error;
    ASSERT_TRUE(filler.Assign_Batch_Values_To_Control(list, false, 1, &error));
    EXPECT_EQ(list[0]->Text_contents().text, "f2");
    EXPECT_EQ(list[1]->Text_contents().text, "s2");
}

TEST(BatchFiller, TextsKeepTheirLookPicturesLoadAndTheLiveDesignStays)
{
    QTemporaryDir tmp;
    QImage pic(20, 10, QImage::Format_RGB32);
    pic.fill(Qt::green);
    ASSERT_TRUE(pic.save(tmp.filePath("green.png")));
    writeSeries(tmp.path(), "words", "  hello  \nworld");
    writeSeries(tmp.path(), "pics", (tmp.filePath("green.png") + "\n\n" + tmp.filePath("none.png")).toUtf8());
    CardDesign d;
    const QString dFolder = tmp.path();
    GraphicPtr t = text(QRectF(0, 0, 100, 20), 1, "words");
    t->Text_contents().font = FontDescriptor{"TimesNewRomanPS-BoldMT", 18};
    t->Text_contents().color = QColor(Qt::red);
    t->Text_contents().text = "design text";
    GraphicPtr p = SKTGraphic::create(SKTGraphic::Kind::Image);
    p->setBounds(QRectF(0, 30, 20, 10));
    p->data_source_type = 1;
    p->batch_list_name = "pics";
    d.front << t << p;
    auto s = planIn(d, dFolder);
    BatchFiller filler(s, 72, {});
    GraphicList list = filler.frontGraphics();
    QString error;
    ASSERT_TRUE(filler.Assign_Batch_Values_To_Control(list, false, 0, &error)) << error.toStdString();
    EXPECT_EQ(list[0]->Text_contents().text, "hello"); // trimmed when used
    EXPECT_EQ(list[0]->Text_contents().font, (FontDescriptor{"TimesNewRomanPS-BoldMT", 18}));
    EXPECT_EQ(list[0]->Text_contents().color, QColor(Qt::red));
    EXPECT_EQ(list[1]->FilePath(), tmp.filePath("green.png"));
    // Row 1: an empty value leaves no picture and is not a failure.
    ASSERT_TRUE(filler.Assign_Batch_Values_To_Control(list, false, 1, &error));
    EXPECT_TRUE(filler.takeNotes().isEmpty());
    // Row 2: a path that names no picture leaves the picture out, and a note says which.
    ASSERT_TRUE(filler.Assign_Batch_Values_To_Control(list, false, 2, &error));
    EXPECT_FALSE(static_cast<SKTImage &>(*list[1])._contents);
    const QStringList notes = filler.takeNotes();
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains("none.png")) << notes[0].toStdString();
    EXPECT_TRUE(filler.takeNotes().isEmpty());
    // The live objects and the plan keep the design's own text.
    EXPECT_EQ(t->Text_contents().text, "design text");
    EXPECT_EQ(s->design().front[0]->Text_contents().text, "design text");
}

// Two pictures bound to a few large photos, card after card: each file is read and decoded once in
// the run, as a placed photo is, though every card's objects let the last card's photo go.
TEST(BatchFiller, PhotosBoundOnManyCardsAreEachDecodedOnce)
{
    QTemporaryDir tmp;
    QStringList files;
    for (int i = 0; i < 3; ++i) {
        QImage photo(1200, 1000, QImage::Format_RGB32); // kept encoded, decoded at the size drawn
        photo.fill(QColor::fromHsv(i * 100, 200, 200));
        files << tmp.filePath(QStringLiteral("photo%1.jpg").arg(i));
        ASSERT_TRUE(photo.save(files.last(), "JPEG"));
    }
    constexpr int Cards = 12;
    QStringList first, second;
    for (int row = 0; row < Cards; ++row)
        first << files[row % 3], second << files[(row + 1) % 3];
    writeSeries(tmp.path(), "first", first.join('\n').toUtf8());
    writeSeries(tmp.path(), "second", second.join('\n').toUtf8());
    CardDesign d;
    for (const char *series : {"first", "second"}) {
        GraphicPtr p = SKTGraphic::create(SKTGraphic::Kind::Image);
        p->setBounds(QRectF(10 + d.front.size() * 70, 10, 60, 45));
        p->data_source_type = 1;
        p->batch_list_name = series;
        d.front << p;
    }
    BatchFiller filler(planIn(d, tmp.path()), 72, {});
    const qint64 before = EncodedPicture::decodings();
    QString error;
    for (int row = 0; row < Cards; ++row)
        ASSERT_FALSE(filler.Set_data_table_value_to_card(row, "F", false, &error).isNull())
            << error.toStdString();
    EXPECT_EQ(EncodedPicture::decodings() - before, 3);
}

// A worker draws card after card into one image; a card image still held elsewhere keeps its pixels
// and the next card gets an image of its own.
TEST(BatchFiller, HeldCardImagesAreNeverDrawnOver)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "words", "WWWWWWWW\n.");
    CardDesign d;
    const QString dFolder = tmp.path();
    d.setCardSize(QSizeF(243, 154));
    GraphicPtr t = text(QRectF(10, 10, 220, 40), 1, "words");
    t->Text_contents().font = FontDescriptor{"ArialMT", 30};
    d.front << t;
    BatchFiller filler(planIn(d, dFolder), 72, {});
    QString error;
    QImage first = filler.Set_data_table_value_to_card(0, "F", false, &error);
    ASSERT_FALSE(first.isNull()) << error.toStdString();
    const QImage firstPixels = first.copy();
    QImage second = filler.Set_data_table_value_to_card(1, "F", false, &error);
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(first, firstPixels);
    EXPECT_NE(first, second);
    // Both let go: row 0 is drawn again into the image the worker kept, with nothing of row 1 left.
    const uchar *kept = second.constBits();
    first = QImage();
    second = QImage();
    const QImage again = filler.Set_data_table_value_to_card(0, "F", false, &error);
    EXPECT_EQ(again.constBits(), kept);
    EXPECT_EQ(again, firstPixels);
}

TEST(BatchFiller, EachBarcodeUsesItsOwnSettingsOnEveryRow)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "v", "CODE39A\nCODE39B");
    writeSeries(tmp.path(), "w", "c128-a\nc128-b");
    CardDesign d;
    const QString dFolder = tmp.path();
    d.front << barcode(QPointF(5, 5), 0, 0, 1, "v");  // Code 39
    d.front << barcode(QPointF(5, 80), 0, 9, 1, "w"); // Code 128
    BatchCardRenderer renderer(planIn(d, dFolder), 300, true);
    for (int row : {0, 1}) {
        QString error;
        const QImage img = renderer.renderSide(row, false, &error);
        ASSERT_FALSE(img.isNull()) << error.toStdString();
        const QString path = tmp.filePath(QStringLiteral("r%1.png").arg(row));
        ASSERT_TRUE(img.save(path));
        EXPECT_EQ(decode(path, "Code39"),
                  QStringList(QStringLiteral("Code39:CODE39") + QLatin1Char(row ? 'B' : 'A')));
        EXPECT_EQ(decode(path, "Code128"),
                  QStringList(QStringLiteral("Code128:c128-") + QLatin1Char(row ? 'b' : 'a')));
    }
}

TEST(BatchFiller, ABarcodeWithoutAPictureIsWrittenFromItsOwnSettings)
{
    // A design written elsewhere: barcodes with settings and values but no pictures.
    QTemporaryDir tmp;
    CardDesign d;
    GraphicPtr linear = barcode(QPointF(5, 5), 0, 0, 0); // Code 39
    linear->linear_font_val = QStringLiteral("OWN-39");
    GraphicPtr square = barcode(QPointF(5, 70), 1, 0, 0); // QR Code
    square->two_d_font_val = QStringLiteral("AAA111");
    GraphicPtr blank = barcode(QPointF(130, 5), 0, 0, 0); // no value, so no symbol of its own
    blank->setBounds(QRectF(130, 5, 110, 90));
    blank->linear_font_val = QString();
    d.front << linear << square << blank;
    ExportProgress progress;
    ExportOptions options;
    options.dpi = 300;
    // With the shipped pictures, whose stand-in sample must not reach the card.
    const RunPlan::Folders shipped{QStringLiteral(TESSALY_TESTS_DIR "/../resources/shipped"), tmp.path()};
    const ExportResult r =
        CardExport::run(RunPlan::make(d, {}, shipped), tmp.filePath("card.png"), options, &progress);
    ASSERT_TRUE(r.ok()) << r.message().toStdString();
    EXPECT_EQ(decode(tmp.filePath("card.png"), "Code39"), QStringList(QStringLiteral("Code39:OWN-39")));
    EXPECT_EQ(decode(tmp.filePath("card.png"), "QRCode"), QStringList(QStringLiteral("QRCode:AAA111")));
    EXPECT_EQ(decode(tmp.filePath("card.png"), "EAN-13"), QStringList());
    EXPECT_FALSE(linear->_barcode_image); // the design itself is left as it was
}

TEST(BatchFiller, ABarcodeThatCannotBeMadeFailsItsRowOnly)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "ean", "5901234123457\nNOT-DIGITS\n4006381333931");
    CardDesign d;
    const QString dFolder = tmp.path();
    d.front << barcode(QPointF(5, 5), 0, 8, 1, "ean"); // EAN-13
    ExportProgress progress;
    ExportOptions options;
    options.threads = 2;
    options.dpi = 300;
    const ExportResult r = CardExport::run(planIn(d, dFolder), tmp.filePath("out"), options, &progress);
    EXPECT_EQ(r.written, 2);
    EXPECT_EQ(r.failed, 1);
    EXPECT_TRUE(r.message().contains("Card 2: no EAN-13 barcode could be made from \"NOT-DIGITS\""))
        << r.message().toStdString();
    const QString folder = ExportPaths::batchFolderPath(tmp.filePath("out"));
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath("Card_1.png")));
    EXPECT_FALSE(QFile::exists(QDir(folder).filePath("Card_2.png")));
    EXPECT_TRUE(decode(QDir(folder).filePath("Card_3.png")).contains("EAN-13:4006381333931"));
}

TEST(CardExport, BatchCardsDecodeToTheirRowsWhateverTheThreadCount)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 6, true);
    auto s = planIn(sample.design, sample.dataFolder);
    ASSERT_TRUE(s->isBatch());
    ASSERT_EQ(s->cardCount(), 6);
    ExportProgress progress;
    ExportOptions options;
    options.side = ExportSide::Both;
    options.dpi = 300;
    options.threads = 1;
    const ExportResult one = CardExport::run(s, tmp.filePath("one"), options, &progress);
    options.threads = 0;
    const ExportResult all = CardExport::run(s, tmp.filePath("all"), options, &progress);
    ASSERT_TRUE(one.ok()) << one.message().toStdString();
    ASSERT_TRUE(all.ok()) << all.message().toStdString();
    const QDir a(ExportPaths::batchFolderPath(tmp.filePath("one")));
    const QDir b(ExportPaths::batchFolderPath(tmp.filePath("all")));
    for (int k = 1; k <= 6; ++k) {
        expectSameCardOfRow(a, b, sample, k);
        EXPECT_EQ(QImage(b.filePath(QStringLiteral("Card_%1.png").arg(k))).size(), QSize(1013, 642));
    }
    EXPECT_EQ(a.entryList(QDir::Files).size(), 12);
}

TEST(CardExport, WithoutDataSourceTheDesignIsWrittenOnce)
{
    QTemporaryDir tmp;
    CardDesign d;
    GraphicPtr t = text(QRectF(10, 10, 150, 30), 0);
    t->Text_contents().text = "Fixed";
    d.front << t;
    auto s = snap(d);
    EXPECT_FALSE(s->isBatch());
    ExportProgress progress;
    ExportOptions options;
    options.side = ExportSide::Both;
    options.combined = true;
    const ExportResult r = CardExport::run(s, tmp.filePath("card.png"), options, &progress);
    ASSERT_TRUE(r.ok()) << r.message().toStdString();
    EXPECT_EQ(r.summaryLine(), "1 cards written, 0 failed");
    EXPECT_EQ(OutputState::instance().Export_File_Path(), tmp.filePath("card.png"));
    EXPECT_EQ(OutputState::instance().Export_File_Message(),
              "Card has been exported successfully.\n1 card was written to " + tmp.filePath("card.png") +
                  ".");
    EXPECT_EQ(QImage(tmp.filePath("card.png")).size(), QSize(243, 308));
}

TEST(BatchBarcodeSettings, SymbologyIndexCountsInTheSymbologyTableOrder)
{
    GraphicPtr g = barcode(QPointF(0, 0), 0, 0, 0);
    EXPECT_EQ(BatchBarcodeSettings::Set_Barcode_Prop_To_Control(*g).symbologyTitle, "Code 39");
    g->barcode_font_index = 18;
    EXPECT_EQ(BatchBarcodeSettings::Set_Barcode_Prop_To_Control(*g).symbologyTitle, "Japan Post Barcode");
    g->barcode_font_index = 9;
    EXPECT_EQ(BatchBarcodeSettings::Set_Barcode_Prop_To_Control(*g).symbologyTitle, "Code 128");
    g->linear_or_2d = 1;
    const QStringList twoD{"QR Code", "PDF417", "DataMatrix"};
    for (int i = 0; i < 3; ++i) {
        g->barcode_font_index = i;
        EXPECT_EQ(BatchBarcodeSettings::Set_Barcode_Prop_To_Control(*g).symbologyTitle, twoD[i]);
    }
    g->barcode_font_index = 3;
    EXPECT_TRUE(BatchBarcodeSettings::Set_Barcode_Prop_To_Control(*g).symbologyTitle.isEmpty());
    // The rest of the object's own fields travel too.
    g->qr_size_val = 90;
    g->qr_ec_index = 3;
    g->barcode_clr_val = QColor(Qt::darkBlue);
    g->value_font_val = FontDescriptor{"Arial-BoldMT", 12};
    g->kerning_value = 1;
    const BarcodeSettings s = BatchBarcodeSettings::Set_Barcode_Prop_To_Control(*g);
    EXPECT_EQ(s.qr_size_val, 90);
    EXPECT_EQ(s.qr_ec_index, 3);
    EXPECT_EQ(s.barcode_clr, QColor(Qt::darkBlue));
    EXPECT_EQ(s.value_font, (FontDescriptor{"Arial-BoldMT", 12}));
    EXPECT_EQ(s.kerning_value, 1); // a spread caption stays spread on every card
    EXPECT_EQ(s.unit, 1);
}

// Vector barcode pictures must land at the same place and size in points whatever the output
// resolution: bars wide enough for 72 dpi decode at every resolution and span the same points.
TEST(CardExport, BarcodesDecodeAndKeepTheirSizeAtEveryResolution)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "codes", "A1B2\nZ9Y8");
    CardDesign d;
    const QString dFolder = tmp.path();
    d.setCardSize(QSizeF(243, 154));
    GraphicPtr linear = barcode(QPointF(8, 8), 0, 9, 1, "codes"); // Code 128
    linear->linear_width_val = 30.0f;                             // 2.16 points a module
    linear->show_hide_val = 1;
    d.front << linear;
    d.front << barcode(QPointF(160, 80), 1, 0, 2, {}, 1); // QR Code, 60 points
    for (int i = 0; i < 2; ++i)
        batchtest::addRow(
            d, ExcelBindingTable::Row{{"Extension", QString::number(i + 1)},
                                      {"Column1", QStringLiteral("https://example.org/%1").arg(i)}});
    auto s = planIn(d, dFolder);
    ASSERT_EQ(s->cardCount(), 2);
    double barsWidthPt = -1;
    for (int dpi : {72, 150, 300}) {
        ExportProgress progress;
        ExportOptions options;
        options.dpi = dpi;
        options.threads = 2;
        const QString out = tmp.filePath(QStringLiteral("out%1").arg(dpi));
        const ExportResult r = CardExport::run(s, out, options, &progress);
        ASSERT_TRUE(r.ok()) << r.message().toStdString();
        const QDir folder(ExportPaths::batchFolderPath(out));
        for (int k = 1; k <= 2; ++k) {
            const QString path = folder.filePath(QStringLiteral("Card_%1.png").arg(k));
            const QStringList found = decode(path);
            EXPECT_TRUE(found.contains(QStringLiteral("Code128:") + (k == 1 ? "A1B2" : "Z9Y8")))
                << dpi << " " << k << found.join(" | ").toStdString();
            EXPECT_TRUE(found.contains(QStringLiteral("QRCode:https://example.org/%1").arg(k - 1)))
                << dpi << " " << k << found.join(" | ").toStdString();
        }
        // The span of dark pixels along the linear barcode's middle row, in points.
        const QImage card(folder.filePath("Card_1.png"));
        ASSERT_EQ(card.width(), int(std::ceil(243.0 * dpi / 72.0)));
        const int y = int(std::lround(20.0 * dpi / 72.0));
        int first = -1, last = -1;
        for (int x = 0; x < int(150.0 * dpi / 72.0); ++x)
            if (qGray(card.pixel(x, y)) < 128 && qAlpha(card.pixel(x, y)) > 128) {
                if (first < 0)
                    first = x;
                last = x;
            }
        ASSERT_GE(first, 0) << dpi;
        const double widthPt = (last - first + 1) * 72.0 / dpi;
        if (barsWidthPt < 0)
            barsWidthPt = widthPt;
        EXPECT_NEAR(widthPt, barsWidthPt, 2.0) << dpi;
    }
}

TEST(CardExport, CardsInProcessWhileABatchRunsOnly)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "v", "12\n34\n56");
    CardDesign d;
    const QString dFolder = tmp.path();
    d.front << barcode(QPointF(5, 5), 0, 9, 1, "v");
    std::atomic<int> seenInProcess{0};
    auto maker = [&seenInProcess](const BarcodeSettings &s, const QString &value, const QString &header,
                                  const QString &footer) {
        if (OutputState::instance().Card_Value_In_Process)
            ++seenInProcess;
        return OwnBarcodePicture::batchRoad()(s, value, header, footer);
    };
    ExportProgress progress;
    ExportOptions options;
    options.threads = 2;
    const ExportResult r =
        CardExport::run(planIn(d, dFolder), tmp.filePath("out"), options, &progress, maker);
    ASSERT_TRUE(r.ok()) << r.message().toStdString();
    EXPECT_EQ(seenInProcess.load(), 3);
    EXPECT_FALSE(OutputState::instance().Card_Value_In_Process);
}

// A row whose bound picture cannot be read (no picture at all, or a JPEG of 12-bit samples) is
// named by the check before output and still written: the result lists it, the other rows keep
// their pictures, and the run does not count as a success.
TEST(BatchFiller, UnreadablePictureRowsAreWrittenWithoutItAndListed)
{
    QTemporaryDir tmp;
    QImage pic(20, 10, QImage::Format_RGB32);
    pic.fill(Qt::green);
    ASSERT_TRUE(pic.save(tmp.filePath("green.png")));
    ASSERT_TRUE(testsupport::writeFile(tmp.filePath("broken.png"), "not a picture"));
    QByteArray deep;
    QBuffer buffer(&deep);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(pic.save(&buffer, "JPEG"));
    const qsizetype frame = deep.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    deep[frame + 1] = char(0xC1); // extended sequential, which may hold 12 bits a sample
    deep[frame + 4] = 12;
    ASSERT_TRUE(testsupport::writeFile(tmp.filePath("deep.jpg"), deep));
    writeSeries(tmp.path(), "pics",
                (tmp.filePath("green.png") + "\n" + tmp.filePath("broken.png") + "\n" +
                 tmp.filePath("green.png") + "\n" + tmp.filePath("deep.jpg"))
                    .toUtf8());
    CardDesign d;
    const QString dFolder = tmp.path();
    GraphicPtr p = SKTGraphic::create(SKTGraphic::Kind::Image);
    p->setBounds(QRectF(10, 10, 40, 20));
    p->data_source_type = 1;
    p->batch_list_name = "pics";
    d.front << p;
    auto s = planIn(d, dFolder);
    ASSERT_EQ(s->cardCount(), 4);
    const OutputCheck::Report check = OutputCheck::check(*s);
    ASSERT_EQ(check.problems.size(), 1) << check.text().toStdString();
    EXPECT_EQ(check.problems[0].what.toStdString(),
              "The picture on the front (series \"pics\") is blank: the row's picture file cannot be read.");
    EXPECT_EQ(check.problems[0].firstRows, (QList<int>{2, 4}));

    ExportProgress progress;
    BatchExportEngine engine(&progress);
    ExportOptions options;
    options.threads = 2;
    const ExportResult r =
        engine.Export_Batch_File(tmp.filePath("out"), 4, options, BatchCardRenderer::factory(s, 72, true));
    EXPECT_FALSE(r.ok()) << r.message().toStdString();
    EXPECT_EQ(r.written, 4);
    EXPECT_EQ(r.summaryLine(), "4 cards written, 0 failed, 2 without a picture");
    ASSERT_EQ(r.notes.size(), 2);
    EXPECT_TRUE(r.notes[0].startsWith("Card 2: the picture")) << r.notes[0].toStdString();
    EXPECT_TRUE(r.notes[0].contains("broken.png"));
    EXPECT_TRUE(r.notes[1].startsWith("Card 4: the picture")) << r.notes[1].toStdString();
    EXPECT_TRUE(r.message().contains(r.notes[0]));

    const QDir folder(r.path);
    const QImage first(folder.filePath("Card_1.png"));
    const QImage second(folder.filePath("Card_2.png"));
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(first.pixelColor(30, 20), QColor(Qt::green));
    EXPECT_NE(second.pixelColor(30, 20), QColor(Qt::green));
}

// The design's own picture, gone since it was placed, is missing from every card of a batch.
TEST(CardExport, ABatchWithoutTheDesignsOwnPictureIsNotASuccess)
{
    QTemporaryDir tmp;
    writeSeries(tmp.path(), "names", "Ann\nBob\n");
    CardDesign d;
    d.front << text(QRectF(10, 10, 150, 30), DataSourceCode::Series, "names");
    auto photo = std::make_shared<SKTImage>();
    photo->setBounds(QRectF(10, 50, 40, 20));
    photo->setFilePath(tmp.filePath("gone.png"));
    d.front << photo;
    ExportProgress progress;
    const ExportResult r =
        CardExport::run(planIn(d, tmp.path()), tmp.filePath("out"), ExportOptions{}, &progress);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.summaryLine(), "2 cards written, 0 failed, 2 without a picture");
    EXPECT_EQ(r.notes,
              QStringList{"Every card's front: written without the picture \"gone.png\", which was in " +
                          tmp.path() + "."});
}
