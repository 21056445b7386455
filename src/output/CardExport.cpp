#include "output/CardExport.h"

#include "output/BatchCardRenderer.h"
#include "output/BatchExportEngine.h"
#include "output/OutputState.h"
#include "output/SingleExport.h"

ExportResult CardExport::run(std::shared_ptr<const BatchFillSnapshot> snapshot, const QString &target,
                             const ExportOptions &options, ExportProgress *progress,
                             BatchFiller::BarcodeMaker barcodeMaker)
{
    if (!snapshot->unreadableSeries().isEmpty()) {
        ExportResult refused;
        refused.refusal = snapshot->unreadableSeries().join(QLatin1Char(' '));
        return refused;
    }
    const ExportResult result =
        snapshot->isBatch()
            ? Export_Batch_File(std::move(snapshot), target, options, progress, std::move(barcodeMaker))
            : Export_Single_File(std::move(snapshot), target, options, std::move(barcodeMaker));
    // What the exported-files dialog shows: the file or batch folder, and what happened.
    if (result.refusal.isEmpty() && result.written > 0)
        OutputState::instance().setExportFile(result.path, result.message());
    return result;
}

ExportResult CardExport::Export_Batch_File(std::shared_ptr<const BatchFillSnapshot> snapshot,
                                           const QString &chosenFolder, const ExportOptions &options,
                                           ExportProgress *progress, BatchFiller::BarcodeMaker barcodeMaker)
{
    const int rows = snapshot->Total_Batch_Excel_Card;
    // While a batch runs the editor does not redraw on request; cleared however the run ends.
    struct InProcess {
        InProcess() { OutputState::instance().Card_Value_In_Process = true; }
        ~InProcess() { OutputState::instance().Card_Value_In_Process = false; }
    } inProcess;
    BatchExportEngine engine(progress);
    return engine.Export_Batch_File(
        chosenFolder, rows, options,
        BatchCardRenderer::factory(std::move(snapshot), options.dpi, true, std::move(barcodeMaker)));
}

ExportResult CardExport::Export_Single_File(std::shared_ptr<const BatchFillSnapshot> snapshot,
                                            const QString &path, const ExportOptions &options,
                                            BatchFiller::BarcodeMaker barcodeMaker)
{
    BatchCardRenderer renderer(std::move(snapshot), options.dpi, false, std::move(barcodeMaker));
    return SingleExport::Export_Single_File(path, options, renderer);
}
