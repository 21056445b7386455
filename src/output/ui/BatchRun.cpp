#include "output/ui/BatchRun.h"

#include "foundation/MessageBoxes.h"
#include "foundation/WorkerRun.h"
#include "output/BatchFiller.h"
#include "output/ExportProgress.h"
#include "output/OutputState.h"
#include "output/ui/OutputHost.h"
#include "output/ui/Send_Modeless.h"

#include <QTimer>

void BatchRun::exec(QWidget *owner, ExportProgress &progress, int itemCount, Kind kind,
                    const std::function<void()> &work, const std::function<void()> &onQuit,
                    const std::function<void()> &onStopOverdue)
{
    OutputState::instance().Card_Value_In_Process = true;
    Send_Modeless sheet(owner);
    sheet.prepare(&progress, itemCount,
                  kind == Kind::Export ? QStringLiteral("%1 / %2 Card") : QStringLiteral("%1 / %2"));
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

void BatchRun::refillFirstRow(OutputHost &host, const std::shared_ptr<const BatchFillSnapshot> &snapshot,
                              bool back)
{
    if (snapshot && snapshot->Total_Batch_Excel_Card > 0) {
        BatchFiller filler(snapshot, 72.0);
        // The back first when the run drew it; a list chosen by ?: would outlive its storage.
        QList<bool> sides{false};
        if (back)
            sides.prepend(true);
        for (const bool side : sides) {
            GraphicList *live = host.liveGraphics(side);
            QString error;
            if (live && !filler.Assign_Batch_Values_To_Control(*live, 0, &error))
                Show_NSLog_Message(QStringLiteral("Row 1 could not be shown again: ") + error);
        }
    }
    OutputState::instance().Card_Value_In_Process = false;
    host.Refresh_Canvas();
}
