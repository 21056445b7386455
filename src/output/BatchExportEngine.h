// Writes one card per data row into the batch folder, filling, rendering, encoding and writing
// independent cards on several threads; each file depends on its row only, never on the threads.
// Made cards go through a bounded queue to writer threads, even with a single worker, so that
// drawing never waits for the disk. A writer takes the cards waiting as a group: it writes all
// their files, then syncs and names each, so that the files of a group share the disk's waits.
#pragma once

#include "output/CardRenderer.h"
#include "output/ExportProgress.h"
#include "output/ExportResult.h"
#include "platform/OpResult.h"

#include <QString>

#include <vector>

class CardFiles;

class BatchExportEngine
{
public:
    explicit BatchExportEngine(ExportProgress *progress);

    // The whole batch: clears the stop flag, refuses an unwritable extension or folder before
    // anything is written, removes the earlier cards when options.replaceEarlier, then writes
    // "Card_<n>" files for rows 0 .. rowCount - 1 into "ZOLV Tessaly Greeting Card" inside
    // chosenFolder (or options.batchFolder). Stops taking new cards once the flag is set; while the
    // progress is paused no card begins and none is written.
    ExportResult Export_Batch_File(const QString &chosenFolder, int rowCount, const ExportOptions &options,
                                   const CardRendererFactory &factory);

    // Threads a run of rowCount cards uses for the requested count (0: every core).
    // Workers for a run: requested (0 every core), no more than rows, and no more than the memory
    // budget holds cards of cardBytes each (0 unknown) at once.
    static int threadCount(int requested, int rowCount, qint64 cardBytes = 0);
    // Beside it the photos' decodings (a 192 MB cache, more while drawn) keep a run of 1,200-dpi
    // photo cards under 600 MB; 300-dpi cards are far from it on any number of cores.
    static constexpr qint64 WorkerMemoryBudget = qint64(384) << 20;
    // Writer threads beside `workers` workers (0: the workers write their own cards). While paused,
    // a run is held once its workers and writers all wait in the pause.
    static int writerCount(int workers, int rowCount, qint64 cardBytes = 0);
    // Writers for a run on one worker: a writer spends almost all its time asleep in a sync, and
    // the disk's journal commits the syncs that wait together at once, so a few writers keep one
    // drawing thread busy; more only add cards waiting in memory.
    static constexpr int OneWorkerWriters = 3;
    // Writers beside several workers, at most: one a worker, up to this many.
    static constexpr int MaxWriters = 8;
    // Cards made and not yet written, at most, beside `workers` workers and `writers` writers:
    // room for a few cards in each writer's group, within the memory budget.
    static int roomFor(int workers, int writers, qint64 cardBytes = 0);
    static constexpr int GroupCards = 4;

private:
    struct Run;
    struct MadeCard;

    // Why the run cannot start (extension, empty list, folder, earlier cards to replace that could not
    // be removed), before anything is drawn; empty when it can.
    static QString refusalFor(const QString &folder, int rowCount, const ExportOptions &options);
    // One worker: its own renderer, then rows until none is left or Stop is set.
    void work(Run &run);
    // The next row to make, or false when the list is done or Stop is set.
    bool takeRow(Run &run, int *row);
    // Cards waiting for a writer when an idle one is woken: one a worker, one a writer beside a
    // single worker.
    static int wakeAtFor(int workers, int writers);
    // Counts a card written or failed, with the notes of its files or its problem.
    void record(Run &run, const MadeCard &card, const CardFiles &files, const OpResult &written,
                bool noSpace);
    // Whether the card of `row` is to be tried: not once the disk is full, unless a card after it
    // was tried already. Counts it as tried.
    static bool tries(Run &run, int row);
    // Whether the card of `row` may still be tried, without counting it.
    static bool maybeTried(Run &run, int row);
    // Writes made cards in their order, each all or nothing, with one wait for the disk for all.
    void writeGroup(Run &run, std::vector<MadeCard> &cards);
    // A writer: the cards waiting, a group at a time, until the workers are done and none waits.
    void writeMadeCards(Run &run);
    // Paused and not stopped: a thread with nothing to do waits in the pause.
    bool holdsInPause() const;

    ExportProgress *m_progress;
};
