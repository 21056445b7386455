#include "output/ui/RunStart.h"

#include "foundation/MessageBoxes.h"
#include "output/ExportPaths.h"
#include "output/RunPlan.h"
#include "output/ui/OutputCheckQuestion.h"
#include "output/ui/OutputHost.h"
#include "platform/MessageService.h"

#include <QDir>
#include <QFileInfo>

std::shared_ptr<const RunPlan> RunStart::plan(OutputHost &host, const RunPlan::Choices &choices)
{
    host.settleWorkbook();
    return RunPlan::make(host.batchDesign(), choices);
}

std::shared_ptr<const RunPlan> RunStart::mayBegin(const std::shared_ptr<const RunPlan> &plan, int threads,
                                                  const QString &scale, bool mail)
{
    // Cards that would come out wrong, with a run larger than its window shows named first.
    switch (OutputCheckQuestion::ask(*plan, threads, scale, mail)) {
    case OutputCheckQuestion::Answer::GoOn:
        return plan;
    case OutputCheckQuestion::Answer::LeaveOutBlank:
        return plan->with(RunPlan::Choices(plan->choices()).leavingOutBlank());
    case OutputCheckQuestion::Answer::Stop:
        break;
    }
    return nullptr;
}

QString RunStart::rowsChangedText()
{
    return QStringLiteral("The data rows changed since the run was started, and were read again.");
}

int RunStart::totalOfRowsReadAgain(int most, int cards)
{
    return most >= 0 && most >= cards ? -1 : most;
}

std::shared_ptr<const RunPlan> RunStart::atFirstCard(OutputHost &host,
                                                     const std::shared_ptr<const RunPlan> &asked, int threads,
                                                     const SizeWords &size, bool mail)
{
    std::shared_ptr<const RunPlan> current = asked;
    // Each question is a wait of its own, during which the files may change again.
    while (current) {
        RunPlan::Choices chosen = RunPlan::Choices(current->choices()).leavingOutBlank(false);
        chosen.most = totalOfRowsReadAgain(chosen.most, current->with(chosen)->cardCount());
        const std::shared_ptr<const RunPlan> fresh = plan(host, chosen);
        if (stopsForGoneSeries(*fresh))
            return nullptr;
        if (fresh->sameData(*current))
            return current;
        QString scale;
        if (size) {
            const QString now = size(*fresh);
            if (now != size(*current))
                scale = rowsChangedText() + QStringLiteral("\n\n") + now;
        }
        current = mayBegin(fresh, threads, scale, mail);
    }
    return current;
}

bool RunStart::stopsForGoneSeries(const RunPlan &plan)
{
    const QString gone = plan.missingSeriesText();
    if (gone.isEmpty())
        return false;
    Show_MessageBox(gone);
    return true;
}

QStringList RunStart::earlierCardsAnswers()
{
    return {QStringLiteral("&Replace"), QStringLiteral("&New Folder"), QStringLiteral("Cancel")};
}

std::optional<RunStart::ExportFolder> RunStart::exportFolder(const QString &chosenFolder)
{
    ExportFolder target{ExportPaths::batchFolderPath(chosenFolder)};
    const ExportPaths::EarlierCards earlier = ExportPaths::earlierCards(target.batchFolder);
    if (earlier.files.isEmpty())
        return target;
    const QString first = QFileInfo(earlier.files.first()).fileName();
    const QString last = QFileInfo(earlier.files.last()).fileName();
    const QString newFolder = ExportPaths::newBatchFolderPath(chosenFolder);
    const QString question =
        QStringLiteral(
            "The folder \"%1\" already holds %2 of an earlier export (%3).\n\nReplace them with the "
            "cards of this export, or write this export to a new folder, \"%4\"?")
            .arg(QDir::toNativeSeparators(target.batchFolder),
                 earlier.cards == 1 ? QStringLiteral("1 card")
                                    : QStringLiteral("%1 cards").arg(earlier.cards),
                 first == last ? first : first + QStringLiteral(" to ") + last,
                 QFileInfo(newFolder).fileName());
    // Nothing is lost by Return or Escape: the new folder is the default, Cancel the way out.
    switch (MessageService::deliverChoice(question, earlierCardsAnswers(), 1, 2).value_or(2)) {
    case 0:
        target.replaceEarlier = true;
        return target;
    case 1:
        target.batchFolder = newFolder;
        return target;
    default:
        return std::nullopt;
    }
}
