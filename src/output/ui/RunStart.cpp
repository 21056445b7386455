#include "output/ui/RunStart.h"

#include "output/ExportPaths.h"
#include "output/ui/OutputCheckQuestion.h"
#include "platform/MessageService.h"

#include <QDir>
#include <QFileInfo>

bool RunStart::mayBegin(const RunPlan &plan, int threads, const QString &scale)
{
    // Cards that would come out wrong.
    if (scale.isEmpty())
        return OutputCheckQuestion::goOn(plan, threads);
    // A run larger than its window shows is named first, in the same question as the check's.
    const QString problems = OutputCheckQuestion::problems(plan, threads);
    QString question = scale;
    if (!problems.isEmpty())
        question += QStringLiteral("\n\n") + problems;
    question += QStringLiteral("\n\nDo you want to send them?");
    // So many messages go out only when Send is chosen: Return and Escape both cancel.
    return MessageService::deliverChoice(question, sendAnswers(), 1, 1).value_or(1) == 0;
}

QStringList RunStart::sendAnswers()
{
    return {QStringLiteral("&Send"), QStringLiteral("Cancel")};
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
