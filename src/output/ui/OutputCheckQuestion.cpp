#include "output/ui/OutputCheckQuestion.h"

#include "foundation/MessageBoxes.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "output/BatchFillSnapshot.h"
#include "output/OutputCheck.h"

#include <QApplication>

#include <optional>

namespace
{
// Cards from which checking shows the please-wait sheet; shorter runs are checked at once.
constexpr int LongRun = 200;
} // namespace

bool OutputCheckQuestion::goOn(const BatchFillSnapshot &snapshot, bool useSeries, bool useExcel)
{
    BatchFillSnapshot run = snapshot;
    run.Use_Data_Sheet_Values = run.Use_Data_Sheet_Values && useSeries;
    run.Use_Excel_Binding_Values = run.Use_Excel_Binding_Values && useExcel;
    run.Get_total_Card_count();
    if (!run.isBatch())
        return true;
    OutputCheck::Report report;
    {
        // Every row is laid out and every barcode made once: a long list takes a moment.
        std::optional<PleaseWaitSheet> wait;
        if (run.Total_Batch_Excel_Card > LongRun)
            wait.emplace(QApplication::activeWindow());
        report = OutputCheck::check(run);
    }
    if (report.isEmpty())
        return true;
    Show_NSLog_Message(report.text());
    return Show_YES_NO_MessageBox(QStringLiteral("Some cards would not come out right:\n\n") + report.text() +
                                  QStringLiteral("\n\nDo you want to go on?"));
}
