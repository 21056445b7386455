#include "output/ui/OutputCheckQuestion.h"

#include "foundation/MessageBoxes.h"
#include "foundation/ui/PleaseWaitSheet.h"
#include "foundation/ui/PleaseWait_Modeless.h"
#include "output/OutputCheck.h"
#include "platform/MessageService.h"

#include <QApplication>

namespace
{
// Cards from which checking shows the please-wait sheet; shorter runs are checked at once.
constexpr int LongRun = 200;
// Problems the question lists; the log has them all.
constexpr int ProblemsShown = 8;
} // namespace

QStringList OutputCheckQuestion::answers(bool send, bool blankCards)
{
    QStringList buttons = send ? QStringList{QStringLiteral("&Send"), QStringLiteral("Cancel")}
                               : QStringList{QStringLiteral("&Go On"), QStringLiteral("&Stop")};
    if (blankCards)
        buttons << (send ? QStringLiteral("Send &Without Blank Cards")
                         : QStringLiteral("Go On &Without Blank Cards"));
    return buttons;
}

OutputCheckQuestion::Answer OutputCheckQuestion::ask(const RunPlan &plan, int threads, const QString &scale,
                                                     bool mail)
{
    const auto check = [&plan, threads] { return OutputCheck::check(plan, threads); };
    const OutputCheck::Report report =
        plan.outputCount() > LongRun ? runWithPleaseWait(QApplication::activeWindow(), check) : check();
    if (report.isEmpty() && scale.isEmpty())
        return Answer::GoOn;
    QStringList parts;
    if (!scale.isEmpty())
        parts << scale;
    if (!report.isEmpty()) {
        Show_NSLog_Message(report.text());
        parts << QStringLiteral("Some cards would not come out right:\n\n") + report.text(ProblemsShown);
    }
    const bool send = mail;
    parts << (send ? QStringLiteral("Do you want to send them?") : QStringLiteral("Do you want to go on?"));
    const QString question = parts.join(QStringLiteral("\n\n"));
    // Leaving the blank cards out is offered while other cards remain. Stop (Cancel before a mail
    // run) is the default: cards with problems, or so many messages, go out only when chosen, and
    // Return and Escape both stop.
    const bool blank = report.blankCards > 0 && report.blankCards < report.totalCards;
    switch (MessageService::deliverChoice(question, answers(send, blank), 1, 1).value_or(1)) {
    case 0:
        return Answer::GoOn;
    case 2:
        return Answer::LeaveOutBlank;
    default:
        return Answer::Stop;
    }
}
