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

QString OutputCheckQuestion::problems(const RunPlan &plan, int threads)
{
    const auto check = [&plan, threads] { return OutputCheck::check(plan, threads); };
    const OutputCheck::Report report =
        plan.outputCount() > LongRun ? runWithPleaseWait(QApplication::activeWindow(), check) : check();
    if (report.isEmpty())
        return {};
    Show_NSLog_Message(report.text());
    return QStringLiteral("Some cards would not come out right:\n\n") + report.text(ProblemsShown);
}

bool OutputCheckQuestion::goOn(const RunPlan &plan, int threads)
{
    const QString found = problems(plan, threads);
    return found.isEmpty() || Show_YES_NO_MessageBox(found + QStringLiteral("\n\nDo you want to go on?"));
}
