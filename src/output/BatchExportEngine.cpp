#include "output/BatchExportEngine.h"

#include "output/CardFiles.h"
#include "output/ExportFilePlan.h"
#include "output/ExportPaths.h"
#include "output/ImageFileWriter.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// One row's card, drawn and encoded, with the files it is to be written to.
struct BatchExportEngine::MadeCard {
    int row;
    ExportFilePlan plan;
    CardFiles files;
};

// What the workers of one run share. Rows are taken in order and every row taken is finished, so
// a stop leaves the first cards.
struct BatchExportEngine::Run {
    QString folder;
    int rowCount = 0;
    ExportOptions options;
    ImageFileWriter::Format format = ImageFileWriter::Format::Unsupported;
    CardRendererFactory factory;

    std::mutex mutex;
    // Cards made and waiting for a writer, when writers of their own take the disk's waits off the
    // workers. Cards made and not yet written, waiting here or in a writer's group, are at most
    // `room`, so that memory stays bounded; an idle writer is woken once `wakeAt` wait here.
    std::deque<MadeCard> made;
    size_t unwritten = 0;
    size_t room = 0; // 0: every worker writes its own cards
    size_t wakeAt = 0;
    int makersLeft = 0;
    int idleWriters = 0; // waiting for cards
    std::condition_variable madeOne, tookOne;
    int nextRow = 0;
    bool outOfSpace = false; // a write found the disk full: no card after it can be written
    // One past the last row a writer tried. Writers try their groups side by side: once the disk is
    // full, the rows below it that another writer holds are still tried, so that the cards tried are
    // always the first rows, each written or counted as failed.
    int triedEnd = 0;
    std::map<int, QString> problems;   // by row, so the report reads the same whatever the timing
    std::multimap<int, QString> notes; // what written cards were written without, by row
};

BatchExportEngine::BatchExportEngine(ExportProgress *progress) : m_progress(progress) {}

namespace
{
// How often a thread waiting on the queue looks whether the run was paused meanwhile.
constexpr std::chrono::milliseconds PauseLook(ExportProgress::PauseLookMs);
} // namespace

int BatchExportEngine::threadCount(int requested, int rowCount, qint64 cardBytes)
{
    int n = requested > 0 ? requested : QThread::idealThreadCount();
    n = std::clamp(n, 1, 256);
    // Large cards: fewer at once, so that the run's pictures fit the budget together.
    if (cardBytes > 0)
        n = int(std::clamp<qint64>(WorkerMemoryBudget / cardBytes, 1, n));
    return std::max(1, std::min(n, rowCount));
}

int BatchExportEngine::writerCount(int workers, int rowCount, qint64 cardBytes)
{
    if (workers > 1) {
        // A writer for each worker: with half as many, workers spent a fifth of a 1,000-card run
        // waiting for room in the queue while the syncs went on. Cards too large for the memory
        // budget to hold twice over keep half as many, as the queue and the workers hold them too.
        int writers = std::min(workers, MaxWriters);
        if (cardBytes > 0)
            writers = int(std::min<qint64>(writers, std::max<qint64>(1, WorkerMemoryBudget / cardBytes / 2)));
        return std::max(1, writers);
    }
    // One worker: a writer for each card that can wait beside the one being drawn, and as many
    // cards in the queue, within the memory budget; a single card needs none.
    int writers = std::min(OneWorkerWriters, rowCount - 1);
    if (cardBytes > 0)
        writers = int(std::min<qint64>(writers, (WorkerMemoryBudget / cardBytes - 1) / 2));
    return std::max(0, writers);
}

int BatchExportEngine::wakeAtFor(int workers, int writers)
{
    return workers == 1 ? writers : workers;
}

int BatchExportEngine::roomFor(int workers, int writers, qint64 cardBytes)
{
    if (writers <= 0)
        return 0;
    // Those waiting for a writer, and the groups the busy writers hold. With room for one card a
    // writer the syncs on an ext4 with a journal held the workers back for a fifth of an
    // eight-thread run.
    const int wakeAt = wakeAtFor(workers, writers);
    const int room = wakeAt + writers * GroupCards;
    if (cardBytes <= 0)
        return room;
    // What the budget holds beside the cards being drawn, and never less than a card a writer.
    return int(std::clamp<qint64>(WorkerMemoryBudget / cardBytes - workers, wakeAt + writers, room));
}

bool BatchExportEngine::holdsInPause() const
{
    return m_progress->paused() && !m_progress->stopRequested();
}

QString BatchExportEngine::refusalFor(const QString &folder, int rowCount, const ExportOptions &options)
{
    QString refusal = ImageFileWriter::checkExtension(options.extension);
    if (!refusal.isEmpty())
        return refusal;
    if (rowCount <= 0)
        return QStringLiteral("List is empty.");
    refusal = ExportPaths::createBatchFolder(folder);
    // The user chose to replace an earlier export's cards: none of them is left beside the new ones
    // to be taken for one.
    if (refusal.isEmpty() && options.replaceEarlier)
        refusal = ExportPaths::removeEarlierCards(folder);
    return refusal;
}

bool BatchExportEngine::takeRow(Run &run, int *row)
{
    // While the Stop question is open no card begins.
    m_progress->waitWhilePaused();
    std::lock_guard lock(run.mutex);
    // Stop is looked at between cards only: a card that has begun is finished.
    if (m_progress->stopRequested() || run.outOfSpace || run.nextRow >= run.rowCount)
        return false;
    *row = run.nextRow++;
    return true;
}

void BatchExportEngine::record(Run &run, const MadeCard &card, const CardFiles &files,
                               const OpResult &written, bool noSpace)
{
    const int row = card.row;
    if (written.ok()) {
        ++m_progress->written;
        if (!files.notes().isEmpty()) {
            std::lock_guard lock(run.mutex);
            for (const QString &note : files.notes())
                run.notes.emplace(row, note);
        }
        return;
    }
    // A failed card leaves no file under its name, neither a part of it nor one of an earlier run
    // that could be taken for this row's card.
    for (const QString &path : card.plan.paths())
        QFile::remove(path);
    ++m_progress->failed;
    std::lock_guard lock(run.mutex);
    run.problems.emplace(row, written.message);
    run.outOfSpace = run.outOfSpace || noSpace;
}

bool BatchExportEngine::maybeTried(Run &run, int row)
{
    std::lock_guard lock(run.mutex);
    return !run.outOfSpace || row < run.triedEnd;
}

bool BatchExportEngine::tries(Run &run, int row)
{
    std::lock_guard lock(run.mutex);
    if (run.outOfSpace && row >= run.triedEnd)
        return false;
    run.triedEnd = std::max(run.triedEnd, row + 1);
    return true;
}

void BatchExportEngine::writeGroup(Run &run, std::vector<MadeCard> &cards)
{
    // While the Stop question is open no card is written: a card drawn meanwhile waits for the answer.
    m_progress->waitWhilePaused();
    // Once the disk is full no card past those tried is tried: those waiting are left unwritten, as
    // cards not begun are; a group none of whose cards will be tried is never begun.
    std::optional<CardFiles::WriteGroup> writing;
    if (std::any_of(cards.begin(), cards.end(), [&](const MadeCard &c) { return maybeTried(run, c.row); })) {
        std::vector<CardFiles> files;
        files.reserve(cards.size());
        for (MadeCard &card : cards)
            files.push_back(std::move(card.files));
        writing.emplace(std::move(files));
    }
    for (size_t i = 0; i < cards.size(); ++i) {
        m_progress->waitWhilePaused();
        if (writing && tries(run, cards[i].row)) {
            bool noSpace = false;
            const OpResult written = writing->finish(i, &noSpace);
            record(run, cards[i], writing->card(i), written, noSpace);
        }
        {
            std::lock_guard lock(run.mutex);
            --run.unwritten;
        }
        run.tookOne.notify_one();
    }
}

void BatchExportEngine::writeMadeCards(Run &run)
{
    std::unique_lock lock(run.mutex);
    for (;;) {
        if (run.made.empty() && run.makersLeft > 0) {
            // An idle writer waits in the pause too, so that a held run is all of its threads
            // waiting there; otherwise it looks at the pause now and then while no card comes.
            if (holdsInPause()) {
                lock.unlock();
                m_progress->waitWhilePaused();
                lock.lock();
            } else {
                ++run.idleWriters;
                run.madeOne.wait_for(lock, PauseLook);
                --run.idleWriters;
            }
            continue;
        }
        if (run.made.empty())
            return;
        // Every card waiting, as one group: the files of a group share the disk's waits.
        std::vector<MadeCard> group(std::make_move_iterator(run.made.begin()),
                                    std::make_move_iterator(run.made.end()));
        run.made.clear();
        lock.unlock();
        writeGroup(run, group);
        lock.lock();
    }
}

void BatchExportEngine::work(Run &run)
{
    std::unique_ptr<CardRenderer> renderer;
    QString cause;
    try {
        renderer = run.factory();
    } catch (const std::exception &e) {
        cause = QString::fromUtf8(e.what());
    } catch (...) {
    }
    // Every row of this worker fails the same way then: say why, not only that it did.
    const QString rendererProblem =
        cause.isEmpty() ? QStringLiteral("the card could not be prepared for drawing.")
                        : QStringLiteral("the card could not be prepared for drawing: %1").arg(cause);
    int row = 0;
    while (takeRow(run, &row)) {
        m_progress->beginItem(row);
        ExportFilePlan plan(ExportPaths::batchCardPath(run.folder, row, run.options.extension),
                            run.options.side, run.options.combined);
        CardFiles files = renderer ? CardFiles::make(*renderer, row, plan, run.format, run.options.dpi)
                                   : CardFiles::failure(rendererProblem);
        MadeCard card{row, std::move(plan), std::move(files)};
        if (run.room == 0) {
            m_progress->waitWhilePaused(); // nor is one written: a card drawn meanwhile waits for the answer
            bool noSpace = false;
            const OpResult written = card.files.write(&noSpace);
            record(run, card, card.files, written, noSpace);
            continue;
        }
        std::unique_lock lock(run.mutex);
        // No room while paused: the writers hold their cards, and this worker waits in the pause
        // with its own.
        while (run.unwritten >= run.room) {
            if (holdsInPause()) {
                lock.unlock();
                m_progress->waitWhilePaused();
                lock.lock();
            } else {
                run.tookOne.wait_for(lock, PauseLook);
            }
        }
        run.made.push_back(std::move(card));
        ++run.unwritten;
        // An idle writer is woken once `wakeAt` cards wait, and writes them as one group: waking
        // one for every card cost the drawing thread a tenth of its time, and the files of a group
        // share the disk's waits. Woken after the lock is let go, the writer does not wait for it.
        const bool wake = run.idleWriters > 0 && run.made.size() >= run.wakeAt;
        lock.unlock();
        if (wake)
            run.madeOne.notify_one();
    }
    std::lock_guard lock(run.mutex);
    if (--run.makersLeft == 0)
        run.madeOne.notify_all();
}

ExportResult BatchExportEngine::Export_Batch_File(const QString &chosenFolder, int rowCount,
                                                  const ExportOptions &options,
                                                  const CardRendererFactory &factory)
{
    m_progress->start(0);
    ExportResult result;
    result.total = std::max(0, rowCount);
    result.path =
        options.batchFolder.isEmpty() ? ExportPaths::batchFolderPath(chosenFolder) : options.batchFolder;
    result.refusal = refusalFor(result.path, rowCount, options);
    if (!result.refusal.isEmpty())
        return result;

    Run run;
    run.folder = result.path;
    run.rowCount = rowCount;
    run.options = options;
    run.format = ImageFileWriter::formatForExtension(options.extension);
    run.factory = factory;
    m_progress->list_count = rowCount;

    const int threads = threadCount(options.threads, rowCount, options.cardBytes);
    const int writers = writerCount(threads, rowCount, options.cardBytes);
    run.makersLeft = threads;
    if (writers == 0) {
        work(run);
    } else {
        // Every file is synced to the disk before it takes its name, and a sync waits on the disk's
        // journal (longer the more files are synced at once). Writers of their own do that waiting,
        // so that the workers, one a core, keep drawing and encoding. One worker keeps to the
        // calling thread, as it did when it wrote its own cards.
        run.wakeAt = size_t(wakeAtFor(threads, writers));
        run.room = size_t(roomFor(threads, writers, options.cardBytes));
        std::vector<std::thread> pool;
        pool.reserve(size_t(threads + writers));
        for (int i = 0; i < writers; ++i)
            pool.emplace_back([this, &run] { writeMadeCards(run); });
        for (int i = threads == 1 ? 1 : 0; i < threads; ++i)
            pool.emplace_back([this, &run] { work(run); });
        if (threads == 1)
            work(run);
        for (std::thread &t : pool)
            t.join();
    }

    // The run's own counters, started at zero above, are the result's.
    result.written = m_progress->written;
    result.failed = m_progress->failed;
    for (const auto &[row, problem] : run.problems)
        result.addProblem(QStringLiteral("Card %1: %2").arg(row + 1).arg(problem));
    int lastNoted = -1;
    for (const auto &[row, note] : run.notes) {
        result.addNote(QStringLiteral("Card %1: %2").arg(row + 1).arg(note));
        result.incomplete += row != lastNoted ? 1 : 0;
        lastNoted = row;
    }
    result.stopped = result.written + result.failed < rowCount;
    result.outOfSpace = run.outOfSpace;
    return result;
}
