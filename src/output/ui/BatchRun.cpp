#include "output/ui/BatchRun.h"

#include "foundation/WorkerRun.h"
#include "output/ExportProgress.h"
#include "output/OutputState.h"
#include "output/ui/OutputHost.h"
#include "output/ui/Send_Modeless.h"

#include <QTimer>

QString BatchRun::stopQuestion(Kind kind)
{
    return kind == Kind::Export ? QStringLiteral("Stop exporting?") : QStringLiteral("Stop sending?");
}

QString BatchRun::stopEffect(Kind kind)
{
    return kind == Kind::Export
               ? QStringLiteral("The cards already being made, at most one on each thread, are finished and "
                                "kept with the cards written so far; no further card is started.")
               : QStringLiteral("The message on its way is finished; no further message is sent.");
}

void BatchRun::exec(QWidget *owner, ExportProgress &progress, int itemCount, Kind kind,
                    const std::function<void()> &work, const std::function<void()> &onQuit,
                    const std::function<void()> &onStopOverdue)
{
    OutputState::instance().Card_Value_In_Process = true;
    Send_Modeless sheet(owner);
    sheet.prepare(&progress, itemCount,
                  {kind == Kind::Export ? QStringLiteral("%1 / %2 Card") : QStringLiteral("%1 / %2"),
                   stopQuestion(kind), stopEffect(kind)});
    sheet.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    sheet.open();

    // Stop lets the item in progress finish, but not for ever: what still runs after the grace
    // time is cut short.
    QTimer overdue;
    overdue.setSingleShot(true);
    overdue.setInterval(StopGraceMs);
    QObject::connect(&overdue, &QTimer::timeout, [&onStopOverdue] {
        if (onStopOverdue)
            onStopOverdue();
    });
    QObject::connect(&sheet, &Send_Modeless::stopConfirmed, &overdue, qOverload<>(&QTimer::start));

    WorkerRun::Options options;
    options.tickMs = RefreshMs;
    options.tick = [&sheet] { sheet.update_sending_progress_bar(); };
    // Quitting while a run goes on sets the stop flag, and the caller cuts short the item in
    // progress. A run held by the Stop question goes on to its end.
    options.quit = [&progress, &onQuit] {
        progress.requestStop();
        progress.resume();
        if (onQuit)
            onQuit();
    };
    WorkerRun::run(work, options);
    overdue.stop();
    sheet.hide();
    OutputState::instance().Card_Value_In_Process = false;
}

void BatchRun::showDesignAgain(OutputHost &host)
{
    OutputState::instance().Card_Value_In_Process = false;
    host.Refresh_Canvas();
}
