#include "output/SingleExport.h"

#include "output/CombinedImage.h"
#include "output/ExportPaths.h"
#include "output/ImageFileWriter.h"

#include <QFileInfo>

ExportResult SingleExport::Export_Single_File(const QString &path, const ExportOptions &options,
                                              CardRenderer &renderer)
{
    ExportResult result;
    result.total = 1;
    result.path = path;
    result.refusal = ImageFileWriter::checkExtension(QFileInfo(path).suffix());
    if (!result.refusal.isEmpty())
        return result;

    auto fail = [&](const QString &error) {
        result.failed = 1;
        if (!error.isEmpty())
            result.addProblem(error);
        return result;
    };
    auto render = [&](bool back, QImage *image) {
        QString error;
        *image = renderer.renderSide(0, back, &error);
        if (image->isNull())
            result.addProblem(error.isEmpty() ? QStringLiteral("The card could not be drawn.") : error);
        return !image->isNull();
    };
    auto write = [&](const QImage &image, const QString &file) {
        const ImageFileWriter::WriteResult w = ImageFileWriter::Save_gen_image(image, file, options.dpi);
        if (!w.ok)
            result.addProblem(w.error);
        return w.ok;
    };

    try {
        QImage front;
        QImage back;
        switch (options.side) {
        case ExportSide::Both:
            if (!render(true, &back))
                return fail({});
            if (!options.combined && !write(back, ExportPaths::Create_Back_Card_Path(path)))
                return fail({});
            if (!render(false, &front))
                return fail({});
            if (options.combined) {
                const QImage combined = CombinedImage::Export_Combined_Image(front, back);
                if (combined.isNull())
                    return fail(QStringLiteral("The combined picture could not be made."));
                if (!write(combined, path))
                    return fail({});
            } else if (!write(front, path)) {
                return fail({});
            }
            break;
        case ExportSide::Front:
            if (!render(false, &front) || !write(front, path))
                return fail({});
            break;
        case ExportSide::Back:
            result.path = ExportPaths::Create_Back_Card_Path(path);
            if (!render(true, &back) || !write(back, result.path))
                return fail({});
            break;
        }
    } catch (const std::exception &e) {
        return fail(QString::fromUtf8(e.what()));
    }
    result.written = 1;
    return result;
}
