// Reading a design file the way the editor opens it: shared by the commands that render or keep a
// design.
#include "DesignLoading.h"

#include "Command.h"
#include "editor/DesignEditor.h"
#include "editor/DesignFile.h"
#include "model/ModelGlobals.h"
#include "output/OutputCheck.h"

namespace cardtool
{

bool loadDesign(const QString &path, const QString &mode, LoadedDesign &out, QString *error)
{
    DesignFile file(out.document);
    const DesignResult loaded = file.Read_and_load_design_Log(path, mode);
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

bool openToSave(DesignFile &file, const QString &path)
{
    const DesignResult read = file.Read_and_load_design_Log(path, QStringLiteral("L"));
    if (!read.ok())
        fail(read.message);
    return read.ok();
}

void reportRows(const RunPlan &plan, const QString &command)
{
    const OutputCheck::Report report = OutputCheck::check(plan);
    for (const QString &line : report.text().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        fail(command + QStringLiteral(": ") + line);
}

} // namespace cardtool
