#include "output/CardExport.h"

#include "canvas/SKTRenderingView.h"
#include "model/SKTImage.h"
#include "platform/Units.h"

#include "output/BatchCardRenderer.h"
#include "output/BatchExportEngine.h"
#include "output/OutputState.h"
#include "output/SingleExport.h"

#include <cmath>

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
    BatchExportEngine engine(progress);
    return engine.Export_Batch_File(
        chosenFolder, rows, options,
        BatchCardRenderer::factory(std::move(plan), options.dpi, true, std::move(barcodeMaker)));
}

ExportResult CardExport::Export_Single_File(std::shared_ptr<const RunPlan> plan, const QString &path,
                                            const ExportOptions &options,
                                            BatchFiller::BarcodeMaker barcodeMaker)
{
    const CardDesign &design = plan->design();
    const QList<SKTImage::MissingPicture> missing[] = {
        options.side != ExportSide::Back ? SKTImage::missingPictures(design.front)
                                         : QList<SKTImage::MissingPicture>(),
        options.side != ExportSide::Front ? SKTImage::missingPictures(design.back)
                                          : QList<SKTImage::MissingPicture>()};
    BatchCardRenderer renderer(std::move(plan), options.dpi, false, std::move(barcodeMaker));
    ExportResult result = SingleExport::Export_Single_File(path, options, renderer);
    // A picture whose file is gone leaves its frame empty: the card is whole but for it.
    if (result.written > 0) {
        for (int side = 0; side < 2; ++side)
            for (const SKTImage::MissingPicture &picture : missing[side])
                result.addNote(QStringLiteral("%1: written without the picture %2.")
                                   .arg(side == 0 ? QStringLiteral("Front") : QStringLiteral("Back"),
                                        SKTImage::describe(picture)));
        result.incomplete = missing[0].isEmpty() && missing[1].isEmpty() ? 0 : 1;
    }
    return result;
}
