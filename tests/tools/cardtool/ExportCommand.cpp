// cardtool export: loads a design file and writes its cards as image files, one card per data row
// when the design binds a series or the binding table, the design once otherwise.
#include "Command.h"
#include "DesignLoading.h"

#include "output/CardExport.h"
#include "output/ImageFileWriter.h"
#include "platform/ResourceRoot.h"

#include <QDir>
#include <QFileInfo>

namespace
{

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
    const BatchFillSnapshot::Design design = cardtool::batchDesign(
        loaded, resourcePath, haveData ? dataFolder : QDir(resourcePath).filePath(QStringLiteral("DataSet")));
    // Without --side a double-sided card is written with its backs.
    if (!sideGiven && design.CARD_SIDE_STR == QLatin1String("2"))
        options.side = ExportSide::Both;
    auto snapshot = std::make_shared<const BatchFillSnapshot>(BatchFillSnapshot::take(design));
    for (const QString &warning : snapshot->warnings())
        cardtool::fail(QStringLiteral("export: ") + warning);

    QString target = to;
    if (!snapshot->isBatch()) {
        if (!QDir().mkpath(to)) {
            cardtool::fail(QStringLiteral("export: cannot make the folder %1").arg(to));
            return 1;
        }
        target = QDir(to).filePath(QFileInfo(designPath).completeBaseName() + QLatin1Char('.') + ext);
    }
    ExportProgress progress;
    const ExportResult result = CardExport::run(snapshot, target, options, &progress);
    if (!result.ok())
        cardtool::fail(QStringLiteral("export: ") + result.message());
    else
        say(result.path);
    say(result.summaryLine());
    return result.ok() ? 0 : 1;
}
