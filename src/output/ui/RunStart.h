// The one road by which an export, print or mail run starts: the design's data read as it is then,
// and the questions asked before the first card is made, each of which may stop the run.
#pragma once

#include "output/RunPlan.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class OutputHost;

class RunStart
{
public:
    // The design's data as it stands now, under the window's choices: a workbook changed on disk
    // since its rows were loaded is named first (its rows loaded again when the user says so), and
    // the series files are read anew. Windows take their plan here when they open, to offer their
    // boxes and counts, and again when their run starts, so a run uses the data the user was asked
    // about.
    static std::shared_ptr<const RunPlan> plan(OutputHost &host, const RunPlan::Choices &choices = {});

    // The plan the run outputs when it may start: `plan`, or the same without its blank cards when
    // the user chose to leave them out; null when it must not start. threads: those of the run (0
    // every core). scale: what the run is about to do when that is more than its window shows
    // ("This sends 3,000 messages ..."): then the question is asked whatever the check finds, and
    // stops on Return. mail: the run sends mail, whose question says Send and defaults to Cancel.
    static std::shared_ptr<const RunPlan> mayBegin(const std::shared_ptr<const RunPlan> &plan,
                                                   int threads = 0, const QString &scale = {},
                                                   bool mail = false);

    // What a run tells of its size ("This prints 6 cards."), the same words for the same run.
    using SizeWords = std::function<QString(const RunPlan &)>;

    // The data a run outputs is the data at its first card: after the run's last question or
    // panel, the design's data is read again (a changed workbook named, as `plan` does); the plan
    // asked about when nothing changed, else the new data, checked and asked about as mayBegin
    // does, with the sources and sides chosen. A run that took every card of its rows (at most
    // as many as there were) takes every card of the rows read again. When the run's size in
    // words changed with the rows, the question is asked whatever the check finds, with the new
    // words. mail: the run sends mail, as for mayBegin. Null when the user stops.
    static std::shared_ptr<const RunPlan> atFirstCard(OutputHost &host,
                                                      const std::shared_ptr<const RunPlan> &asked,
                                                      int threads = 0, const SizeWords &size = {},
                                                      bool mail = false);
    // A total that took every card of its rows (at most as many as there were, `cards`) takes
    // every card of the rows read again: -1, no limit. Any other total stays as it was.
    static int totalOfRowsReadAgain(int most, int cards);
    // What begins that question: the rows are not those the user was asked about.
    static QString rowsChangedText();

    // A bound series whose file is gone is named with its file, and the run must stop (true):
    // its cards would show the design's sample values. Asked as a run's window opens and again as
    // its run starts, whichever sources the window's boxes leave.
    static bool stopsForGoneSeries(const RunPlan &plan);

    // Where a batch export into chosenFolder writes its cards. When the batch folder there holds
    // the cards of an earlier export the user is asked first: replace them, write to a new folder
    // beside it, or cancel (nothing).
    struct ExportFolder {
        QString batchFolder;
        bool replaceEarlier = false; // the earlier export's cards are removed before the first card
    };
    static std::optional<ExportFolder> exportFolder(const QString &chosenFolder);
    static QStringList earlierCardsAnswers(); // "Replace", "New Folder", "Cancel"
};
