// Reading a design file the way the editor opens it, and the batch snapshot input of what was read:
// shared by the commands that render or keep a design.
#include "DesignLoading.h"

#include "Command.h"
#include "editor/DesignEditor.h"
#include "editor/DesignFile.h"
#include "model/ModelGlobals.h"
#include "output/OutputCheck.h"

namespace cardtool
{

namespace
{
// Keeps what the design file tells the editor about the card's size.
class SizeKeeper : public DesignEditor
{
public:
    QSizeF size;
    void SetDocumentCanvasSize(const QSizeF &s) override { size = s; }
};
} // namespace

bool loadDesign(const QString &path, const QString &mode, LoadedDesign &out, QString *error)
{
    SizeKeeper editor;
    DesignFile file(out.document, out.front, out.back, out.binding, &editor);
    const DesignResult loaded = file.Read_and_load_design_Log(path, mode);
    out.canvasSize = editor.size;
    if (loaded.ok())
        return true;
    // The reader's message is the one the editor shows; the reason says what was wrong.
    QString text = loaded.message.isEmpty() ? loaded.reason : loaded.message;
    if (!loaded.message.isEmpty() && !loaded.reason.isEmpty())
        text += QStringLiteral(" (%1)").arg(loaded.reason);
    if (error)
        *error = text;
    return false;
}

BatchFillSnapshot::Design batchDesign(const LoadedDesign &loaded, const QString &resourcePath,
                                      const QString &dataFolder)
{
    return BatchFillSnapshot::designOf({.document = loaded.document,
                                        .frontPage = loaded.front,
                                        .backPage = loaded.back,
                                        .binding = loaded.binding,
                                        .cardShape = ModelGlobals::instance().Card_Shape,
                                        .canvasSize = loaded.canvasSize,
                                        .resourcePath = resourcePath,
                                        .dataFolder = dataFolder});
}

void reportRows(const RunPlan &plan, const QString &command)
{
    const OutputCheck::Report report = OutputCheck::check(plan);
    for (const QString &line : report.text().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        fail(command + QStringLiteral(": ") + line);
}

} // namespace cardtool
