#include "output/CardExport.h"

#include "canvas/SKTRenderingView.h"
#include "model/SKTImage.h"
#include "platform/Units.h"

#include "output/BatchCardRenderer.h"
#include "output/BatchExportEngine.h"
#include "output/OutputState.h"
#include "output/SingleExport.h"

#include <array>
#include <cmath>

namespace
{
// The design's own pictures that give no picture, on the front and the back as written.
using Missing = std::array<QList<SKTImage::MissingPicture>, 2>;

Missing missingOn(const CardDesign &design, ExportSide side)
{
    return {side != ExportSide::Back ? SKTImage::missingPictures(design.front)
                                     : QList<SKTImage::MissingPicture>(),
            side != ExportSide::Front ? SKTImage::missingPictures(design.back)
                                      : QList<SKTImage::MissingPicture>()};
}

// A picture that gives none leaves its frame empty: every card written is whole but for it,
// which the result names and does not count as right.
void noteMissing(ExportResult &result, const Missing &missing, const QString &front, const QString &back)
{
    if (result.written == 0 || (missing[0].isEmpty() && missing[1].isEmpty()))
        return;
    for (int side = 0; side < 2; ++side)
        for (const SKTImage::MissingPicture &picture : missing[size_t(side)])
            result.addNote(QStringLiteral("%1: written without the picture %2.")
                               .arg(side == 0 ? front : back, SKTImage::describe(picture)));
    result.incomplete = result.written;
}
} // namespace

ExportResult CardExport::run(std::shared_ptr<const RunPlan> plan, const QString &target,
                             const ExportOptions &options, ExportProgress *progress,
                             BatchFiller::BarcodeMaker barcodeMaker)
{
    ExportResult refused;
    refused.refusal = plan->unreadableSeries().join(QLatin1Char(' '));
    // A card too large to draw is refused before any worker starts or any folder is made.
    const QSizeF cardSize = plan->design().cardSize();
    if (refused.refusal.isEmpty() && !cardSize.isEmpty())
        refused.refusal = SKTRenderingView::sizeRefusal(
            options.combined ? QSizeF(cardSize.width(), 2 * cardSize.height()) : cardSize, options.dpi);
    if (!refused.refusal.isEmpty())
        return refused;
    ExportOptions sized = options;
    sized.cardBytes = cardBytes(cardSize, options);
    const ExportResult result =
        plan->isBatch() ? Export_Batch_File(std::move(plan), target, sized, progress, std::move(barcodeMaker))
                        : Export_Single_File(std::move(plan), target, sized, std::move(barcodeMaker));
    // What the exported-files dialog shows: the file or batch folder, and what happened.
    if (result.refusal.isEmpty() && result.written > 0)
        OutputState::instance().setExportFile(result.path, result.message());
    return result;
}

qint64 CardExport::cardBytes(const QSizeF &cardSize, const ExportOptions &options)
{
    const double pixels = std::ceil(cardSize.width() * options.dpi / Units::PointsPerInch) *
                          std::ceil(cardSize.height() * options.dpi / Units::PointsPerInch);
    // Each side drawn, the combined picture, and the encoder's copy: four bytes a pixel each.
    const int pictures = (options.side == ExportSide::Both ? 2 : 1) + (options.combined ? 2 : 0) + 1;
    return qint64(pixels) * 4 * pictures;
}

ExportResult CardExport::Export_Batch_File(std::shared_ptr<const RunPlan> plan, const QString &chosenFolder,
                                           const ExportOptions &options, ExportProgress *progress,
                                           BatchFiller::BarcodeMaker barcodeMaker)
{
    const int rows = plan->outputCount();
    // While a batch runs the editor does not redraw on request; cleared however the run ends.
    struct InProcess {
        InProcess() { OutputState::instance().Card_Value_In_Process = true; }
        ~InProcess() { OutputState::instance().Card_Value_In_Process = false; }
    } inProcess;
    const Missing missing = missingOn(plan->design(), options.side);
    BatchExportEngine engine(progress);
    ExportResult result = engine.Export_Batch_File(
        chosenFolder, rows, options,
        BatchCardRenderer::factory(std::move(plan), options.dpi, true, std::move(barcodeMaker)));
    noteMissing(result, missing, QStringLiteral("Every card's front"), QStringLiteral("Every card's back"));
    return result;
}

ExportResult CardExport::Export_Single_File(std::shared_ptr<const RunPlan> plan, const QString &path,
                                            const ExportOptions &options,
                                            BatchFiller::BarcodeMaker barcodeMaker)
{
    const Missing missing = missingOn(plan->design(), options.side);
    BatchCardRenderer renderer(std::move(plan), options.dpi, false, std::move(barcodeMaker));
    ExportResult result = SingleExport::Export_Single_File(path, options, renderer);
    noteMissing(result, missing, QStringLiteral("Front"), QStringLiteral("Back"));
    return result;
}
