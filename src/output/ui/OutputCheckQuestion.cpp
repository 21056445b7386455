#include "output/ui/OutputCheckQuestion.h"

#include "foundation/MessageBoxes.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "output/BatchFillSnapshot.h"
#include "output/OutputCheck.h"

#include <QApplication>

namespace
{
// Cards from which checking shows the please-wait sheet; shorter runs are checked at once.
constexpr int LongRun = 200;
// Problems the question lists; the log has them all.
constexpr int ProblemsShown = 8;
} // namespace

bool OutputCheckQuestion::goOn(const BatchFillSnapshot &snapshot, bool useSeries, bool useExcel)
{
    BatchFillSnapshot run = snapshot;
    run.Use_Data_Sheet_Values = run.Use_Data_Sheet_Values && useSeries;
    run.Use_Excel_Binding_Values = run.Use_Excel_Binding_Values && useExcel;
    run.Get_total_Card_count();
    if (!run.isBatch())
        return true;
    // Every row is laid out and every barcode made once: a long list is checked on a worker under
    // the please-wait sheet.
    const auto check = [&run] { return OutputCheck::check(run); };
    const OutputCheck::Report report = run.Total_Batch_Excel_Card > LongRun
                                           ? runWithPleaseWait(QApplication::activeWindow(), check)
                                           : check();
    if (report.isEmpty())
        return true;
    Show_NSLog_Message(report.text());
    return Show_YES_NO_MessageBox(QStringLiteral("Some cards would not come out right:\n\n") +
                                  report.text(ProblemsShown) + QStringLiteral("\n\nDo you want to go on?"));
}
