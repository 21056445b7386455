#include "output/BatchExportEngine.h"

#include "output/CombinedImage.h"
#include "output/ExportPaths.h"
#include "output/ImageFileWriter.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <exception>
#include <map>
#include <mutex>
#include <thread>

BatchExportEngine::BatchExportEngine(ExportProgress *progress) : m_progress(progress) {}

int BatchExportEngine::threadCount(int requested, int rowCount)
{
    int n = requested > 0 ? requested : QThread::idealThreadCount();
    n = std::clamp(n, 1, 256);
    return std::max(1, std::min(n, rowCount));
}

BatchExportEngine::RowOutput BatchExportEngine::produceRow(CardRenderer *renderer, int row,
                                                           const QString &folder,
                                                           const ExportOptions &options)
{
    RowOutput out;
    const QString base = ExportPaths::batchCardPath(folder, row, options.extension);
    const QString backPath = ExportPaths::Create_Back_Card_Path(base);
    const bool wantBack = options.side != ExportSide::Front;
    const bool wantFront = options.side != ExportSide::Back;
    const bool separateBack =
        options.side == ExportSide::Back || (options.side == ExportSide::Both && !options.combined);
    if (separateBack)
        out.paths << backPath;
    if (wantFront)
        out.paths << base;

    if (!renderer) {
        out.error = QStringLiteral("the card could not be prepared for drawing.");
        return out;
    }
    const ImageFileWriter::Format format = ImageFileWriter::formatForExtension(options.extension);
    try {
        QImage back;
        QImage front;
        QString error;
        // The back before the front, as a single export writes them.
        if (wantBack) {
            back = renderer->renderSide(row, true, &error);
            if (back.isNull()) {
                out.error = error.isEmpty() ? QStringLiteral("the back could not be drawn.") : error;
                return out;
            }
        }
        if (wantFront) {
            front = renderer->renderSide(row, false, &error);
            if (front.isNull()) {
                out.error = error.isEmpty() ? QStringLiteral("the front could not be drawn.") : error;
                return out;
            }
        }
        auto add = [&](const QString &path, const QImage &image) {
            ImageFileWriter::Encoded encoded = ImageFileWriter::encode(image, format, options.dpi);
            if (!encoded.ok()) {
                out.error = encoded.error;
                return false;
            }
            out.files.push_back({path, std::move(encoded.bytes)});
            return true;
        };
        if (separateBack && !add(backPath, back))
            return out;
        if (wantFront) {
            const QImage image =
                options.combined && wantBack ? CombinedImage::Export_Combined_Image(front, back) : front;
            if (image.isNull()) {
                out.error = QStringLiteral("the combined picture could not be made.");
                return out;
            }
            add(base, image);
        }
    } catch (const std::exception &e) {
        out.error = QString::fromUtf8(e.what());
    } catch (...) {
        out.error = QStringLiteral("an unexpected error occurred.");
    }
    if (!out.error.isEmpty())
        out.files.clear();
    return out;
}

bool BatchExportEngine::commitRow(const RowOutput &out, QString *problem)
{
    QString error = out.error;
    if (error.isEmpty()) {
        for (const FileOut &file : out.files) {
            const ImageFileWriter::WriteResult w = ImageFileWriter::writeAtomically(file.path, file.bytes);
            if (!w.ok) {
                error = w.error;
                break;
            }
        }
    }
    if (error.isEmpty())
        return true;
    // A failed card leaves no file under its name, neither a part of it nor one of an earlier run
    // that could be taken for this row's card.
    for (const QString &path : out.paths)
        QFile::remove(path);
    *problem = error;
    return false;
}

ExportResult BatchExportEngine::Export_Batch_File(const QString &chosenFolder, int rowCount,
                                                  const ExportOptions &options,
                                                  const CardRendererFactory &factory)
{
    m_progress->start(0);
    ExportResult result;
    result.total = std::max(0, rowCount);
    const QString folder = ExportPaths::batchFolderPath(chosenFolder);
    result.path = folder;

    result.refusal = ImageFileWriter::checkExtension(options.extension);
    if (!result.refusal.isEmpty())
        return result;
    if (rowCount <= 0) {
        result.refusal = QStringLiteral("List is empty.");
        return result;
    }
    result.refusal = ExportPaths::createBatchFolder(folder);
    if (!result.refusal.isEmpty())
        return result;

    m_progress->list_count = rowCount;
    const int threads = threadCount(options.threads, rowCount);

    // Rows are taken in order and every row taken is finished, so a stop leaves the first cards.
    // Each worker writes its own row (back before front): the files are synced one by one, and
    // writing them side by side keeps the disk from setting the pace.
    std::mutex mutex;
    int nextRow = 0;
    std::map<int, QString> problems; // by row, so the report reads the same whatever the timing

    auto worker = [&]() {
        std::unique_ptr<CardRenderer> renderer;
        try {
            renderer = factory();
        } catch (...) {
        }
        for (;;) {
            int row = 0;
            {
                std::lock_guard lock(mutex);
                // Stop is looked at between cards only: a card that has begun is finished.
                if (m_progress->stopRequested() || nextRow >= rowCount)
                    return;
                row = nextRow++;
            }
            m_progress->beginItem(row);
            const RowOutput out = produceRow(renderer.get(), row, folder, options);
            QString problem;
            if (commitRow(out, &problem)) {
                ++m_progress->written;
            } else {
                ++m_progress->failed;
                std::lock_guard lock(mutex);
                problems.emplace(row, problem);
            }
        }
    };

    if (threads == 1) {
        worker();
    } else {
        std::vector<std::thread> pool;
        pool.reserve(size_t(threads));
        for (int i = 0; i < threads; ++i)
            pool.emplace_back(worker);
        for (std::thread &t : pool)
            t.join();
    }
    // The run's own counters, started at zero above, are the result's.
    result.written = m_progress->written;
    result.failed = m_progress->failed;
    for (const auto &[row, problem] : problems)
        result.addProblem(QStringLiteral("Card %1: %2").arg(row + 1).arg(problem));
    result.stopped = result.written + result.failed < rowCount;
    return result;
}
