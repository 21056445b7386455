// cardtool mail: sends a design's cards by e-mail through the mail script, as the mail window
// does: to each recipient, or one message per data row to every recipient or to one each.
#include "Command.h"
#include "DesignLoading.h"

#include "foundation/Preferences.h"
#include "output/MailRun.h"
#include "output/ScriptMailTransport.h"
#include "platform/ResourceRoot.h"

#include <QDir>
#include <QFileInfo>

CARDTOOL_COMMAND(
    mailCommand, "mail",
    "DESIGN --settings FILE --to ADDR[,ADDR...] [--mode each|all|one] [--data DIR] [--subject S] "
    "[--body B] [--ext jpeg|png] [--pause-every N --pause-seconds S]")
{
    QStringList rest = args;
    QString settingsPath, to, mode = QStringLiteral("each"), dataFolder, subject, body,
                              ext = QStringLiteral("jpeg"), everyText, secondsText;
    cardtool::takeOption(rest, QStringLiteral("--settings"), &settingsPath);
    cardtool::takeOption(rest, QStringLiteral("--to"), &to);
    cardtool::takeOption(rest, QStringLiteral("--mode"), &mode);
    const bool haveData = cardtool::takeOption(rest, QStringLiteral("--data"), &dataFolder);
    cardtool::takeOption(rest, QStringLiteral("--subject"), &subject);
    cardtool::takeOption(rest, QStringLiteral("--body"), &body);
    cardtool::takeOption(rest, QStringLiteral("--ext"), &ext);
    const bool pauses = cardtool::takeOption(rest, QStringLiteral("--pause-every"), &everyText);
    cardtool::takeOption(rest, QStringLiteral("--pause-seconds"), &secondsText);
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--")) || settingsPath.isEmpty()) {
        cardtool::fail(QStringLiteral("mail: give one design file and --settings"));
        return 1;
    }
    if (mode != QLatin1String("each") && mode != QLatin1String("all") && mode != QLatin1String("one")) {
        cardtool::fail(QStringLiteral("mail: --mode is each, all or one"));
        return 1;
    }
    bool ok = true;
    const int every = pauses ? everyText.toInt(&ok) : 1;
    const int seconds = pauses && ok ? secondsText.toInt(&ok) : 0;
    if (!ok || every < 1 || seconds < 0) {
        cardtool::fail(
            QStringLiteral("mail: --pause-every needs a count from 1 and --pause-seconds a number"));
        return 1;
    }
    if (!QFileInfo(settingsPath).isFile()) {
        cardtool::fail(QStringLiteral("mail: no settings file %1").arg(settingsPath));
        return 1;
    }
    Preferences settings(settingsPath);
    if (!settings.loadedFromFile()) {
        cardtool::fail(QStringLiteral("mail: %1: %2").arg(settingsPath, settings.loadError()));
        return 1;
    }

    cardtool::LoadedDesign loaded;
    QString loadError;
    const QString designPath = rest.first();
    if (!cardtool::loadDesign(designPath, QStringLiteral("L"), loaded, &loadError)) {
        cardtool::fail(QStringLiteral("mail: %1: %2").arg(designPath, loadError));
        return 1;
    }
    const QString resourcePath = ResourceRoot::shippedLocation();
    const RunPlan::Folders folders{
        resourcePath, haveData ? dataFolder : QDir(resourcePath).filePath(QStringLiteral("DataSet"))};

    MailRun::Request request;
    request.sender = settings.send_email_SenderEmail();
    request.recipients = to;
    request.subject = subject;
    request.body = body;
    request.account = {settings.send_email_Password(), settings.send_email_SMTP_server(),
                       settings.send_email_PORT_num(), settings.send_email_enable_ssl()};
    request.fileName = QFileInfo(designPath).completeBaseName();
    request.extension = ext;
    request.side = loaded.design().isTwoSided() ? QStringLiteral("BOTH") : QStringLiteral("F");
    request.spread =
        mode == QLatin1String("one") ? MailRun::Spread::OnePerRecipient : MailRun::Spread::AllToEvery;
    request.delayed = pauses;
    request.pauseEvery = every;
    request.pauseMs = qint64(seconds) * 1000;
    const bool rows = mode != QLatin1String("each");
    request.plan = RunPlan::make(loaded.design(), RunPlan::Choices().withSources(rows, rows), folders);
    if (!request.plan->missingSeries().isEmpty()) {
        cardtool::fail(QStringLiteral("mail: ") + request.plan->missingSeriesText());
        return 1;
    }

    ScriptMailTransport transport;
    // A test server's own certificate authority reaches the script; nothing else of ours does.
    const QByteArray caFile = qgetenv("SSL_CERT_FILE");
    if (!caFile.isEmpty())
        transport.addEnvironment(QStringLiteral("SSL_CERT_FILE"), QString::fromLocal8Bit(caFile));
    ExportProgress progress;
    MailRun::Hooks hooks;
    hooks.pauseLine = [](const QString &line) {
        if (!line.isEmpty())
            cardtool::writeStdout(line.toUtf8() + '\n');
    };
    MailRun run(request, transport, progress, hooks);
    // The check the window asks with, for the cards this run would send.
    const MailRun::Outline outline = run.outline();
    if (outline.plan)
        cardtool::reportRows(*outline.plan, QStringLiteral("mail"));
    const MailRun::Result result = run.run();
    for (const QString &problem : result.problems())
        cardtool::fail(QStringLiteral("mail: ") + problem);
    if (!result.allSent())
        cardtool::fail(QStringLiteral("mail: ") + result.message);
    cardtool::writeStdout(
        QStringLiteral("%1 sent, %2 failed\n").arg(result.sent).arg(result.planned - result.sent).toUtf8());
    return result.allSent() ? 0 : 1;
}
