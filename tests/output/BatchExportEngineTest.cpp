// The parallel batch engine over a fake renderer: names, order, stop, failures, thread independence.
#include "output/BatchExportEngine.h"
#include "output/ExportPaths.h"
#include "output/SingleExport.h"

#include "SmallDisk.h"

#include "support/TestSupport.h"

#include "support/Eventually.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <stdexcept>
#include <thread>

using testsupport::readFile;

namespace
{

// Draws the row number and side so that every file differs and text rendering runs on workers.
class FakeRenderer : public CardRenderer
{
public:
    std::function<bool(int row, bool back)> failWhen;
    std::function<void(int row)> onRender;

    QImage renderSide(int row, bool back, QString *error) override
    {
        if (onRender)
            onRender(row);
        if (failWhen && failWhen(row, back)) {
            *error = QStringLiteral("no picture for row %1").arg(row);
            return {};
        }
        QImage img(120, 80, QImage::Format_ARGB32_Premultiplied);
        img.fill(back ? QColor(30, 30, 200) : QColor(200, 30, 30, 200));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::white);
        p.drawEllipse(QRectF(10.5, 10.5, 40 + row % 7, 30));
        p.drawText(QRectF(0, 40, 120, 40), Qt::AlignCenter,
                   QStringLiteral("%1 %2").arg(back ? "B" : "F").arg(row));
        return img;
    }
};

QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

CardRendererFactory plainFactory()
{
    return [] { return std::make_unique<FakeRenderer>(); };
}

} // namespace

TEST(BatchExportEngine, SameFilesWhateverTheThreadCount)
{
    QTemporaryDir one, many;
    ExportProgress progress;
    BatchExportEngine engine(&progress);
    ExportOptions options;
    options.side = ExportSide::Both;
    options.extension = "png";
    options.threads = 1;
    const ExportResult r1 = engine.Export_Batch_File(one.path(), 13, options, plainFactory());
    options.threads = 6;
    const ExportResult r6 = engine.Export_Batch_File(many.path(), 13, options, plainFactory());
    ASSERT_TRUE(r1.ok()) << r1.message().toStdString();
    ASSERT_TRUE(r6.ok()) << r6.message().toStdString();
    EXPECT_EQ(r6.message(), "Cards have been exported successfully.\n13 cards were written to " +
                                ExportPaths::batchFolderPath(many.path()) + ".");
    EXPECT_EQ(r6.summaryLine(), "13 cards written, 0 failed");
    const QString f1 = ExportPaths::batchFolderPath(one.path());
    const QString f6 = ExportPaths::batchFolderPath(many.path());
    EXPECT_EQ(r6.path, f6);
    const QStringList names = listing(f1);
    ASSERT_EQ(names.size(), 26);
    EXPECT_EQ(names, listing(f6));
    EXPECT_TRUE(names.contains("Card_1.png") && names.contains("Card_1_Back.png"));
    EXPECT_TRUE(names.contains("Card_13.png") && names.contains("Card_13_Back.png"));
    for (const QString &n : names)
        EXPECT_EQ(readFile(QDir(f1).filePath(n)), readFile(QDir(f6).filePath(n))) << n.toStdString();
    EXPECT_NE(readFile(QDir(f1).filePath("Card_1.png")), readFile(QDir(f1).filePath("Card_2.png")));
    EXPECT_EQ(progress.list_count.load(), 13);
    EXPECT_EQ(progress.curr_barcode_count.load(), 13);
    EXPECT_EQ(progress.written.load(), 13);
}

TEST(BatchExportEngine, SidesAndCombinedPictures)
{
    QTemporaryDir tmp;
    ExportProgress progress;
    BatchExportEngine engine(&progress);
    ExportOptions options;
    options.extension = "JPG";
    options.side = ExportSide::Back;
    ASSERT_TRUE(engine.Export_Batch_File(tmp.filePath("b"), 2, options, plainFactory()).ok());
    EXPECT_EQ(listing(ExportPaths::batchFolderPath(tmp.filePath("b"))),
              QStringList({"Card_1_Back.JPG", "Card_2_Back.JPG"}));
    options.side = ExportSide::Both;
    options.combined = true;
    options.extension = "bmp";
    ASSERT_TRUE(engine.Export_Batch_File(tmp.filePath("c"), 2, options, plainFactory()).ok());
    const QString c = ExportPaths::batchFolderPath(tmp.filePath("c"));
    EXPECT_EQ(listing(c), QStringList({"Card_1.bmp", "Card_2.bmp"}));
    EXPECT_EQ(QImage(QDir(c).filePath("Card_1.bmp")).size(), QSize(120, 160));
}

TEST(BatchExportEngine, StopEndsBetweenCardsAndSaysSo)
{
    for (int threads : {1, 4}) {
        QTemporaryDir tmp;
        ExportProgress progress;
        BatchExportEngine engine(&progress);
        progress.requestStop(); // a stop left over from an earlier run is cleared at the start
        ExportOptions options;
        options.threads = threads;
        auto factory = [&progress] {
            auto r = std::make_unique<FakeRenderer>();
            r->onRender = [&progress](int row) {
                if (row == 2)
                    progress.requestStop();
            };
            return r;
        };
        const ExportResult r = engine.Export_Batch_File(tmp.path(), 40, options, factory);
        EXPECT_TRUE(r.stopped);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.failed, 0);
        EXPECT_GE(r.written, 3);
        EXPECT_LT(r.written, 40);
        EXPECT_TRUE(r.message().startsWith("Export stopped:")) << r.message().toStdString();
        EXPECT_FALSE(r.message().contains("successfully"));
        // What was written is the first cards, without gaps.
        const QStringList names = listing(ExportPaths::batchFolderPath(tmp.path()));
        EXPECT_EQ(names.size(), r.written);
        for (int i = 1; i <= r.written; ++i)
            EXPECT_TRUE(names.contains(QStringLiteral("Card_%1.png").arg(i))) << i;
    }
}

// While the Stop question is open the run is held: the cards being drawn are finished but not
// written, and no card begins. "Continue" writes them all; "Stop" writes those begun and no more.
TEST(BatchExportEngine, APauseHoldsEveryWorkerAndWriterUntilTheAnswer)
{
    for (const bool stop : {false, true}) {
        for (const int threads : {1, 2}) {
            QTemporaryDir tmp;
            ExportProgress progress;
            BatchExportEngine engine(&progress);
            ExportOptions options;
            options.threads = threads;
            std::atomic<int> begun{0};
            std::atomic<bool> release{false};
            auto factory = [&] {
                auto r = std::make_unique<FakeRenderer>();
                r->onRender = [&, threads](int row) {
                    ++begun;
                    while (row < threads && !release)
                        std::this_thread::sleep_for(std::chrono::milliseconds(1));
                };
                return r;
            };
            ExportResult result;
            std::thread run([&] { result = engine.Export_Batch_File(tmp.path(), 20, options, factory); });
            ASSERT_TRUE(eventually([&] { return begun == threads; }));
            progress.pause(); // the question opens while the first cards are drawn
            release = true;
            // Every worker and every writer waits, idle writers too: one worker has writers of
            // its own as several do, so that its drawing never waits for the disk.
            const int held = threads + BatchExportEngine::writerCount(threads, 20);
            ASSERT_GT(held, threads);
            if (!eventually([&] { return progress.waitingInPause() == held; })) {
                progress.requestStop(); // end the run before failing, so that it does not outlive the test
                run.join();
                FAIL() << threads << " workers: " << progress.waitingInPause() << " of " << held << " held";
            }
            EXPECT_EQ(progress.written.load(), 0);
            EXPECT_EQ(begun.load(), threads);
            if (stop)
                progress.requestStop();
            progress.resume();
            run.join();
            const QStringList names = listing(ExportPaths::batchFolderPath(tmp.path()));
            if (stop) {
                EXPECT_TRUE(result.stopped);
                EXPECT_EQ(result.written, threads); // the cards begun before the question
                EXPECT_EQ(result.message(),
                          QStringLiteral("Export stopped: %1 of 20 cards were written.").arg(threads));
                EXPECT_EQ(names.size(), threads);
            } else {
                EXPECT_TRUE(result.ok()) << result.message().toStdString();
                EXPECT_EQ(names.size(), 20);
            }
        }
    }
}

// One worker gets writers of its own, unless a single card or the memory budget leaves no room
// for cards waiting to be written; then it writes its cards itself, and the run is the same.
TEST(BatchExportEngine, OneWorkerHasWritersWithinTheMemoryBudget)
{
    EXPECT_EQ(BatchExportEngine::writerCount(1, 1000), BatchExportEngine::OneWorkerWriters);
    EXPECT_EQ(BatchExportEngine::writerCount(1, 2), 1);
    EXPECT_EQ(BatchExportEngine::writerCount(1, 1), 0);
    const qint64 budget = BatchExportEngine::WorkerMemoryBudget;
    EXPECT_EQ(BatchExportEngine::writerCount(1, 1000, budget / 3), 1); // the card drawn and two waiting
    EXPECT_EQ(BatchExportEngine::writerCount(1, 1000, budget / 2), 0);
    EXPECT_EQ(BatchExportEngine::writerCount(1, 1000, budget * 3), 0);
    // Several workers: a writer each, up to the most, fewer for cards the budget holds few of.
    EXPECT_EQ(BatchExportEngine::writerCount(8, 1000), 8);
    EXPECT_EQ(BatchExportEngine::writerCount(2, 1000), 2);
    EXPECT_EQ(BatchExportEngine::writerCount(32, 1000), BatchExportEngine::MaxWriters);
    EXPECT_EQ(BatchExportEngine::writerCount(8, 1000, budget / 8), 4);
    EXPECT_EQ(BatchExportEngine::writerCount(2, 1000, budget / 2), 1);
    // Cards made and not yet written: a few for each writer's group, within the budget, and never
    // fewer than a card a worker waiting beside a card in each writer's hands.
    constexpr int G = BatchExportEngine::GroupCards;
    struct Room {
        int workers, writers;
        qint64 cardBytes;
        int room;
    };
    for (const Room &r : {Room{8, 8, 0, 8 + 8 * G}, Room{1, 3, 0, 3 + 3 * G}, Room{1, 1, budget / 3, 2},
                          Room{8, 8, budget / 40, 32}, Room{8, 4, budget / 8, 12}, Room{4, 0, 0, 0}})
        EXPECT_EQ(BatchExportEngine::roomFor(r.workers, r.writers, r.cardBytes), r.room)
            << r.workers << " " << r.writers << " " << r.cardBytes;

    QTemporaryDir with, without;
    ExportProgress progress;
    BatchExportEngine engine(&progress);
    ExportOptions options;
    options.threads = 1;
    const ExportResult a = engine.Export_Batch_File(with.path(), 9, options, plainFactory());
    options.cardBytes = budget; // too large to queue: written by the worker itself
    const ExportResult b = engine.Export_Batch_File(without.path(), 9, options, plainFactory());
    ASSERT_TRUE(a.ok() && b.ok());
    const QString fa = ExportPaths::batchFolderPath(with.path()),
                  fb = ExportPaths::batchFolderPath(without.path());
    ASSERT_EQ(listing(fa).size(), 9);
    ASSERT_EQ(listing(fa), listing(fb));
    for (const QString &n : listing(fa))
        EXPECT_EQ(readFile(QDir(fa).filePath(n)), readFile(QDir(fb).filePath(n))) << n.toStdString();
}

namespace
{
// Pictures of noise, which PNG cannot shrink: each card takes about 150 KiB of the disk.
class NoiseCard : public CardRenderer
{
public:
    explicit NoiseCard(std::atomic<int> *drawn) : m_drawn(drawn) {}
    QImage renderSide(int row, bool, QString *) override
    {
        ++*m_drawn;
        QImage image(200, 200, QImage::Format_ARGB32);
        quint32 x = 2463534242u + quint32(row);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
            for (int i = 0; i < image.width(); ++i) {
                x ^= x << 13;
                x ^= x >> 17;
                x ^= x << 5;
                line[i] = x | 0xff000000u;
            }
        }
        return image;
    }

private:
    std::atomic<int> *m_drawn;
};
} // namespace

// One worker hands its cards to writers: when the disk fills, the cards waiting for a writer are
// not tried, the worker takes no further row, and the cards written are whole.
TEST(BatchExportEngine, OneWorkerAndItsWritersStopAtTheFirstFullWrite)
{
    SmallDisk disk("2m");
    if (!disk.mounted())
        GTEST_SKIP() << "no permission to mount a small file system here";
    disk.fillUpTo(700 * 1024); // room for a few cards
    ExportProgress progress;
    BatchExportEngine engine(&progress);
    ExportOptions options;
    options.threads = 1;
    std::atomic<int> drawn{0};
    const ExportResult r = engine.Export_Batch_File(disk.path("out"), 60, options,
                                                    [&drawn] { return std::make_unique<NoiseCard>(&drawn); });
    const int writers = BatchExportEngine::writerCount(1, 60);
    EXPECT_TRUE(r.outOfSpace);
    EXPECT_TRUE(r.stopped);
    EXPECT_GT(r.written, 0);
    EXPECT_GE(r.failed, 1);
    // A failure for each writer, and the cards below one already tried that were waiting then.
    EXPECT_LE(r.failed, writers + BatchExportEngine::roomFor(1, writers));
    EXPECT_EQ(progress.written.load(), r.written);
    EXPECT_EQ(progress.failed.load(), r.failed);
    EXPECT_TRUE(r.message().contains(
        QStringLiteral("Export stopped when the disk was full: %1 of 60 cards were written.").arg(r.written)))
        << r.message().toStdString();
    EXPECT_TRUE(r.message().contains("No space left on device")) << r.message().toStdString();
    // Beside the cards tried, at most those made and not yet written and the one being drawn.
    EXPECT_LE(drawn.load(), r.written + r.failed + BatchExportEngine::roomFor(1, writers) + 1);
    const QDir out(ExportPaths::batchFolderPath(disk.path("out")));
    const QStringList files = out.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    EXPECT_EQ(files.size(), r.written);
    // The cards tried are the first rows; a card after a failed one may have found the space that
    // failed card gave back.
    const QRegularExpression name(QStringLiteral("^Card_(\\d+)\\.png$"));
    for (const QString &f : files) {
        const QRegularExpressionMatch m = name.match(f);
        ASSERT_TRUE(m.hasMatch()) << f.toStdString();
        EXPECT_LE(m.captured(1).toInt(), r.written + r.failed) << f.toStdString();
        EXPECT_EQ(QImage(out.filePath(f)).size(), QSize(200, 200)) << f.toStdString();
    }
}

namespace
{
// Noise cards whose first row is drawn only once a write has found the disk full, so that the cards
// after it are tried before it.
class LateFirstCard : public NoiseCard
{
public:
    LateFirstCard(std::atomic<int> *drawn, const ExportProgress &progress)
        : NoiseCard(drawn), m_progress(progress)
    {
    }
    QImage renderSide(int row, bool back, QString *error) override
    {
        if (row == 0)
            eventually([this] { return m_progress.failed.load() > 0; });
        return NoiseCard::renderSide(row, back, error);
    }

private:
    const ExportProgress &m_progress;
};
} // namespace

// A card drawn after the disk filled, below cards already tried, is tried too: every card up to the
// last one tried is written or counted as failed, never left out unnamed.
TEST(BatchExportEngine, ACardBelowOnesTriedIsTriedAfterTheDiskFilled)
{
    SmallDisk disk("2m");
    if (!disk.mounted())
        GTEST_SKIP() << "no permission to mount a small file system here";
    disk.fillUpTo(700 * 1024);
    ExportProgress progress;
    BatchExportEngine engine(&progress);
    ExportOptions options;
    options.threads = 2;
    std::atomic<int> drawn{0};
    const ExportResult r = engine.Export_Batch_File(disk.path("out"), 30, options, [&drawn, &progress] {
        return std::make_unique<LateFirstCard>(&drawn, progress);
    });
    EXPECT_TRUE(r.outOfSpace);
    const QDir out(ExportPaths::batchFolderPath(disk.path("out")));
    const QStringList files = out.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    ASSERT_EQ(files.size(), r.written);
    EXPECT_GT(r.written, 0);
    // The cards tried are the first rows: each written, or named as failed.
    for (int k = 1; k <= r.written + r.failed; ++k)
        EXPECT_NE(out.exists(QStringLiteral("Card_%1.png").arg(k)),
                  r.message().contains(QStringLiteral("Card %1: ").arg(k)))
            << k << " " << r.message().toStdString();
}

TEST(BatchExportEngine, FailedCardIsCountedAndLeavesNoFileUnderItsName)
{
    QTemporaryDir tmp;
    const QString folder = ExportPaths::batchFolderPath(tmp.path());
    QDir().mkpath(folder);
    // Files of an earlier run: the failed row's old card must not pass for this row's card.
    for (const char *n : {"Card_2.png", "Card_2_Back.png", "notes.txt"})
        ASSERT_TRUE(testsupport::writeFile(QDir(folder).filePath(n), "old"));
    ExportProgress progress;
    BatchExportEngine engine(&progress);
    ExportOptions options;
    options.side = ExportSide::Both;
    options.threads = 3;
    auto factory = [] {
        auto r = std::make_unique<FakeRenderer>();
        r->failWhen = [](int row, bool back) { return row == 1 && !back; };
        return r;
    };
    const ExportResult r = engine.Export_Batch_File(tmp.path(), 4, options, factory);
    EXPECT_EQ(r.written, 3);
    EXPECT_EQ(r.failed, 1);
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(r.summaryLine(), "3 cards written, 1 failed");
    EXPECT_TRUE(r.message().contains("1 of 4 cards could not be written")) << r.message().toStdString();
    EXPECT_TRUE(r.message().contains("Card 2: no picture for row 1"));
    const QStringList names = listing(folder);
    EXPECT_FALSE(names.contains("Card_2.png"));
    EXPECT_FALSE(names.contains("Card_2_Back.png"));
    EXPECT_TRUE(names.contains("notes.txt"));
    EXPECT_TRUE(names.contains("Card_3.png") && names.contains("Card_4_Back.png"));
    EXPECT_EQ(progress.failed.load(), 1);
}

TEST(BatchExportEngine, ARendererThatCannotBeMadeSaysWhy)
{
    QTemporaryDir tmp;
    ExportProgress progress;
    BatchExportEngine engine(&progress);
    ExportOptions options;
    options.threads = 2;
    auto factory = []() -> std::unique_ptr<CardRenderer> {
        throw std::runtime_error("the fonts are missing");
    };
    const ExportResult r = engine.Export_Batch_File(tmp.path(), 3, options, factory);
    EXPECT_EQ(r.failed, 3);
    EXPECT_EQ(r.written, 0);
    ASSERT_EQ(r.problems.size(), 3);
    for (const QString &problem : r.problems)
        EXPECT_TRUE(problem.endsWith("the card could not be prepared for drawing: the fonts are missing"))
            << problem.toStdString();
}

TEST(BatchExportEngine, RefusesBeforeWritingAnything)
{
    QTemporaryDir tmp;
    ExportProgress progress;
    BatchExportEngine engine(&progress);
    ExportOptions options;
    options.extension = "gif";
    std::atomic<int> renders{0};
    auto factory = [&renders] {
        auto r = std::make_unique<FakeRenderer>();
        r->onRender = [&renders](int) { ++renders; };
        return r;
    };
    ExportResult r = engine.Export_Batch_File(tmp.path(), 3, options, factory);
    EXPECT_FALSE(r.refusal.isEmpty());
    EXPECT_FALSE(QFile::exists(ExportPaths::batchFolderPath(tmp.path())));
    options.extension = "png";
    r = engine.Export_Batch_File(tmp.path(), 0, options, factory);
    EXPECT_EQ(r.message(), "List is empty.");
    QFile blocker(ExportPaths::batchFolderPath(tmp.path()));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    r = engine.Export_Batch_File(tmp.path(), 3, options, factory);
    EXPECT_TRUE(r.refusal.startsWith("Unable to continue saving"));
    EXPECT_EQ(renders.load(), 0);
}

TEST(SingleExport, WritesTheFilesTheSideNames)
{
    QTemporaryDir tmp;
    FakeRenderer renderer;
    ExportOptions options;
    options.side = ExportSide::Back;
    const QString path = tmp.filePath("card.png");
    ExportResult r = SingleExport::Export_Single_File(path, options, renderer);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.path, tmp.filePath("card_Back.png"));
    EXPECT_EQ(listing(tmp.path()), QStringList({"card_Back.png"}));

    QDir(tmp.path()).remove("card_Back.png");
    options.side = ExportSide::Both;
    ASSERT_TRUE(SingleExport::Export_Single_File(path, options, renderer).ok());
    EXPECT_EQ(listing(tmp.path()), QStringList({"card.png", "card_Back.png"}));

    options.combined = true;
    const QString combined = tmp.filePath("both.tiff");
    ASSERT_TRUE(SingleExport::Export_Single_File(combined, options, renderer).ok());
    EXPECT_FALSE(QFile::exists(tmp.filePath("both_Back.tiff")));
    EXPECT_EQ(QImage(combined).size(), QSize(120, 160));

    renderer.failWhen = [](int, bool back) { return back; };
    r = SingleExport::Export_Single_File(path, options, renderer);
    EXPECT_EQ(r.failed, 1);
    EXPECT_FALSE(r.message().contains("successfully"));
    options.side = ExportSide::Front;
    r = SingleExport::Export_Single_File(tmp.filePath("card.xcf"), options, renderer);
    EXPECT_FALSE(r.refusal.isEmpty());
}

TEST(SingleExport, AFailedSideLeavesNoFileOfTheCard)
{
    QTemporaryDir tmp;
    FakeRenderer renderer;
    ExportOptions options;
    options.side = ExportSide::Both;
    const QString path = tmp.filePath("card.png");

    // The front cannot be drawn: the back, drawn first, is not written either.
    renderer.failWhen = [](int, bool back) { return !back; };
    ExportResult r = SingleExport::Export_Single_File(path, options, renderer);
    EXPECT_EQ(r.failed, 1);
    EXPECT_EQ(r.written, 0);
    EXPECT_EQ(r.problems, QStringList({"No picture for row 0"}));
    EXPECT_TRUE(listing(tmp.path()).isEmpty());

    // The front cannot be written (a folder holds its name): the back written before it goes again,
    // and what the user had under the front's name stays.
    renderer.failWhen = nullptr;
    ASSERT_TRUE(QDir(tmp.path()).mkdir("card.png"));
    r = SingleExport::Export_Single_File(path, options, renderer);
    EXPECT_EQ(r.failed, 1);
    EXPECT_FALSE(QFile::exists(tmp.filePath("card_Back.png")));
    EXPECT_TRUE(QFileInfo(path).isDir());
}
