// cardtool export: loads a design file and writes its cards as image files, one card per data row
// when the design binds a series or the binding table, the design once otherwise.
#include "Command.h"
#include "DesignLoading.h"

#include "output/CardExport.h"
#include "output/ImageFileWriter.h"
#include "platform/ResourceRoot.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <csignal>

namespace
{

// The run a Ctrl+C or a kill should stop between cards. Storing into a lock-free atomic is safe
// in a signal handler; a second signal finds the default action again and ends the process.
std::atomic<bool> *g_stopFlag = nullptr;
volatile std::sig_atomic_t g_signalled = 0;

void stopOnSignal(int)
{
    g_signalled = 1;
    if (g_stopFlag)
        g_stopFlag->store(true);
}

// Maps SIGINT and SIGTERM onto the run's stop flag for as long as it lives.
class StopOnSignals
{
public:
    explicit StopOnSignals(std::atomic<bool> *flag)
    {
        static_assert(std::atomic<bool>::is_always_lock_free);
        g_stopFlag = flag;
        struct sigaction action = {};
        action.sa_handler = stopOnSignal;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_oldInt);
        sigaction(SIGTERM, &action, &m_oldTerm);
    }
    ~StopOnSignals()
    {
        sigaction(SIGINT, &m_oldInt, nullptr);
        sigaction(SIGTERM, &m_oldTerm, nullptr);
        g_stopFlag = nullptr;
    }
    StopOnSignals(const StopOnSignals &) = delete;
    StopOnSignals &operator=(const StopOnSignals &) = delete;

private:
    struct sigaction m_oldInt = {};
    struct sigaction m_oldTerm = {};
};

void say(const QString &line)
{
    cardtool::writeStdout(line.toUtf8() + '\n');
}

} // namespace

CARDTOOL_COMMAND(exportCommand, "export",
                 "DESIGN --to DIR [--side front|back|both] [--combined] [--ext EXT] [--dpi N] [--data DIR] "
                 "[--threads N]")
{
    QStringList rest = args;
    QString to, sideText = QStringLiteral("front"), ext = QStringLiteral("png"), dpiText, dataFolder,
                threadsText;
    if (!cardtool::takeOption(rest, QStringLiteral("--to"), &to)) {
        cardtool::fail(QStringLiteral("export: --to DIR is required"));
        return 1;
    }
    const bool sideGiven = cardtool::takeOption(rest, QStringLiteral("--side"), &sideText);
    cardtool::takeOption(rest, QStringLiteral("--ext"), &ext);
    const bool combined = cardtool::takeFlag(rest, QStringLiteral("--combined"));
    const bool haveData = cardtool::takeOption(rest, QStringLiteral("--data"), &dataFolder);

    ExportOptions options;
    options.combined = combined;
    options.extension = ext;
    if (sideText == QLatin1String("front"))
        options.side = ExportSide::Front;
    else if (sideText == QLatin1String("back"))
        options.side = ExportSide::Back;
    else if (sideText == QLatin1String("both"))
        options.side = ExportSide::Both;
    else {
        cardtool::fail(QStringLiteral("export: --side must be front, back or both"));
        return 1;
    }
    if (combined && options.side != ExportSide::Both) {
        cardtool::fail(QStringLiteral("export: --combined needs --side both"));
        return 1;
    }
    if (cardtool::takeOption(rest, QStringLiteral("--dpi"), &dpiText)) {
        bool ok = false;
        options.dpi = dpiText.toInt(&ok);
        if (!ok || options.dpi < 1 || options.dpi > 2400) {
            cardtool::fail(QStringLiteral("export: --dpi must be a whole number from 1 to 2400"));
            return 1;
        }
    }
    if (cardtool::takeOption(rest, QStringLiteral("--threads"), &threadsText)) {
        bool ok = false;
        options.threads = threadsText.toInt(&ok);
        if (!ok || options.threads < 0 || options.threads > 256) {
            cardtool::fail(QStringLiteral("export: --threads must be a whole number from 0 to 256"));
            return 1;
        }
    }
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--"))) {
        cardtool::fail(QStringLiteral("export: give exactly one design file"));
        return 1;
    }
    const QString designPath = rest.first();
    const QString refusal = ImageFileWriter::checkExtension(ext);
    if (!refusal.isEmpty()) {
        cardtool::fail(QStringLiteral("export: ") + refusal);
        return 1;
    }

    cardtool::LoadedDesign loaded;
    QString loadError;
    if (!cardtool::loadDesign(designPath, QStringLiteral("L"), loaded, &loadError)) {
        cardtool::fail(QStringLiteral("export: %1: %2").arg(designPath, loadError));
        return 1;
    }
    const QString resourcePath = ResourceRoot::shippedLocation();
    const RunPlan::Folders folders{
        resourcePath, haveData ? dataFolder : QDir(resourcePath).filePath(QStringLiteral("DataSet"))};
    // Without --side a double-sided card is written with its backs.
    if (!sideGiven && loaded.design().isTwoSided())
        options.side = ExportSide::Both;
    const auto plan = RunPlan::make(loaded.design(), RunPlan::Choices().withSides(options.side), folders);
    for (const QString &warning : plan->warnings())
        cardtool::fail(QStringLiteral("export: ") + warning);
    // Cards of a series that is gone would carry the design's sample values: none is written.
    if (!plan->missingSeries().isEmpty())
        return 1;
    cardtool::reportRows(*plan, QStringLiteral("export"));

    QString target = to;
    if (!plan->isBatch()) {
        if (!QDir().mkpath(to)) {
            cardtool::fail(QStringLiteral("export: cannot make the folder %1").arg(to));
            return 1;
        }
        target = QDir(to).filePath(QFileInfo(designPath).completeBaseName() + QLatin1Char('.') + ext);
    }
    ExportProgress progress;
    ExportResult result;
    {
        StopOnSignals stopOnSignals(&progress.Stop_SMS_Sending_Now);
        result = CardExport::run(plan, target, options, &progress);
    }
    // A signal that came before the run cleared its flag still must not pass for success.
    if (g_signalled && !result.stopped) {
        cardtool::fail(QStringLiteral("export: interrupted"));
        say(result.summaryLine());
        return 1;
    }
    if (!result.ok())
        cardtool::fail(QStringLiteral("export: ") + result.message());
    else
        say(result.path);
    for (const QString &note : result.notes)
        cardtool::fail(QStringLiteral("export: ") + note);
    say(result.summaryLine());
    return result.ok() ? 0 : 1;
}
