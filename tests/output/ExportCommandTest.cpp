// cardtool export over a design file written by the design writer: one card per row whose
// barcodes decode to that row's values, the same files on one thread and on every core.
#include "BatchDesignFixture.h"

#include "canvas/SKTRenderingView.h"
#include "data/ExcelBindingTable.h"
#include "data/SeriesFiles.h"
#include "editor/DesignFile.h"
#include "editor/DesignFileFormat.h"
#include "output/BatchExportEngine.h"
#include "output/CardExport.h"
#include "output/ExportPaths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QThread>

#include <csignal>

using namespace batchtest;
using testsupport::cardtool;
using testsupport::ProcResult;
using testsupport::readFile;

TEST(ExportCommand, BatchOfADesignFileDecodesRowByRow)
{
    QTemporaryDir tmp;
    const int rows = 5;
    SampleDesign sample(tmp.filePath("DataSet"), rows, true, 1234);
    const QString design = writeDesign(tmp.filePath("party.dcard"), sample);

    const QStringList common{"export", design, "--dpi", "300", "--data", tmp.filePath("DataSet")};
    const ProcResult one = cardtool(QStringList(common) << "--to" << tmp.filePath("one") << "--threads"
                                                        << "1"
                                                        << "--side"
                                                        << "both");
    ASSERT_EQ(one.exitCode, 0) << one.err.toStdString();
    EXPECT_EQ(one.lastLine(), QStringLiteral("%1 cards written, 0 failed").arg(rows));
    // Without --side, a double-sided card is written with its backs.
    const ProcResult all = cardtool(QStringList(common) << "--to" << tmp.filePath("all"));
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();

    const QDir a(ExportPaths::batchFolderPath(tmp.filePath("one")));
    const QDir b(ExportPaths::batchFolderPath(tmp.filePath("all")));
    EXPECT_EQ(b.entryList(QDir::Files).size(), 2 * rows);
    for (int k = 1; k <= rows; ++k) {
        ASSERT_TRUE(QFile::exists(b.filePath(QStringLiteral("Card_%1_Back.png").arg(k)))) << k;
        expectSameCardOfRow(a, b, sample, k);
    }
}

TEST(ExportCommand, SingleExportAndBadInput)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 2, false);
    for (const GraphicPtr &g : sample.design.front)
        g->data_source_type = 0; // nothing bound: the design is written once
    const QString design = writeDesign(tmp.filePath("plain.dcard"), sample);
    ProcResult r = cardtool(
        {"export", design, "--to", tmp.filePath("out"), "--side", "both", "--combined", "--ext", "jpg"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.lastLine(), "1 cards written, 0 failed");
    const QImage combined(tmp.filePath("out/plain.jpg"));
    EXPECT_EQ(combined.size(), QSize(243, 308));
    EXPECT_TRUE(readFile(tmp.filePath("out/plain.jpg")).startsWith("\xff\xd8"));

    r = cardtool({"export", design, "--to", tmp.filePath("x"), "--ext", "gif"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("gif"));
    EXPECT_FALSE(QFile::exists(tmp.filePath("x")));
    r = cardtool({"export", design, "--to", tmp.filePath("x"), "--side", "top"});
    EXPECT_EQ(r.exitCode, 1);
    r = cardtool({"export", design, "--to", tmp.filePath("x"), "--dpi", "-3"});
    EXPECT_EQ(r.exitCode, 1);
    const QString junk = tmp.filePath("junk.dcard");
    ASSERT_TRUE(testsupport::writeFile(junk, "not a design"));
    r = cardtool({"export", junk, "--to", tmp.filePath("x")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("File is corrupt and cannot be opened.")) << r.err.toStdString();
}

TEST(ExportCommand, FailedCardsAreReportedAndTheStatusSaysSo)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 3, false);
    writeSeries(tmp.filePath("DataSet"), "codes", "AB12\nNOT A NUMBER\n77");
    sample.design.front[1]->barcode_font_index = 12; // Code 128 SET C takes digit pairs only
    const QString design = writeDesign(tmp.filePath("d.dcard"), sample);
    const ProcResult r =
        cardtool({"export", design, "--to", tmp.filePath("o"), "--data", tmp.filePath("DataSet")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.lastLine(), "1 cards written, 2 failed");
    EXPECT_TRUE(r.err.contains("Card 1:")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("2 of 3 cards could not be written")) << r.err.toStdString();
    const QDir o(ExportPaths::batchFolderPath(tmp.filePath("o")));
    EXPECT_EQ(o.entryList(QDir::Files), QStringList({"Card_3.png"}));
}

TEST(ExportCommand, ASeriesTooLargeToReadStopsTheExport)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 3, false);
    QFile big(tmp.filePath("DataSet/codes.txt"));
    ASSERT_TRUE(big.open(QIODevice::ReadWrite));
    ASSERT_TRUE(big.resize(SeriesFiles::MaxFileSize + 10)); // sparse
    big.close();
    const QString design = writeDesign(tmp.filePath("d.dcard"), sample);
    const ProcResult r =
        cardtool({"export", design, "--to", tmp.filePath("o"), "--data", tmp.filePath("DataSet")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("The series \"codes\" is too large")) << r.err.toStdString();
    // Nothing written: neither a batch nor one card without its values.
    EXPECT_TRUE(QDir(tmp.filePath("o")).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

// A series whose file is gone stops export, print and mail alike, with a failing status: one card
// of the design's sample values is no output of the rows.
TEST(ExportCommand, ASeriesThatIsGoneStopsExportPrintAndMail)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 3, false);
    ASSERT_TRUE(QFile::remove(tmp.filePath("DataSet/codes.txt")));
    const QString design = writeDesign(tmp.filePath("d.dcard"), sample);
    const QString data = tmp.filePath("DataSet");
    // A server no message could reach: the run must stop before it would try.
    const QString settings = tmp.filePath("mail.plist");
    QFile plist(settings);
    ASSERT_TRUE(plist.open(QIODevice::WriteOnly));
    plist.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>SendEmailSender</key><string>cards@example.com</string>
<key>SendEmailSMTP</key><string>127.0.0.1</string><key>SendEmailPORT</key><string>1</string></dict></plist>
)");
    plist.close();
    const QList<QStringList> runs = {
        {"mail", design, "--settings", settings, "--to", "guest@example.org", "--mode", "one", "--data",
         data},
        {"export", design, "--to", tmp.filePath("o"), "--data", data},
        {"print", design, "--out", tmp.filePath("o/labels.pdf"), "--paper", "A4", "--rows", "2", "--cols",
         "2", "--data", data},
    };
    for (const QStringList &run : runs) {
        const ProcResult r = cardtool(run);
        EXPECT_EQ(r.exitCode, 1) << run.first().toStdString();
        EXPECT_TRUE(r.err.contains("The series \"codes\" was not found")) << r.err.toStdString();
        EXPECT_TRUE(
            QDir(tmp.filePath("o")).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    }
}

TEST(ExportCommand, ACardTooLargeToDrawIsRefusedBeforeAnyWork)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 3, true);
    sample.design.setCardSize(QSizeF(30000, 30000));
    const QString design = writeDesign(tmp.filePath("huge.dcard"), sample);
    const ProcResult r = cardtool(
        {"export", design, "--to", tmp.filePath("o"), "--data", tmp.filePath("DataSet"), "--dpi", "72"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("The card is too large to draw at 72 dpi")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Choose 29 dpi or less")) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath("o")));

    // The same card at the resolution the message offers is drawn.
    EXPECT_TRUE(SKTRenderingView::sizeRefusal(QSizeF(30000, 30000), 29).isEmpty());
    EXPECT_FALSE(SKTRenderingView::sizeRefusal(QSizeF(30000, 30000), 30).isEmpty());
    // Each side within the side limit, but too many pixels together.
    EXPECT_FALSE(SKTRenderingView::sizeRefusal(QSizeF(7000, 7000), 300).isEmpty());
    EXPECT_TRUE(SKTRenderingView::sizeRefusal(QSizeF(243, 154), 2400).isEmpty());
    DesignSettings poster;
    poster.setCardSize(QSizeF(7000, 7000));
    EXPECT_TRUE(SKTRenderingView::imageOfSide(RenderSide::of(poster, 0, {}, QString()), 300).isNull());
}

TEST(ExportCommand, LargeCardsRunOnFewerWorkers)
{
    ExportOptions options;
    options.side = ExportSide::Both;
    options.dpi = 300;
    const qint64 small = CardExport::cardBytes(QSizeF(243, 154), options);
    const qint64 poster = CardExport::cardBytes(QSizeF(600, 900), options);
    EXPECT_EQ(BatchExportEngine::threadCount(8, 100, small), 8);
    EXPECT_EQ(BatchExportEngine::threadCount(8, 100, 0), 8);
    EXPECT_EQ(BatchExportEngine::threadCount(8, 100, poster),
              int(BatchExportEngine::WorkerMemoryBudget / poster));
    EXPECT_LT(BatchExportEngine::threadCount(8, 100, poster), 8);
    EXPECT_EQ(BatchExportEngine::threadCount(8, 100, BatchExportEngine::WorkerMemoryBudget * 3), 1);
    EXPECT_EQ(BatchExportEngine::threadCount(8, 2, small), 2);
    // An 85 x 54 mm card at 1,200 dpi: a card's pixels on each of eight workers, beside the
    // decodings of the photos covering it, passed 600 MB.
    options.side = ExportSide::Front;
    options.dpi = 1200;
    EXPECT_LE(BatchExportEngine::threadCount(8, 16, CardExport::cardBytes(QSizeF(243, 153), options)), 4);
}

// Ctrl+C or a kill during a long export ends it between cards: the cards written form an unbroken
// run from the first, the stop is told, and the status is not success.
TEST(ExportCommand, SignalsStopTheRunBetweenCards)
{
    QTemporaryDir tmp;
    const int rows = 400;
    SampleDesign sample(tmp.filePath("DataSet"), rows, false, 99);
    const QString design = writeDesign(tmp.filePath("long.dcard"), sample);
    for (const int signal : {SIGINT, SIGTERM}) {
        const QString to = tmp.filePath(QStringLiteral("out%1").arg(signal));
        QProcess process;
        process.start(QStringLiteral(CARDTOOL_PATH), {"export", design, "--dpi", "300", "--threads", "2",
                                                      "--data", tmp.filePath("DataSet"), "--to", to});
        ASSERT_TRUE(process.waitForStarted());
        const QDir folder(ExportPaths::batchFolderPath(to));
        QElapsedTimer waited;
        waited.start();
        while (!folder.exists(QStringLiteral("Card_3.png")) && waited.elapsed() < 60000)
            QThread::msleep(10);
        ASSERT_TRUE(folder.exists(QStringLiteral("Card_3.png")));
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(process.exitCode(), 1) << signal;
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_TRUE(err.contains(QStringLiteral("Export stopped: "))) << err.toStdString();

        const QStringList files = folder.entryList(QDir::Files);
        ASSERT_LT(files.size(), rows);
        for (int k = 1; k <= files.size(); ++k)
            EXPECT_TRUE(files.contains(QStringLiteral("Card_%1.png").arg(k))) << signal << " card " << k;
    }
}

// The row check the windows ask with goes to standard error before the run.
TEST(ExportCommand, SaysWhichCardsWouldComeOutWrong)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 3, false);
    sample.design.front[0]->setBounds(QRectF(10, 8, 30, 20));         // "Guest 1" is wider than that
    sample.design.front[2]->excel_col_title = QStringLiteral("Gone"); // the table's column is "QR"
    const QString design = writeDesign(tmp.filePath("party.dcard"), sample);
    const ProcResult r = cardtool(
        {"export", design, "--data", tmp.filePath("DataSet"), "--to", tmp.filePath("out"), "--dpi", "72"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(
        r.err.contains("cardtool: export: The text \"Guest 1\" on the front (series \"names\") does not "
                       "fit its box and is cut.\ncardtool: export: 3 of 3 cards (rows 1, 2, 3)\n"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(
        "cardtool: export: The barcode (QR Code) on the front is blank: the workbook has no column "
        "\"Gone\".\n"))
        << r.err.toStdString();

    // A card without data: what is typed or placed by hand is checked too.
    const QString gone = tmp.filePath("gone.png");
    const QString plain = tmp.filePath("plain.dcard");
    ASSERT_EQ(cardtool({"design-hand", plain, "--text", "10,10,40,20=Supercalifragilistic", "--picture",
                        "150,10,60,40=" + gone})
                  .exitCode,
              0);
    const ProcResult single = cardtool({"export", plain, "--to", tmp.filePath("single"), "--dpi", "72"});
    // Written as asked, but without its picture: not a success.
    EXPECT_EQ(single.exitCode, 1) << single.err.toStdString();
    EXPECT_TRUE(single.outText().contains("1 cards written, 0 failed, 1 without a picture"))
        << single.out.toStdString();
    EXPECT_TRUE(single.errText().contains(
        "cardtool: export: The text \"Supercalifragilistic\" on the front does not fit "
        "its box and is cut.\ncardtool: export: The picture on the front is blank: "
        "its file \"" +
        gone + "\" is gone.\n"))
        << single.err.toStdString();
}

// Formula cells kept with the design's rows reach the check, which names them by the rows the sheet
// shows (the workbook's first row held its titles), and says so beside the series.
TEST(ExportCommand, NamesTheCardsOfFormulasNeverComputedByTheSheetsRows)
{
    QTemporaryDir tmp;
    SampleDesign sample(tmp.filePath("DataSet"), 3, false);
    const QString design = writeDesign(tmp.filePath("totals.dcard"), sample, [](ExcelBindingTable &table) {
        UncomputedFormulas cells;
        cells.add(1, 1);
        table.setWorkbookOrigin({}, cells);
        WorkbookFacts &facts = table.sourceFacts;
        facts.size = 4096;
        facts.modifiedMs = 1796724843000;
        facts.sha256 = QByteArray(64, 'b');
        facts.loadedAt = QDateTime(QDate(2026, 12, 8), QTime(10, 14), Qt::UTC);
        facts.sheet = QStringLiteral("Guests");
        facts.firstRow = 1;
        facts.columns = {0};
    });
    const ProcResult r = cardtool(
        {"export", design, "--data", tmp.filePath("DataSet"), "--to", tmp.filePath("out"), "--dpi", "72"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(
        r.err.contains("cardtool: export: The workbook's column \"QR\" holds formulas that were never "
                       "computed: open and save the workbook in a spreadsheet program first.\n"
                       "cardtool: export: 1 of 3 cards (sheet row 3)\n"))
        << r.err.toStdString();
}
