#include "output/ui/OutputCheckQuestion.h"

#include "foundation/MessageBoxes.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "output/OutputCheck.h"

#include <QApplication>

namespace
{
// Cards from which checking shows the please-wait sheet; shorter runs are checked at once.
constexpr int LongRun = 200;
// Problems the question lists; the log has them all.
constexpr int ProblemsShown = 8;
} // namespace

bool OutputCheckQuestion::goOn(const RunPlan &plan, int threads)
{
    const auto check = [&plan, threads] {
        return OutputCheck::check(plan, BatchFiller::defaultBarcodeMaker(), threads);
    };
    const OutputCheck::Report report =
        plan.outputCount() > LongRun ? runWithPleaseWait(QApplication::activeWindow(), check) : check();
    if (report.isEmpty())
        return true;
    Show_NSLog_Message(report.text());
    return Show_YES_NO_MessageBox(QStringLiteral("Some cards would not come out right:\n\n") +
                                  report.text(ProblemsShown) + QStringLiteral("\n\nDo you want to go on?"));
}
