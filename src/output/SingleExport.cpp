#include "output/SingleExport.h"

#include "output/CardFiles.h"
#include "output/ExportFilePlan.h"
#include "output/ImageFileWriter.h"

#include <QFileInfo>

namespace
{

// Reasons are written to follow "Card 3: "; alone in a message they start with a capital.
QString sentence(QString reason)
{
    if (!reason.isEmpty())
        reason[0] = reason[0].toUpper();
    return reason;
}

} // namespace

ExportResult SingleExport::Export_Single_File(const QString &path, const ExportOptions &options,
                                              CardRenderer &renderer)
{
    ExportResult result;
    result.total = 1;
    const QString extension = QFileInfo(path).suffix();
    result.refusal = ImageFileWriter::checkExtension(extension);
    if (!result.refusal.isEmpty()) {
        result.path = path;
        return result;
    }
    const ExportFilePlan plan(path, options.side, options.combined);
    result.path = plan.mainPath();
    // Both sides are drawn before either file is written: a front that fails leaves no back file.
    const CardFiles files =
        CardFiles::make(renderer, 0, plan, ImageFileWriter::formatForExtension(extension), options.dpi);
    const OpResult written = files.write();
    if (!written.ok()) {
        result.failed = 1;
        result.addProblem(sentence(written.message));
        return result;
    }
    result.written = 1;
    // Both sides apart are two files: each is named, not the front's alone. The plan writes the
    // back first; they are named front first.
    const QList<ExportFilePlan::File> &planned = plan.files();
    for (auto file = planned.rbegin(); file != planned.rend(); ++file)
        result.sideFiles.append({file->content == ExportFilePlan::Content::Back ? QStringLiteral("back")
                                                                                : QStringLiteral("front"),
                                 file->path});
    return result;
}
