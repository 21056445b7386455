// The photos the picture benchmarks make for themselves: photo-like JPEGs of a user's camera size.
#pragma once

#include "output/CardExport.h"

#include <QElapsedTimer>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace TestPhotos
{

// A w x h photo-like JPEG (quality 85) written to path: smooth bands whose colours `tint` shifts,
// so photos of different tints decode to different pictures; greenTint shifts the green apart.
inline QString write(const QString &path, int w, int h, int tint, int greenTint = 0)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = qRgb((x / 16 + tint) % 256, (y / 12 + greenTint) % 256, (x + y + tint * 7) / 28 % 256);
    }
    img.save(path, "JPEG", 85);
    return path;
}

// One export of the plan's cards into a fresh folder, in milliseconds; a failed run ends the
// benchmark with its message.
inline double timedExport(benchmark::State &state, const std::shared_ptr<const RunPlan> &plan,
                          const ExportOptions &options)
{
    QTemporaryDir out;
    ExportProgress progress;
    QElapsedTimer clock;
    clock.start();
    const ExportResult r = CardExport::run(plan, out.path(), options, &progress);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (!r.ok())
        state.SkipWithError(r.message().toUtf8().constData());
    return ms;
}

} // namespace TestPhotos
