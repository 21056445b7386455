// Writes one card per data row into the batch folder, filling, rendering, encoding and writing
// independent cards on several threads; each file depends on its row only, never on the threads.
#pragma once

#include "output/CardRenderer.h"
#include "output/ExportProgress.h"
#include "output/ExportResult.h"

#include <QByteArray>
#include <QString>

#include <vector>

class BatchExportEngine
{
public:
    explicit BatchExportEngine(ExportProgress *progress);

    // The whole batch: clears the stop flag, refuses an unwritable extension or folder before
    // anything is written, then writes "Card_<n>" files for rows 0 .. rowCount - 1 into
    // "ZOLV Tessaly Greeting Card" inside chosenFolder. Stops taking new cards once the flag is set.
    ExportResult Export_Batch_File(const QString &chosenFolder, int rowCount, const ExportOptions &options,
                                   const CardRendererFactory &factory);

    // Threads a run of rowCount cards uses for the requested count (0: every core).
    static int threadCount(int requested, int rowCount);

private:
    struct FileOut {
        QString path;
        QByteArray bytes;
    };
    struct RowOutput {
        std::vector<FileOut> files; // in writing order: the back before the front
        QStringList paths;          // every file the row names, also when it failed
        QString error;              // empty when the row rendered and encoded
    };

    RowOutput produceRow(CardRenderer *renderer, int row, const QString &folder,
                         const ExportOptions &options);
    // Writes the row's files; false with *problem when the row failed, leaving no file of it.
    bool commitRow(const RowOutput &out, QString *problem);

    ExportProgress *m_progress;
};
