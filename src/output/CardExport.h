// The Export command's core: a batch export of one card per data row when the plan uses a data
// source, a single export of the design otherwise. No windows: results come back as values.
#pragma once

#include "output/BatchFiller.h"
#include "output/CardRenderer.h"
#include "output/ExportProgress.h"
#include "output/ExportResult.h"
#include "output/OwnBarcodePicture.h"
#include "output/RunPlan.h"

#include <memory>

class CardExport
{
public:
    // target: the chosen folder for a batch (the batch folder is made inside it), the file path
    // for a single export. When anything was written, the path and message are kept in
    // OutputState for the exported-files dialog.
    static ExportResult run(std::shared_ptr<const RunPlan> plan, const QString &target,
                            const ExportOptions &options, ExportProgress *progress,
                            BatchFiller::BarcodeMaker barcodeMaker = OwnBarcodePicture::batchRoad());

    static ExportResult
    Export_Batch_File(std::shared_ptr<const RunPlan> plan, const QString &chosenFolder,
                      const ExportOptions &options, ExportProgress *progress,
                      BatchFiller::BarcodeMaker barcodeMaker = OwnBarcodePicture::batchRoad());
    // Memory one card of this size takes while it is drawn and encoded, for the worker count.
    static qint64 cardBytes(const QSizeF &cardSize, const ExportOptions &options);

    static ExportResult
    Export_Single_File(std::shared_ptr<const RunPlan> plan, const QString &path, const ExportOptions &options,
                       BatchFiller::BarcodeMaker barcodeMaker = OwnBarcodePicture::batchRoad());
};
