// One long run (a batch export or a mail run) on a worker thread under the progress sheet: the
// GUI thread keeps turning, a 0.5 s timer shows the counters, Stop holds the run while it asks
// and then sets the flag between items.
#pragma once

#include <QString>

#include <functional>

class ExportProgress;
class OutputHost;
class QWidget;

class BatchRun
{
public:
    enum class Kind { Export, Mail };
    static constexpr int RefreshMs = 500;
    // After Stop, the item in progress has this long to finish before it is cut short.
    static constexpr int StopGraceMs = 5000;

    // The Stop question of a run of this kind ("Stop exporting?", "Stop sending?") and what Stop
    // does, as the progress sheet asks it.
    static QString stopQuestion(Kind kind);
    static QString stopEffect(Kind kind);

    // Shows the sheet on owner prepared for itemCount items, runs work on a new thread and
    // returns when it has finished, with the sheet closed. Card_Value_In_Process is set meanwhile
    // so the live canvas is not redrawn. The caller has started the counters (progress.start).
    // When the program quits meanwhile, the stop flag is set and onQuit called (from the GUI
    // thread) to cut short what the item in progress waits for; then the work is waited for.
    // After Stop, onStopOverdue is called the same way once the run has gone on for StopGraceMs
    // (a message hanging on a silent server); an item that ends sooner is left alone.
    static void exec(QWidget *owner, ExportProgress &progress, int itemCount, Kind kind,
                     const std::function<void()> &work, const std::function<void()> &onQuit = {},
                     const std::function<void()> &onStopOverdue = {});

    // After a run the canvas is drawn again: redraws asked for while it ran were let go. The run
    // drew copies, so the design is as it was.
    static void showDesignAgain(OutputHost &host);
};
